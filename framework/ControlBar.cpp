#include "framework/ControlBar.h"

#include "framework/DockBar.h"
#include "framework/FrameWnd.h"

void CControlBar::AttachToFrame(CWnd *pParent) {
    m_pDockSite = dynamic_cast<CFrameWnd *>(pParent);
    if (m_pDockSite)
        m_pDockSite->AddControlBar(this);
}

void CControlBar::OnDestroy() {
    if (m_pDockBar)
        m_pDockBar->RemoveControlBar(this);
    m_pDockBar = nullptr;
    if (m_pDockSite)
        m_pDockSite->RemoveControlBar(this);
    m_pDockSite = nullptr;
    CWnd::OnDestroy();
}
