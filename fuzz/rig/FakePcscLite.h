// A deterministic stand-in for pcsc-lite's client calls, so that the bridge's request handling can be
// fuzzed without pcscd. It behaves like pcscd with vpcd: "Virtual PCD 00 00" holds a card that echoes
// every command followed by 90 00, "Virtual PCD 00 01" is empty, other names are unknown readers.
#pragma once

#include <cstdint>

namespace FakePcsc {

constexpr char kCardReader[] = "Virtual PCD 00 00";
constexpr char kEmptyReader[] = "Virtual PCD 00 01";
// A command with this class and instruction makes the fake "restart pcscd": every handle issued so far
// goes stale, as when the rig swaps the reader set under a running bridge.
constexpr std::uint8_t kRestartCla = 0xFF;
constexpr std::uint8_t kRestartIns = 0xEE;
constexpr std::uint32_t kAttrVendorName = 0x00010100;

// Forgets every context and card (one call per fuzz input).
void Reset();
// Contexts and cards the bridge holds open right now.
int OpenContexts();
int OpenCards();

} // namespace FakePcsc
