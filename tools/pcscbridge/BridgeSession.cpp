#include "tools/pcscbridge/BridgeSession.h"

#include "tools/pcscbridge/BridgeProtocol.h"
#include "tools/pcscbridge/WinPcscMap.h"

#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstring>
#include <random>
#include <string>

using namespace BridgeProtocol;

namespace {

constexpr std::size_t kMaxContexts = 64;
constexpr std::size_t kMaxCards = 64;
// Once a message has begun, the rest must follow promptly; a silent client between messages is fine.
constexpr int kMidFrameTimeoutMs = 5000;

constexpr std::uint32_t kWinInvalidHandle = 0x80100003;
constexpr std::uint32_t kWinInvalidValue = 0x80100011;
constexpr std::uint32_t kWinNoMemory = 0x80100006;
constexpr std::uint32_t kWinNoService = 0x8010001D;
constexpr std::uint32_t kWinReaderUnavailable = 0x80100017;

// pcsc-lite's answers when the pcscd that issued a handle is no longer there.
bool ServiceGone(long rv) {
    return rv == SCARD_E_NO_SERVICE || rv == SCARD_F_COMM_ERROR || rv == SCARD_E_INVALID_HANDLE ||
           rv == SCARD_E_SERVICE_STOPPED;
}

} // namespace

CBridgeSession::CBridgeSession(CUniqueFd socket) : m_socket(std::move(socket)) {
    std::random_device rd;
    // Random start so that handles of one process are not mistaken for another's after a restart.
    m_nextId = (rd() & 0x0FFFFFF0u) | 0x10000000u;
}

CBridgeSession::~CBridgeSession() {
    for (auto &c : m_cards)
        SCardDisconnect(c.second.hLite, SCARD_LEAVE_CARD);
    for (auto &c : m_contexts)
        SCardReleaseContext(c.second.hLite);
}

std::uint32_t CBridgeSession::NewId() {
    for (;;) {
        std::uint32_t id = m_nextId++;
        if (id != 0 && !m_contexts.count(id) && !m_cards.count(id))
            return id;
    }
}

void CBridgeSession::Run() {
    std::vector<std::uint8_t> payload;
    while (ReadFrame(payload)) {
        CWireWriter answer;
        if (!Handle(payload.data(), std::uint32_t(payload.size()), answer))
            return;
        if (!Send(answer.Finish()))
            return;
    }
}

