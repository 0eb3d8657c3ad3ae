#include "console/ConnectReaderDlg.h"

#include "framework/DataExchange.h"
#include "reader/QXCCIDINT.h"
#include "res/console/resource.h"

namespace {
const char kMutexName[] = "QXCCIDINT";
}

CConnectReaderDlg::CConnectReaderDlg(CWnd *pParent) : CDialog(IDD_CONNECT_READER, pParent) {
    MapCommand(IDC_CONNECT, &CConnectReaderDlg::OnConnect);
}

void CConnectReaderDlg::DoDataExchange(CDataExchange *pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_READER_COMBO, m_cboReaders);
}

void CConnectReaderDlg::SetReaders(SCARDCONTEXT hContext, const char *mszReaders, DWORD cchList) {
    m_arrReaders.clear();
    if (mszReaders) {
        const char *p = mszReaders;
        const char *end = cchList ? mszReaders + cchList : nullptr;
        while ((!end || p < end) && *p) {
            size_t n = 0;
            while ((!end || p + n < end) && p[n])
                ++n;
            m_arrReaders.emplace_back(p, n);
            p += n + 1;
        }
    }
    m_hContext = hContext;
}

BOOL CConnectReaderDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_cboReaders.ResetContent();
    for (const std::string &name : m_arrReaders)
        m_cboReaders.AddString(name);
    if (!m_arrReaders.empty())
        m_cboReaders.SetCurSel(0);
    return TRUE;
}

std::string CConnectReaderDlg::GetChosenReader() {
    std::string text = m_cboReaders.GetWindowText();
    if (!text.empty())
        return text;
    int sel = m_cboReaders.GetCurSel();
    if (sel >= 0 && m_cboReaders.GetLBText(sel, text))
        return text;
    return std::string();
}

void CConnectReaderDlg::OnConnect() {
    std::string name = GetChosenReader();
    // Nothing chosen and nothing typed: there is no reader to connect to.
    if (name.empty()) {
        EndDialog(IDCANCEL);
        return;
    }
    EndDialog(ConnectTheReader(m_hContext, name) ? IDOK : IDCANCEL);
}

BOOL CConnectReaderDlg::ConnectTheReader(SCARDCONTEXT hContext, const std::string &strReader) {
    theReader.Init(hContext, strReader.c_str(), kMutexName);
    return theReader.Connect();
}

void CConnectReaderDlg::OnOK() {
    OnConnect();
}
