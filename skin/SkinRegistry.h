// The engine's one registry: the skinned windows by handle, the class-name map, the current skin and their lock.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "skin/SkinLock.h"

class CSkin;
class CSkinObject;
class CSkinWnd;

class CSkinRegistry {
public:
    typedef std::map<HWND, std::unique_ptr<CSkinWnd>> WindowMap; // ordered by handle value

    // The process's registry, built on first use and destroyed at process exit (with every window object still
    // registered and the current skin).
    static CSkinRegistry &Instance();

    ~CSkinRegistry();
    CSkinRegistry(const CSkinRegistry &) = delete;
    CSkinRegistry &operator=(const CSkinRegistry &) = delete;

    // Window map, each under the lock.
    // Maps the handle to the object and takes it: TRUE. FALSE when the handle is mapped already (the object is then
    // deleted and nothing changes).
    BOOL AddWindow(std::unique_ptr<CSkinWnd> pWnd, HWND hWnd);
    // Detaches and deletes the handle's object and drops the handle from every child map: TRUE; FALSE when absent.
    BOOL RemoveWindow(HWND hWnd);
    // The object of the handle or of its nearest registered ancestor (parent, or owner of a top-level window).
    CSkinWnd *FindWindowOrAncestor(HWND hWnd);
    // The object registered for exactly this handle, or none.
    CSkinWnd *FindWindow(HWND hWnd);
    size_t GetWindowCount();
    // The handles in ascending order (a copy: painters may come and go while a caller walks them).
    std::vector<HWND> GetWindowHandles();

    // Class-name map: the skin kind of a window class name (case-sensitive), 0 for a name outside it.
    DWORD FindClassKind(const char *pszClassName) const;
    const std::map<std::string, DWORD> &GetClassMap() const { return m_classMap; }

    // The current skin: empty until a skin is installed, never absent.
    CSkin &GetSkin();
    // Makes the skin current and re-applies it to every registered window in ascending handle order (each keeps its
    // object's name, else its kind), then deletes the previous skin.
    void InstallSkin(std::unique_ptr<CSkin> pSkin);

    // Windows that take objects of the current skin without being in the window map (the popup menus): each skin
    // installed is re-applied to them too, after the mapped windows, the same way. A listener removes itself before
    // it goes.
    void AddSkinListener(CSkinWnd *pWnd);
    void RemoveSkinListener(CSkinWnd *pWnd);

    // Whether a window is to be given the new skin's object now: during a skin change only the first time (a control
    // is reached both by its parent's re-apply and by the registry's own pass, in whichever order the handles
    // give); outside a change always.
    bool BeginReapply(CSkinWnd *pWnd);

    // The registry lock. It may be held while a skin's lock is taken, never the other way round.
    CSkinLock &GetLock() { return m_lock; }

private:
    CSkinRegistry();
    // Gives the window the new skin's object of its object's name, else of its kind (none without an object).
    void Reapply(CSkinWnd *pWnd);

    CSkinLock m_lock;
    WindowMap m_windows;
    std::map<std::string, DWORD> m_classMap;
    std::unique_ptr<CSkin> m_pSkin;
    std::vector<CSkinWnd *> m_listeners;
    bool m_bInstalling = false;
    std::set<CSkinWnd *> m_reapplied; // during a skin change: the windows given the new skin's object so far
};
