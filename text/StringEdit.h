// String helpers that prepare APDU text, trace lines and scripts: deleting every occurrence, comments, and the
// text between two markers.
#pragma once

#include "platform/WinCompat.h"
#include "text/TextResult.h"

#include <string>

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
