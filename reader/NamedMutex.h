// Owner of one handle to a system-wide named mutex (0 = none), closed when the owner goes.
#pragma once

#include <windows.h>

#include "platform/Handle.h"

class CNamedMutex {
public:
    CNamedMutex() = default;
    CNamedMutex(CNamedMutex &&other) noexcept = default;
    CNamedMutex &operator=(CNamedMutex &&other) noexcept = default;

    // Creates the mutex, or opens it when another account's mutex of that name denies full access.
    // A handle already held is kept: non-zero at once.
    BOOL Create(BOOL bInitialOwner, LPCSTR pszName);
    // Waits without a time limit; non-zero only when the wait returned WAIT_OBJECT_0.
    BOOL Lock();
    BOOL Unlock();
    void Close();

    HANDLE GetHandle() const { return m_mutex.Get(); }
    void Attach(HANDLE hMutex);
    HANDLE Detach() { return m_mutex.Detach(); }

private:
    CKernelObject m_mutex;
};
