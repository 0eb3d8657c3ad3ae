#include "reader/MutexLock.h"

#include "reader/NamedMutex.h"

CMutexLock::CMutexLock(CNamedMutex *pMutex) : m_pMutex(pMutex) {}

CMutexLock::~CMutexLock() {
    // Released whatever Lock answered: a wait that returned WAIT_ABANDONED (a holder died) still
    // made this thread the owner, and keeping it would block every other process for good.
    if (m_pMutex)
        m_pMutex->Unlock();
}

BOOL CMutexLock::Lock() {
    return m_pMutex ? m_pMutex->Lock() : FALSE;
}
