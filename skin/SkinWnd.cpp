#include "skin/SkinWnd.h"

#include <cstring>

#include "skin/Skin.h"
#include "skin/SkinCaptionButton.h"
#include "skin/SkinFrameObject.h"
#include "skin/SkinInfoObject.h"
#include "skin/SkinPopupMenuObject.h"
#include "skin/SkinRegistry.h"
#include "skin/SkinStyleScope.h"
#include "skin/controls/NineGrid.h"
#include "skin/controls/SkinDraw.h"
#include "skin/controls/SkinCheckBox.h"
#include "skin/controls/SkinComboBox.h"
#include "skin/controls/SkinControlBar.h"
#include "skin/controls/SkinGroupBox.h"
#include "skin/controls/SkinProgressBar.h"
#include "skin/controls/SkinPushButton.h"
#include "skin/controls/SkinRadioButton.h"
#include "skin/controls/SkinScrollControl.h"
#include "skin/controls/SkinSlider.h"
#include "skin/controls/SkinSpin.h"
#include "skin/controls/SkinStatic.h"
#include "skin/controls/SkinStatusBar.h"
#include "skin/controls/SkinToolBar.h"

namespace {

// Painters by skin kind. A kind without a factory (or outside the table) leaves its windows with the system's look;
// the painters of the standard controls fill their rows as they are written.
const struct {
    DWORD kind;
    CSkinWnd::PainterFactory create;
} kPainters[] = {
    {SKIN_KIND_BUTTON, &CreateSkinPainter<CSkinPushButton>},      // push button
    {SKIN_KIND_CHECKBOX, &CreateSkinPainter<CSkinCheckBox>},      // check box
    {SKIN_KIND_GROUPBOX, &CreateSkinPainter<CSkinGroupBox>},      // group box
    {SKIN_KIND_RADIO, &CreateSkinPainter<CSkinRadioButton>},      // radio button
    {SKIN_KIND_COMBOBOX, &CreateSkinPainter<CSkinComboBox>},      // combo box
    {SKIN_KIND_PROGRESS, &CreateSkinPainter<CSkinProgressBar>},   // progress bar
    {SKIN_KIND_SLIDER, &CreateSkinPainter<CSkinSlider>},          // track bar
    {SKIN_KIND_STATIC, &CreateSkinPainter<CSkinStatic>},          // static control
    {SKIN_KIND_STATUSBAR, &CreateSkinPainter<CSkinStatusBar>},    // status bar
    {SKIN_KIND_TOOLBAR, &CreateSkinPainter<CSkinToolBar>},        // tool bar
    {SKIN_KIND_CONTROLBAR, &CreateSkinPainter<CSkinControlBar>},  // docking bar
    {SKIN_KIND_SPIN, &CreateSkinPainter<CSkinSpin>},              // up-down control
    {7, &CSkinScrollControl::Create},                       // windows that get skinned scroll bars
    {9, &CSkinScrollControl::Create},                       //
    {SKIN_KIND_SCROLLCONTROL, &CSkinScrollControl::Create}, //
    {28, &CSkinScrollControl::Create},                      //
    {29, &CSkinScrollControl::Create},                      //
    // Scroll-bar controls (12) and tab controls (16) keep their own look: no row.
};

// Factories that tests put in place of the table's, by kind.
std::map<DWORD, CSkinWnd::PainterFactory> &PainterOverrides() {
    static std::map<DWORD, CSkinWnd::PainterFactory> overrides;
    return overrides;
}

} // namespace

CSkinWnd::CScopedPainter::CScopedPainter(DWORD kind, PainterFactory create) : m_kind(kind), m_previous(nullptr) {
    auto it = PainterOverrides().find(kind);
    m_bHadPrevious = it != PainterOverrides().end();
    if (m_bHadPrevious)
        m_previous = it->second;
    PainterOverrides()[kind] = create;
}

CSkinWnd::CScopedPainter::~CScopedPainter() {
    if (m_bHadPrevious)
        PainterOverrides()[m_kind] = m_previous;
    else
        PainterOverrides().erase(m_kind);
}

CSkinWnd::CSkinWnd() = default;

CSkinWnd::~CSkinWnd() {
    // The caption buttons and the region go with their owners; the layer leaves the window's chain.
}

void CSkinWnd::Draw(HDC hDC) {
    DrawBorder(hDC, FALSE);
    DrawBackground(hDC, FALSE);
}

