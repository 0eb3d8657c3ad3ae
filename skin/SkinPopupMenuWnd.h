// One level of a skinned popup menu: a window of the engine's popup class that shows a menu's items as the
// "PopupMenu" object draws them and answers the pointer, the keyboard and the submenu timer.
#pragma once

#include <windows.h>

#include <memory>

#include "platform/Handle.h"
#include "skin/SkinActiveCaption.h"
#include "skin/SkinMenuItems.h"
#include "skin/SkinOffscreen.h"
#include "skin/SkinPopupMenuObject.h"
#include "skin/SkinWnd.h"

class CSkinPopupMenuWnd : public CSkinWnd {
public:
    // Who opened the menu: the frame's menu bar, a system menu (commands go out as WM_SYSCOMMAND), anything else.
    enum EMode { MODE_MENUBAR = 0, MODE_SYSTEM = 1, MODE_OTHER = 2 };
    // How a root popup's menu ended. PREVIOUS and NEXT ask the menu bar for the neighbouring entry's menu.
    enum EEnd { END_NONE = 0, END_CLOSED, END_COMMAND, END_PREVIOUS, END_NEXT };
    enum : UINT_PTR { SUBMENU_TIMER = 1001 };
    enum : UINT { SUBMENU_DELAY_MS = 500 };
    // The window property that leads the class's procedure to the popup object.
    static const char THIS_PROPERTY[];

    // A popup for hOwner (the window that receives the commands); pParent is the popup one level up, none for the
    // root. The window comes with Create.
    CSkinPopupMenuWnd(HWND hOwner, CSkinPopupMenuWnd *pParent, EMode mode);
    ~CSkinPopupMenuWnd() override;

    // The procedure of the class "SkinWeavePopupMenuWnd": the popup object of the window's "this" property (stored
    // from the creation parameter on WM_CREATE) handles every message; without it the default procedure answers.
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    // The hidden window, owned by the owner (tool window, topmost, 100 x 100 at 0, 0). Non-zero on success.
    BOOL Create();
    // Reads the menu's items (again) and fits the window to them.
    void LoadItems(HMENU hMenu);
    // A kind-17 object, or the built-in one for anything else (none included).
    CSkinObject *SetSkinObject(CSkinObject *pObject) override;
    void OnShowWindow(BOOL bShow, UINT nStatus) override;
    void OnFinalDestroy() override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Metrics from the object: the height of one item and the window size that shows every item.
    int GetItemHeight() const { return m_nItemHeight; }
    SIZE CalcSize() const;
    // Item i's rectangle in client coordinates (rows of client height / item count); -1 outside every item.
    RECT GetItemRect(int nItem) const;
    int ItemFromPoint(POINT ptClient) const;

    // Places the window with its top-left corner at the screen point (kept on the screen: a submenu that does not
    // fit on the right opens to the left of its parent), shows and paints it.
    void ShowAt(POINT ptScreen);
    // Closes the open submenus deepest first, hides and destroys the window.
    void Close();
    // Root only: hides the whole menu and tells the owner (WM_SKIN_MENU_END), then sends the command if there is one.
    void Finish(EEnd end, UINT nCommand);

    // Highlights an item (-1: none) and tells the owner (WM_MENUSELECT).
    void SetHover(int nItem, bool bMouse);
    // Opens the hovered item's submenu now (as the timer does), its first item highlighted when asked.
    BOOL OpenSubmenu(bool bSelectFirst);

    HWND GetOwner() const { return m_hOwner; }
    EMode GetMode() const { return m_mode; }
    CSkinPopupMenuWnd *GetParentPopup() const { return m_pParent; }
    CSkinPopupMenuWnd *GetChildPopup() const { return m_pChild.get(); }
    CSkinPopupMenuWnd *GetRoot();
    // The deepest open popup below this one (this one when none is open).
    CSkinPopupMenuWnd *GetDeepest();
    // Whether the window is this popup's or one of its open submenus'.
    bool IsMenuWindow(HWND hWnd) const;
    const CSkinMenuItems &GetItems() const { return m_items; }
    int GetHoverItem() const { return m_nHover; }
    bool IsSubmenuTimerRunning() const { return m_bTimer; }
    // Root: shown and not ended yet.
    bool IsOpen() const;
    EEnd GetEnd() const { return m_end; }
    const CSkinPopupMenuObject &GetPopupObject() const;

private:
    LRESULT OnPaint();
    LRESULT OnNcCalcSize(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcActivate(WPARAM wParam);
    LRESULT OnKeyDown(WPARAM nKey);
    LRESULT OnSysKeyDown(UINT message, WPARAM nKey, LPARAM lParam);
    LRESULT OnTimer(WPARAM nID, LPARAM lParam);
    LRESULT OnMouseMove(LPARAM lParam);
    LRESULT OnButtonDown(UINT message, LPARAM lParam);
    LRESULT OnCaptureChanged(LPARAM lParam);
    LRESULT OnLoseMenuFocus();
    LRESULT OnCloseChild();
    LRESULT OnExecute(WPARAM nID);
    LRESULT OnNcDestroy(WPARAM wParam, LPARAM lParam);
    LRESULT OnShowWindowMessage(WPARAM wParam, LPARAM lParam);

    // Keys.
    void OnEnter();
    void OnBack(bool bLeft);
    void OnRight();
    void MoveHover(int nStep);

    // The pointer at screen points; TRUE when this popup or a submenu took it.
    BOOL OnPointerMove(POINT ptScreen);
    BOOL OnPointerDown(POINT ptScreen, bool bRight);
    // A press outside the whole menu: the menu closes and the press goes where it would have gone.
    void PressOutside(POINT ptScreen, bool bRight);
    bool ContainsPoint(POINT ptScreen) const;
    void OnItemMove(int nItem);

    void CloseChild();
    void StopTimer();
    void HideAll();
    void NcPaint();
    void DrawItem(HDC hDC, int nItem, const RECT &rc) const;
    // Fits the window to the items after the object or the items changed (keeping the top-left corner).
    void Refit();
    void MeasureItemHeight();
    RECT Insets() const;
    void PostToOwner(UINT message, WPARAM wParam, LPARAM lParam) const;

    HWND m_hOwner;
    CSkinPopupMenuWnd *m_pParent;
    EMode m_mode;
    std::unique_ptr<CSkinPopupMenuWnd> m_pChild;
    CSkinMenuItems m_items;
    int m_nHover = -1;
    CSkinPopupMenuObject m_default; // used while the skin has no "PopupMenu" object
    CFont m_font;
    int m_nItemHeight = 0;
    bool m_bTimer = false;
    CSkinOffscreen m_offscreen;
    bool m_bClosing = false; // a submenu whose parent has been asked to close it
    bool m_bActive = false;
    bool m_bNcPainting = false;
    // Root only.
    EEnd m_end = END_NONE;
    CSkinActiveCaption m_activeCaption;
    POINT m_ptLastMouse = {-32768, -32768};
};
