// Resource ids of the launcher; shared by its code and its resource script.
#pragma once

#define IDD_TARVIK_DIALOG 102
#define IDR_MAINFRAME 128
#define IDR_PIC_BACKGROUND 132
#define IDI_ACROBAT 133
#define IDI_DOCGUARD 134
#define IDI_TOOLS 135
#define IDI_DEMO 136
#define IDC_CURSOR_LINK 137
#define IDI_EXIT 138
#define IDI_DRIVER 139
#define IDI_MANUAL 140

#define IDC_DRIVER 1001
#define IDC_DEMO 1002
#define IDC_TOOLS 1003
#define IDC_DOCGUARD 1004
#define IDC_ACROBAT 1005
#define IDC_EXIT 1006
#define IDC_MANUAL 1007
#define IDC_DESCRIPTION 1014

// Resource type of the background picture.
#define RT_LAUNCHER_PIC "PIC"
