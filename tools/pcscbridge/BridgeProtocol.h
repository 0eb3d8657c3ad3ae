// Wire format shared by the bridge daemon and the test-only winscard.dll.
#pragma once

#include <cstdint>

// Every message is a 4-byte little-endian payload length followed by the payload. A request payload
// starts with a one-byte operation; an answer payload starts with the 32-bit Windows result code.
// Numbers are 32-bit little-endian; byte strings are a 32-bit length followed by the bytes.
// Handles on the wire are the bridge's own 32-bit values, never pcsc-lite's 64-bit ones.
namespace BridgeProtocol {

enum Op : std::uint8_t {
    OP_ESTABLISH = 1,    // scope -> rc, context
    OP_RELEASE = 2,      // context -> rc
    OP_IS_VALID = 3,     // context -> rc
    OP_LIST_READERS = 4, // context -> rc, readers (multi-string with its final empty name)
    OP_CONNECT = 5,      // context, share, protocols, reader name -> rc, card, protocol
    OP_RECONNECT = 6,    // card, share, protocols, initialisation -> rc, protocol
    OP_DISCONNECT = 7,   // card, disposition -> rc
    OP_STATUS = 8,       // card -> rc, state, protocol, reader names, ATR
    OP_GET_ATTRIB = 9,   // card, attribute -> rc, value
    OP_TRANSMIT = 10,    // card, protocol, receive limit, command -> rc, protocol, response
};

constexpr std::uint32_t kHeaderSize = 4;
// Large enough for an extended APDU and its fields; anything longer is a broken peer.
constexpr std::uint32_t kMaxPayload = 70000;
constexpr std::uint32_t kMaxReaderName = 1024;
constexpr std::uint32_t kMaxApdu = 65544;
constexpr std::uint32_t kMaxResponse = 65538;
constexpr std::uint32_t kMaxReaderList = 65536;
constexpr std::uint32_t kMaxAttrib = 1024;

// Windows' values where the bridge has to name them itself.
constexpr std::uint32_t kProtocolT0 = 0x1;
constexpr std::uint32_t kProtocolT1 = 0x2;
constexpr std::uint32_t kProtocolRawWin = 0x10000;
constexpr std::uint32_t kAttrAtrString = 0x00090303;

constexpr char kPortEnv[] = "QX_PCSC_BRIDGE_PORT";
constexpr char kRigDirEnv[] = "QX_RIG_DIR";
constexpr char kPortFile[] = "bridge.port";

} // namespace BridgeProtocol
