// Owning holder of one POSIX file descriptor (sockets of the bridge).
#pragma once

#include <unistd.h>

#include <utility>

class CUniqueFd {
public:
    CUniqueFd() = default;
    explicit CUniqueFd(int fd) : m_fd(fd) {}
    CUniqueFd(const CUniqueFd &) = delete;
    CUniqueFd &operator=(const CUniqueFd &) = delete;
    CUniqueFd(CUniqueFd &&other) noexcept : m_fd(other.Detach()) {}
    CUniqueFd &operator=(CUniqueFd &&other) noexcept {
        if (this != &other)
            Attach(other.Detach());
        return *this;
    }
    ~CUniqueFd() { Attach(-1); }

    int Get() const { return m_fd; }
    bool Valid() const { return m_fd >= 0; }
    void Attach(int fd) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }
    int Detach() { return std::exchange(m_fd, -1); }

private:
    int m_fd = -1;
};
