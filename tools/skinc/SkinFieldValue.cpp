#include "tools/skinc/SkinFieldValue.h"

#include "skin/SkinRecords.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

std::string Hex(COLORREF color) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "#%02X%02X%02X", GetRValue(color), GetGValue(color), GetBValue(color));
    return buffer;
}

bool Numbers(const std::vector<std::string> &tokens, size_t first, size_t count, LONG *out) {
    if (tokens.size() < first + count)
        return false;
    for (size_t i = 0; i < count; ++i) {
        long long v = 0;
        if (!CSkinFieldValue::ParseNumber(tokens[first + i], &v))
            return false;
        out[i] = static_cast<LONG>(v);
    }
    return true;
}

bool SetName(const std::string &token, char *name, size_t size) {
    if (token.size() >= size)
        return false;
    std::memset(name, 0, size);
    std::memcpy(name, token.data(), token.size());
    return true;
}

std::string Rect(const RECT &rc) {
    return std::to_string(rc.left) + " " + std::to_string(rc.top) + " " + std::to_string(rc.right) + " " +
           std::to_string(rc.bottom);
}

} // namespace

bool CSkinFieldValue::Tokenize(const std::string &line, std::vector<std::string> *tokens) {
    tokens->clear();
    size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ' || line[i] == '\t' || line[i] == '\r') {
            ++i;
            continue;
        }
        std::string token;
        if (line[i] == '"') {
            ++i;
            bool closed = false;
            while (i < line.size()) {
                char c = line[i++];
                if (c == '"') {
                    closed = true;
                    break;
                }
                if (c == '\\' && i < line.size()) {
                    char e = line[i++];
                    if (e == 'x' && i + 2 <= line.size()) {
                        token += static_cast<char>(std::strtol(line.substr(i, 2).c_str(), nullptr, 16));
                        i += 2;
                    } else {
                        token += e;
                    }
                } else {
                    token += c;
                }
            }
            if (!closed)
                return false;
        } else {
            while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r')
                token += line[i++];
        }
        tokens->push_back(token);
    }
    return true;
}

bool CSkinFieldValue::ParseNumber(const std::string &token, long long *value) {
    if (token.empty())
        return false;
    char *end = nullptr;
    *value = std::strtoll(token.c_str(), &end, 0);
    return end != nullptr && *end == '\0';
}

bool CSkinFieldValue::ParseColor(const std::string &token, COLORREF *color) {
    if (token.size() == 7 && token[0] == '#') {
        char *end = nullptr;
        unsigned long v = std::strtoul(token.c_str() + 1, &end, 16);
        if (*end != '\0')
            return false;
        *color = RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
        return true;
    }
    long long v = 0;
    if (!ParseNumber(token, &v))
        return false;
    *color = static_cast<COLORREF>(v);
    return true;
}

