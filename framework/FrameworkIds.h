// Command, string and window ids that the framework gives meaning to; plain #defines so resource scripts can include
// it.
#pragma once

// Strings the framework reads from the application's string table.
#define AFX_IDS_APP_TITLE 0xE000   // 57344: application title, also the registry sub-key
#define AFX_IDS_IDLEMESSAGE 0xE001 // optional: status-bar message at idle (built-in default otherwise)

// File commands.
#define ID_FILE_NEW 0xE100  // 57600
#define ID_FILE_OPEN 0xE101 // 57601
#define ID_FILE_CLOSE 0xE102
#define ID_FILE_SAVE 0xE103
#define ID_FILE_SAVE_AS 0xE104
#define ID_FILE_PRINT_SETUP 0xE106   // 57606
#define ID_FILE_PRINT 0xE107         // 57607
#define ID_FILE_PRINT_DIRECT 0xE108  // 57608
#define ID_FILE_PRINT_PREVIEW 0xE109 // 57609
#define ID_FILE_MRU_FILE1 0xE110     // 57616, the recent-file list's place holder in a menu
#define ID_FILE_MRU_FILE2 0xE111
#define ID_FILE_MRU_FILE3 0xE112
#define ID_FILE_MRU_FILE4 0xE113
#define ID_FILE_MRU_LAST 0xE11F

// Application commands.
#define ID_APP_ABOUT 0xE140 // 57664
#define ID_APP_EXIT 0xE141  // 57665

// Bar visibility commands and status-bar indicators.
#define ID_SEPARATOR 0
#define ID_INDICATOR_CAPS 0xE701
#define ID_INDICATOR_NUM 0xE702
#define ID_INDICATOR_SCRL 0xE703
#define ID_VIEW_TOOLBAR 0xE800    // same value as the standard tool bar's window id
#define ID_VIEW_STATUS_BAR 0xE801 // same value as the status bar's window id

// Window ids of the frame's parts.
#define AFX_IDW_TOOLBAR 0xE800
#define AFX_IDW_STATUS_BAR 0xE801
#define AFX_IDW_DOCKBAR_TOP 0xE81B
#define AFX_IDW_DOCKBAR_LEFT 0xE81C
#define AFX_IDW_DOCKBAR_RIGHT 0xE81D
#define AFX_IDW_DOCKBAR_BOTTOM 0xE81E
#define AFX_IDW_PANE_FIRST 0xE900 // the view inside a frame

// Resource type of tool-bar resources: WORD version (1), WORD width, WORD height, WORD count, WORD ids[count]
// (0 = separator); the button images are the bitmap with the same id.
#define RT_TOOLBAR_ID 241

// Control-bar styles (low word of a control bar's style; the alignment bits are also set on dock rows' windows).
#define CBRS_ALIGN_LEFT 0x1000L
#define CBRS_ALIGN_TOP 0x2000L
#define CBRS_ALIGN_RIGHT 0x4000L
#define CBRS_ALIGN_BOTTOM 0x8000L
#define CBRS_ALIGN_ANY 0xF000L
#define CBRS_BORDER_LEFT 0x0100L
#define CBRS_BORDER_TOP 0x0200L
#define CBRS_BORDER_RIGHT 0x0400L
#define CBRS_BORDER_BOTTOM 0x0800L
#define CBRS_TOOLTIPS 0x0010L
#define CBRS_FLYBY 0x0020L
#define CBRS_SIZE_DYNAMIC 0x0080L
#define CBRS_GRIPPER 0x00400000L
#define CBRS_TOP (CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM)
#define CBRS_BOTTOM (CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP)

// Frame style: add the active document's title to the caption.
#define FWS_ADDTOTITLE 0x00008000L
