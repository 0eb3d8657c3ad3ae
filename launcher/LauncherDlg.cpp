#include "launcher/LauncherDlg.h"

#include <shellapi.h>

#include <cstring>
#include <vector>

#include "launcher/LauncherPath.h"
#include "launcher/Resource.h"
#include "platform/Handle.h"
#include "platform/MemoryDC.h"
#include "platform/PaintDC.h"
#include "platform/SelectObject.h"

namespace {

struct EntryInfo {
    int nId;
    const char *pszRelativePath;
    const char *pszDescription;
};

// The entries that open a file of the medium, in the order in which the dialog sets them up.
const EntryInfo kEntries[] = {
    {IDC_MANUAL, "\\resource\\岚迅QX740读卡器用户手册.html", "察看htm格式的产品用户手册文档。"},
    {IDC_DRIVER, "\\resource\\Device Setup\\DeviceSetup.exe", "CCID驱动，提供访问岚迅QX740读卡器的驱动软件。"},
    {IDC_DEMO, "\\resource\\Sample Code\\SampleCode.exe", "应用DEMO,提供几种其他开发语言的测试源码，包括VC,VB,JAVA。"},
    {IDC_TOOLS, "\\resource\\Utilities\\QXReader_CCID.exe", "应用工具，方便用户对读卡器的通用操作。"},
    {IDC_ACROBAT, "\\resource\\Acrobat Reader\\Adobe.exe",
     "Acrobat，提供了Acrobat安装包，方便用户打开相关的PDF文档，如果已经安装了Acrobat，可以不用再安装。"},
};
const char kExitDescription[] = "退出安装主界面。";
const char kDocGuardPath[] = "\\resource\\DocGuard\\DocGuardSetup.exe";
const char kTitle[] = "岚迅QX740读卡器 安装";

// The executable's own full path, however long it is.
std::string GetModulePath() {
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD nLen = ::GetModuleFileNameA(NULL, &buffer[0], static_cast<DWORD>(buffer.size()));
        if (nLen == 0)
            return std::string();
        if (nLen < buffer.size())
            return std::string(&buffer[0], nLen);
        if (buffer.size() >= 32768)
            return std::string();
        buffer.resize(buffer.size() * 2);
    }
}

bool IsAnsiLeadByte(unsigned char byte) {
    return ::IsDBCSLeadByte(byte) != FALSE;
}

std::string GetText(HWND hWnd) {
    const int nLen = ::GetWindowTextLengthA(hWnd);
    if (nLen <= 0)
        return std::string();
    std::vector<char> buffer(static_cast<size_t>(nLen) + 1);
    const int nGot = ::GetWindowTextA(hWnd, &buffer[0], nLen + 1);
    return std::string(&buffer[0], nGot > 0 ? static_cast<size_t>(nGot) : 0);
}

} // namespace

CLauncherDlg::CLauncherDlg(HINSTANCE hInstance)
    : m_hInstance(hInstance), m_hWnd(NULL), m_hIcon(NULL), m_hHandCursor(NULL), m_nPicWidth(0),
      m_nPicHeight(0) {
    m_hIcon = ::LoadIconA(hInstance, MAKEINTRESOURCEA(IDR_MAINFRAME));
    m_hHandCursor = ::LoadCursorA(hInstance, MAKEINTRESOURCEA(IDC_CURSOR_LINK));
    m_strBaseDir = CLauncherPath::BaseDirFromModulePath(GetModulePath(), &IsAnsiLeadByte);
}

CLauncherDlg::~CLauncherDlg() {}

INT_PTR CLauncherDlg::DoModal() {
    return ::DialogBoxParamA(m_hInstance, MAKEINTRESOURCEA(IDD_TARVIK_DIALOG), NULL, &CLauncherDlg::StartDialogProc,
                             reinterpret_cast<LPARAM>(this));
}

bool CLauncherDlg::FileExists(const std::string &strPath) {
    WIN32_FIND_DATAA data;
    CFindFile hFind(::FindFirstFileA(strPath.c_str(), &data));
    return hFind.IsValid();
}

void CLauncherDlg::LaunchFile(const std::string &strPath) {
    SHELLEXECUTEINFOA info;
    ZeroMemory(&info, sizeof(info));
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_FLAG_DDEWAIT | SEE_MASK_FLAG_NO_UI; // 0x500
    info.hwnd = NULL;
    info.lpVerb = "open";
    info.lpFile = strPath.c_str();
    info.lpParameters = NULL;
    info.lpDirectory = NULL;
    info.nShow = SW_SHOW;
    ::ShellExecuteExA(&info);
}

// The dialog manager's procedure sees WM_INITDIALOG first; from then on the dialog window is subclassed.
INT_PTR CALLBACK CLauncherDlg::StartDialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (uMsg != WM_INITDIALOG)
        return FALSE;
    CLauncherDlg *pThis = reinterpret_cast<CLauncherDlg *>(lParam);
    if (!pThis || !pThis->Subclass(hWnd)) {
        ::EndDialog(hWnd, -1);
        return FALSE;
    }
    pThis->m_hWnd = hWnd;
    return pThis->OnInitDialog();
}

