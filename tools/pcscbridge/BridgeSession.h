// One Windows process's connection to the bridge: reads requests, makes the pcsc-lite calls, answers.
#pragma once

#include "tools/pcscbridge/UniqueFd.h"
#include "tools/pcscbridge/WireReader.h"
#include "tools/pcscbridge/WireWriter.h"

#include <PCSC/winscard.h>

#include <cstdint>
#include <map>
#include <vector>

class CBridgeSession {
public:
    explicit CBridgeSession(CUniqueFd socket);
    CBridgeSession(const CBridgeSession &) = delete;
    CBridgeSession &operator=(const CBridgeSession &) = delete;
    // Disconnects (leaving the cards) and releases whatever the client left open.
    ~CBridgeSession();

    // Serves requests until the client goes away or breaks the protocol.
    void Run();
    // Handles one request payload; false when it is malformed (the connection is then closed).
    bool Handle(const std::uint8_t *payload, std::uint32_t size, CWireWriter &answer);

private:
    struct Context {
        SCARDCONTEXT hLite;
        bool bLive; // false once pcscd went away under it; re-established on the next use
    };
    struct Card {
        SCARDHANDLE hLite;
        std::uint32_t context;
        unsigned long protocol; // active protocol, for commands sent with an empty protocol field
    };

    bool ReadFrame(std::vector<std::uint8_t> &payload);
    // Appends what the socket has to the inbox; waits at most a few seconds when a message has begun.
    bool Fill(bool midFrame);
    bool Send(const std::vector<std::uint8_t> &message);

    bool OnEstablish(CWireReader &in, CWireWriter &out);
    bool OnRelease(CWireReader &in, CWireWriter &out);
    bool OnIsValid(CWireReader &in, CWireWriter &out);
    bool OnListReaders(CWireReader &in, CWireWriter &out);
    bool OnConnect(CWireReader &in, CWireWriter &out);
    bool OnReconnect(CWireReader &in, CWireWriter &out);
    bool OnDisconnect(CWireReader &in, CWireWriter &out);
    bool OnStatus(CWireReader &in, CWireWriter &out);
    bool OnGetAttrib(CWireReader &in, CWireWriter &out);
    bool OnTransmit(CWireReader &in, CWireWriter &out);

    // Runs a context-level call; when pcscd was restarted under the context, establishes a new
    // pcsc-lite context and retries once, so the Windows side's context stays valid.
    template <typename Call> long WithContext(Context &ctx, Call call);
    // Result for a call on a card handle whose pcscd instance has gone.
    long CardFailure(long rv);
    std::uint32_t NewId();

    CUniqueFd m_socket;
    std::map<std::uint32_t, Context> m_contexts;
    std::map<std::uint32_t, Card> m_cards;
    std::uint32_t m_nextId;
    std::vector<std::uint8_t> m_inbox;
    std::size_t m_inboxPos = 0;
};
