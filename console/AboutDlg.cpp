#include "console/AboutDlg.h"

#include "res/console/resource.h"

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX) {}