bool CSkinFieldValue::Parse(const CSkinFieldTable::Field &field, const std::vector<std::string> &tokens, void *at,
                            std::string *error) {
    typedef CSkinFieldTable T;
    switch (field.type) {
    case T::COLOR:
        if (tokens.size() == 1 && ParseColor(tokens[0], static_cast<COLORREF *>(at)))
            return true;
        *error = "a colour (#RRGGBB or a number)";
        return false;
    case T::INT:
    case T::BYTE_VALUE: {
        long long v = 0;
        if (tokens.size() == 1 && ParseNumber(tokens[0], &v)) {
            if (field.type == T::INT)
                *static_cast<DWORD *>(at) = static_cast<DWORD>(v);
            else
                *static_cast<BYTE *>(at) = static_cast<BYTE>(v);
            return true;
        }
        *error = "a number";
        return false;
    }
    case T::TEXT:
        // Written texts always keep their NUL inside the stored field.
        if (tokens.size() == 1 && SetName(tokens[0], static_cast<char *>(at), field.size))
            return true;
        *error = "one quoted text of at most " + std::to_string(field.size - 1) + " bytes";
        return false;
    case T::RECTANGLE:
        if (tokens.size() == 4 && Numbers(tokens, 0, 4, reinterpret_cast<LONG *>(at)))
            return true;
        *error = "left top right bottom";
        return false;
    case T::PIECE: {
        SkinPiece piece;
        std::memset(&piece, 0, sizeof piece);
        if (tokens.size() == 1 && tokens[0] == "none") {
            *static_cast<SkinPiece *>(at) = piece;
            return true;
        }
        LONG values[5];
        if (tokens.size() == 6 && SetName(tokens[0], piece.szImage, SKIN_IMAGE_NAME_SIZE) &&
            Numbers(tokens, 1, 5, values)) {
            piece.rcSource = RECT{values[0], values[1], values[2], values[3]};
            piece.dwMode = static_cast<DWORD>(values[4]);
            *static_cast<SkinPiece *>(at) = piece;
            return true;
        }
        *error = "\"image\" left top right bottom mode, or none";
        return false;
    }
    case T::IMAGE_REF: {
        SkinImageRef ref;
        std::memset(&ref, 0, sizeof ref);
        if (tokens.size() == 1 && tokens[0] == "none") {
            *static_cast<SkinImageRef *>(at) = ref;
            return true;
        }
        LONG values[9];
        if (tokens.size() == 10 && SetName(tokens[0], ref.szImage, SKIN_IMAGE_NAME_SIZE) &&
            Numbers(tokens, 1, 9, values)) {
            ref.rcSource = RECT{values[0], values[1], values[2], values[3]};
            ref.rcMargins = RECT{values[4], values[5], values[6], values[7]};
            ref.dwFillMode = static_cast<DWORD>(values[8]);
            *static_cast<SkinImageRef *>(at) = ref;
            return true;
        }
        *error = "\"image\" left top right bottom, margins left top right bottom, fill mode; or none";
        return false;
    }
    case T::FONT: {
        SkinFontRecord font = SkinDefaultFont();
        LONG values[2];
        if (tokens.size() == 4 && tokens[0].size() < LF_FACESIZE && Numbers(tokens, 1, 2, values) &&
            ParseColor(tokens[3], &font.crText)) {
            std::memset(font.lf.lfFaceName, 0, LF_FACESIZE);
            std::memcpy(font.lf.lfFaceName, tokens[0].data(), tokens[0].size());
            font.lf.lfHeight = values[0];
            font.lf.lfWeight = values[1];
            *static_cast<SkinFontRecord *>(at) = font;
            return true;
        }
        *error = "\"face\" height weight #RRGGBB";
        return false;
    }
    case T::COLOR_RECORD16:
    case T::COLOR_RECORD32: {
        COLORREF color = 0;
        if (tokens.size() == 1 && ParseColor(tokens[0], &color)) {
            BYTE *bytes = static_cast<BYTE *>(at);
            std::memset(bytes, 0, field.size);
            bytes[4] = GetRValue(color);
            bytes[5] = GetGValue(color);
            bytes[6] = GetBValue(color);
            return true;
        }
        *error = "a text colour (#RRGGBB)";
        return false;
    }
    }
    *error = "a value";
    return false;
}

std::string CSkinFieldValue::Quote(const char *text, size_t maxLength) {
    std::string out = "\"";
    for (size_t i = 0; i < maxLength && text[i] != '\0'; ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c >= 0x7F) {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\x%02X", c);
            out += buffer;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

std::string CSkinFieldValue::Format(const CSkinFieldTable::Field &field, const void *at) {
    typedef CSkinFieldTable T;
    switch (field.type) {
    case T::COLOR:
        return Hex(*static_cast<const COLORREF *>(at));
    case T::INT:
        return std::to_string(*static_cast<const DWORD *>(at));
    case T::BYTE_VALUE:
        return std::to_string(*static_cast<const BYTE *>(at));
    case T::TEXT:
        return Quote(static_cast<const char *>(at), field.size);
    case T::RECTANGLE:
        return Rect(*static_cast<const RECT *>(at));
    case T::PIECE: {
        const SkinPiece &p = *static_cast<const SkinPiece *>(at);
        return Quote(p.szImage, SKIN_IMAGE_NAME_SIZE) + " " + Rect(p.rcSource) + " " + std::to_string(p.dwMode);
    }
    case T::IMAGE_REF: {
        const SkinImageRef &r = *static_cast<const SkinImageRef *>(at);
        return Quote(r.szImage, SKIN_IMAGE_NAME_SIZE) + " " + Rect(r.rcSource) + "  " + Rect(r.rcMargins) + "  " +
               std::to_string(r.dwFillMode);
    }
    case T::FONT: {
        const SkinFontRecord &f = *static_cast<const SkinFontRecord *>(at);
        return Quote(f.lf.lfFaceName, LF_FACESIZE) + " " + std::to_string(f.lf.lfHeight) + " " +
               std::to_string(f.lf.lfWeight) + " " + Hex(f.crText);
    }
    case T::COLOR_RECORD16:
    case T::COLOR_RECORD32: {
        const BYTE *b = static_cast<const BYTE *>(at);
        return Hex(RGB(b[4], b[5], b[6]));
    }
    }
    return "?";
}
