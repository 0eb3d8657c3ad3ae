// Runs APDU script text: cleans and converts the whole text, splits it into commands, then sends them in order.
#pragma once

#include "platform/WinCompat.h"

#include <functional>
#include <string>
#include <vector>

// Sends one command and returns non-zero only for status 9000; data, its length and the status word are filled
// as far as the exchange got (the reader object's Transmit).
using ApduTransmitFn = std::function<BOOL(const BYTE* command, DWORD length, BYTE* data, DWORD* dataLength,
                                          WORD* status)>;
// Delivers one trace line.
using TraceLineFn = std::function<void(const std::string& line)>;

// Upper-cases the letters a-z of ANSI text, leaving double-byte characters of the system code page whole.
void MakeUpperAnsi(std::string& text);

// The text preparation of a run: the text up to its first zero byte, upper-cased, without spaces, without ";"
// comments, converted to bytes (line breaks become 0D 0A). Returns 0, RC_BAD_ARGUMENT (no text), the comment
// stripper's code, RC_NO_MEMORY or RC_TO_BYTES_FAILED. Linear in the text.
DWORD PrepareScriptBytes(const char* text, DWORD length, std::vector<BYTE>& bytes);

// The whole run: prepares the text, parses the command list (nothing is sent when either fails) and sends each
// command, posting "下发的命令为：", the command, "响应的结果： 0x%x" and, for 9000 with data, the data.
// Returns 0 after the last command, otherwise the code that stopped the run.
DWORD RunApduScript(const char* text, DWORD length, const ApduTransmitFn& transmit, const TraceLineFn& post);
