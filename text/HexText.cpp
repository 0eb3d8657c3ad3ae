#include "text/HexText.h"

namespace {

const char kDigits[] = "0123456789ABCDEF";

// One pass of the text-to-bytes scan; `emit` sees every produced byte. Returns false when a pair is broken.
// Positions at or beyond `length` count as "not a digit" and are never read, so a text cut inside a pair fails
// even when the caller's buffer happens to continue with a digit.
template <typename Emit> bool ScanHexText(const char *text, DWORD length, Emit emit) {
    DWORD i = 0;
    while (i < length) {
        if (text[i] == '\r' && i + 1 < length && text[i + 1] == '\n') {
            emit(0x0D);
            emit(0x0A);
            i += 2;
            if (i >= length) {
                break;
            }
        }
        const BYTE high = HexDigitValue(text[i]);
        if (high != 0xFF) {
            const BYTE low = i + 1 < length ? HexDigitValue(text[i + 1]) : 0xFF;
            if (low == 0xFF) {
                return false;
            }
            emit(static_cast<BYTE>(high * 16 + low));
            i += 2;
        } else {
            ++i;
        }
    }
    return true;
}

} // namespace

BYTE HexDigitValue(char ch) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if (c >= '0' && c <= '9') {
        return static_cast<BYTE>(c - '0');
    }
    if (c >= 'A' && c <= 'F') {
        return static_cast<BYTE>(c - 'A' + 10);
    }
    if (c >= 'a' && c <= 'f') {
        return static_cast<BYTE>(c - 'a' + 10);
    }
    return 0xFF;
}

BOOL HexTextToBytes(const char *text, DWORD length, BYTE *output, DWORD *count) {
    if (!text || !count) {
        return 0;
    }
    // Validate and count first so that a failure leaves the caller's buffer as it was, without a working copy.
    DWORD produced = 0;
    if (!ScanHexText(text, length, [&produced](BYTE) { ++produced; })) {
        return 0;
    }
    if (output) {
        BYTE *out = output;
        ScanHexText(text, length, [&out](BYTE b) { *out++ = b; });
    }
    *count = produced;
    return 1;
}

BOOL BytesToHexText(const BYTE *bytes, DWORD count, char *output, DWORD *length) {
    if (!bytes || !length || count == 0 || count > 0x7FFFFFFFu) {
        return 0;
    }
    const DWORD needed = count * 2;
    if (!output) {
        *length = needed;
        return 1;
    }
    const DWORD capacity = *length;
    *length = needed;
    if (capacity < needed) {
        return 0;
    }
    for (DWORD i = 0; i < count; ++i) {
        output[2 * i] = kDigits[bytes[i] >> 4];
        output[2 * i + 1] = kDigits[bytes[i] & 0x0F];
    }
    return 1;
}
