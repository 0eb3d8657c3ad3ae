// A top-level or document frame under a skin: its caption, borders, caption buttons and menu bar drawn from a
// frame object, its shape, client area, hit tests and the messages that would draw the system's caption.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "skin/SkinCaptionButton.h"
#include "skin/SkinMenuBar.h"
#include "skin/SkinOffscreen.h"
#include "skin/SkinWnd.h"

class CSkinMDIClient;

class CSkinFrameWnd : public CSkinWnd {
public:
    // The style a top-level frame shows the default procedure while it handles messages that draw a caption.
    enum : DWORD { PLAIN_TOP_LEVEL_STYLE = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN };
    // Corner squares of the top parts that size the window, and the minimum size beyond the caption's corners.
    enum : int { CORNER = 5, MIN_EXTRA_WIDTH = 10, MIN_EXTRA_HEIGHT = 5, MIN_SIZE_WITHOUT_OBJECT = 10 };

    CSkinFrameWnd();
    ~CSkinFrameWnd() override;

    CSkinObject *SetSkinObject(CSkinObject *pObject) override;
    CSkinWnd *GetNonClientObject() override;
    BOOL Attach(HWND hWnd) override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    RECT GetCaptionRect() override;
    void DrawExtras(HDC hDC) override;
    CRgn CreateRegion() override;
    void DrawCaption(HDC hDC, BOOL bActive) override;

    // Non-client pointer messages at window points (x, y relative to the window's top-left corner).
    virtual void OnNcLButtonUp(UINT nHitTest, POINT pt);
    virtual void OnNcLButtonDown(UINT nHitTest, POINT pt);
    virtual void OnNcLButtonDblClk(UINT nHitTest, POINT pt);
    virtual void OnNcMouseMove(UINT nHitTest, POINT pt);
    // The hit-test code of a window point.
    virtual int HitTest(POINT pt);
    virtual void GetMinMaxInfo(MINMAXINFO *pInfo);

    // The nine parts laid out for a window of this size (window coordinates), from the object's templates.
    void LayoutParts(LONG nWidth, LONG nHeight);
    // The client rectangle that a window rectangle leaves under the skin's borders and the menu bar.
    RECT CalcClientRect(const RECT &rcWindow);
    // Width(T0) + width(T2) + 10 by height(T0) + 5; 10 by 10 without an object.
    SIZE GetMinimumSize() const;
    // Paints the whole non-client area now (or rebuilds the region first when the size changed).
    void NcPaint();

    CSkinMenuBar &GetMenuBar() { return m_menuBar; }
    const std::vector<std::unique_ptr<CSkinCaptionButton>> &GetCaptionButtons() const { return m_captionButtons; }
    // The painter of the frame's "MDIClient" child, or none.
    CSkinMDIClient *GetMDIClient() const;
    bool IsMDIChild() const { return m_bMDIChild; }
    bool IsCaptionActive() const { return m_bActive; }
    bool IsSizable() const;

private:
    LRESULT OnSize(WPARAM wParam, LPARAM lParam);
    LRESULT OnLockedCaptionChange(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnPlainStyleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnPaint(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcCalcSize(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcActivate(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcMouseMoveMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnWindowPosChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnMenuPointerDown(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMenuPointerMove(WPARAM wParam, LPARAM lParam);
    LRESULT OnMenuEnd(WPARAM wParam, LPARAM lParam);
    LRESULT OnSysCommand(WPARAM wParam, LPARAM lParam);
    LRESULT OnDestroy(WPARAM wParam, LPARAM lParam);

    POINT ToWindow(LPARAM lParam) const;
    void PositionMenuBar();
    void PaintNow();
    void TakeMenu();
    DWORD GetPlainStyle() const;
    LRESULT NcPaintAfter(LRESULT result);
    // Makes the system recompute the frame (client area, menu bar) without moving or sizing it.
    void RecalcFrame();
    // A document window tells the frame that holds it when it is maximised or no longer is (or goes): the frame's
    // menu bar shows its buttons and may take one more row for them.
    void NotifyParentFrame(bool bMaximized);
    void OnChildMaximized(HWND hChild, bool bMaximized);

    CSkinMenuBar m_menuBar;
    bool m_bMDIChild = false;
    DWORD m_dwPlainStyle = PLAIN_TOP_LEVEL_STYLE;
    HMENU m_hSavedMenu = nullptr;
    DWORD m_dwSavedStyle = 0;
    HWND m_hMDIClient = nullptr;
    RECT m_rcMenuBar = {0, 0, 0, 0};
    CFont m_captionFont;
    CSkinOffscreen m_offscreen;
    SYSTEMTIME m_lastCaptionClick = {};
    bool m_bCaptionClicked = false;
    bool m_bActive = false;
    bool m_bPainting = false;
    bool m_bPlacingChild = false;
    bool m_bDestroying = false;
    bool m_bWasMaximized = false;
};
