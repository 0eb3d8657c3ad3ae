// A second console-like process for the rig tests: connects `theReader` and runs chained SELECTs.
// Usage: rig_reader_agent <reader> <count> [start-event [mutex-name]]. Exit status 0 when every
// exchange succeeded. (Another mutex name than the console's shows what happens without the lock.)
#include <windows.h>
#include <winscard.h>

#include "platform/Handle.h"
#include "reader/QXCCIDINT.h"

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char **argv) {
    if (argc < 3)
        return 2;
    int count = std::atoi(argv[2]);
    SCARDCONTEXT ctx = 0;
    if (SCardEstablishContext(SCARD_SCOPE_SYSTEM, nullptr, nullptr, &ctx) != SCARD_S_SUCCESS)
        return 3;
    if (!theReader.Init(ctx, argv[1], argc > 4 ? argv[4] : "QXCCIDINT") || !theReader.Connect())
        return 4;
    if (argc > 3) {
        // Connected: say so, then start together with the other agent so that the sequences overlap.
        std::string ready = std::string(argv[3]) + ".ready";
        CKernelObject sem(OpenSemaphoreA(SEMAPHORE_MODIFY_STATE, FALSE, ready.c_str()));
        if (sem.IsValid())
            ReleaseSemaphore(sem, 1, nullptr);
        CKernelObject go(OpenEventA(SYNCHRONIZE, FALSE, argv[3]));
        if (go.IsValid())
            WaitForSingleObject(go, 30000);
    }
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