CSkinObject *CSkinWnd::SetSkinObject(CSkinObject *pObject) {
    CSkinObject *pPrevious = m_pSkinObject;
    m_pSkinObject = pObject;

    CSkin &skin = CSkinRegistry::Instance().GetSkin();
    const CSkinInfoObject *pInfo = dynamic_cast<const CSkinInfoObject *>(skin.FindObjectByKind(SKIN_KIND_INFO));
    m_crTransparent = pInfo ? pInfo->GetRegionColor() : 0xFF00FF;
    m_bRegion = pInfo && pInfo->m_dwRegions ? TRUE : FALSE;

    m_captionButtons.clear();
    if (!pObject)
        return pPrevious;
    for (const auto &child : pObject->GetChildTable()) {
        CSkinCaptionButtonObject *pRecord = dynamic_cast<CSkinCaptionButtonObject *>(child.second);
        if (pRecord)
            m_captionButtons.emplace_back(new CSkinCaptionButton(this, pRecord));
    }

    m_rcSaved = RECT{0, 0, 0, 0};
    if (m_hWnd)
        AttachChildren(m_hWnd);
    if (const SkinFramedRecord *pFramed = GetFramed(pObject))
        std::memcpy(m_rcPlacement, pFramed->placement, sizeof(m_rcPlacement));
    return pPrevious;
}

void CSkinWnd::OnFinalDestroy() {
    HWND hWnd = m_hWnd;
    if (HasPrevious())
        CallPrevious(WM_NCDESTROY, 0, 0);
    // Deletes this object.
    CSkinRegistry::Instance().RemoveWindow(hWnd);
}

CSkinWnd *CSkinWnd::GetNonClientObject() {
    return nullptr;
}

RECT CSkinWnd::GetScreenRect() {
    RECT rc = {0, 0, 0, 0};
    if (m_hWnd)
        ::GetWindowRect(m_hWnd, &rc);
    return rc;
}

void CSkinWnd::DrawBackground(HDC hDC, BOOL bActive) {
    const SkinFramedRecord *pFramed = GetFramed();
    if (!pFramed || !m_hWnd)
        return;
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    const SkinPiece *pPiece =
        &pFramed->pieces[bActive ? CNineGrid::CENTRE : SkinFramedRecord::INACTIVE + CNineGrid::CENTRE];
    if (!bActive && CNineGrid::IsRectEmpty(pPiece->rcSource))
        pPiece = &pFramed->pieces[CNineGrid::CENTRE];
    // An empty source, a missing image or a cut without pixels fills with the background colour.
    DrawPiece(hDC, rc, *pPiece, pFramed->crBackground, TRUE);
}

void CSkinWnd::DrawBorder(HDC hDC, BOOL bActive) {
    if (const SkinFramedRecord *pFramed = GetFramed()) {
        const COLORREF crFill = bActive ? pFramed->crActiveBorder : pFramed->crInactiveBorder;
        for (int i = 0; i < PART_COUNT; ++i) {
            if (i == CNineGrid::CENTRE)
                continue;
            const SkinPiece *pPiece = &pFramed->pieces[bActive ? i : SkinFramedRecord::INACTIVE + i];
            if (!bActive && CNineGrid::IsEmpty(*pPiece))
                pPiece = &pFramed->pieces[i];
            DrawPiece(hDC, m_rcPlacement[i], *pPiece, crFill, TRUE);
        }
    }
    DrawCaption(hDC, bActive);
    DrawExtras(hDC);
}

void CSkinWnd::Detach() {
    if (!HasPrevious())
        return;
    m_subclass.Unsubclass();
    m_hWnd = nullptr;
}

BOOL CSkinWnd::Attach(HWND hWnd) {
    m_hWnd = hWnd;
    AttachChildren(hWnd);
    return SubclassWindow(hWnd);
}

void CSkinWnd::OnShowWindow(BOOL, UINT) {}

LRESULT CSkinWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!HasPrevious())
        return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
    switch (message) {
    case WM_SHOWWINDOW:
        OnShowWindow(static_cast<BOOL>(wParam), static_cast<UINT>(lParam));
        return CallPrevious(message, wParam, lParam);
    case WM_NCDESTROY:
        OnFinalDestroy();
        return 0;
    }
    return CallPrevious(message, wParam, lParam);
}

RECT CSkinWnd::GetCaptionRect() {
    return RECT{0, 0, 0, 0};
}

void CSkinWnd::DrawExtras(HDC) {}

CRgn CSkinWnd::CreateRegion() {
    const SkinFramedRecord *pFramed = GetFramed();
    if (!m_bRegion || !pFramed)
        return CRgn();
    CRgn region(::CreateRectRgn(0, 0, 0, 0));
    if (!region.IsValid())
        return region;
    for (int i = 0; i < PART_COUNT; ++i) {
        CRgn part = PieceRegion(m_hWnd, pFramed->pieces[i], m_rcPlacement[i], m_crTransparent);
        if (part.IsValid())
            ::CombineRgn(region, region, part, RGN_OR);
    }
    return region;
}

void CSkinWnd::DrawCaption(HDC, BOOL) {}

void CSkinWnd::AttachChildren(HWND hWnd) {
    if (!hWnd)
        return;
    for (HWND hChild = ::GetWindow(hWnd, GW_CHILD); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT))
        AttachChild(hChild);
}

