#include "framework/CmdTarget.h"

#include "framework/CmdUI.h"

void CCmdTarget::Add(UINT first, UINT last, int code, std::function<BOOL(UINT, CCmdUI *)> handler) {
    m_entries.push_back(Entry{first, last, code, std::move(handler)});
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, CCmdUI *pCmdUI, BOOL bProbe) {
    // Accelerators arrive with code 1 and mean the same as the menu item.
    int code = (nCode == 1) ? 0 : nCode;
    for (const Entry &e : m_entries) {
        if (nID < e.first || nID > e.last || e.code != code)
            continue;
        if (bProbe)
            return TRUE;
        if (code != CN_UPDATE_COMMAND_UI)
            return e.handler(nID, pCmdUI);
        if (!pCmdUI)
            return FALSE;
        // An update handler that asks for the next target leaves the item to it.
        pCmdUI->m_bContinueRouting = FALSE;
        e.handler(nID, pCmdUI);
        pCmdUI->m_bHandled = !pCmdUI->m_bContinueRouting;
        return pCmdUI->m_bHandled;
    }
    return FALSE;
}
