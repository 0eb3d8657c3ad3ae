// The named mutex, its guard, and the exclusion they give the reader across threads and processes.
#include "tests/reader/ReaderTestSupport.h"
#include "platform/Handle.h"

#include "reader/MutexLock.h"
#include "reader/NamedMutex.h"

#include <aclapi.h>

#include <chrono>
#include <cstring>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

long long MillisecondsSince(Clock::time_point t0) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t0).count();
}

// Asks from another thread whether the mutex of that name can be taken right now.
bool IsFree(const std::string &name) {
    bool bFree = false;
    std::thread probe([&] {
        CNamedMutex m;
        m.Attach(::OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, name.c_str()));
        const DWORD wait = m.GetHandle() ? ::WaitForSingleObject(m.GetHandle(), 0) : WAIT_FAILED;
        if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED) {
            bFree = true;
            m.Unlock();
        }
    });
    probe.join();
    return bFree;
}

// Holds a named mutex on a thread of this process until Release.
class CThreadHolder {
public:
    explicit CThreadHolder(const std::string &name)
        : m_ready(::CreateEventA(nullptr, TRUE, FALSE, nullptr)),
          m_release(::CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
        m_thread = std::thread([this, name] {
            CNamedMutex m;
            m.Create(FALSE, name.c_str());
            m.Lock();
            ::SetEvent(m_ready.Get());
            ::WaitForSingleObject(m_release.Get(), INFINITE);
            m.Unlock();
        });
        ::WaitForSingleObject(m_ready.Get(), 10000);
    }
    ~CThreadHolder() { Release(); }
    void Release() {
        ::SetEvent(m_release.Get());
        if (m_thread.joinable())
            m_thread.join();
    }

private:
    CKernelObject m_ready;
    CKernelObject m_release;
    std::thread m_thread;
};

// ---- CNamedMutex and CMutexLock ------------------------------------------------------------------

TEST(NamedMutex, WithoutHandleNothingLocksOrFails) {
    CNamedMutex m;
    EXPECT_EQ(m.GetHandle(), nullptr);
    EXPECT_FALSE(m.Lock());
    EXPECT_FALSE(m.Unlock());
    m.Close();

    CMutexLock none(nullptr);
    EXPECT_FALSE(none.Lock());
}

TEST(NamedMutex, CreateTwiceKeepsTheFirstMutex) {
    const std::string first = UniqueMutexName("first");
    const std::string second = UniqueMutexName("second");
    CNamedMutex m;
    ASSERT_TRUE(m.Create(FALSE, first.c_str()));
    const HANDLE h = m.GetHandle();
    EXPECT_TRUE(m.Create(FALSE, second.c_str()));
    EXPECT_EQ(m.GetHandle(), h);

    CNamedMutex probe;
    probe.Attach(::OpenMutexA(SYNCHRONIZE, FALSE, second.c_str()));
    EXPECT_EQ(probe.GetHandle(), nullptr) << "the second name was never created";

    m.Close();
    EXPECT_EQ(m.GetHandle(), nullptr);
    EXPECT_TRUE(m.Create(FALSE, second.c_str())) << "after Close a new mutex can be made";
}

TEST(NamedMutex, InitialOwnerAndGuardRelease) {
    const std::string name = UniqueMutexName("owner");
    CNamedMutex m;
    ASSERT_TRUE(m.Create(TRUE, name.c_str()));
    EXPECT_FALSE(IsFree(name)) << "created owned";
    EXPECT_TRUE(m.Unlock());
    EXPECT_TRUE(IsFree(name));
    {
        CMutexLock lock(&m);
        EXPECT_TRUE(lock.Lock());
        EXPECT_FALSE(IsFree(name));
    }
    EXPECT_TRUE(IsFree(name)) << "the guard released it";
}

TEST(NamedMutex, MovesItsHandle) {
    CNamedMutex a;
    ASSERT_TRUE(a.Create(FALSE, UniqueMutexName("move").c_str()));
    const HANDLE h = a.GetHandle();
    CNamedMutex b(std::move(a));
    EXPECT_EQ(a.GetHandle(), nullptr);
    EXPECT_EQ(b.GetHandle(), h);
    CNamedMutex c;
    c = std::move(b);
    EXPECT_EQ(c.GetHandle(), h);
    EXPECT_TRUE(c.Lock());
    EXPECT_TRUE(c.Unlock());
}