LRESULT CLauncherDlg::WindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    switch (uMsg) {
    case WM_COMMAND:
        return OnCommand(wParam, lParam);
    case WM_LINK_HOVER:
        return OnLinkHover(reinterpret_cast<HWND>(lParam));
    case WM_MOUSEMOVE:
        return OnMouseMove(wParam, lParam);
    case WM_LBUTTONDOWN:
        return OnLButtonDown(wParam, lParam);
    case WM_ERASEBKGND:
        return OnEraseBkgnd(reinterpret_cast<HDC>(wParam));
    case WM_PAINT:
        return OnPaint(wParam, lParam);
    case WM_QUERYDRAGICON:
        return reinterpret_cast<LRESULT>(m_hIcon);
    case WM_CTLCOLORSTATIC:
        return OnCtlColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_NCDESTROY:
        return OnNcDestroy(wParam, lParam);
    default:
        return Default(uMsg, wParam, lParam);
    }
}

BOOL CLauncherDlg::OnInitDialog() {
    m_stDescription.SubclassDlgItem(IDC_DESCRIPTION, m_hWnd);
    m_stManual.SubclassDlgItem(IDC_MANUAL, m_hWnd);
    m_stDemo.SubclassDlgItem(IDC_DEMO, m_hWnd);
    m_stDocGuard.SubclassDlgItem(IDC_DOCGUARD, m_hWnd);
    m_stTools.SubclassDlgItem(IDC_TOOLS, m_hWnd);
    m_stAcrobat.SubclassDlgItem(IDC_ACROBAT, m_hWnd);
    m_stExit.SubclassDlgItem(IDC_EXIT, m_hWnd);
    m_stDriver.SubclassDlgItem(IDC_DRIVER, m_hWnd);

    ::SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    ::SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    ::SetWindowTextA(m_hWnd, kTitle);

    for (const EntryInfo &entry : kEntries) {
        CLinkStatic *pLink = FindLink(::GetDlgItem(m_hWnd, entry.nId));
        if (!pLink)
            continue;
        SetupLink(*pLink, FileExists(CLauncherPath::Compose(m_strBaseDir, entry.pszRelativePath)));
        m_mapDesc[pLink->GetSafeHwnd()] = entry.pszDescription;
    }
    SetupLink(m_stExit, true);
    m_mapDesc[m_stExit.GetSafeHwnd()] = kExitDescription;

    m_stDescription.SetBkColor(RGB(255, 255, 255));

    LoadPicture();
    return TRUE;
}

CLinkStatic *CLauncherDlg::FindLink(HWND hControl) {
    CLinkStatic *links[] = {&m_stDescription, &m_stManual,  &m_stDemo, &m_stDocGuard,
                            &m_stTools,       &m_stAcrobat, &m_stExit, &m_stDriver};
    for (CLinkStatic *pLink : links) {
        if (hControl && pLink->GetSafeHwnd() == hControl)
            return pLink;
    }
    return NULL;
}

void CLauncherDlg::SetupLink(CLinkStatic &link, bool bAvailable) {
    link.SetFontHeight(14);
    link.SetForeColor(RGB(0, 0, 255));
    link.SetBkColor(RGB(255, 255, 255));
    if (bAvailable) {
        link.SetUnderline(true);
        link.SetNotify(true);
        link.SetLinkCursor(m_hHandCursor);
    }
    if (link.GetSafeHwnd())
        ::EnableWindow(link.GetSafeHwnd(), bAvailable ? TRUE : FALSE);
}

LRESULT CLauncherDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    const int nId = LOWORD(wParam);
    for (const EntryInfo &entry : kEntries) {
        if (entry.nId == nId) {
            LaunchFile(CLauncherPath::Compose(m_strBaseDir, entry.pszRelativePath));
            return 0;
        }
    }
    switch (nId) {
    case IDC_DOCGUARD:
        LaunchFile(CLauncherPath::Compose(m_strBaseDir, kDocGuardPath));
        return 0;
    case IDC_EXIT:
        ::PostMessageA(m_hWnd, WM_CLOSE, 0, 0);
        return 0;
    case IDOK:
    case IDCANCEL:
        ::EndDialog(m_hWnd, nId);
        return 0;
    default:
        return Default(WM_COMMAND, wParam, lParam);
    }
}

LRESULT CLauncherDlg::OnLinkHover(HWND hControl) {
    std::map<HWND, std::string>::const_iterator it = m_mapDesc.find(hControl);
    SetDescription(it != m_mapDesc.end() ? it->second : std::string());
    return 0;
}

void CLauncherDlg::SetDescription(const std::string &strText) {
    HWND hDesc = m_stDescription.GetSafeHwnd();
    if (!hDesc)
        return;
    // Byte-wise comparison of the multi-byte texts; rewriting an unchanged line would only make it flicker.
    if (GetText(hDesc) != strText)
        ::SetWindowTextA(hDesc, strText.c_str());
}

