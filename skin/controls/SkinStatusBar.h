// Painter of status bars (skin kind 15, "StatusBar"): the bar's frame and each pane's image with its text; without a
// status-bar object in the skin it draws with an object of the defaults that it carries.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "skin/SkinStatusBarObject.h"
#include "skin/controls/SkinControl.h"

class CSkinStatusBar : public CSkinControl {
public:
    explicit CSkinStatusBar(CSkinWnd *pOwner);

    void Draw(HDC hDC) override;
    // None is answered by the embedded default object: the bar stays skinned.
    CSkinObject *SetSkinObject(CSkinObject *pObject) override;
    // The kind's object or the default; reads every pane's text, then subclasses.
    BOOL Attach(HWND hWnd) override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    CSkinObject *GetKindSkinObject() override;

    const std::vector<std::string> &GetTexts() const { return m_texts; }
    const CSkinStatusBarObject &GetDefaultObject() const { return m_default; }

private:
    LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetPaneText(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnSetParts(UINT message, WPARAM wParam, LPARAM lParam);
    // Reads the number of parts and the text of each from the control.
    void ReadTexts();
    // A text the window procedure was given, in the window's character set.
    std::string TextArgument(LPARAM lParam, bool bWide) const;

    CSkinStatusBarObject m_default;
    std::vector<std::string> m_texts;
};
