// A tool bar built from a tool-bar resource (button size and command ids) and the bitmap of the same id.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <string>
#include <vector>
#include "framework/ControlBar.h"
#include "platform/Handle.h"

class CToolBar : public CControlBar {
public:
    CToolBar() = default;
    ~CToolBar() override;

    // dwCtrlStyle: TBSTYLE_* (flat); dwStyle: WS_* plus CBRS_* (tool tips, fly-by help, gripper, side).
    BOOL CreateEx(CWnd *pParentWnd, DWORD dwCtrlStyle = TBSTYLE_FLAT,
                  DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, RECT rcBorders = RECT{0, 0, 0, 0},
                  UINT nID = AFX_IDW_TOOLBAR);
    BOOL Create(CWnd *pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT nID = AFX_IDW_TOOLBAR);

    // Reads the tool-bar resource, loads its image strip and sets one button per id (0 = separator).
    BOOL LoadToolBar(UINT nIDResource);
    // Replaces all buttons; images are taken in order by the non-separator buttons.
    BOOL SetButtons(const UINT *lpIDArray, int nIDCount);
    BOOL SetButtonText(int nIndex, const std::string &text);
    std::string GetButtonText(int nIndex) const;
    void SetSizes(SIZE sizeButton, SIZE sizeImage);
    int GetCount() const;
    UINT GetItemID(int nIndex) const;
    int CommandToIndex(UINT nID) const;

    SIZE CalcFixedLayout() override;
    void OnUpdateCmdUI(CFrameWnd *pTarget, BOOL bDisableIfNoHandler) override;

    // The resource's content: WORD version (1), WORD width, WORD height, WORD count, WORD ids[count].
    struct ResourceData {
        int width = 0;
        int height = 0;
        std::vector<UINT> ids;
    };
    static bool ParseToolBarResource(const BYTE *data, size_t size, ResourceData &out);

private:
    // The smallest button that shows every button's text below an image of the given size.
    SIZE FitButtonText(SIZE sizeImage) const;

    CImageList m_images; // the control only borrows it
    SIZE m_sizeImage = {16, 15};
};
