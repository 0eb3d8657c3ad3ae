#include "skin/controls/ScrollSkinBar.h"

namespace {
int Resolve(int size, int metric) {
    return size >= 0 ? size : -size * ::GetSystemMetrics(metric);
}
} // namespace

int ScrollSkinBar::ArrowLength() const {
    return Resolve(nArrowLength, nType == TYPE_VERT ? SM_CYVSCROLL : SM_CXHSCROLL);
}

int ScrollSkinBar::ArrowWidth() const {
    return Resolve(nArrowWidth, nType == TYPE_VERT ? SM_CXVSCROLL : SM_CYHSCROLL);
}

bool ScrollSkinBar::IsActive() const {
    return !BothArrowsDisabled() && CScrollBarGeometry::CanScroll(Values());
}

CScrollBarGeometry::Values ScrollSkinBar::Values() const {
    return CScrollBarGeometry::Values{info.nMin, info.nMax, info.nPage, info.nPos};
}

CScrollBarGeometry::Bar ScrollSkinBar::Geometry(const RECT &rc) const {
    CScrollBarGeometry::Bar bar;
    bar.rc = nType == TYPE_VERT ? Swap(rc) : rc;
    bar.nArrow = ArrowLength();
    bar.nMinThumb = nMinThumb;
    bar.values = Values();
    return bar;
}

int ScrollSkinBar::DefaultMinThumb() {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    const DWORD version = ::GetVersion();
#pragma GCC diagnostic pop
    const bool bWin95Family = (version & 0x80000000u) != 0;
    return bWin95Family || LOBYTE(LOWORD(version)) < 5 ? 8 : 6;
}
