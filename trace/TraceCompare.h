// The comparison of two traces by their line texts, record numbers aside: how a batch run checks its trace against
// a reference .trace file.
#pragma once

#include "platform/WinCompat.h"

#include <cstddef>
#include <string>
#include <vector>

// The line text of every record as the trace view shows it when the records are opened (numbers and length
// markers taken off). Returns 0, or the first record's failing code (RC_BAD_ARGUMENT for an empty record,
// RC_NO_MEMORY) with `lines` unchanged.
DWORD TraceLinesOfRecords(const std::vector<std::string> &records, std::vector<std::string> &lines);

// Where two sequences of line texts first part.
struct TraceDifference {
    enum Kind {
        kNone,    // equal, line for line
        kChanged, // both have line `nIndex`, with other texts
        kMissing, // the run ended before the reference's line `nIndex`
        kExtra,   // the run has line `nIndex` beyond the end of the reference
    };
    Kind nKind = kNone;
    size_t nIndex = 0;
    std::string strExpected; // the reference's line (empty for kExtra)
    std::string strActual;   // the run's line (empty for kMissing)
};

// Compares byte for byte, line by line, and reports the first difference.
TraceDifference CompareTraceLines(const std::vector<std::string> &actual, const std::vector<std::string> &expected);

// At most maxBytes bytes of text in the GBK code page, cut only between characters, "…" added when something was
// cut (the mark is not counted).
std::string ClipGbkText(const std::string &text, size_t maxBytes);
