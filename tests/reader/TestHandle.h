// Owner of one kernel handle for the reader tests (events, threads, processes).
#pragma once

#include <windows.h>

#include <utility>

class CTestHandle {
public:
    explicit CTestHandle(HANDLE h = nullptr) : m_h(h) {}
    ~CTestHandle() {
        if (m_h && m_h != INVALID_HANDLE_VALUE)
            ::CloseHandle(m_h);
    }
    CTestHandle(const CTestHandle &) = delete;
    CTestHandle &operator=(const CTestHandle &) = delete;
    CTestHandle(CTestHandle &&other) noexcept : m_h(std::exchange(other.m_h, nullptr)) {}
    CTestHandle &operator=(CTestHandle &&other) noexcept {
        std::swap(m_h, other.m_h);
        return *this;
    }

    HANDLE Get() const { return m_h; }
    explicit operator bool() const { return m_h != nullptr && m_h != INVALID_HANDLE_VALUE; }

private:
    HANDLE m_h;
};