bool CBridgeSession::Fill(bool midFrame) {
    if (midFrame) {
        for (;;) {
            pollfd pfd{m_socket.Get(), POLLIN, 0};
            int r = ::poll(&pfd, 1, kMidFrameTimeoutMs);
            if (r < 0 && errno == EINTR)
                continue;
            if (r <= 0)
                return false;
            break;
        }
    }
    // Drop what has been handed out before reading more, so the buffer stays within one message.
    if (m_inboxPos) {
        m_inbox.erase(m_inbox.begin(), m_inbox.begin() + std::ptrdiff_t(m_inboxPos));
        m_inboxPos = 0;
    }
    std::uint8_t chunk[8192];
    for (;;) {
        ssize_t n = ::recv(m_socket.Get(), chunk, sizeof chunk, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        m_inbox.insert(m_inbox.end(), chunk, chunk + n);
        return true;
    }
}

bool CBridgeSession::ReadFrame(std::vector<std::uint8_t> &payload) {
    // One read usually brings a whole request; between requests the client may stay silent.
    while (m_inbox.size() - m_inboxPos < kHeaderSize) {
        if (!Fill(m_inbox.size() > m_inboxPos))
            return false;
    }
    const std::uint8_t *h = m_inbox.data() + m_inboxPos;
    std::uint32_t n =
        std::uint32_t(h[0]) | std::uint32_t(h[1]) << 8 | std::uint32_t(h[2]) << 16 | std::uint32_t(h[3]) << 24;
    if (n == 0 || n > kMaxPayload)
        return false;
    while (m_inbox.size() - m_inboxPos < kHeaderSize + n) {
        if (!Fill(true))
            return false;
    }
    const std::uint8_t *body = m_inbox.data() + m_inboxPos + kHeaderSize;
    payload.assign(body, body + n);
    m_inboxPos += kHeaderSize + n;
    return true;
}

bool CBridgeSession::Send(const std::vector<std::uint8_t> &message) {
    std::size_t sent = 0;
    while (sent < message.size()) {
        ssize_t n = ::send(m_socket.Get(), message.data() + sent, message.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        sent += std::size_t(n);
    }
    return true;
}

bool CBridgeSession::Handle(const std::uint8_t *payload, std::uint32_t size, CWireWriter &answer) {
    CWireReader in(payload, size);
    std::uint8_t op = 0;
    if (!in.U8(op))
        return false;
    switch (op) {
    case OP_ESTABLISH:
        return OnEstablish(in, answer);
    case OP_RELEASE:
        return OnRelease(in, answer);
    case OP_IS_VALID:
        return OnIsValid(in, answer);
    case OP_LIST_READERS:
        return OnListReaders(in, answer);
    case OP_CONNECT:
        return OnConnect(in, answer);
    case OP_RECONNECT:
        return OnReconnect(in, answer);
    case OP_DISCONNECT:
        return OnDisconnect(in, answer);
    case OP_STATUS:
        return OnStatus(in, answer);
    case OP_GET_ATTRIB:
        return OnGetAttrib(in, answer);
    case OP_TRANSMIT:
        return OnTransmit(in, answer);
    default:
        return false;
    }
}

template <typename Call> long CBridgeSession::WithContext(Context &ctx, Call call) {
    long rv = ctx.bLive ? call(ctx.hLite) : SCARD_E_NO_SERVICE;
    if (!ServiceGone(rv))
        return rv;
    ctx.bLive = false;
    SCardReleaseContext(ctx.hLite);
    SCARDCONTEXT fresh = 0;
    if (SCardEstablishContext(SCARD_SCOPE_SYSTEM, nullptr, nullptr, &fresh) != SCARD_S_SUCCESS)
        return SCARD_E_NO_SERVICE;
    ctx.hLite = fresh;
    ctx.bLive = true;
    return call(ctx.hLite);
}

long CBridgeSession::CardFailure(long rv) {
    if (!ServiceGone(rv))
        return rv;
    // The handle belonged to a pcscd that has gone. If a new one answers, the reader the handle
    // named went away with the old one, which is what Windows reports for a vanished reader.
    SCARDCONTEXT probe = 0;
    if (SCardEstablishContext(SCARD_SCOPE_SYSTEM, nullptr, nullptr, &probe) != SCARD_S_SUCCESS)
        return SCARD_E_NO_SERVICE;
    SCardReleaseContext(probe);
    return long(kWinReaderUnavailable);
}

bool CBridgeSession::OnEstablish(CWireReader &in, CWireWriter &out) {
    std::uint32_t scope = 0;
    if (!in.U32(scope) || !in.AtEnd())
        return false;
    if (scope > SCARD_SCOPE_SYSTEM) {
        out.U32(kWinInvalidValue);
        return true;
    }
    if (m_contexts.size() >= kMaxContexts) {
        out.U32(kWinNoMemory);
        return true;
    }
    SCARDCONTEXT h = 0;
    long rv = SCardEstablishContext(scope, nullptr, nullptr, &h);
    if (rv != SCARD_S_SUCCESS) {
        out.U32(CWinPcscMap::Result(rv));
        return true;
    }
    std::uint32_t id = NewId();
    m_contexts[id] = Context{h, true};
    out.U32(SCARD_S_SUCCESS);
    out.U32(id);
    return true;
}

bool CBridgeSession::OnRelease(CWireReader &in, CWireWriter &out) {
    std::uint32_t id = 0;
    if (!in.U32(id) || !in.AtEnd())
        return false;
    auto it = m_contexts.find(id);
    if (it == m_contexts.end()) {
        out.U32(kWinInvalidHandle);
        return true;
    }
    // pcsc-lite drops the context's card handles with it; forget them here as well.
    for (auto c = m_cards.begin(); c != m_cards.end();) {
        if (c->second.context == id) {
            SCardDisconnect(c->second.hLite, SCARD_LEAVE_CARD);
            c = m_cards.erase(c);
        } else {
            ++c;
        }
    }
    if (it->second.bLive)
        SCardReleaseContext(it->second.hLite);
    m_contexts.erase(it);
    out.U32(SCARD_S_SUCCESS);
    return true;
}

bool CBridgeSession::OnIsValid(CWireReader &in, CWireWriter &out) {
    std::uint32_t id = 0;
    if (!in.U32(id) || !in.AtEnd())
        return false;
    out.U32(m_contexts.count(id) ? SCARD_S_SUCCESS : kWinInvalidHandle);
    return true;
}

bool CBridgeSession::OnListReaders(CWireReader &in, CWireWriter &out) {
    std::uint32_t id = 0;
    if (!in.U32(id) || !in.AtEnd())
        return false;
    std::vector<char> list;
    auto call = [&list](SCARDCONTEXT h) {
        DWORD n = 0;
        long rv = SCardListReaders(h, nullptr, nullptr, &n);
        if (rv != SCARD_S_SUCCESS)
            return rv;
        if (n == 0 || n > kMaxReaderList)
            return long(SCARD_E_INSUFFICIENT_BUFFER);
        list.assign(n, 0);
        rv = SCardListReaders(h, nullptr, list.data(), &n);
        if (rv == SCARD_S_SUCCESS)
            list.resize(n <= list.size() ? n : list.size());
        return rv;
    };
    long rv;
    if (id == 0) {
        // Windows lets a program list readers without a context of its own.
        Context temp{0, false};
        rv = WithContext(temp, call);
        if (temp.bLive)
            SCardReleaseContext(temp.hLite);
    } else {
        auto it = m_contexts.find(id);
        if (it == m_contexts.end()) {
            out.U32(kWinInvalidHandle);
            return true;
        }
        rv = WithContext(it->second, call);
    }
    out.U32(CWinPcscMap::Result(rv));
    if (rv == SCARD_S_SUCCESS) {
        // Guarantee the final empty name whatever the service gave.
        if (list.size() < 2 || list[list.size() - 1] != 0 || list[list.size() - 2] != 0) {
            list.push_back(0);
            if (list.size() < 2 || list[list.size() - 2] != 0)
                list.push_back(0);
        }
        out.Bytes(list.data(), list.size());
    }
    return true;
}

bool CBridgeSession::OnConnect(CWireReader &in, CWireWriter &out) {
    std::uint32_t id = 0, share = 0, protocols = 0;
    const std::uint8_t *name = nullptr;
    std::uint32_t nameSize = 0;
    if (!in.U32(id) || !in.U32(share) || !in.U32(protocols) || !in.Bytes(name, nameSize, kMaxReaderName) || !in.AtEnd())
        return false;
    auto it = m_contexts.find(id);
    if (it == m_contexts.end()) {
        out.U32(kWinInvalidHandle);
        return true;
    }
    if (m_cards.size() >= kMaxCards) {
        out.U32(kWinNoMemory);
        return true;
    }
    std::string reader(reinterpret_cast<const char *>(name), nameSize);
    SCARDHANDLE h = 0;
    DWORD active = 0;
    long rv = WithContext(it->second, [&](SCARDCONTEXT c) {
        return SCardConnect(c, reader.c_str(), share, CWinPcscMap::ProtocolsToLite(protocols), &h, &active);
    });
    out.U32(CWinPcscMap::Result(rv));
    if (rv == SCARD_S_SUCCESS) {
        std::uint32_t cardId = NewId();
        m_cards[cardId] = Card{h, id, active};
        out.U32(cardId);
        out.U32(CWinPcscMap::ProtocolToWin(active));
    }
    return true;
}

bool CBridgeSession::OnReconnect(CWireReader &in, CWireWriter &out) {
    std::uint32_t id = 0, share = 0, protocols = 0, init = 0;
    if (!in.U32(id) || !in.U32(share) || !in.U32(protocols) || !in.U32(init) || !in.AtEnd())
        return false;
    auto it = m_cards.find(id);
    if (it == m_cards.end()) {
        out.U32(kWinInvalidHandle);
        return true;
    }
    DWORD active = 0;
    long rv = SCardReconnect(it->second.hLite, share, CWinPcscMap::ProtocolsToLite(protocols), init, &active);
    out.U32(CWinPcscMap::Result(CardFailure(rv)));
    if (rv == SCARD_S_SUCCESS) {
        it->second.protocol = active;
        out.U32(CWinPcscMap::ProtocolToWin(active));
    }
    return true;
}

bool CBridgeSession::OnDisconnect(CWireReader &in, CWireWriter &out) {
    std::uint32_t id = 0, disposition = 0;
    if (!in.U32(id) || !in.U32(disposition) || !in.AtEnd())
        return false;
    auto it = m_cards.find(id);
    if (it == m_cards.end()) {
        out.U32(kWinInvalidHandle);
        return true;
    }
    long rv = SCardDisconnect(it->second.hLite, disposition);
    // A handle of a pcscd that has gone is as good as disconnected.
    if (rv == SCARD_S_SUCCESS || ServiceGone(rv)) {
        m_cards.erase(it);
        rv = SCARD_S_SUCCESS;
    }
    out.U32(CWinPcscMap::Result(rv));
    return true;
}

bool CBridgeSession::OnStatus(CWireReader &in, CWireWriter &out) {
    std::uint32_t id = 0;
    if (!in.U32(id) || !in.AtEnd())
        return false;
    auto it = m_cards.find(id);
    if (it == m_cards.end()) {
        out.U32(kWinInvalidHandle);
        return true;
    }
    char names[kMaxReaderName + 2] = {};
    DWORD namesLen = sizeof names;
    DWORD state = 0, protocol = 0;
    BYTE atr[MAX_ATR_SIZE] = {};
    DWORD atrLen = sizeof atr;
    long rv = SCardStatus(it->second.hLite, names, &namesLen, &state, &protocol, atr, &atrLen);
    out.U32(CWinPcscMap::Result(CardFailure(rv)));
    if (rv == SCARD_S_SUCCESS) {
        if (namesLen > sizeof names - 1)
            namesLen = sizeof names - 1;
        names[namesLen] = 0; // a second terminator ends the multi-string
        if (atrLen > sizeof atr)
            atrLen = sizeof atr;
        out.U32(CWinPcscMap::StateToWin(state, protocol));
        out.U32(CWinPcscMap::ProtocolToWin(protocol));
        out.Bytes(names, namesLen + 1);
        out.Bytes(atr, atrLen);
    }
    return true;
}

bool CBridgeSession::OnGetAttrib(CWireReader &in, CWireWriter &out) {
    std::uint32_t id = 0, attr = 0;
    if (!in.U32(id) || !in.U32(attr) || !in.AtEnd())
        return false;
    auto it = m_cards.find(id);
    if (it == m_cards.end()) {
        out.U32(kWinInvalidHandle);
        return true;
    }
    // pcsc-lite refuses any buffer larger than its own message limit, as "insufficient".
    std::vector<std::uint8_t> value(MAX_BUFFER_SIZE);
    DWORD len = DWORD(value.size());
    long rv;
    if (attr == kAttrAtrString) {
        // The Windows service answers the ATR for every reader; vpcd does not know the tag.
        char names[kMaxReaderName + 2];
        DWORD namesLen = sizeof names;
        DWORD state = 0, protocol = 0;
        len = MAX_ATR_SIZE;
        rv = SCardStatus(it->second.hLite, names, &namesLen, &state, &protocol, value.data(), &len);
    } else {
        rv = SCardGetAttrib(it->second.hLite, attr, value.data(), &len);
    }
    out.U32(CWinPcscMap::Result(CardFailure(rv)));
    if (rv == SCARD_S_SUCCESS)
        out.Bytes(value.data(), len <= value.size() ? len : value.size());
    return true;
}

bool CBridgeSession::OnTransmit(CWireReader &in, CWireWriter &out) {
    std::uint32_t id = 0, protocol = 0, recvMax = 0;
    const std::uint8_t *cmd = nullptr;
    std::uint32_t cmdSize = 0;
    if (!in.U32(id) || !in.U32(protocol) || !in.U32(recvMax) || !in.Bytes(cmd, cmdSize, kMaxApdu) || !in.AtEnd())
        return false;
    auto it = m_cards.find(id);
    if (it == m_cards.end()) {
        out.U32(kWinInvalidHandle);
        return true;
    }
    if (recvMax > kMaxResponse)
        recvMax = kMaxResponse;
    // An empty protocol field means the card's own protocol, as on Windows; pcsc-lite would refuse it.
    unsigned long liteProtocol = protocol ? CWinPcscMap::ProtocolsToLite(protocol) : it->second.protocol;
    SCARD_IO_REQUEST sendPci{liteProtocol, sizeof(SCARD_IO_REQUEST)};
    SCARD_IO_REQUEST recvPci{liteProtocol, sizeof(SCARD_IO_REQUEST)};
    std::vector<std::uint8_t> response(recvMax ? recvMax : 1);
    DWORD len = recvMax;
    long rv = SCardTransmit(it->second.hLite, &sendPci, cmd, cmdSize, &recvPci, response.data(), &len);
    out.U32(CWinPcscMap::Result(CardFailure(rv)));
    if (rv == SCARD_S_SUCCESS) {
        // The protocol the exchange used; what drivers leave in pcsc-lite's receive header varies.
        out.U32(CWinPcscMap::ProtocolToWin(liteProtocol));
        out.Bytes(response.data(), len <= recvMax ? len : recvMax);
    }
    return true;
}
