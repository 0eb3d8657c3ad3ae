// The APDU command dialog: one command typed as hexadecimal text, sent to the card, its answer shown and traced.
#pragma once

#include <windows.h>
#include <string>
#include "framework/Dialog.h"
#include "framework/Static.h"

class CApduCommandDlg : public CDialog {
public:
    explicit CApduCommandDlg(CWnd *pParent = nullptr);

    BOOL OnInitDialog() override;
    // Shows the byte count of the typed text ("*" when a digit is left over).
    void OnChangeCommand();
    void OnSend();
    // Enter reaches the dialog as its default OK action; it sends the typed command instead of closing the dialog
    // (and losing the answer on screen). Escape and the close box still cancel.
    void OnOK() override;
    // Shows the answer: the data as hexadecimal text for 9000, else the status. 0, or RC_TO_TEXT_FAILED.
    DWORD ShowResponse(const BYTE *pbData, DWORD cbData, WORD wStatus);

    static const int kMaxText = 1024;
    static const DWORD kBufferSize = 1024;

    CStatic m_stcCommandCount;
    CStatic m_stcResponseCount;
    std::string m_strCommand;
    std::string m_strResponse;

protected:
    void DoDataExchange(CDataExchange *pDX) override;

private:
    // Posts theMessage, composed from the given text.
    static void Post(const std::string &text);

    // The edits' first filling is not a change by the user: the counts keep the resource text until then.
    bool m_bInitialising = false;
    // Writing the members back changes the command edit, whose change notice must not read the other controls
    // back over the members in the middle of the write.
    bool m_bWritingBack = false;
};