void CSkinWnd::AttachChild(HWND hChild) {
    AttachChildren(hChild);
    CSkinRegistry &registry = CSkinRegistry::Instance();
    const DWORD kind = ClassifyWindow(hChild);
    CSkinObject *pObject = kind ? registry.GetSkin().FindObjectByKind(kind) : nullptr;
    auto known = m_children.find(hChild);
    if (!pObject) {
        if (known != m_children.end()) {
            m_children.erase(known);
            registry.RemoveWindow(hChild);
        }
        return;
    }
    if (known != m_children.end()) {
        if (registry.BeginReapply(known->second))
            known->second->SetSkinObject(pObject);
        return;
    }
    std::unique_ptr<CSkinWnd> pPainter = CreateControl(kind);
    CSkinWnd *pNew = pPainter.get();
    // Refused (and deleted) when the child has a painter elsewhere already.
    if (!pNew || !registry.AddWindow(std::move(pPainter), hChild))
        return;
    registry.BeginReapply(pNew); // made with the new skin's object: the registry's pass leaves it
    pNew->SetSkinObject(pObject);
    m_children[hChild] = pNew;
    // A painter that declines its window (an owner-drawn button, say) would never see the window's destruction:
    // it leaves the map at once and the window keeps its own look.
    if (!pNew->Attach(hChild)) {
        m_children.erase(hChild);
        registry.RemoveWindow(hChild);
    }
}

bool CSkinWnd::ClassifyName(HWND hWnd, char (&name)[CLASS_NAME_SIZE]) {
    if (!hWnd || ::GetClassNameA(hWnd, name, CLASS_NAME_SIZE) == 0)
        return false;
    if (std::strcmp(name, "Button") != 0)
        return true;
    // The button type, in the fixed order of the tests.
    const DWORD type = static_cast<DWORD>(::GetWindowLongPtrA(hWnd, GWL_STYLE)) & 0xF;
    const char *pszName = "Button";
    if ((type & 7) == 7)
        pszName = "GroupBox";
    else if ((type & 2) || (type & 3) == 3 || (type & 5) == 5)
        pszName = "CheckBox";
    else if ((type & 4) || (type & 9) == 9)
        pszName = "Radio";
    std::strcpy(name, pszName);
    return true;
}

DWORD CSkinWnd::ClassifyWindow(HWND hWnd) {
    char name[CLASS_NAME_SIZE];
    return ClassifyName(hWnd, name) ? CSkinRegistry::Instance().FindClassKind(name) : 0;
}

std::unique_ptr<CSkinWnd> CSkinWnd::CreateControl(DWORD kind) {
    auto overridden = PainterOverrides().find(kind);
    if (overridden != PainterOverrides().end())
        return overridden->second ? overridden->second(this) : nullptr;
    for (const auto &row : kPainters)
        if (row.kind == kind)
            return row.create ? row.create(this) : nullptr;
    return nullptr;
}

BOOL CSkinWnd::SubclassWindow(HWND hWnd) {
    return m_subclass.Subclass(hWnd);
}

LRESULT CSkinWnd::CallPrevious(UINT message, WPARAM wParam, LPARAM lParam) {
    if (HasPrevious())
        return m_subclass.Default(message, wParam, lParam);
    return ::IsWindowUnicode(m_hWnd) ? ::DefWindowProcW(m_hWnd, message, wParam, lParam)
                                     : ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

const SkinFramedRecord *CSkinWnd::GetFramed(const CSkinObject *pObject) {
    if (const CSkinFrameObject *pFrame = dynamic_cast<const CSkinFrameObject *>(pObject))
        return &pFrame->m_framed;
    if (const CSkinPopupMenuObject *pPopup = dynamic_cast<const CSkinPopupMenuObject *>(pObject))
        return &pPopup->m_framed;
    return nullptr;
}

LRESULT CSkinWnd::CLayer::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (CSkinWnd *pWnd = CSkinRegistry::Instance().FindWindow(GetHwnd()))
        return pWnd->HandleMessage(message, wParam, lParam);
    // Registered windows only carry this layer; should one not be found, the window keeps its own behaviour.
    return Default(message, wParam, lParam);
}

LRESULT CSkinWnd::CallWithStyle(DWORD dwStyle, UINT message, WPARAM wParam, LPARAM lParam) {
    CSkinStyleScope style(m_hWnd, dwStyle);
    return CSkinWnd::HandleMessage(message, wParam, lParam);
}

LRESULT CSkinWnd::CallWithoutSysMenu(UINT message, WPARAM wParam, LPARAM lParam) {
    const DWORD style = static_cast<DWORD>(::GetWindowLongPtrA(m_hWnd, GWL_STYLE));
    return CallWithStyle(style & ~WS_SYSMENU, message, wParam, lParam);
}

LRESULT CSkinWnd::DefaultWithoutSysMenu(UINT message, WPARAM wParam, LPARAM lParam) {
    const DWORD style = static_cast<DWORD>(::GetWindowLongPtrA(m_hWnd, GWL_STYLE));
    CSkinStyleScope scope(m_hWnd, style & ~WS_SYSMENU);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}
