// Keeps a top-level window's caption drawn as active while one of the engine's popup menus holds the activation: a
// layer in the window's chain that answers the deactivating WM_NCACTIVATE itself, marked by the "SKIN_WNDPROC"
// property.
#pragma once

#include <windows.h>

#include "platform/Subclass.h"

class CSkinActiveCaption : public CSubclass {
public:
    // The property that a window carries while its caption is kept active; it holds the procedure that was in place.
    static const char PROPERTY[];

    // Puts the layer on the window (any window of this process). Non-zero on success.
    BOOL Keep(HWND hWnd);
    // Takes the layer and the property away again (nothing when not kept).
    void Release();
    bool IsKept() const { return IsAttached(); }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};
