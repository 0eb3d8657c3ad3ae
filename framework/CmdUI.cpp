#include "framework/CmdUI.h"

#include "framework/CmdTarget.h"

void CCmdUI::Enable(BOOL bOn) {
    if (m_hMenu)
        ::EnableMenuItem(m_hMenu, m_nIndex, MF_BYPOSITION | (bOn ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
    m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int nCheck) {
    if (m_hMenu)
        ::CheckMenuItem(m_hMenu, m_nIndex, MF_BYPOSITION | (nCheck ? MF_CHECKED : MF_UNCHECKED));
}

void CCmdUI::SetText(const std::string &text) {
    if (!m_hMenu)
        return;
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STRING;
    info.dwTypeData = const_cast<char *>(text.c_str());
    ::SetMenuItemInfoA(m_hMenu, m_nIndex, TRUE, &info);
}

void CCmdUI::DoUpdate(CCmdTarget *pTarget, BOOL bDisableIfNoHandler) {
    m_bEnableChanged = FALSE;
    m_bHandled = FALSE;
    if (!pTarget)
        return;
    pTarget->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this);
    if (!m_bHandled && bDisableIfNoHandler && !m_bEnableChanged)
        Enable(pTarget->OnCmdMsg(m_nID, 0, nullptr, TRUE));
}
