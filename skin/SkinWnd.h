// Base of every skinned window and painter: the skin object in use, the nine part placements, the subclassing through
// the engine's shared window procedure and the attaching of child controls to painters of their kinds.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <vector>

#include "platform/Handle.h"
#include "platform/Subclass.h"
#include "skin/SkinRecords.h"

class CSkinObject;
class CSkinCaptionButton;

class CSkinWnd {
public:
    enum : int { PART_COUNT = SkinFramedRecord::PART_COUNT };
    // The longest class name ClassifyWindow reads.
    enum : int { CLASS_NAME_SIZE = 100 };

    CSkinWnd();
    CSkinWnd(const CSkinWnd &) = delete;
    CSkinWnd &operator=(const CSkinWnd &) = delete;

    // Virtual operations, in their fixed slot order (painters add theirs after DrawCaption).

    // DrawBorder (inactive), then DrawBackground (inactive).
    virtual void Draw(HDC hDC);
    // Takes the object (or none) and the skin-wide settings of the current skin, rebuilds the caption buttons,
    // re-attaches the child controls to the current skin and copies the object's placements. Returns the previous
    // object.
    virtual CSkinObject *SetSkinObject(CSkinObject *pObject);
    virtual ~CSkinWnd();
    // WM_NCDESTROY: the previous procedure sees it, then the registry removes and deletes this object.
    virtual void OnFinalDestroy();
    virtual CSkinWnd *GetNonClientObject();
    // The window's rectangle in screen coordinates.
    virtual RECT GetScreenRect();
    // The centre piece (active 4, inactive 13, falling back to 4) over the client rectangle, or the background colour.
    virtual void DrawBackground(HDC hDC, BOOL bActive);
    // Parts 0-3 and 5-8 over their placements (inactive pieces fall back to the active ones, missing ones to the
    // border colours), then DrawCaption and DrawExtras.
    virtual void DrawBorder(HDC hDC, BOOL bActive);
    // Leaves the window's chain of procedures and forgets the window.
    virtual void Detach();
    // Stores the window, attaches its existing children and subclasses it. Non-zero on success.
    virtual BOOL Attach(HWND hWnd);
    virtual void OnShowWindow(BOOL bShow, UINT nStatus);
    // WM_SHOWWINDOW and WM_NCDESTROY; everything else to the previous procedure.
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    virtual RECT GetCaptionRect();
    virtual void DrawExtras(HDC hDC);
    // The union of the nine active pieces' regions over the placements, when the skin asks for window regions;
    // otherwise none (an invalid CRgn).
    virtual CRgn CreateRegion();
    virtual void DrawCaption(HDC hDC, BOOL bActive);

    // The window's first child and each following sibling through AttachChild.
    void AttachChildren(HWND hWnd);
    // Gives a child (after its own children, depth first) the painter and object of its kind in the current skin,
    // or takes them away when the current skin has no object of that kind.
    void AttachChild(HWND hChild);
    // The skin kind of a window by its class name (buttons by their style), 0 for a class outside the map.
    static DWORD ClassifyWindow(HWND hWnd);
    // The class name under which a window is looked up: its class, or "GroupBox", "CheckBox", "Radio" or "Button"
    // for a window of class "Button" by the low four bits of its style. False when the name cannot be read.
    static bool ClassifyName(HWND hWnd, char (&name)[CLASS_NAME_SIZE]);
    // A new painter of the kind built for this window, or none (the window then keeps its system look).
    std::unique_ptr<CSkinWnd> CreateControl(DWORD kind);

    typedef std::unique_ptr<CSkinWnd> (*PainterFactory)(CSkinWnd *pOwner);
    // Test seam: while it lives, CreateControl builds the painters of one kind with this factory instead of the
    // table's (none: the kind gets no painter). Real windows still go through the hook, the registry and subclassing.
    class CScopedPainter {
    public:
        CScopedPainter(DWORD kind, PainterFactory create);
        ~CScopedPainter();
        CScopedPainter(const CScopedPainter &) = delete;
        CScopedPainter &operator=(const CScopedPainter &) = delete;

    private:
        DWORD m_kind;
        bool m_bHadPrevious;
        PainterFactory m_previous;
    };

    // Saves the window's current procedure as the previous one and puts the engine's shared procedure in front of
    // it. Other subclassers (the framework's, comctl32's) chain above or below in any order.
    BOOL SubclassWindow(HWND hWnd);
    // The previous procedure's answer, or the default procedure's when none is saved.
    LRESULT CallPrevious(UINT message, WPARAM wParam, LPARAM lParam);
    bool HasPrevious() const { return m_subclass.IsAttached(); }

    HWND GetHwnd() const { return m_hWnd; }
    CSkinObject *GetSkinObject() const { return m_pSkinObject; }
    // The nine-part record of a frame (kind 1) or popup-menu (kind 17) object; null for any other object or none.
    static const SkinFramedRecord *GetFramed(const CSkinObject *pObject);
    const SkinFramedRecord *GetFramed() const { return GetFramed(m_pSkinObject); }
    const RECT &GetPlacement(int nPart) const { return m_rcPlacement[nPart]; }
    BOOL IsRegionEnabled() const { return m_bRegion; }
    COLORREF GetTransparentColor() const { return m_crTransparent; }
    const std::map<HWND, CSkinWnd *> &GetChildMap() const { return m_children; }
    size_t GetCaptionButtonCount() const { return m_captionButtons.size(); }
    // Drops a child from this window's child map (the registry does it for every window when the child goes).
    void ForgetChild(HWND hChild) { m_children.erase(hChild); }

protected:
    // The base's answer with the window's style replaced for the call (the default procedure then draws no standard
    // caption, caption buttons or system menu), and the same with WS_SYSMENU taken out.
    LRESULT CallWithStyle(DWORD dwStyle, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT CallWithoutSysMenu(UINT message, WPARAM wParam, LPARAM lParam);
    // The platform's default procedure (moving, sizing), with WS_SYSMENU taken out.
    LRESULT DefaultWithoutSysMenu(UINT message, WPARAM wParam, LPARAM lParam);
    // The engine's layer in a window's chain. Its procedure is the one shared by all skinned windows: the object
    // registered for the window handles each message (SkinFindWindow, then HandleMessage).
    class CLayer : public CSubclass {
    protected:
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    };

    CSkinObject *m_pSkinObject = nullptr;                              // not owned
    RECT m_rcPlacement[PART_COUNT] = {};                               // current positions of the nine parts
    HWND m_hWnd = nullptr;                                             // the attached window
    CLayer m_subclass;                                                 // the previous procedure, while attached
    std::vector<std::unique_ptr<CSkinCaptionButton>> m_captionButtons; // made with CSkinCaptionButton(this, record)
    std::map<HWND, CSkinWnd *> m_children;                             // painters attached through this window
    RECT m_rcSaved = {};                                               // cleared on every SetSkinObject
    BOOL m_bRegion = FALSE;                                            // the skin asks for window regions
    COLORREF m_crTransparent = 0xFF00FF;                               // keys the window regions
    CRgn m_rgn;
};
