#include "reader/NamedMutex.h"

#include <cstring>
#include <utility>

BOOL CNamedMutex::Create(BOOL bInitialOwner, LPCSTR pszName) {
    if (m_mutex.IsValid())
        return TRUE;

    SECURITY_ATTRIBUTES sa;
    std::memset(&sa, 0, sizeof(sa));
    sa.nLength = sizeof(sa);
    m_mutex.Attach(::CreateMutexA(&sa, bInitialOwner, pszName));
    if (!m_mutex.IsValid() && ::GetLastError() == ERROR_ACCESS_DENIED) {
        m_mutex.Attach(::OpenMutexA(MUTEX_ALL_ACCESS, FALSE, pszName));
        // Creating an existing mutex already asks for full access, so the open above fails exactly
        // where the create did (another account's mutex that grants only the right to use it).
        // Waiting and releasing need no more than these two rights; without them we would run unlocked.
        if (!m_mutex.IsValid() && ::GetLastError() == ERROR_ACCESS_DENIED)
            m_mutex.Attach(::OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, pszName));
    }
    return m_mutex.IsValid();
}

BOOL CNamedMutex::Lock() {
    if (!m_mutex.IsValid())
        return FALSE;
    return ::WaitForSingleObject(m_mutex, INFINITE) == WAIT_OBJECT_0;
}

BOOL CNamedMutex::Unlock() {
    if (!m_mutex.IsValid())
        return FALSE;
    return ::ReleaseMutex(m_mutex);
}

void CNamedMutex::Close() {
    m_mutex.Close();
}

void CNamedMutex::Attach(HANDLE hMutex) {
    if (hMutex != m_mutex.Get())
        m_mutex.Attach(hMutex);
}
