// A skin's own lock: a critical section in the Win32 build, a standard mutex elsewhere.
#pragma once

#ifdef _WIN32
#include <windows.h>
#else
#include <mutex>
#endif

class CSkinLock {
public:
    CSkinLock();
    ~CSkinLock();
    CSkinLock(const CSkinLock &) = delete;
    CSkinLock &operator=(const CSkinLock &) = delete;

    void Lock();
    void Unlock();

    // Holds the lock for the guard's scope.
    class Guard {
    public:
        explicit Guard(CSkinLock &lock) : m_lock(lock) { m_lock.Lock(); }
        ~Guard() { m_lock.Unlock(); }
        Guard(const Guard &) = delete;
        Guard &operator=(const Guard &) = delete;

    private:
        CSkinLock &m_lock;
    };

private:
#ifdef _WIN32
    CRITICAL_SECTION m_cs;
#else
    std::recursive_mutex m_mutex;
#endif
};
