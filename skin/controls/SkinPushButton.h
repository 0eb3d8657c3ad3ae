// Painter of push buttons (skin kind 4, "Button"): the state image as a nine-grid with its window region, and the
// caption in the object's font; the button's own procedure is kept from painting over the skin.
#pragma once

#include <windows.h>

#include "skin/controls/SkinButtonBase.h"

class CSkinButtonObject;

class CSkinPushButton : public CSkinButtonBase {
public:
    // The longest caption drawn.
    enum : int { MAX_TEXT = 199 };

    explicit CSkinPushButton(CSkinWnd *pOwner) : CSkinButtonBase(pOwner) {}

    void Draw(HDC hDC) override;
    // The button handler's messages with WS_VISIBLE taken off the window while the button's own procedure handles
    // them, so that it draws nothing; then the skin redraws.
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The state record drawn for a window state: disabled 5; else pushed 1, focused 3, checked 1, default button 2,
    // otherwise 0 (first match).
    static int ChooseState(BOOL bEnabled, LRESULT nButtonState, DWORD dwStyle);

protected:
    DWORD GetKind() const override;

private:
    LRESULT PassOnHidden(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseMoveHidden(UINT message, WPARAM wParam, LPARAM lParam);
};
