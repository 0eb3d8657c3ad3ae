// The launcher's dialog: entries that open the medium's files, a description line and the background picture.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <map>
#include <string>

#include "launcher/InterfacePtr.h"
#include "launcher/LinkStatic.h"
#include "platform/Subclass.h"

class CLauncherDlg : private CSubclass {
public:
    explicit CLauncherDlg(HINSTANCE hInstance);
    ~CLauncherDlg();
    CLauncherDlg(const CLauncherDlg &) = delete;
    CLauncherDlg &operator=(const CLauncherDlg &) = delete;

    // Runs the dialog modally; returns the id that ended it, or -1 when it could not be created.
    INT_PTR DoModal();

    const std::string &GetBaseDir() const { return m_strBaseDir; }

    // True when a file-system search for the path finds an entry.
    static bool FileExists(const std::string &strPath);
    // Asks the shell to open the file; neither waits for nor watches what it starts.
    static void LaunchFile(const std::string &strPath);

private:
    static INT_PTR CALLBACK StartDialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    // From WM_INITDIALOG on the dialog window is subclassed: each handler can run the dialog's default processing
    // (Default) before or instead of its own.
    LRESULT WindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam) override;

    BOOL OnInitDialog();
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam);
    LRESULT OnLinkHover(HWND hControl);
    LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnEraseBkgnd(HDC hdc);
    LRESULT OnPaint(WPARAM wParam, LPARAM lParam);
    LRESULT OnCtlColorStatic(HDC hdc, HWND hControl);
    LRESULT OnNcDestroy(WPARAM wParam, LPARAM lParam);

    void SetupLink(CLinkStatic &link, bool bAvailable);
    // Sets the description line, leaving it alone when it already shows this text.
    void SetDescription(const std::string &strText);
    CLinkStatic *FindLink(HWND hControl);
    void LoadPicture();
    void DrawPicture(HDC hdc);

    HINSTANCE m_hInstance;
    HWND m_hWnd;

    CLinkStatic m_stDescription; // 1014
    CLinkStatic m_stManual;      // 1007
    CLinkStatic m_stDemo;        // 1002
    CLinkStatic m_stDocGuard;    // 1004
    CLinkStatic m_stTools;       // 1003
    CLinkStatic m_stAcrobat;     // 1005
    CLinkStatic m_stExit;        // 1006
    CLinkStatic m_stDriver;      // 1001

    std::string m_strBaseDir;
    std::map<HWND, std::string> m_mapDesc;
    HICON m_hIcon;
    HCURSOR m_hHandCursor;
    CInterfacePtr<IPicture> m_pPicture;
    OLE_XSIZE_HIMETRIC m_nPicWidth;
    OLE_YSIZE_HIMETRIC m_nPicHeight;
};
