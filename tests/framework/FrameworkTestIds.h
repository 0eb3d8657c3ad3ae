// Resource and command ids of the framework's test application.
#pragma once

#define IDR_MAINFRAME 128
#define IDR_TESTTYPE 129
#define IDR_CONNECTBAR 148
#define IDR_DISCONNECTBAR 149
#define IDD_TEST_DIALOG 200
#define IDC_TEST_EDIT 1001
#define IDC_TEST_COMBO 1002
#define ID_TEST_ENABLE 32770
#define ID_TEST_CHECK 32771
#define ID_TEST_NOHANDLER 32772
#define ID_TEST_DOC_CMD 32773
#define ID_TEST_CONNECT 32775
#define ID_TEST_DISCONNECT 32776
