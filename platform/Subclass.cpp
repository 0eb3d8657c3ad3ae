#include "platform/Subclass.h"

#include <array>
#include <atomic>
#include <unordered_map>
#include <utility>

// One layer of one window's chain. Its slot number chooses the window procedure that stands for it in the chain:
// each slot has a procedure of its own, so two of our layers with a foreign procedure between them are never
// confused, whatever order they were installed in.
struct CSubclassLayer {
    CSubclass *pOwner; // null once the owner left: the layer only passes messages on
    WNDPROC pfnPrev;
    bool bUnicode;
    int nSlot;
    int nBusy = 0;      // messages in progress through this layer
    bool bDead = false; // WM_NCDESTROY went through while a message was in progress: freed when the last returns
};

// One message in progress through an object's layer (nested messages chain outwards).
struct CSubclassCall {
    HWND hWnd;
    CSubclassLayer *pLayer;
    CSubclassCall *pOuter;
    bool bForwarded;
    bool bOwnerGone;
    LRESULT lForwarded; // what the layers below answered, for a handler that throws after asking them
};

namespace {

const char kChainProp[] = "QxPlatformSubclassChain";
std::atomic<long> g_liveStates{0};

struct CWindowLayers {
    CSubclassLayer *slots[CSubclass::kMaxLayers] = {};
    bool IsEmpty() const {
        for (CSubclassLayer *p : slots)
            if (p)
                return false;
        return true;
    }
};

WNDPROC GetProc(HWND hWnd, bool bUnicode) {
    return reinterpret_cast<WNDPROC>(bUnicode ? ::GetWindowLongPtrW(hWnd, GWLP_WNDPROC)
                                              : ::GetWindowLongPtrA(hWnd, GWLP_WNDPROC));
}

// SetWindowLongPtrA on a Unicode window would make it an ANSI window: each layer uses its window's own form.
WNDPROC SetProc(HWND hWnd, bool bUnicode, WNDPROC pfn) {
    LONG_PTR value = reinterpret_cast<LONG_PTR>(pfn);
    return reinterpret_cast<WNDPROC>(bUnicode ? ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, value)
                                              : ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, value));
}

LRESULT CallProc(WNDPROC pfn, bool bUnicode, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!pfn)
        return bUnicode ? ::DefWindowProcW(hWnd, message, wParam, lParam)
                        : ::DefWindowProcA(hWnd, message, wParam, lParam);
    return bUnicode ? ::CallWindowProcW(pfn, hWnd, message, wParam, lParam)
                    : ::CallWindowProcA(pfn, hWnd, message, wParam, lParam);
}

// Each window's record is kept twice: in a window property, which goes with the window whatever happens to it, and
// in this process's own table, which every message reads. Reading a window property can cost a round trip to the
// window server (under Wine about 30 microseconds), and a subclassed window looks its record up on every message.
class CLayerTable {
public:
    CLayerTable() { ::InitializeCriticalSection(&m_cs); }
    CLayerTable(const CLayerTable &) = delete;
    CLayerTable &operator=(const CLayerTable &) = delete;

    CWindowLayers *Find(HWND hWnd) {
        CScope scope(m_cs);
        auto it = m_records.find(hWnd);
        return it != m_records.end() ? it->second : nullptr;
    }
    void Set(HWND hWnd, CWindowLayers *pLayers) {
        CScope scope(m_cs);
        m_records[hWnd] = pLayers;
    }
    void Erase(HWND hWnd) {
        CScope scope(m_cs);
        m_records.erase(hWnd);
    }

private:
    struct CScope {
        explicit CScope(CRITICAL_SECTION &cs) : m_cs(cs) { ::EnterCriticalSection(&m_cs); }
        ~CScope() { ::LeaveCriticalSection(&m_cs); }
        CScope(const CScope &) = delete;
        CScope &operator=(const CScope &) = delete;
        CRITICAL_SECTION &m_cs;
    };
    CRITICAL_SECTION m_cs;
    std::unordered_map<HWND, CWindowLayers *> m_records;
};

// Never destroyed: windows may still receive messages while the process's static objects are torn down.
CLayerTable &Table() {
    static CLayerTable *pTable = new CLayerTable;
    return *pTable;
}

CWindowLayers *FindLayers(HWND hWnd) {
    return Table().Find(hWnd);
}

bool AddRecord(HWND hWnd, CWindowLayers *pLayers) {
    if (!::SetPropA(hWnd, kChainProp, pLayers))
        return false;
    Table().Set(hWnd, pLayers);
    return true;
}

