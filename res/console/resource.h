// Resource and command identifiers of the console (resources, menus, dialogs, controls).
#pragma once

// Resources
#define IDR_MAINFRAME 128
#define IDR_TRACETYPE 129
#define IDD_ABOUTBOX 100
#define IDD_CONNECT_READER 130
#define IDD_APDU_COMMAND 131
#define IDR_CONNECTBAR 148
#define IDR_DISCONNECTBAR 149

// Controls
#define IDC_CONNECT 1000
#define IDC_READER_COMBO 1001
#define IDC_COMMAND_EDIT 1002
#define IDC_RESPONSE_EDIT 1003
#define IDC_SEND 1004
#define IDC_COMMAND_COUNT 1005
#define IDC_RESPONSE_COUNT 1006
#define IDW_CONNECTBAR 1007
#define IDW_DISCONNECTBAR 1008

// Reader, log, view and skin commands
#define ID_READER_CONNECT 32775
#define ID_READER_DISCONNECT 32776
#define ID_READER_ATR 32777
#define ID_READER_APDU 32778
#define ID_READER_SCRIPT 32779
#define ID_LOG_CLEAR 32781
#include "trace/TraceViewIds.h" // ID_VIEW_HIGHLIGHT, ID_VIEW_GRID: the trace view's
#define ID_SKIN_DEVIOR 32786
#define ID_SKIN_FUTURA 32787
#define ID_SKIN_KROMO 32788
#define ID_SKIN_XPSTEEL 32789
#define ID_SKIN_CORONA 32790

// The framework's standard commands, strings and bar ids (fixed numbers shared by every program).
#ifndef ID_FILE_NEW
#define ID_FILE_NEW 0xE100
#define ID_FILE_OPEN 0xE101
#define ID_FILE_CLOSE 0xE102
#define ID_FILE_SAVE 0xE103
#define ID_FILE_SAVE_AS 0xE104
#define ID_FILE_PRINT_SETUP 0xE106
#define ID_FILE_PRINT 0xE107
#define ID_FILE_PRINT_DIRECT 0xE108
#define ID_FILE_PRINT_PREVIEW 0xE109
#define ID_FILE_MRU_FILE1 0xE110
#define ID_FILE_MRU_FILE2 0xE111
#define ID_FILE_MRU_FILE3 0xE112
#define ID_FILE_MRU_FILE4 0xE113
#define ID_APP_ABOUT 0xE140
#define ID_APP_EXIT 0xE141
#define ID_NEXT_PANE 0xE150
#define ID_PREV_PANE 0xE151
#define ID_INDICATOR_CAPS 0xE701
#define ID_INDICATOR_NUM 0xE702
#define ID_INDICATOR_SCRL 0xE703
#define ID_VIEW_TOOLBAR 0xE800
#define ID_VIEW_STATUS_BAR 0xE801
#define AFX_IDS_APP_TITLE 0xE000
#define AFX_IDS_IDLEMESSAGE 0xE001
#endif

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
