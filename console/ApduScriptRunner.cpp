#include "console/ApduScriptRunner.h"

#include "console/ApduList.h"
#include "text/HexText.h"
#include "text/StringEdit.h"
#include "console/ConsoleResult.h"

#include <cstdio>
#include <cstring>

namespace {

bool IsLeadByte(BYTE b) {
#ifdef _WIN32
    return IsDBCSLeadByte(b) != FALSE;
#else
    return b >= 0x81 && b <= 0xFE; // code page 936, the console's own
#endif
}

// Hexadecimal text of `count` bytes, or false when the conversion fails.
bool ToHex(const BYTE* bytes, DWORD count, std::string& text) {
    DWORD length = 0;
    if (!BytesToHexText(bytes, count, nullptr, &length)) {
        return false;
    }
    std::string buffer(length, '\0');
    if (!BytesToHexText(bytes, count, &buffer[0], &length)) {
        return false;
    }
    text.swap(buffer);
    return true;
}

} // namespace

void MakeUpperAnsi(std::string& text) {
    for (size_t i = 0; i < text.size(); ++i) {
        const BYTE b = static_cast<BYTE>(text[i]);
        if (IsLeadByte(b) && i + 1 < text.size()) {
            ++i; // the trail byte belongs to the character
        } else if (b >= 'a' && b <= 'z') {
            text[i] = static_cast<char>(b - 'a' + 'A');
        }
    }
}

DWORD PrepareScriptBytes(const char* text, DWORD length, std::vector<BYTE>& bytes) {
    if (!text || length == 0) {
        return RC_BAD_ARGUMENT;
    }
    // A zero byte ends the script (a 16-bit Unicode file therefore ends after its first character).
    const void* zero = std::memchr(text, 0, length);
    std::string script(text, zero ? static_cast<const char*>(zero) - text : length);
    MakeUpperAnsi(script);
    RemoveAll(script, " ");
    if (DWORD rc = StripComments(script, ";")) {
        return rc;
    }
    std::vector<BYTE> converted;
    try {
        converted.assign(script.size(), 0);
    } catch (const std::bad_alloc&) {
        return RC_NO_MEMORY;
    }
    DWORD count = 0;
    if (!HexTextToBytes(script.data(), static_cast<DWORD>(script.size()), converted.data(), &count)) {
        return RC_TO_BYTES_FAILED;
    }
    converted.resize(count);
    bytes.swap(converted);
    return 0;
}

DWORD RunApduScript(const char* text, DWORD length, const ApduTransmitFn& transmit, const TraceLineFn& post) {
    std::vector<BYTE> bytes;
    if (DWORD rc = PrepareScriptBytes(text, length, bytes)) {
        return rc;
    }
    CApduList list;
    if (DWORD rc = list.Parse(bytes.data(), static_cast<DWORD>(bytes.size()))) {
        return rc;
    }
    DWORD result = 0;
    for (DWORD index = 0; index < list.m_nCount; ++index) {
        BYTE command[1024] = {};
        BYTE response[1024] = {};
        DWORD commandLength = 0;
        DWORD responseLength = 0;
        WORD status = 0;
        result = list.GetCommand(command, &commandLength, index);
        if (result != 0) {
            break;
        }
        post("下发的命令为：");
        std::string hex;
        if (!ToHex(command, commandLength, hex)) {
            result = 0;
            break;
        }
        post(hex);
        transmit(command, commandLength, response, &responseLength, &status);
        char line[64];
        std::snprintf(line, sizeof line, "响应的结果： 0x%x", static_cast<unsigned>(status));
        post(line);
        if (status == 0x9000 && responseLength > 0) {
            if (!ToHex(response, responseLength, hex)) {
                result = 0;
                break;
            }
            post(hex);
        }
    }
    return result;
}