void RemoveRecord(HWND hWnd) {
    ::RemovePropA(hWnd, kChainProp);
    Table().Erase(hWnd);
}

// The record of a window about to be subclassed. A table entry without the window's property is left over from
// an earlier window with the same handle (destroyed without its last message reaching the chain): it is dropped
// from the table, not freed, as layers of that window may still be referred to.
CWindowLayers *FindLayersForSubclass(HWND hWnd) {
    CWindowLayers *pLayers = Table().Find(hWnd);
    if (pLayers && ::GetPropA(hWnd, kChainProp) != pLayers) {
        Table().Erase(hWnd);
        pLayers = nullptr;
    }
    return pLayers;
}

} // namespace

struct CSubclassChain {
    template <int N> static LRESULT CALLBACK SlotProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
        return Dispatch(N, hWnd, message, wParam, lParam);
    }
    template <int... N> static std::array<WNDPROC, sizeof...(N)> MakeSlots(std::integer_sequence<int, N...>) {
        return {{&SlotProc<N>...}};
    }
    static const std::array<WNDPROC, CSubclass::kMaxLayers> &Slots() {
        static const std::array<WNDPROC, CSubclass::kMaxLayers> slots =
            MakeSlots(std::make_integer_sequence<int, CSubclass::kMaxLayers>());
        return slots;
    }

    // Frees a layer that is out of the chain (or whose window is being destroyed); true when the window's record
    // went with its last layer.
    static bool FreeLayer(HWND hWnd, CWindowLayers *pLayers, CSubclassLayer *pLayer) {
        pLayers->slots[pLayer->nSlot] = nullptr;
        delete pLayer;
        --g_liveStates;
        if (!pLayers->IsEmpty())
            return false;
        RemoveRecord(hWnd);
        delete pLayers;
        --g_liveStates;
        return true;
    }

    // Takes ownerless layers out of the chain while one of them is on top and idle; each removal may bring the
    // next one on top. A layer with an owner, or busy, or under a foreign procedure, stops it.
    static void RemoveIdleLayers(HWND hWnd, CWindowLayers *pLayers) {
        for (;;) {
            CSubclassLayer *pTop = nullptr;
            for (CSubclassLayer *p : pLayers->slots) {
                if (p && GetProc(hWnd, p->bUnicode) == Slots()[p->nSlot]) {
                    pTop = p;
                    break;
                }
            }
            if (!pTop || pTop->pOwner || pTop->nBusy || pTop->bDead)
                return;
            SetProc(hWnd, pTop->bUnicode, pTop->pfnPrev);
            if (FreeLayer(hWnd, pLayers, pTop))
                return;
        }
    }

    static LRESULT Dispatch(int nSlot, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
        CWindowLayers *pLayers = FindLayers(hWnd);
        CSubclassLayer *pLayer = pLayers ? pLayers->slots[nSlot] : nullptr;
        if (!pLayer) // cannot happen while the chain is intact; stay harmless if it is not
            return ::IsWindowUnicode(hWnd) ? ::DefWindowProcW(hWnd, message, wParam, lParam)
                                           : ::DefWindowProcA(hWnd, message, wParam, lParam);
        ++pLayer->nBusy;
        LRESULT result = 0;
        bool bPassOn = true; // a pass-through layer passes everything on
        CSubclass *pOwner = pLayer->pOwner;
        CSubclassCall call = {hWnd, pLayer, pOwner ? pOwner->m_pCall : nullptr, false, false, 0};
        if (pOwner) {
            pOwner->m_pCall = &call;
            try {
                result = pOwner->WindowProc(message, wParam, lParam);
                bPassOn = false; // handled: the handler passed it on itself or consumed it
            } catch (...) {
                // Nothing may unwind through the system's dispatcher; the message goes on as if unhandled, or
                // keeps the answer of the layers below when the handler had asked them already.
                result = call.lForwarded;
            }
            if (!call.bOwnerGone)
                pOwner->m_pCall = call.pOuter;
        }
        // Every procedure below must see WM_NCDESTROY, whatever the handler did.
        if (message == WM_NCDESTROY)
            bPassOn = true;
        if (bPassOn && !call.bForwarded)
            result = Forward(pLayer, hWnd, message, wParam, lParam);
        --pLayer->nBusy;

        if (message == WM_NCDESTROY)
            pLayer->bDead = true;
        if (pLayer->bDead && pLayer->nBusy == 0) {
            CSubclass *pLast = pLayer->pOwner;
            if (GetProc(hWnd, pLayer->bUnicode) == Slots()[nSlot])
                SetProc(hWnd, pLayer->bUnicode, pLayer->pfnPrev);
            if (pLast) {
                pLast->m_pLayer = nullptr;
                pLast->m_hWnd = nullptr;
            }
            FreeLayer(hWnd, pLayers, pLayer);
            if (pLast) {
                try {
                    pLast->OnFinalMessage(hWnd);
                } catch (...) {
                }
            }
        } else if (!pLayer->pOwner && pLayer->nBusy == 0) {
            RemoveIdleLayers(hWnd, pLayers);
        }
        return result;
    }

    static LRESULT Forward(CSubclassLayer *pLayer, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
        try {
            return CallProc(pLayer->pfnPrev, pLayer->bUnicode, hWnd, message, wParam, lParam);
        } catch (...) {
            return 0;
        }
    }
};

