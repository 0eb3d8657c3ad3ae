// Base of the push-button, check-box and radio-button painters: attaching to buttons that are not owner-drawn, the
// redraw after every message that changes a button's look, and the cursor position that mouse moves are judged by.
#pragma once

#include <windows.h>

#include "skin/controls/SkinControl.h"

class CSkinCheckObject;

class CSkinButtonBase : public CSkinControl {
public:
    // The style type of owner-drawn buttons: never subclassed.
    enum : DWORD { OWNER_DRAWN = 0xB };

    explicit CSkinButtonBase(CSkinWnd *pOwner) : CSkinControl(pOwner) {}

    // The kind's object in the current skin (none: 0, the button keeps its own look); owner-drawn buttons are refused
    // (0). Otherwise subclasses, then takes the object (which redraws in the skin) and answers the subclass result.
    BOOL Attach(HWND hWnd) override;
    // The messages after which a button looks different are passed on and the button redrawn at once.
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    CSkinObject *GetKindSkinObject() override;
    // Draws into a memory bitmap on the window's client DC.
    void RedrawNow() override;

    // Whether the button's own procedure paints after the message (and the skin must paint again).
    static bool ChangesLook(UINT message);
    POINT GetLastCursor() const { return m_ptLastCursor; }

    // What a check box or radio button draws in a state, chosen from the object's blocks with their fallbacks.
    struct CheckLook {
        const SkinImageRef *pBackground;
        const SkinPiece *pMark;
        COLORREF crText;
    };
    static CheckLook ChooseCheckLook(const CSkinCheckObject &object, BOOL bEnabled, LRESULT nButtonState);
    // Where mark and caption go inside the rectangle (inside the background's margins), and the caption's format.
    struct CheckLayout {
        RECT rcMark;
        RECT rcText;
        UINT nFormat;
    };
    static CheckLayout LayoutCheck(const RECT &rc, DWORD dwStyle, LONG nMarkWidth, LONG nMarkHeight, LONG nTextHeight);

protected:
    // The skin kind this painter draws.
    virtual DWORD GetKind() const = 0;
    // Passes the message on and redraws afterwards when the window still exists.
    LRESULT PassOnAndRedraw(UINT message, WPARAM wParam, LPARAM lParam);
    // Mouse moves: a redraw only when the cursor has moved since the last one.
    LRESULT OnMouseMove(UINT message, WPARAM wParam, LPARAM lParam);
    // Stores a cursor position (screen co-ordinates); true when it differs from the stored one.
    bool StoreCursor(POINT pt);

    // The check-box and radio-button drawing (kinds 5 and 11 share their object's layout): background, mark and
    // caption of the block the button's state chooses, laid out by the button's style.
    void DrawCheckOrRadio(HDC hDC);

    POINT m_ptLastCursor = {0, 0};
};
