// The connect-reader dialog: the user picks one of the polled readers and theReader connects to it.
#pragma once

#include <windows.h>
#include <winscard.h>
#include <string>
#include <vector>
#include "framework/ComboBox.h"
#include "framework/Dialog.h"

class CConnectReaderDlg : public CDialog {
public:
    explicit CConnectReaderDlg(CWnd *pParent = nullptr);

    // Takes the reader names of a PC/SC multi-string (names separated by one zero, ended by an empty name), reading
    // no further than cchList characters when that is given, and the context to connect with.
    void SetReaders(SCARDCONTEXT hContext, const char *mszReaders, DWORD cchList = 0);

    BOOL OnInitDialog() override;
    // Connects; the dialog ends with OK only when theReader is connected.
    void OnConnect();
    // Enter reaches the hidden default OK button: it connects instead of claiming a connection.
    void OnOK() override;

    // What the connect button does with a name: theReader takes the context and the name, then connects.
    // Non-zero when connected.
    static BOOL ConnectTheReader(SCARDCONTEXT hContext, const std::string &strReader);

    // The reader name the connect uses: the combo box's text (typed or the selected item's), else the selected item.
    std::string GetChosenReader();

    CComboBox m_cboReaders;
    std::vector<std::string> m_arrReaders;
    SCARDCONTEXT m_hContext = 0;

protected:
    void DoDataExchange(CDataExchange *pDX) override;
};
