#include "reader/NamedMutex.h"

#include <cstring>
#include <utility>

CNamedMutex::~CNamedMutex() {
    Close();
}

CNamedMutex::CNamedMutex(CNamedMutex &&other) noexcept : m_hMutex(other.Detach()) {}

CNamedMutex &CNamedMutex::operator=(CNamedMutex &&other) noexcept {
    if (this != &other)
        Attach(other.Detach());
    return *this;
}

BOOL CNamedMutex::Create(BOOL bInitialOwner, LPCSTR pszName) {
    if (m_hMutex)
        return TRUE;

    SECURITY_ATTRIBUTES sa;
    std::memset(&sa, 0, sizeof(sa));
    sa.nLength = sizeof(sa);
    m_hMutex = ::CreateMutexA(&sa, bInitialOwner, pszName);
    if (!m_hMutex && ::GetLastError() == ERROR_ACCESS_DENIED) {
        m_hMutex = ::OpenMutexA(MUTEX_ALL_ACCESS, FALSE, pszName);
        // Creating an existing mutex already asks for full access, so the open above fails exactly
        // where the create did (another account's mutex that grants only the right to use it).
        // Waiting and releasing need no more than these two rights; without them we would run unlocked.
        if (!m_hMutex && ::GetLastError() == ERROR_ACCESS_DENIED)
            m_hMutex = ::OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, pszName);
    }
    return m_hMutex != nullptr;
}

BOOL CNamedMutex::Lock() {
    if (!m_hMutex)
        return FALSE;
    return ::WaitForSingleObject(m_hMutex, INFINITE) == WAIT_OBJECT_0;
}

BOOL CNamedMutex::Unlock() {
    if (!m_hMutex)
        return FALSE;
    return ::ReleaseMutex(m_hMutex);
}

void CNamedMutex::Close() {
    if (m_hMutex) {
        ::CloseHandle(m_hMutex);
        m_hMutex = nullptr;
    }
}

void CNamedMutex::Attach(HANDLE hMutex) {
    if (hMutex != m_hMutex) {
        Close();
        m_hMutex = hMutex;
    }
}

HANDLE CNamedMutex::Detach() {
    return std::exchange(m_hMutex, nullptr);
}