// A mutex of another account typically lets others wait on it and release it, and nothing more.
// Creating it again then fails with ERROR_ACCESS_DENIED (creation asks for full access), for real:
// Wine checks the object's access list.
TEST(NamedMutex, AccessDeniedOpensTheExistingMutex) {
    const std::string name = UniqueMutexName("restricted");

    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    ASSERT_TRUE(::AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone));
    alignas(DWORD) BYTE aclBuffer[256];
    PACL acl = reinterpret_cast<PACL>(aclBuffer);
    ASSERT_TRUE(::InitializeAcl(acl, sizeof(aclBuffer), ACL_REVISION));
    ASSERT_TRUE(::AddAccessDeniedAce(acl, ACL_REVISION, WRITE_DAC | WRITE_OWNER | DELETE, everyone));
    ASSERT_TRUE(::AddAccessAllowedAce(acl, ACL_REVISION, SYNCHRONIZE | MUTEX_MODIFY_STATE | READ_CONTROL, everyone));
    SECURITY_DESCRIPTOR sd;
    ASSERT_TRUE(::InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION));
    ASSERT_TRUE(::SetSecurityDescriptorDacl(&sd, TRUE, acl, FALSE));
    SECURITY_ATTRIBUTES sa = {sizeof(sa), &sd, FALSE};
    CNamedMutex foreign;
    foreign.Attach(::CreateMutexA(&sa, FALSE, name.c_str()));
    ::FreeSid(everyone);
    ASSERT_NE(foreign.GetHandle(), nullptr);

    // The situation is real: a plain create and a full-access open are both refused.
    {
        CNamedMutex plain;
        plain.Attach(::CreateMutexA(nullptr, FALSE, name.c_str()));
        ASSERT_EQ(plain.GetHandle(), nullptr);
        ASSERT_EQ(::GetLastError(), DWORD(ERROR_ACCESS_DENIED));
        plain.Attach(::OpenMutexA(MUTEX_ALL_ACCESS, FALSE, name.c_str()));
        ASSERT_EQ(plain.GetHandle(), nullptr);
    }

    CNamedMutex m;
    ASSERT_TRUE(m.Create(FALSE, name.c_str()));
    ASSERT_NE(m.GetHandle(), nullptr);

    // It is the existing mutex: while another thread holds that one, ours cannot be taken.
    CKernelObject held(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    CKernelObject release(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    std::thread holder([&] {
        ::WaitForSingleObject(foreign.GetHandle(), INFINITE);
        ::SetEvent(held.Get());
        ::WaitForSingleObject(release.Get(), INFINITE);
        foreign.Unlock();
    });
    ASSERT_EQ(::WaitForSingleObject(held.Get(), 10000), WAIT_OBJECT_0);
    EXPECT_EQ(::WaitForSingleObject(m.GetHandle(), 0), DWORD(WAIT_TIMEOUT));
    ::SetEvent(release.Get());
    holder.join();
    EXPECT_TRUE(m.Lock());
    EXPECT_TRUE(m.Unlock());
}

// ---- The reader under contention -----------------------------------------------------------------

TEST(ReaderLock, ArgumentErrorsDoNotWaitForTheLock) {
    const std::string name = UniqueMutexName("arguments");
    CPcscFake fake;
    QXCCIDINT reader;
    ASSERT_TRUE(reader.Init(0x1, "Reader A 0", name.c_str()));
    CThreadHolder holder(name);
    ASSERT_FALSE(IsFree(name));

    const BYTE command[] = {0x00, 0x84, 0x00, 0x00, 0x08};
    struct {
        const char *what;
        SCARDHANDLE hCard;
        const BYTE *pb;
        DWORD cb;
    } cases[] = {
        {"no handle", 0, command, sizeof(command)},
        {"no command", 0x10, nullptr, sizeof(command)},
        {"zero length", 0x10, command, 0},
    };
    for (const auto &c : cases) {
        reader.m_hCard = c.hCard;
        DWORD cbData = 0xDEAD;
        WORD wStatus = 0xBEEF;
        ::SetLastError(0);
        const Clock::time_point t0 = Clock::now();
        EXPECT_FALSE(reader.Transmit(c.pb, c.cb, nullptr, &cbData, &wStatus)) << c.what;
        EXPECT_LT(MillisecondsSince(t0), 200) << c.what << ": waited for the lock";
        EXPECT_EQ(::GetLastError(), DWORD(QXCCIDINT::RC_BAD_ARGUMENT)) << c.what;
        EXPECT_EQ(cbData, 0xDEADu) << c.what;
        EXPECT_EQ(wStatus, 0xBEEFu) << c.what;
    }
    EXPECT_TRUE(fake.Calls().empty());
    reader.m_hCard = 0;
    holder.Release();
}

TEST(ReaderLock, OperationsWithoutMutexRunUnlocked) {
    // Before Init there is no mutex to wait for.
    CPcscFake fake;
    QXCCIDINT reader;
    reader.m_hCard = 0x10;
    fake.Script(PcscCall::Reconnect, SCARD_S_SUCCESS);
    EXPECT_TRUE(reader.Reset());
    fake.Script(PcscCall::Disconnect, SCARD_S_SUCCESS);
}

// Starts reader_mutex_holder beside this test executable.
class CHolderProcess {
public:
    CHolderProcess(const std::string &mutex, DWORD holdMs, const char *mode)
        : m_ready(::CreateEventA(nullptr, TRUE, FALSE, (mutex + ".ready").c_str())),
          m_releasing(::CreateEventA(nullptr, TRUE, FALSE, (mutex + ".releasing").c_str())) {
        char path[MAX_PATH];
        const DWORD cch = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
        std::string exe(path, cch);
        exe = exe.substr(0, exe.find_last_of("\\/") + 1) + "reader_mutex_holder.exe";
        std::string cmd = "\"" + exe + "\" " + mutex + " " + mutex + ".ready " + mutex + ".releasing " +
                          std::to_string(holdMs) + " " + mode;
        STARTUPINFOA si;
        std::memset(&si, 0, sizeof(si));
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi;
        std::memset(&pi, 0, sizeof(pi));
        if (::CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
            m_process = CKernelObject(pi.hProcess);
            CKernelObject thread(pi.hThread);
        }
    }
    CHolderProcess(const CHolderProcess &) = delete;
    CHolderProcess &operator=(const CHolderProcess &) = delete;
    ~CHolderProcess() {
        if (m_process.IsValid())
            ::WaitForSingleObject(m_process.Get(), 10000);
    }

    bool Started() const { return m_process.IsValid(); }
    bool WaitReady() const { return ::WaitForSingleObject(m_ready.Get(), 20000) == WAIT_OBJECT_0; }
    bool IsReleasing() const { return ::WaitForSingleObject(m_releasing.Get(), 0) == WAIT_OBJECT_0; }
    DWORD WaitExit() const {
        DWORD code = 0xFFFF;
        if (::WaitForSingleObject(m_process.Get(), 20000) == WAIT_OBJECT_0)
            ::GetExitCodeProcess(m_process.Get(), &code);
        return code;
    }

private:
    CKernelObject m_ready;
    CKernelObject m_releasing;
    CKernelObject m_process;
};

TEST(ReaderLock, TransmitWaitsForAnotherProcessHoldingTheMutex) {
    // The console's own name: this is the exclusion two console instances rely on.
    const char *const kName = "QXCCIDINT";
    const DWORD kHoldMs = 300;
    CPcscFake fake;
    QXCCIDINT reader;
    ASSERT_TRUE(reader.Init(0x1, "Reader A 0", kName));
    reader.m_hCard = 0x10;

    CHolderProcess holder(kName, kHoldMs, "hold");
    ASSERT_TRUE(holder.Started());
    ASSERT_TRUE(holder.WaitReady());
    const Clock::time_point t0 = Clock::now();

    bool bSawRelease = false;
    fake.m_onCall = [&](const PcscRecord &) { bSawRelease = holder.IsReleasing(); };
    fake.Script(PcscCall::Transmit, [] {
        PcscReply r;
        r.bytes = Hex("90 00");
        return r;
    }());
    const BYTE command[] = {0x00, 0x84, 0x00, 0x00, 0x08};
    WORD wStatus = 0;
    EXPECT_TRUE(reader.Transmit(command, sizeof(command), nullptr, nullptr, &wStatus));
    const long long elapsed = MillisecondsSince(t0);

    EXPECT_EQ(wStatus, 0x9000);
    EXPECT_TRUE(bSawRelease) << "the card saw the command while the other process still held the mutex";
    EXPECT_GE(elapsed, kHoldMs - 100) << "Transmit did not wait";
    EXPECT_EQ(holder.WaitExit(), 0u);
    reader.m_hCard = 0;
}

TEST(ReaderLock, AHolderThatDiesDoesNotBlockForever) {
    // The dead holder leaves the mutex abandoned: the next operation owns it and must release it.
    const std::string name = UniqueMutexName("abandoned");
    CPcscFake fake;
    QXCCIDINT reader;
    ASSERT_TRUE(reader.Init(0x1, "Reader A 0", name.c_str()));
    reader.m_hCard = 0x10;
    {
        CHolderProcess holder(name, 0, "abandon");
        ASSERT_TRUE(holder.Started());
        ASSERT_TRUE(holder.WaitReady());
        EXPECT_EQ(holder.WaitExit(), 0u);
    }
    fake.Script(PcscCall::Reconnect, SCARD_S_SUCCESS);
    EXPECT_TRUE(reader.Reset());
    EXPECT_TRUE(IsFree(name)) << "the abandoned mutex stayed owned after the operation";
    reader.m_hCard = 0;
}

} // namespace
