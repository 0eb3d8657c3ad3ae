// Draws the artwork of one skin from its palette: every skin shares the atlas layout, the sources cut from it.
#pragma once

#include "platform/WinCompat.h"
#include "tools/skinc/SkinCanvas.h"

#include <map>
#include <string>

class CSkinArt {
public:
    // Reads "key value" lines (#RRGGBB colours, numbers); false with a message for unknown or missing keys.
    bool LoadTheme(const std::string &path, std::string *error);
    // Writes frame.bmp, caption.bmp, menubar.bmp, mdi.bmp, popup.bmp, button.bmp, check.bmp, controls.bmp.
    bool WriteAll(const std::string &folder, std::string *error) const;

    // The atlases by file name.
    std::map<std::string, CSkinCanvas> Draw() const;

private:
    COLORREF C(const char *key) const;
    int N(const char *key) const;

    CSkinCanvas Frame() const;
    CSkinCanvas Caption() const;
    CSkinCanvas MenuBar() const;
    CSkinCanvas Mdi() const;
    CSkinCanvas Popup() const;
    CSkinCanvas Button() const;
    CSkinCanvas Check() const;
    CSkinCanvas Controls() const;
    // A caption-button glyph: 'x' close, 'm' maximise, 'r' restore, 'n' minimise, 's' system menu.
    void Glyph(CSkinCanvas &c, int l, int t, int r, int b, char glyph, COLORREF color) const;

    std::map<std::string, long> m_values;
};
