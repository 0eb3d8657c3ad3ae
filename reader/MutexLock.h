// Scoped guard of a named mutex: Lock waits on it, destruction releases it on every exit path.
#pragma once

#include <windows.h>

class CNamedMutex;

class CMutexLock {
public:
    // pMutex may be null: the guard then locks nothing.
    explicit CMutexLock(CNamedMutex *pMutex);
    virtual ~CMutexLock();
    CMutexLock(const CMutexLock &) = delete;
    CMutexLock &operator=(const CMutexLock &) = delete;

    BOOL Lock();

private:
    CNamedMutex *m_pMutex;
};
