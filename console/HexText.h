// Hexadecimal text <-> bytes and the string helpers that prepare APDU text, trace lines and scripts.
#pragma once

#include "framework/WinCompat.h"
#include "framework/ResultCodes.h"

#include <string>

// 0-15 for '0'-'9', 'A'-'F', 'a'-'f'; 0xFF for every other byte (including 0x80 and above).
BYTE HexDigitValue(char ch);

// Converts `length` characters of `text` into bytes. Digits count only in adjacent pairs; a CR LF becomes 0D 0A
// (a CR LF right after a converted one is dropped); everything else is skipped. A text ending inside a pair fails.
// Characters at or beyond `length` are never read. `output` may be null (a size query); when given it must have
// room for `length` bytes, the most any text of that length converts to. Returns 1 with *count set, or 0 (failure,
// or `text`/`count` null) with neither *count nor `output` touched.
BOOL HexTextToBytes(const char *text, DWORD length, BYTE *output, DWORD *count);

// Writes two upper-case digits per byte, no separators, no terminating zero. *length carries the capacity of
// `output` in and 2 * count out. Null `output` is a size query. Returns 0 (nothing written) when an argument is
// absent, count is 0 or too large to double in a DWORD, or the capacity is short (then *length is still set).
BOOL BytesToHexText(const BYTE *bytes, DWORD count, char *output, DWORD *length);

// Deletes the first occurrence of `sub`, searching from the start, until none is left (occurrences that a deletion
// creates by joining its neighbours go too). Returns 0, or RC_BAD_ARGUMENT for an empty string or an absent or
// empty `sub` (the string is then unchanged). RC_NO_MEMORY if working memory cannot be had (string unchanged).
DWORD RemoveAll(std::string &str, const char *sub);

// Deletes, repeatedly and from the start, the first `marker` together with everything up to and including the
// first CR LF at or after it; a marker with no CR LF after it takes the rest of the text with it. Returns 0, or
// RC_BAD_ARGUMENT for an empty string or an absent or empty marker, or RC_NO_MEMORY (string unchanged).
DWORD StripComments(std::string &str, const char *marker);

// Cuts `source` to start at the first `begin` (when present), then sets `output` to source up to and including the
// first `end`; with no `end`, to its first strlen(end) - 1 bytes. Unless `keepMarkers`, every `begin` and then every
// `end` is removed from `output`. Returns 0, or RC_BAD_ARGUMENT (nothing changed) for an empty source or an absent
// or empty marker, or RC_NO_MEMORY (nothing changed).
DWORD ExtractBetween(std::string &output, std::string &source, const char *begin, const char *end, bool keepMarkers);
