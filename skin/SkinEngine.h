// The skin engine's entry points: start and stop the engine, load a skin from a module resource, name the dialog
// object, attach a frame and find a skinned window. Each answers 1 or 0 (SkinEngineExit its code) and shows nothing.
#pragma once

#include <windows.h>

class CSkinWnd;

// Registers the popup-menu window class, hooks the calling thread and computes the platform code (the scroll-bar
// interception is installed for codes outside 0-3). The application name and the two reserved values are not used.
int SkinEngineInit(HINSTANCE hInstance, const char *pszAppName, int nReserved1, int nReserved2);
// Empties the dialog object name, unregisters the popup-menu class and unhooks. Returns the platform code when it is
// 0-3; otherwise 0 on the Windows 95 family, and 1 on the NT family after removing the scroll-bar interception.
// Skinned windows keep their painters until they are destroyed.
int SkinEngineExit();
// Reads the named resource (names compare without case) into a new skin and, when that succeeds, makes it current and
// re-applies it to every skinned window. A failure keeps the skin in force.
int SkinLoadResource(HINSTANCE hInstance, const char *pszName, const char *pszType);
// New dialogs are skinned with the object of this name (at most 49 characters are kept).
int SkinSetDialogObjectName(const char *pszName);
int SkinClearDialogObjectName();
// Skins a frame window with the named frame object, or the first frame object in name order without a name.
// 0 when the window is registered already, or the object is missing or not a frame.
int SkinAttachFrame(HWND hWnd, const char *pszObjectName);
// The object registered for exactly this window, or none.
CSkinWnd *SkinFindWindow(HWND hWnd);

// The engine's process-wide state behind the entry points.
class CSkinEngine {
public:
    // The popup menus' window class.
    static const char POPUP_MENU_CLASS[];

    // The platform code of a system version: packed is GetVersion's word (its top bit marks the Windows 95 family),
    // pInfo the version record (none: no memory for it).
    //   95 family: 0 major below 4; 3 for 4.10; 4 for 4.90; 2 otherwise.  NT: 5 for 4.x; 6 for 5.0; 7 for 5.1;
    //   1 otherwise.
    static int PlatformCode(DWORD packed, const OSVERSIONINFOA *pInfo);
    // The code SkinEngineInit computed (6 before).
    static int GetPlatformCode();
    static HINSTANCE GetModuleInstance();
    // Whether the platform code turns the scroll-bar interception on (outside 0-3).
    static bool UsesScrollBarInterception(int nCode) { return nCode < 0 || nCode > 3; }
};
