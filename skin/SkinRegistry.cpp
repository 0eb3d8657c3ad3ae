#include "skin/SkinRegistry.h"

#include <algorithm>

#include "skin/Skin.h"
#include "skin/SkinWnd.h"

namespace {

// Window classes (and the three button refinements) that painters serve, with their skin kinds.
const struct {
    const char *pszClass;
    DWORD kind;
} kClassMap[] = {
    {"msctls_statusbar32", SKIN_KIND_STATUSBAR},
    {"ToolbarWindow32", SKIN_KIND_TOOLBAR},
    {"AfxControlBar42sd", SKIN_KIND_CONTROLBAR},
    {"AfxControlBar42s", SKIN_KIND_CONTROLBAR},
    {"AfxControlBar42", SKIN_KIND_CONTROLBAR},
    {"AfxControlBar42d", SKIN_KIND_CONTROLBAR},
    {"Static", SKIN_KIND_STATIC},
    {"Button", SKIN_KIND_BUTTON},
    {"GroupBox", SKIN_KIND_GROUPBOX},
    {"Radio", SKIN_KIND_RADIO},
    {"CheckBox", SKIN_KIND_CHECKBOX},
    {"ScrollBar", SKIN_KIND_SCROLLBAR},
    {"msctls_progress32", SKIN_KIND_PROGRESS},
    {"msctls_updown32", SKIN_KIND_SPIN},
    {"msctls_trackbar32", SKIN_KIND_SLIDER},
    {"ComboBox", SKIN_KIND_COMBOBOX},
    {"SysTabControl32", SKIN_KIND_TAB},
    {"Edit", SKIN_KIND_SCROLLCONTROL},
    {"SysListView32", SKIN_KIND_SCROLLCONTROL},
    {"ListBox", SKIN_KIND_SCROLLCONTROL},
    {"SysTreeView32", SKIN_KIND_SCROLLCONTROL},
};

} // namespace

CSkinRegistry &CSkinRegistry::Instance() {
    static CSkinRegistry registry;
    return registry;
}

CSkinRegistry::CSkinRegistry() : m_pSkin(new CSkin) {
    for (const auto &row : kClassMap)
        m_classMap.emplace(row.pszClass, row.kind);
}

CSkinRegistry::~CSkinRegistry() {
    CSkinLock::Guard guard(m_lock);
    // Window objects first: they point into the skin.
    m_windows.clear();
    m_pSkin.reset();
}

BOOL CSkinRegistry::AddWindow(std::unique_ptr<CSkinWnd> pWnd, HWND hWnd) {
    if (!pWnd || !hWnd)
        return FALSE;
    CSkinLock::Guard guard(m_lock);
    return m_windows.emplace(hWnd, std::move(pWnd)).second ? TRUE : FALSE;
}

BOOL CSkinRegistry::RemoveWindow(HWND hWnd) {
    std::unique_ptr<CSkinWnd> pWnd;
    {
        CSkinLock::Guard guard(m_lock);
        auto it = m_windows.find(hWnd);
        if (it == m_windows.end())
            return FALSE;
        pWnd = std::move(it->second);
        m_windows.erase(it);
        m_reapplied.erase(pWnd.get());
        // No window object keeps a pointer to the painter that goes.
        for (auto &entry : m_windows)
            entry.second->ForgetChild(hWnd);
        pWnd->Detach();
    }
    // Deleted outside the lock: a destructor may send messages.
    pWnd.reset();
    return TRUE;
}

CSkinWnd *CSkinRegistry::FindWindowOrAncestor(HWND hWnd) {
    CSkinLock::Guard guard(m_lock);
    // A bounded walk: a parent chain is never this deep, and a broken one must not loop.
    for (int depth = 0; hWnd && depth < 1000; ++depth) {
        auto it = m_windows.find(hWnd);
        if (it != m_windows.end())
            return it->second.get();
        hWnd = ::GetParent(hWnd);
    }
    return nullptr;
}

CSkinWnd *CSkinRegistry::FindWindow(HWND hWnd) {
    CSkinLock::Guard guard(m_lock);
    auto it = m_windows.find(hWnd);
    return it != m_windows.end() ? it->second.get() : nullptr;
}

size_t CSkinRegistry::GetWindowCount() {
    CSkinLock::Guard guard(m_lock);
    return m_windows.size();
}

std::vector<HWND> CSkinRegistry::GetWindowHandles() {
    CSkinLock::Guard guard(m_lock);
    std::vector<HWND> handles;
    handles.reserve(m_windows.size());
    for (const auto &entry : m_windows)
        handles.push_back(entry.first);
    return handles;
}

DWORD CSkinRegistry::FindClassKind(const char *pszClassName) const {
    if (!pszClassName)
        return 0;
    auto it = m_classMap.find(pszClassName);
    return it != m_classMap.end() ? it->second : 0;
}

CSkin &CSkinRegistry::GetSkin() {
    CSkinLock::Guard guard(m_lock);
    return *m_pSkin;
}

void CSkinRegistry::Reapply(CSkinWnd *pWnd) {
    const CSkinObject *pOld = pWnd->GetSkinObject();
    CSkinObject *pNew = nullptr;
    if (pOld) {
        pNew = m_pSkin->FindObject(pOld->GetName());
        if (!pNew)
            pNew = m_pSkin->FindObjectByKind(pOld->GetKind());
    }
    if (BeginReapply(pWnd))
        pWnd->SetSkinObject(pNew);
}

bool CSkinRegistry::BeginReapply(CSkinWnd *pWnd) {
    CSkinLock::Guard guard(m_lock);
    return !m_bInstalling || m_reapplied.insert(pWnd).second;
}

void CSkinRegistry::AddSkinListener(CSkinWnd *pWnd) {
    CSkinLock::Guard guard(m_lock);
    if (pWnd && std::find(m_listeners.begin(), m_listeners.end(), pWnd) == m_listeners.end())
        m_listeners.push_back(pWnd);
}

void CSkinRegistry::RemoveSkinListener(CSkinWnd *pWnd) {
    CSkinLock::Guard guard(m_lock);
    m_listeners.erase(std::remove(m_listeners.begin(), m_listeners.end(), pWnd), m_listeners.end());
    m_reapplied.erase(pWnd);
}

void CSkinRegistry::InstallSkin(std::unique_ptr<CSkin> pSkin) {
    if (!pSkin)
        return;
    std::unique_ptr<CSkin> pPrevious;
    {
        CSkinLock::Guard guard(m_lock);
        pPrevious = std::move(m_pSkin);
        m_pSkin = std::move(pSkin);
        m_bInstalling = true;
        m_reapplied.clear();
        // In ascending handle order. Windows that leave or arrive while earlier ones are re-applied (controls
        // re-attached by their owners) are looked up again, so none is visited after it was deleted.
        for (HWND hWnd : GetWindowHandles()) {
            auto it = m_windows.find(hWnd);
            if (it == m_windows.end())
                continue;
            Reapply(it->second.get());
        }
        // A listener may take others with it (a popup closing its submenus): each is looked up again.
        const std::vector<CSkinWnd *> listeners = m_listeners;
        for (CSkinWnd *pWnd : listeners) {
            if (std::find(m_listeners.begin(), m_listeners.end(), pWnd) != m_listeners.end())
                Reapply(pWnd);
        }
        m_bInstalling = false;
        m_reapplied.clear();
    }
    // Every pointer into the previous skin has been replaced.
    pPrevious.reset();
}
