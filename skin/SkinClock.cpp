#include "skin/SkinClock.h"

namespace {
CSkinClock::Source g_source = nullptr;
} // namespace

void CSkinClock::Now(SYSTEMTIME &time) {
    if (g_source)
        g_source(&time);
    else
        ::GetSystemTime(&time);
}

CSkinClock::Source CSkinClock::Set(Source source) {
    Source previous = g_source;
    g_source = source;
    return previous;
}
