// The .trace file image: records written in the archive's length-prefixed form, and the loader's text scan.
#pragma once

#include "platform/WinCompat.h"
#include "text/TextResult.h"

#include <string>
#include <vector>

// Sets `image` to every record, in order, each with its length prefix; no count, no header, nothing after them
// (no records: an empty image). Returns 0, RC_BAD_ARGUMENT for a record too long for the prefix form, or
// RC_NO_MEMORY; `image` is unchanged on failure.
DWORD WriteTraceFile(const std::vector<std::string> &records, std::string &image);

// Replaces `records` with every "<--" ... "-->" found in the whole of `data[0..size)`: prefixes, line feeds, zero
// bytes and anything else before a "<--" are skipped, a piece runs through the first "-->" after its start, and a
// rest without a further "-->" is dropped. Text without "<--" before a "-->" is loaded from where the scan stands.
// An empty text leaves `records` as they are. Linear in `size`. Returns 0, or RC_NO_MEMORY (records unchanged).
DWORD ParseTraceText(const char *data, size_t size, std::vector<std::string> &records);
DWORD ParseTraceText(const std::string &text, std::vector<std::string> &records);
