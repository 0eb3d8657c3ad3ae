#include "console/ApduCommandDlg.h"

#include <cstdio>
#include <vector>
#include "text/HexText.h"
#include "text/StringEdit.h"
#include "console/TraceLine.h"
#include "framework/DataExchange.h"
#include "console/ConsoleResult.h"
#include "reader/QXCCIDINT.h"
#include "res/console/resource.h"

namespace {
const WORD kStatusOk = 0x9000;

std::string Format(const char *format, unsigned value) {
    char buf[128];
    std::snprintf(buf, sizeof(buf), format, value);
    return buf;
}
} // namespace

CApduCommandDlg::CApduCommandDlg(CWnd *pParent) : CDialog(IDD_APDU_COMMAND, pParent) {
    MapNotify(IDC_COMMAND_EDIT, EN_CHANGE, &CApduCommandDlg::OnChangeCommand);
    MapCommand(IDC_SEND, &CApduCommandDlg::OnSend);
}

void CApduCommandDlg::DoDataExchange(CDataExchange *pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_COMMAND_COUNT, m_stcCommandCount);
    DDX_Control(pDX, IDC_RESPONSE_COUNT, m_stcResponseCount);
    DDX_Text(pDX, IDC_COMMAND_EDIT, m_strCommand);
    DDV_MaxChars(pDX, m_strCommand, kMaxText);
    DDX_Text(pDX, IDC_RESPONSE_EDIT, m_strResponse);
    DDV_MaxChars(pDX, m_strResponse, kMaxText);
}

BOOL CApduCommandDlg::OnInitDialog() {
    m_bInitialising = true;
    BOOL result = CDialog::OnInitDialog();
    m_bInitialising = false;
    return result;
}

void CApduCommandDlg::Post(const std::string &text) {
    theMessage = text;
    PostTraceLine(theMessage.c_str(), -1);
}

void CApduCommandDlg::OnChangeCommand() {
    if (m_bInitialising)
        return;
    if (!m_bWritingBack)
        UpdateData(TRUE);
    unsigned n = static_cast<unsigned>(m_strCommand.size());
    m_stcCommandCount.SetWindowText(Format(n % 2 ? "（字节数：%d*）" : "（字节数：%d）", n / 2));
}

void CApduCommandDlg::OnSend() {
    if (!UpdateData(TRUE))
        return;
    if (m_strCommand.empty()) {
        Post("请输入命令：");
        return;
    }
    RemoveAll(m_strCommand, " ");
    if (m_strCommand.size() % 2) {
        Post("输入的命令字节长度不正确！");
        return;
    }
    std::vector<BYTE> command(m_strCommand.size() > kBufferSize ? m_strCommand.size() : kBufferSize, 0);
    DWORD cbCommand = 0;
    if (!HexTextToBytes(m_strCommand.data(), static_cast<DWORD>(m_strCommand.size()), command.data(), &cbCommand) ||
        cbCommand > kBufferSize) {
        Post("字符串转换为字节错误！");
        return;
    }
    Post("下发的命令为:  " + m_strCommand);

    std::vector<BYTE> response(kBufferSize, 0);
    DWORD cbResponse = 0;
    WORD wStatus = 0;
    BOOL ok = theReader.Transmit(command.data(), cbCommand, response.data(), &cbResponse, &wStatus);
    if (!ok || wStatus != kStatusOk) {
        Post(Format("下发命令失败！ 返回的状态码为: 0x%x", wStatus));
        ShowResponse(response.data(), cbResponse, wStatus);
        return;
    }
    Post("下发命令成功！");
    if (cbResponse > 0) {
        Post("响应的数据为：");
        if (ShowResponse(response.data(), cbResponse, kStatusOk) == 0)
            Post(m_strResponse);
    }
}

void CApduCommandDlg::OnOK() {
    OnSend();
}

DWORD CApduCommandDlg::ShowResponse(const BYTE *pbData, DWORD cbData, WORD wStatus) {
    DWORD count = 2;
    UpdateData(TRUE);
    if (wStatus == kStatusOk) {
        if (!pbData && cbData == 0) {
            m_strResponse = Format("0x%x", kStatusOk);
        } else {
            std::vector<char> text(kBufferSize, 0);
            DWORD length = 2 * cbData;
            // The text must fit the 1024-character buffer; a longer answer cannot be shown.
            if (cbData > kBufferSize / 2 || !BytesToHexText(pbData, cbData, text.data(), &length)) {
                Post("字节转换为字符串失败！");
                return RC_TO_TEXT_FAILED;
            }
            count = cbData;
            m_strResponse.assign(text.data(), length);
        }
    } else {
        m_strResponse = Format("0x%x", wStatus);
    }
    m_bWritingBack = true;
    UpdateData(FALSE);
    m_bWritingBack = false;
    m_stcResponseCount.SetWindowText(Format("（字节数：%d）", count));
    return 0;
}
