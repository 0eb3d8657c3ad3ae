// Owner of one handle to a system-wide named mutex (0 = none), closed when the owner goes.
#pragma once

#include <windows.h>

class CNamedMutex {
public:
    CNamedMutex() = default;
    ~CNamedMutex();
    CNamedMutex(const CNamedMutex &) = delete;
    CNamedMutex &operator=(const CNamedMutex &) = delete;
    CNamedMutex(CNamedMutex &&other) noexcept;
    CNamedMutex &operator=(CNamedMutex &&other) noexcept;

    // Creates the mutex, or opens it when another account's mutex of that name denies full access.
    // A handle already held is kept: non-zero at once.
    BOOL Create(BOOL bInitialOwner, LPCSTR pszName);
    // Waits without a time limit; non-zero only when the wait returned WAIT_OBJECT_0.
    BOOL Lock();
    BOOL Unlock();
    void Close();

    HANDLE GetHandle() const { return m_hMutex; }
    void Attach(HANDLE hMutex);
    HANDLE Detach();

private:
    HANDLE m_hMutex = nullptr;
};