LRESULT CLauncherDlg::OnMouseMove(WPARAM wParam, LPARAM lParam) {
    SetDescription(std::string());
    return Default(WM_MOUSEMOVE, wParam, lParam);
}

LRESULT CLauncherDlg::OnLButtonDown(WPARAM wParam, LPARAM lParam) {
    // Hand the press to the system as one on a caption, so dragging any free part moves the window. The message
    // carries screen coordinates, as a non-client message does.
    POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    ::ClientToScreen(m_hWnd, &pt);
    ::PostMessageA(m_hWnd, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(pt.x, pt.y));
    return Default(WM_LBUTTONDOWN, wParam, lParam);
}

LRESULT CLauncherDlg::OnEraseBkgnd(HDC hdc) {
    const LRESULT lResult = Default(WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0);
    DrawPicture(hdc);
    return lResult;
}

LRESULT CLauncherDlg::OnPaint(WPARAM wParam, LPARAM lParam) {
    if (!::IsIconic(m_hWnd))
        return Default(WM_PAINT, wParam, lParam);
    CPaintDC dc(m_hWnd);
    HDC hdc = dc.GetSafeHdc();
    ::SendMessageA(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0);
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    const int cxIcon = ::GetSystemMetrics(SM_CXICON);
    const int cyIcon = ::GetSystemMetrics(SM_CYICON);
    ::DrawIcon(hdc, (rc.right - rc.left - cxIcon + 1) / 2, (rc.bottom - rc.top - cyIcon + 1) / 2, m_hIcon);
    return 0;
}

LRESULT CLauncherDlg::OnCtlColorStatic(HDC hdc, HWND hControl) {
    CLinkStatic *pLink = FindLink(hControl);
    if (pLink)
        return reinterpret_cast<LRESULT>(pLink->OnCtlColor(hdc));
    return Default(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(hControl));
}

LRESULT CLauncherDlg::OnNcDestroy(WPARAM wParam, LPARAM lParam) {
    // The subclass layer goes with the window once the message has been passed on.
    m_pPicture.Release();
    m_hWnd = NULL;
    return Default(WM_NCDESTROY, wParam, lParam);
}

void CLauncherDlg::LoadPicture() {
    HRSRC hRes = ::FindResourceA(m_hInstance, MAKEINTRESOURCEA(IDR_PIC_BACKGROUND), RT_LAUNCHER_PIC);
    if (!hRes)
        return;
    const DWORD nSize = ::SizeofResource(m_hInstance, hRes);
    HGLOBAL hResData = ::LoadResource(m_hInstance, hRes);
    const void *pData = hResData ? ::LockResource(hResData) : NULL;
    if (!pData || nSize == 0)
        return;

    CGlobalMemory hBlock(::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, nSize));
    if (!hBlock.IsValid())
        return;
    void *pBlock = ::GlobalLock(hBlock.Get());
    if (!pBlock)
        return;
    std::memcpy(pBlock, pData, nSize);
    ::GlobalUnlock(hBlock.Get());

    // The stream does not own the block: the block is freed here after the stream is released.
    CInterfacePtr<IStream> pStream;
    if (FAILED(::CreateStreamOnHGlobal(hBlock.Get(), FALSE, pStream.Receive())) || !pStream)
        return;
    if (FAILED(::OleLoadPicture(pStream.Get(), 0, FALSE, IID_IPicture, m_pPicture.ReceiveVoid())) || !m_pPicture) {
        m_pPicture.Release();
        return;
    }
    if (FAILED(m_pPicture->get_Width(&m_nPicWidth)) || FAILED(m_pPicture->get_Height(&m_nPicHeight)))
        m_pPicture.Release();
}

void CLauncherDlg::DrawPicture(HDC hdc) {
    if (!m_pPicture)
        return;
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    const int cx = rc.right - rc.left;
    const int cy = rc.bottom - rc.top;

    OLE_HANDLE hPalHandle = 0;
    HPALETTE hPal = NULL;
    if (SUCCEEDED(m_pPicture->get_hPal(&hPalHandle)) && hPalHandle)
        hPal = reinterpret_cast<HPALETTE>(static_cast<UINT_PTR>(hPalHandle));
    CSelectPalette palette(hdc, hPal);

    DWORD nAttributes = 0;
    const bool bTransparent = FAILED(m_pPicture->get_Attributes(&nAttributes)) || (nAttributes & PICTURE_TRANSPARENT);
    if (!bTransparent) {
        m_pPicture->Render(hdc, 0, 0, cx, cy, 0, m_nPicHeight, m_nPicWidth, -m_nPicHeight, NULL);
        return;
    }
    // A transparent picture is composed off screen first, so the screen is written once (when the memory DC goes).
    CMemoryDC memDc(hdc, RECT{0, 0, cx, cy});
    if (!memDc.IsValid())
        return;
    // Start from what the default erasing left, so the picture's transparent parts show it rather than black.
    memDc.CopyFromTarget();
    CSelectPalette memPalette(memDc, hPal);
    m_pPicture->Render(memDc, 0, 0, cx, cy, 0, m_nPicHeight, m_nPicWidth, -m_nPicHeight, NULL);
}
