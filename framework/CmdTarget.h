// Base of everything that takes commands: a per-object table of command, notification and update handlers.
#pragma once

#include <windows.h>
#include <functional>
#include <vector>

class CCmdUI;

// nCode values of OnCmdMsg besides the WM_COMMAND notification codes (0 for menus and buttons, 1 for accelerators).
enum : int { CN_UPDATE_COMMAND_UI = -1 };

class CCmdTarget {
public:
    CCmdTarget() = default;
    virtual ~CCmdTarget() = default;
    CCmdTarget(const CCmdTarget &) = delete;
    CCmdTarget &operator=(const CCmdTarget &) = delete;

    // Routes a command (nCode a notification code) or an update request (CN_UPDATE_COMMAND_UI with pCmdUI).
    // With bProbe set nothing is called; the result only says whether a handler exists. Classes that route
    // further (frames, views) override this and call the next target themselves.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, CCmdUI *pCmdUI, BOOL bProbe = FALSE);

protected:
    // Call these from the constructor of the class that owns the handlers.
    template <class T> void MapCommand(UINT nID, void (T::*pfn)()) {
        Add(nID, nID, 0, [this, pfn](UINT, CCmdUI *) { (static_cast<T *>(this)->*pfn)(); return TRUE; });
    }
    template <class T> void MapCommandRange(UINT nFirst, UINT nLast, void (T::*pfn)(UINT)) {
        Add(nFirst, nLast, 0, [this, pfn](UINT id, CCmdUI *) { (static_cast<T *>(this)->*pfn)(id); return TRUE; });
    }
    // A handler that may decline: FALSE passes the command on along the route.
    template <class T> void MapCommandRangeEx(UINT nFirst, UINT nLast, BOOL (T::*pfn)(UINT)) {
        Add(nFirst, nLast, 0, [this, pfn](UINT id, CCmdUI *) { return (static_cast<T *>(this)->*pfn)(id); });
    }
    // A control notification other than a click, for example EN_CHANGE of an edit.
    template <class T> void MapNotify(UINT nID, int nCode, void (T::*pfn)()) {
        Add(nID, nID, nCode, [this, pfn](UINT, CCmdUI *) { (static_cast<T *>(this)->*pfn)(); return TRUE; });
    }
    template <class T> void MapUpdateUI(UINT nID, void (T::*pfn)(CCmdUI *)) {
        Add(nID, nID, CN_UPDATE_COMMAND_UI, [this, pfn](UINT, CCmdUI *ui) { (static_cast<T *>(this)->*pfn)(ui); return TRUE; });
    }
    template <class T> void MapUpdateUIRange(UINT nFirst, UINT nLast, void (T::*pfn)(CCmdUI *)) {
        Add(nFirst, nLast, CN_UPDATE_COMMAND_UI,
            [this, pfn](UINT, CCmdUI *ui) { (static_cast<T *>(this)->*pfn)(ui); return TRUE; });
    }

private:
    struct Entry {
        UINT first;
        UINT last;
        int code;
        std::function<BOOL(UINT, CCmdUI *)> handler;
    };
    void Add(UINT first, UINT last, int code, std::function<BOOL(UINT, CCmdUI *)> handler);

    std::vector<Entry> m_entries;
};
