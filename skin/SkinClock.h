// The wall clock that skinned frames read (the caption's click-pair rule), replaceable by tests.
#pragma once

#include <windows.h>

class CSkinClock {
public:
    typedef void(WINAPI *Source)(LPSYSTEMTIME);

    // The system time (UTC) through the source in use.
    static void Now(SYSTEMTIME &time);
    // Replaces the source (nullptr: the system's GetSystemTime); returns the previous replacement or nullptr.
    // User-interface thread only.
    static Source Set(Source source);
};

// Replaces the clock's source for one scope and puts the previous one back when it ends.
class CScopedSkinClock {
public:
    explicit CScopedSkinClock(CSkinClock::Source source) : m_previous(CSkinClock::Set(source)) {}
    ~CScopedSkinClock() { CSkinClock::Set(m_previous); }
    CScopedSkinClock(const CScopedSkinClock &) = delete;
    CScopedSkinClock &operator=(const CScopedSkinClock &) = delete;

private:
    CSkinClock::Source m_previous;
};
