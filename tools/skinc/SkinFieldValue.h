// Text form of skin field values: parsing from source tokens and formatting for the dump, one rule per type.
#pragma once

#include "tools/skinc/SkinFieldTable.h"

#include <string>
#include <vector>

class CSkinFieldValue {
public:
    // Splits a line into tokens: words, and "quoted" texts with \" \\ and \xHH escapes. False on a broken quote.
    static bool Tokenize(const std::string &line, std::vector<std::string> *tokens);
    // Parses the tokens of one value into the field's memory; the error text says what was expected.
    static bool Parse(const CSkinFieldTable::Field &field, const std::vector<std::string> &tokens, void *at,
                      std::string *error);
    static std::string Format(const CSkinFieldTable::Field &field, const void *at);
    static std::string Quote(const char *text, size_t maxLength);
    static bool ParseNumber(const std::string &token, long long *value);
    static bool ParseColor(const std::string &token, COLORREF *color);
};
