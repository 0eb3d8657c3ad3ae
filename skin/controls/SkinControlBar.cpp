#include "skin/controls/SkinControlBar.h"

#include "skin/SkinControlObject.h"
#include "skin/controls/SkinDraw.h"
#include "skin/controls/SkinTurnedCanvas.h"

CSkinObject *CSkinControlBar::GetKindSkinObject() {
    return FindKindObject(SKIN_KIND_CONTROLBAR);
}

void CSkinControlBar::Draw(HDC hDC) {
    const CSkinControlObject *pObject = dynamic_cast<const CSkinControlObject *>(m_pSkinObject);
    if (!pObject || !m_hWnd)
        return;
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    if (GetStyle() & (CSkinControl::BAR_ALIGN_LEFT | CSkinControl::BAR_ALIGN_RIGHT)) {
        CSkinTurnedCanvas canvas(hDC, rc);
        if (canvas.IsValid()) {
            DrawNineGrid(canvas.GetDC(), canvas.GetRect(), pObject->m_header.frame, pObject->m_crBackground, TRUE);
            canvas.CopyTo(hDC);
            return;
        }
    }
    DrawNineGrid(hDC, rc, pObject->m_header.frame, pObject->m_crBackground, TRUE);
}
