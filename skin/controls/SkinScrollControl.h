// The painter of edits, list boxes, list views and tree views: it leaves the client area to the control and gives the
// window skinned scroll bars drawn from the skin's "ScrollBar" object.
#pragma once

#include <windows.h>

#include <memory>

#include "skin/SkinWnd.h"

class CSkinScrollBarObject;

class CSkinScrollControl : public CSkinWnd {
public:
    // Posted to itself right after subclassing; the bars are attached when it arrives.
    enum : UINT { WM_ATTACH_BARS = 0x4FA };
    // The style the bars get: flat with hot tracking.
    enum : int { BAR_STYLE = 2 };

    explicit CSkinScrollControl(CSkinWnd *pOwner);
    // The factory's row for kinds 7, 9, 26, 28 and 29.
    static std::unique_ptr<CSkinWnd> Create(CSkinWnd *pOwner);
    // Skinned bars are given on NT 4, Windows 2000 and XP (platform codes 5, 6 and 7) only.
    static bool UsesSkinnedBars(int nPlatformCode) { return nPlatformCode >= 5 && nPlatformCode <= 7; }

    CSkinObject *SetSkinObject(CSkinObject *pObject) override;
    BOOL Attach(HWND hWnd) override;
    // The bars stay with the window when a skin without the painter's object comes: they are repainted in the
    // standard look.
    void Detach() override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    CSkinWnd *GetOwner() const { return m_pOwner; }
    bool HasSkinnedBars() const { return m_bBarsAttached; }

private:
    void OnAttachBars();
    // Style, arrow size (the height of the normal block's first arrow piece) and minimum thumb (the width of its
    // thumb image) of both bars, from the skin's scroll-bar object.
    void ApplyBarSizes(const CSkinScrollBarObject &bars);

    CSkinWnd *m_pOwner;
    bool m_bBarsAttached = false;
};
