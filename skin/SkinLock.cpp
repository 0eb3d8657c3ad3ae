#include "skin/SkinLock.h"

#ifdef _WIN32
CSkinLock::CSkinLock() {
    InitializeCriticalSection(&m_cs);
}

CSkinLock::~CSkinLock() {
    DeleteCriticalSection(&m_cs);
}

void CSkinLock::Lock() {
    EnterCriticalSection(&m_cs);
}

void CSkinLock::Unlock() {
    LeaveCriticalSection(&m_cs);
}
#else
// Recursive like a critical section: a read clears the skin while its caller may already hold the lock.
CSkinLock::CSkinLock() = default;
CSkinLock::~CSkinLock() = default;

void CSkinLock::Lock() {
    m_mutex.lock();
}

void CSkinLock::Unlock() {
    m_mutex.unlock();
}
#endif
