// Writes the seed corpus of bridge_request_fuzz: client sessions as the DLL encodes them, one file each.
// Handles are written as 1..4, which the fuzz target maps to the handles the bridge handed out.
#include "fuzz/rig/FakePcscLite.h"
#include "tools/pcscbridge/BridgeProtocol.h"
#include "tools/pcscbridge/WireWriter.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

using namespace BridgeProtocol;

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Session {
    Bytes data;
    void Add(std::uint8_t op, std::initializer_list<std::uint32_t> numbers, const Bytes *bytes = nullptr) {
        CWireWriter w;
        w.U8(op);
        for (std::uint32_t v : numbers)
            w.U32(v);
        if (bytes)
            w.Bytes(bytes->data(), bytes->size());
        const Bytes &frame = w.Finish();
        data.insert(data.end(), frame.begin(), frame.end());
    }
    void Raw(const Bytes &bytes) { data.insert(data.end(), bytes.begin(), bytes.end()); }
};

Bytes Text(const char *s) {
    return Bytes(s, s + std::strlen(s));
}

bool Write(const std::string &dir, const char *name, const Session &s) {
    std::string path = dir + "/" + name;
    FILE *f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(s.data.data(), 1, s.data.size(), f) == s.data.size();
    return std::fclose(f) == 0 && ok;
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: rig_seed_maker <corpus folder>\n");
        return 2;
    }
    const std::string dir = argv[1];
    const Bytes reader = Text(FakePcsc::kCardReader);
    const Bytes empty = Text(FakePcsc::kEmptyReader);
    const Bytes select = {0x00, 0xA4, 0x04, 0x00, 0x07, 0xA0, 0x00, 0x00, 0x00, 0x03, 0x10, 0x10, 0x00};
    const Bytes challenge = {0x00, 0x84, 0x00, 0x00, 0x08};
    const Bytes restart = {FakePcsc::kRestartCla, FakePcsc::kRestartIns, 0x00, 0x00};
    bool ok = true;

    // What the console does: list, connect, read the ATR, exchange APDUs, let go.
    Session console;
    console.Add(OP_ESTABLISH, {2});
    console.Add(OP_LIST_READERS, {1});
    console.Add(OP_CONNECT, {1, 2, 3}, &reader);
    console.Add(OP_STATUS, {1});
    console.Add(OP_GET_ATTRIB, {1, kAttrAtrString});
    console.Add(OP_TRANSMIT, {1, 0, 258}, &select);
    console.Add(OP_TRANSMIT, {1, kProtocolT1, 10}, &challenge);
    console.Add(OP_RECONNECT, {1, 2, 3, 1});
    console.Add(OP_DISCONNECT, {1, 0});
    console.Add(OP_IS_VALID, {1});
    console.Add(OP_RELEASE, {1});
    console.Add(OP_IS_VALID, {1});
    ok &= Write(dir, "console_session", console);

    // Refusals the bridge answers: no context, an empty reader, a short receive buffer, unknown handles.
    Session refusals;
    refusals.Add(OP_LIST_READERS, {0});
    refusals.Add(OP_ESTABLISH, {7});
    refusals.Add(OP_ESTABLISH, {0});
    refusals.Add(OP_CONNECT, {1, 2, 3}, &empty);
    refusals.Add(OP_CONNECT, {1, 2, kProtocolRawWin}, &reader);
    refusals.Add(OP_GET_ATTRIB, {1, FakePcsc::kAttrVendorName});
    refusals.Add(OP_GET_ATTRIB, {1, 0x7FFF0000});
    refusals.Add(OP_TRANSMIT, {1, 0, 2}, &select);
    refusals.Add(OP_STATUS, {0x12345678});
    refusals.Add(OP_DISCONNECT, {0x12345678, 0});
    ok &= Write(dir, "refusals", refusals);

    // pcscd restarting under the bridge: stale card handle, context re-established.
    Session restarted;
    restarted.Add(OP_ESTABLISH, {2});
    restarted.Add(OP_CONNECT, {1, 2, 3}, &reader);
    restarted.Add(OP_TRANSMIT, {1, 0, 258}, &restart);
    restarted.Add(OP_STATUS, {1});
    restarted.Add(OP_LIST_READERS, {1});
    restarted.Add(OP_CONNECT, {1, 2, 1}, &reader);
    restarted.Add(OP_TRANSMIT, {2, kProtocolT0, 258}, &challenge);
    ok &= Write(dir, "restarted", restarted);

    // The largest command the DLL sends, and a reader name at its limit.
    Session extended;
    extended.Add(OP_ESTABLISH, {2});
    extended.Add(OP_CONNECT, {1, 2, 3}, &reader);
    Bytes apdu(kMaxApdu);
    for (std::size_t i = 0; i < apdu.size(); ++i)
        apdu[i] = std::uint8_t(i);
    apdu[0] = 0x00;
    apdu[1] = 0xD6;
    extended.Add(OP_TRANSMIT, {1, 0, kMaxResponse}, &apdu);
    Bytes longName(kMaxReaderName, 'R');
    extended.Add(OP_CONNECT, {1, 2, 3}, &longName);
    ok &= Write(dir, "extended_apdu", extended);

    // A frame exactly at the length bound whose command is longer than any the DLL sends.
    Session atBound;
    atBound.Add(OP_ESTABLISH, {2});
    atBound.Add(OP_CONNECT, {1, 2, 3}, &reader);
    Bytes tooLong(kMaxPayload - 17, 0);
    tooLong[1] = 0xD6;
    atBound.Add(OP_TRANSMIT, {1, 0, kMaxResponse}, &tooLong);
    ok &= Write(dir, "frame_at_bound", atBound);

    // Frames that end the connection: one past the length bound, a body cut short, an unknown operation.
    Session oversized;
    oversized.Add(OP_ESTABLISH, {2});
    oversized.Raw({0x71, 0x11, 0x01, 0x00, OP_TRANSMIT});
    ok &= Write(dir, "oversized_frame", oversized);
    Session truncated;
    truncated.Add(OP_ESTABLISH, {2});
    truncated.Raw({0x20, 0x00, 0x00, 0x00, OP_CONNECT, 1, 0, 0, 0});
    ok &= Write(dir, "truncated_frame", truncated);
    Session unknown;
    unknown.Add(OP_IS_VALID, {0});
    unknown.Raw({0x05, 0x00, 0x00, 0x00, 0x0B, 0, 0, 0, 0});
    ok &= Write(dir, "unknown_op", unknown);

    if (!ok) {
        std::fprintf(stderr, "rig_seed_maker: cannot write to %s\n", dir.c_str());
        return 1;
    }
    return 0;
}
