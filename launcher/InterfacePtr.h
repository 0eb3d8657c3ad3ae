// Owning pointer to a COM interface: releases it when replaced or destroyed.
#pragma once

#include <windows.h>

template <class T> class CInterfacePtr {
public:
    CInterfacePtr() : m_p(NULL) {}
    ~CInterfacePtr() { Release(); }
    CInterfacePtr(const CInterfacePtr &) = delete;
    CInterfacePtr &operator=(const CInterfacePtr &) = delete;

    T *Get() const { return m_p; }
    T *operator->() const { return m_p; }
    explicit operator bool() const { return m_p != NULL; }

    // Address for an out-parameter; whatever was held is released first.
    T **Receive() {
        Release();
        return &m_p;
    }
    void **ReceiveVoid() { return reinterpret_cast<void **>(Receive()); }

    void Release() {
        if (m_p)
            m_p->Release();
        m_p = NULL;
    }

private:
    T *m_p;
};
