// One trace record: its text form "<--第%d条 %s @@ %d -->\n" and the row that the list view rebuilds from it.
#pragma once

#include "platform/WinCompat.h"
#include "text/TextResult.h"

#include <string>

// The row of the list view that a stored record stands for.
struct TraceRow {
    int nNumber = 0;     // row number and insertion index
    std::string strText; // the line text
};

// Sets `record` to the record of line `text` numbered `number` (the byte length of `text` follows " @@ ").
// Returns 0, or RC_NO_MEMORY with `record` unchanged.
DWORD FormatTraceRecord(int number, const std::string &text, std::string &record);

// Recovers (number, text) from a record the way the view reloads it: the text between "条 " and " @@", the number
// between "第" and "条", the length between " @@" and " -->", each with those markers removed wherever they stand;
// number and length are read like atoi. The text is cut to the length only when 0 <= length < its size (a negative
// length, possible only in a hand-edited file, keeps the whole text). Returns 0, RC_BAD_ARGUMENT for an empty
// record (nothing changed), or RC_NO_MEMORY (nothing changed).
DWORD ExtractTraceRow(const std::string &record, TraceRow &row);

// The C library's atoi over bytes: leading white space, an optional sign, digits up to the first other byte, 0 when
// there are none. Out-of-range values saturate to INT_MIN/INT_MAX instead of being undefined.
int ReadDecimalLikeAtoi(const std::string &text);
