// Arbitrary bytes as what a client writes to the bridge: the session's real frame reading and request
// decoding, in lockstep with a client that holds its own reading of the protocol. Every frame the
// client considers well formed must be answered (and must re-encode to the same bytes); every other
// one must close the connection without an answer. Answers must pass the DLL's checks, and no single
// allocation may exceed what one bounded frame can justify.
//
// Context and card fields holding 1..4 are replaced by the client's 1st..4th handle of that kind, so
// that mutated sessions reach the calls behind the handle look-ups.
#include "fuzz/rig/FakePcscLite.h"
#include "tools/pcscbridge/BridgeProtocol.h"
#include "tools/pcscbridge/BridgeSession.h"
#include "tools/pcscbridge/WireReader.h"
#include "tools/pcscbridge/WireWriter.h"

#include <sanitizer/allocator_interface.h>
#include <sys/socket.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <map>
#include <set>
#include <thread>
#include <vector>

using namespace BridgeProtocol;

namespace {

void Check(bool condition, const char *what) {
    if (!condition) {
        std::fprintf(stderr, "bridge_request_fuzz: %s\n", what);
        std::abort();
    }
}

// One frame and a read chunk in the session's inbox, and a vector's doubling on top of that.
constexpr std::size_t kAllocBound = 2 * (kHeaderSize + kMaxPayload + 8192);

std::atomic<bool> g_armed{false};
std::atomic<std::size_t> g_largest{0};

void OnMalloc(const volatile void *, std::size_t size) {
    if (!g_armed.load(std::memory_order_relaxed))
        return;
    std::size_t seen = g_largest.load(std::memory_order_relaxed);
    while (size > seen && !g_largest.compare_exchange_weak(seen, size)) {
    }
}
void OnFree(const volatile void *) {}

// A request as the client encodes it.
struct Request {
    std::uint8_t op = 0;
    std::vector<std::uint32_t> numbers;
    bool hasBytes = false;
    std::vector<std::uint8_t> bytes;
};

// Layout of each request: how many numbers, and the limit of the trailing byte string (0: none).
bool Layout(std::uint8_t op, int &numbers, std::uint32_t &bytesLimit) {
    bytesLimit = 0;
    switch (op) {
    case OP_ESTABLISH:
    case OP_RELEASE:
    case OP_IS_VALID:
    case OP_LIST_READERS:
    case OP_STATUS:
        numbers = 1;
        return true;
    case OP_DISCONNECT:
    case OP_GET_ATTRIB:
        numbers = 2;
        return true;
    case OP_CONNECT:
        numbers = 3;
        bytesLimit = kMaxReaderName;
        return true;
    case OP_RECONNECT:
        numbers = 4;
        return true;
    case OP_TRANSMIT:
        numbers = 3;
        bytesLimit = kMaxApdu;
        return true;
    default:
        return false;
    }
}

bool Decode(const std::vector<std::uint8_t> &payload, Request &req) {
    CWireReader in(payload.data(), payload.size());
    int numbers = 0;
    std::uint32_t limit = 0;
    if (!in.U8(req.op) || !Layout(req.op, numbers, limit))
        return false;
    for (int i = 0; i < numbers; ++i) {
        std::uint32_t v = 0;
        if (!in.U32(v))
            return false;
        req.numbers.push_back(v);
    }
    if (limit) {
        const std::uint8_t *p = nullptr;
        std::uint32_t n = 0;
        if (!in.Bytes(p, n, limit))
            return false;
        Check(n <= limit && (n == 0 || p >= payload.data()) && (n == 0 || p + n <= payload.data() + payload.size()),
              "byte string outside its payload");
        req.hasBytes = true;
        req.bytes.assign(p, p + n);
    }
    return in.AtEnd();
}

std::vector<std::uint8_t> Encode(const Request &req) {
    CWireWriter w;
    w.U8(req.op);
    for (std::uint32_t v : req.numbers)
        w.U32(v);
    if (req.hasBytes)
        w.Bytes(req.bytes.data(), req.bytes.size());
    return w.Finish();
}

bool SendAll(int fd, const std::uint8_t *data, std::size_t size) {
    while (size) {
        ssize_t n = ::send(fd, data, size, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false; // the session has closed; what it did about it is checked by the reader
        data += n;
        size -= std::size_t(n);
    }
    return true;
}

// 1: got all bytes; 0: orderly end before the first byte; -1: end or error mid-way.
int RecvAll(int fd, std::uint8_t *data, std::size_t size) {
    std::size_t got = 0;
    while (got < size) {
        ssize_t n = ::recv(fd, data + got, size - got, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return got ? -1 : 0;
        got += std::size_t(n);
    }
    return 1;
}

std::uint32_t Le32(const std::uint8_t *p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

void PutLe32(std::uint8_t *p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = std::uint8_t(v >> (8 * i));
}

class CClient {
public:
    explicit CClient(int fd) : m_fd(fd) {}

    // The session must close without another word.
    void ExpectClosed() {
        ::shutdown(m_fd, SHUT_WR);
        std::uint8_t b = 0;
        Check(RecvAll(m_fd, &b, 1) == 0, "the bridge answered a frame it should have refused");
    }

    // Sends one well-formed request and checks the answer.
    void Exchange(std::vector<std::uint8_t> &frame, Request &req) {
        Substitute(frame, req);
        SendAll(m_fd, frame.data(), frame.size());
        std::uint8_t header[kHeaderSize];
        Check(RecvAll(m_fd, header, sizeof header) == 1, "the bridge dropped a well-formed request");
        std::uint32_t n = Le32(header);
        Check(n >= 4 && n <= kMaxPayload, "answer length outside what the DLL accepts");
        std::vector<std::uint8_t> answer(n);
        Check(RecvAll(m_fd, answer.data(), n) == 1, "answer cut short");
        CheckAnswer(req, answer);
    }

private:
    // Small handle values stand for the handles this client was given.
    void Substitute(std::vector<std::uint8_t> &frame, Request &req) {
        bool isCard = req.op >= OP_RECONNECT;
        bool takesContext =
            req.op == OP_RELEASE || req.op == OP_IS_VALID || req.op == OP_LIST_READERS || req.op == OP_CONNECT;
        if (!isCard && !takesContext)
            return;
        const std::vector<std::uint32_t> &ids = isCard ? m_cardsIssued : m_contextsIssued;
        std::uint32_t v = req.numbers[0];
        if (v >= 1 && v <= 4 && v <= ids.size()) {
            req.numbers[0] = ids[v - 1];
            PutLe32(frame.data() + kHeaderSize + 1, req.numbers[0]);
        }
    }

    void CheckAnswer(const Request &req, const std::vector<std::uint8_t> &answer) {
        CWireReader in(answer.data(), answer.size());
        std::uint32_t rc = 0, v = 0, n = 0;
        const std::uint8_t *p = nullptr;
        Check(in.U32(rc), "answer without a result");
        std::uint32_t id = req.numbers[0];
        if (rc == 0) {
            switch (req.op) {
            case OP_ESTABLISH:
                Check(in.U32(v) && v != 0, "context id");
                Check(m_contexts.insert(v).second, "context id handed out twice");
                m_contextsIssued.push_back(v);
                break;
            case OP_RELEASE:
                Check(m_contexts.erase(id) == 1, "released a context the client does not hold");
                for (auto it = m_cardOwner.begin(); it != m_cardOwner.end();)
                    it = it->second == id ? m_cardOwner.erase(it) : std::next(it);
                break;
            case OP_IS_VALID:
                Check(m_contexts.count(id) == 1, "a context the client does not hold is valid");
                break;
            case OP_LIST_READERS:
                Check(in.Bytes(p, n, kMaxReaderList) && n >= 2 && p[n - 1] == 0 && p[n - 2] == 0,
                      "reader list without its final empty name");
                break;
            case OP_CONNECT:
                Check(in.U32(v) && v != 0 && in.U32(n), "connect answer");
                Check(!m_contexts.count(v) && !m_cardOwner.count(v), "card id collides with a live handle");
                m_cardOwner[v] = id;
                m_cardsIssued.push_back(v);
                break;
            case OP_RECONNECT:
                Check(in.U32(v), "reconnect answer");
                break;
            case OP_DISCONNECT:
                Check(m_cardOwner.erase(id) == 1, "disconnected a card the client does not hold");
                break;
            case OP_STATUS:
                Check(in.U32(v) && in.U32(v) && in.Bytes(p, n, kMaxReaderName + 2) && n >= 1 && p[n - 1] == 0 &&
                          in.Bytes(p, n, kMaxAttrib),
                      "status answer");
                break;
            case OP_GET_ATTRIB:
                Check(in.Bytes(p, n, kMaxAttrib), "attribute answer");
                break;
            case OP_TRANSMIT: {
                std::uint32_t limit = req.numbers[2] < kMaxResponse ? req.numbers[2] : kMaxResponse;
                Check(in.U32(v) && in.Bytes(p, n, kMaxResponse), "transmit answer");
                Check(n <= limit, "response longer than the client allowed");
                // The fake card echoes the command and adds 90 00.
                Check(n == req.bytes.size() + 2 && std::memcmp(p, req.bytes.data(), req.bytes.size()) == 0 &&
                          p[n - 2] == 0x90 && p[n - 1] == 0x00,
                      "response is not the card's");
                break;
            }
            }
        } else {
            Check(req.op != OP_ESTABLISH || req.numbers[0] > 2 || m_contexts.size() >= 64, "a valid scope was refused");
            Check(req.op != OP_IS_VALID || !m_contexts.count(id), "a context the client holds is invalid");
        }
        Check(in.AtEnd(), "answer longer than its fields");
    }

    int m_fd;
    std::set<std::uint32_t> m_contexts;
    std::map<std::uint32_t, std::uint32_t> m_cardOwner; // card -> context
    std::vector<std::uint32_t> m_contextsIssued;
    std::vector<std::uint32_t> m_cardsIssued;
};

void Play(int fd, const std::uint8_t *data, std::size_t size) {
    CClient client(fd);
    std::size_t pos = 0;
    while (pos < size) {
        std::size_t left = size - pos;
        std::uint32_t n = left >= kHeaderSize ? Le32(data + pos) : 0;
        if (left < kHeaderSize || n == 0 || n > kMaxPayload || left - kHeaderSize < n) {
            // A short header, a length out of bounds or a truncated body: the session must give up
            // on this connection however much follows.
            SendAll(fd, data + pos, left);
            client.ExpectClosed();
            return;
        }
        std::vector<std::uint8_t> frame(data + pos, data + pos + kHeaderSize + n);
        pos += kHeaderSize + n;
        const std::vector<std::uint8_t> payload(frame.begin() + kHeaderSize, frame.end());
        Request req;
        if (!Decode(payload, req)) {
            SendAll(fd, frame.data(), frame.size());
            client.ExpectClosed();
            return;
        }
        Check(Encode(req) == frame, "a decoded request does not re-encode to its bytes");
        client.Exchange(frame, req);
    }
    client.ExpectClosed();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    __sanitizer_install_malloc_and_free_hooks(OnMalloc, OnFree);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    FakePcsc::Reset();
    int fds[2];
    Check(::socketpair(AF_UNIX, SOCK_STREAM, 0, fds) == 0, "socketpair");
    g_largest = 0;
    g_armed = true;
    std::thread bridge([fd = fds[0]]() {
        CBridgeSession session{CUniqueFd(fd)};
        session.Run();
    });
    Play(fds[1], data, size);
    bridge.join();
    g_armed = false;
    ::close(fds[1]);
    Check(g_largest.load() <= kAllocBound, "an allocation beyond what one frame can justify");
    // A session that ends must hand back everything its client left open.
    Check(FakePcsc::OpenContexts() == 0 && FakePcsc::OpenCards() == 0, "the session leaked pcsc-lite handles");
    return 0;
}
