// The 8-bit length-prefixed string form: the one codec of CArchive's strings (framework/Archive) and of every record
// of a .trace file. 1 byte below 255; 0xFF + 16-bit below 65534; 0xFF 0xFFFF + 32-bit beyond (little-endian).
#pragma once

#include "platform/WinCompat.h"

#include <cstddef>
#include <string>

enum PrefixedStringStatus : DWORD {
    PS_OK = 0,
    PS_TRUNCATED,  // the bytes end inside the prefix or inside the string
    PS_BAD_PREFIX, // a prefix value this form never writes (16-bit 0xFFFE, 32-bit 0xFFFFFFFF)
    PS_TOO_LONG,   // longer than the caller's limit, or than a 32-bit length can say
    PS_NO_MEMORY,
};

// Largest length the form can carry: 32-bit 0xFFFFFFFF is kept free as other writers' escape to longer forms.
const size_t kMaxPrefixedLength = 0xFFFFFFFEu;

// Longest prefix: 0xFF, 0xFFFF, then a 32-bit length.
const size_t kMaxPrefixBytes = 7;

// 1 byte for 0-254, 3 for 255-65533, 7 from 65534 up.
size_t PrefixSize(size_t length);

// Writes the prefix of a string of `length` bytes (at most kMaxPrefixedLength) and returns its size.
size_t EncodeLengthPrefix(size_t length, unsigned char prefix[kMaxPrefixBytes]);

// Decodes the prefix at the start of the `available` bytes at `p`. PS_OK: *header and *length are set.
// PS_TRUNCATED: the prefix needs more bytes; *header says how many it has as far as they tell (1, 3 or 7), so that
// a reader of a stream can fetch exactly those and ask again. PS_BAD_PREFIX: a value this form never writes.
PrefixedStringStatus DecodeLengthPrefix(const unsigned char *p, size_t available, size_t *header,
                                        unsigned long *length);

// Appends prefix and bytes to `out`. PS_TOO_LONG (nothing appended) beyond kMaxPrefixedLength.
PrefixedStringStatus AppendPrefixedString(std::string &out, const char *bytes, size_t length);

// Reads one string at `pos` of `data[0..size)`, refusing lengths above `maxLength` before allocating anything.
// On success `text` holds the bytes and `pos` points past them; on failure both are left as they were.
PrefixedStringStatus ReadPrefixedString(const char *data, size_t size, size_t &pos, std::string &text,
                                        size_t maxLength = kMaxPrefixedLength);
