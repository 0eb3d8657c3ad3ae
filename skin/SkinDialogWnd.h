// A dialog under a skin: the caption and borders of the dialog object, its shape, hit tests and client background.
#pragma once

#include <windows.h>

#include "skin/SkinOffscreen.h"
#include "skin/SkinWnd.h"

class CSkinDialogWnd : public CSkinWnd {
public:
    CSkinDialogWnd();
    ~CSkinDialogWnd() override;

    CSkinObject *SetSkinObject(CSkinObject *pObject) override;
    BOOL Attach(HWND hWnd) override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void DrawCaption(HDC hDC, BOOL bActive) override;

    // The hit-test code of a window point: the top parts are caption, the centre client, the rest nothing.
    int HitTest(POINT pt);
    // The client rectangle that a window rectangle leaves under the skin's borders.
    RECT CalcClientRect(const RECT &rcWindow) const;
    // Paints the whole non-client area now (or rebuilds the region first when the size changed).
    void NcPaint();
    // True while the dialog has a caption (WS_DLGFRAME or the modal-frame bit): only then is its frame skinned.
    bool HasCaption() const;

    bool IsCaptionActive() const { return m_bActive; }

private:
    LRESULT OnEraseBkgnd(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcCalcSize(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcMouse(UINT message, WPARAM wParam, LPARAM lParam);
    POINT ToWindow(LPARAM lParam) const;
    void LayoutParts();
    // Sizes the window so that its client area keeps its size under the skin's borders.
    void FitToBorders();
    void RecalcFrame();

    CFont m_captionFont;
    CSkinOffscreen m_offscreen;
    bool m_bPainting = false;
    bool m_bActive = false;
};