CSubclass::~CSubclass() {
    // Messages of this object still in progress (it was deleted from its own handler) must not touch it again.
    for (CSubclassCall *p = m_pCall; p; p = p->pOuter)
        p->bOwnerGone = true;
    m_pCall = nullptr;
    Unsubclass();
}

BOOL CSubclass::Subclass(HWND hWnd) {
    if (!hWnd || m_pLayer || !::IsWindow(hWnd))
        return FALSE;
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hWnd, &pid);
    if (pid != ::GetCurrentProcessId())
        return FALSE;
    CWindowLayers *pLayers = FindLayersForSubclass(hWnd);
    bool bNewRecord = false;
    if (!pLayers) {
        pLayers = new CWindowLayers;
        if (!AddRecord(hWnd, pLayers)) {
            delete pLayers;
            return FALSE;
        }
        ++g_liveStates;
        bNewRecord = true;
    }
    int nSlot = 0;
    while (nSlot < kMaxLayers && pLayers->slots[nSlot])
        ++nSlot;
    if (nSlot == kMaxLayers)
        return FALSE; // a full chain has layers, so its record stays
    CSubclassLayer *pLayer = new CSubclassLayer{this, nullptr, ::IsWindowUnicode(hWnd) != FALSE, nSlot};
    pLayers->slots[nSlot] = pLayer;
    ++g_liveStates;
    pLayer->pfnPrev = SetProc(hWnd, pLayer->bUnicode, CSubclassChain::Slots()[nSlot]);
    if (!pLayer->pfnPrev) {
        pLayers->slots[nSlot] = nullptr;
        delete pLayer;
        --g_liveStates;
        if (bNewRecord || pLayers->IsEmpty()) {
            RemoveRecord(hWnd);
            delete pLayers;
            --g_liveStates;
        }
        return FALSE;
    }
    m_hWnd = hWnd;
    m_pLayer = pLayer;
    return TRUE;
}

BOOL CSubclass::Unsubclass() {
    if (!m_pLayer)
        return FALSE;
    HWND hWnd = m_hWnd;
    m_pLayer->pOwner = nullptr;
    m_pLayer = nullptr;
    m_hWnd = nullptr;
    if (CWindowLayers *pLayers = FindLayers(hWnd))
        CSubclassChain::RemoveIdleLayers(hWnd, pLayers);
    return TRUE;
}

bool CSubclass::IsUnicode() const {
    return m_pLayer && m_pLayer->bUnicode;
}

LRESULT CSubclass::Default(UINT message, WPARAM wParam, LPARAM lParam) {
    // Inside a handler the layer of the message in progress is used: it stays valid even if the handler left the
    // window meanwhile.
    if (m_pCall) {
        CSubclassCall *pCall = m_pCall; // the object may be gone when the call returns
        pCall->bForwarded = true;
        pCall->lForwarded =
            CallProc(pCall->pLayer->pfnPrev, pCall->pLayer->bUnicode, pCall->hWnd, message, wParam, lParam);
        return pCall->lForwarded;
    }
    if (!m_pLayer)
        return 0;
    return CallProc(m_pLayer->pfnPrev, m_pLayer->bUnicode, m_hWnd, message, wParam, lParam);
}

LRESULT CSubclass::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return Default(message, wParam, lParam);
}

void CSubclass::OnFinalMessage(HWND) {}

long CSubclass::GetLiveStateCount() {
    return g_liveStates.load();
}
