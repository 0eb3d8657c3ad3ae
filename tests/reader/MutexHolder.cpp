// Second process for the reader's cross-process tests: takes a named mutex and holds it.
//   reader_mutex_holder <mutex> <ready event> <releasing event> <hold ms> hold|abandon
// "hold" releases after the pause, signalling <releasing event> just before it lets go;
// "abandon" exits while still owning the mutex.
#include "reader/NamedMutex.h"
#include "platform/Handle.h"

#include <cstdlib>
#include <cstring>

int main(int argc, char **argv) {
    if (argc != 6)
        return 2;
    CNamedMutex mutex;
    if (!mutex.Create(FALSE, argv[1]))
        return 3;
    CKernelObject ready(::OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[2]));
    CKernelObject releasing(::OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[3]));
    if (!ready.IsValid() || !releasing.IsValid())
        return 4;
    if (!mutex.Lock())
        return 5;
    ::SetEvent(ready.Get());
    if (std::strcmp(argv[5], "abandon") == 0)
        ::ExitProcess(0); // still the owner: every waiter sees WAIT_ABANDONED
    ::Sleep(static_cast<DWORD>(std::atoi(argv[4])));
    ::SetEvent(releasing.Get());
    return mutex.Unlock() ? 0 : 6;
}
