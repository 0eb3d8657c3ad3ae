#include "trace/PrefixedString.h"

#include <new>

namespace {

DWORD ReadLittleEndian(const unsigned char *p, int bytes) {
    DWORD value = 0;
    for (int i = bytes - 1; i >= 0; --i) {
        value = (value << 8) | p[i];
    }
    return value;
}

void AppendLittleEndian(std::string &out, DWORD value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

} // namespace

size_t PrefixSize(size_t length) {
    if (length < 0xFF) {
        return 1;
    }
    return length < 0xFFFE ? 3 : 7;
}

PrefixedStringStatus AppendPrefixedString(std::string &out, const char *bytes, size_t length) {
    if (length > kMaxPrefixedLength) {
        return PS_TOO_LONG;
    }
    try {
        out.reserve(out.size() + PrefixSize(length) + length);
        if (length < 0xFF) {
            out.push_back(static_cast<char>(length));
        } else if (length < 0xFFFE) {
            out.push_back('\xFF');
            AppendLittleEndian(out, static_cast<DWORD>(length), 2);
        } else {
            out.append("\xFF\xFF\xFF", 3);
            AppendLittleEndian(out, static_cast<DWORD>(length), 4);
        }
        out.append(bytes, length);
    } catch (const std::bad_alloc &) {
        return PS_NO_MEMORY; // reserve throws before anything is appended
    }
    return PS_OK;
}

PrefixedStringStatus ReadPrefixedString(const char *data, size_t size, size_t &pos, std::string &text,
                                        size_t maxLength) {
    if (pos >= size) {
        return PS_TRUNCATED;
    }
    const unsigned char *p = reinterpret_cast<const unsigned char *>(data) + pos;
    size_t available = size - pos;
    size_t header = 1;
    DWORD length = p[0];
    if (length == 0xFF) {
        if (available < 3) {
            return PS_TRUNCATED;
        }
        header = 3;
        length = ReadLittleEndian(p + 1, 2);
        if (length == 0xFFFE) {
            return PS_BAD_PREFIX;
        }
        if (length == 0xFFFF) {
            if (available < 7) {
                return PS_TRUNCATED;
            }
            header = 7;
            length = ReadLittleEndian(p + 3, 4);
            if (length == 0xFFFFFFFFu) {
                return PS_BAD_PREFIX;
            }
        }
    }
    if (length > maxLength) {
        return PS_TOO_LONG;
    }
    if (length > available - header) {
        return PS_TRUNCATED;
    }
    try {
        text.assign(data + pos + header, length);
    } catch (const std::bad_alloc &) {
        return PS_NO_MEMORY;
    }
    pos += header + length;
    return PS_OK;
}
