// A second console-like process for the rig tests: connects `theReader` and runs chained SELECTs.
// Usage: rig_reader_agent <reader> <count> [start-event]. Exit status 0 when every exchange succeeded.
#include <windows.h>
#include <winscard.h>

#include "reader/QXCCIDINT.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv) {
    if (argc < 3)
        return 2;
    int count = std::atoi(argv[2]);
    if (argc > 3) {
        // Start together with the other agent so that the two sequences really overlap.
        HANDLE go = OpenEventA(SYNCHRONIZE, FALSE, argv[3]);
        if (go) {
            WaitForSingleObject(go, 30000);
            CloseHandle(go);
        }
    }
    SCARDCONTEXT ctx = 0;
    if (SCardEstablishContext(SCARD_SCOPE_SYSTEM, nullptr, nullptr, &ctx) != SCARD_S_SUCCESS)
        return 3;
    if (!theReader.Init(ctx, argv[1], "QXCCIDINT") || !theReader.Connect())
        return 4;
    const BYTE select[] = {0x00, 0xA4, 0x04, 0x00, 0x08, 0xA0, 0x00, 0x00, 0x03, 0x33, 0x01, 0x01, 0x01};
    int failures = 0;
    for (int i = 0; i < count; ++i) {
        BYTE data[512];
        DWORD len = sizeof data;
        WORD sw = 0;
        if (!theReader.Transmit(select, sizeof select, data, &len, &sw) || len != 16)
            ++failures;
    }
    std::printf("agent %lu: %d of %d failed\n", GetCurrentProcessId(), failures, count);
    return failures ? 1 : 0;
}
