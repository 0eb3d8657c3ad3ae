#include "text/PrefixedString.h"

#include <new>

namespace {

DWORD ReadLittleEndian(const unsigned char *p, int bytes) {
    DWORD value = 0;
    for (int i = bytes - 1; i >= 0; --i) {
        value = (value << 8) | p[i];
    }
    return value;
}

} // namespace

size_t PrefixSize(size_t length) {
    if (length < 0xFF) {
        return 1;
    }
    return length < 0xFFFE ? 3 : 7;
}

size_t EncodeLengthPrefix(size_t length, unsigned char prefix[kMaxPrefixBytes]) {
    if (length < 0xFF) {
        prefix[0] = static_cast<unsigned char>(length);
        return 1;
    }
    prefix[0] = 0xFF;
    const int bytes = length < 0xFFFE ? 2 : 4;
    size_t at = 1;
    if (bytes == 4) {
        prefix[1] = prefix[2] = 0xFF;
        at = 3;
    }
    for (int i = 0; i < bytes; ++i) {
        prefix[at + i] = static_cast<unsigned char>((static_cast<unsigned long long>(length) >> (8 * i)) & 0xFF);
    }
    return at + bytes;
}

PrefixedStringStatus DecodeLengthPrefix(const unsigned char *p, size_t available, size_t *header,
                                        unsigned long *length) {
    *header = 1;
    if (available < 1) {
        return PS_TRUNCATED;
    }
    DWORD value = p[0];
    if (value == 0xFF) {
        *header = 3;
        if (available < 3) {
            return PS_TRUNCATED;
        }
        value = ReadLittleEndian(p + 1, 2);
        if (value == 0xFFFE) {
            return PS_BAD_PREFIX; // marks a wide-character string in other writers of this form
        }
        if (value == 0xFFFF) {
            *header = 7;
            if (available < 7) {
                return PS_TRUNCATED;
            }
            value = ReadLittleEndian(p + 3, 4);
            if (value == 0xFFFFFFFFu) {
                return PS_BAD_PREFIX; // other writers' escape to a 64-bit length
            }
        }
    }
    *length = value;
    return PS_OK;
}

PrefixedStringStatus AppendPrefixedString(std::string &out, const char *bytes, size_t length) {
    if (length > kMaxPrefixedLength) {
        return PS_TOO_LONG;
    }
    try {
        unsigned char prefix[kMaxPrefixBytes];
        const size_t header = EncodeLengthPrefix(length, prefix);
        out.reserve(out.size() + header + length);
        out.append(reinterpret_cast<const char *>(prefix), header);
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
    const size_t available = size - pos;
    size_t header = 0;
    unsigned long length = 0;
    const PrefixedStringStatus status = DecodeLengthPrefix(p, available, &header, &length);
    if (status != PS_OK) {
        return status;
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
