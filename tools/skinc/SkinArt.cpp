#include "tools/skinc/SkinArt.h"

#include "tools/skinc/SkinFieldValue.h"

#include <fstream>
#include <vector>

namespace {

const char *const kColorKeys[] = {"caption-top",
                                  "caption-bottom",
                                  "caption-inactive-top",
                                  "caption-inactive-bottom",
                                  "outline",
                                  "border",
                                  "border-inactive",
                                  "face",
                                  "face-text",
                                  "accent",
                                  "accent-text",
                                  "button-top",
                                  "button-bottom",
                                  "field",
                                  "glyph",
                                  "glyph-inactive",
                                  "close-hover",
                                  "menu-bg",
                                  "disabled"};
const char *const kNumberKeys[] = {"radius", "button-radius", "gloss"};

} // namespace

bool CSkinArt::LoadTheme(const std::string &path, std::string *error) {
    std::ifstream in(path);
    if (!in) {
        *error = path + ": cannot open";
        return false;
    }
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        std::vector<std::string> tokens;
        if (!CSkinFieldValue::Tokenize(line, &tokens) || tokens.empty() || tokens[0][0] == '#')
            continue;
        bool known = false;
        for (const char *key : kColorKeys)
            known = known || tokens[0] == key;
        for (const char *key : kNumberKeys)
            known = known || tokens[0] == key;
        COLORREF value = 0;
        if (!known || tokens.size() != 2 || !CSkinFieldValue::ParseColor(tokens[1], &value)) {
            *error = path + ":" + std::to_string(number) + ": bad theme line";
            return false;
        }
        m_values[tokens[0]] = static_cast<long>(value);
    }
    for (const char *key : kColorKeys) {
        if (!m_values.count(key)) {
            *error = path + ": missing " + key;
            return false;
        }
    }
    for (const char *key : kNumberKeys) {
        if (!m_values.count(key)) {
            *error = path + ": missing " + key;
            return false;
        }
    }
    return true;
}

COLORREF CSkinArt::C(const char *key) const {
    auto it = m_values.find(key);
    return it == m_values.end() ? 0 : static_cast<COLORREF>(it->second);
}

int CSkinArt::N(const char *key) const {
    auto it = m_values.find(key);
    return it == m_values.end() ? 0 : static_cast<int>(it->second);
}

void CSkinArt::Glyph(CSkinCanvas &c, int l, int t, int r, int b, char glyph, COLORREF color) const {
    int cx = (l + r) / 2, cy = (t + b) / 2;
    switch (glyph) {
    case 'x':
        c.Line(cx - 4, cy - 4, cx + 3, cy + 3, color, 2);
        c.Line(cx + 3, cy - 4, cx - 4, cy + 3, color, 2);
        break;
    case 'm':
        c.Frame(cx - 5, cy - 4, cx + 5, cy + 5, color);
        c.Fill(cx - 5, cy - 4, cx + 5, cy - 2, color);
        break;
    case 'r':
        c.Frame(cx - 2, cy - 5, cx + 6, cy + 2, color);
        c.Fill(cx - 2, cy - 5, cx + 6, cy - 4, color);
        c.Fill(cx - 5, cy - 2, cx + 3, cy + 5, CSkinCanvas::Mix(color, color, 0));
        c.Fill(cx - 4, cy, cx + 2, cy + 4, c.Get(l + 1, t + 1));
        c.Fill(cx - 5, cy - 2, cx + 3, cy, color);
        break;
    case 'n':
        c.Fill(cx - 5, cy + 2, cx + 5, cy + 4, color);
        break;
    default: // a small card reader: a card with a chip, the product this console serves
        c.Fill(cx - 6, cy - 4, cx + 6, cy + 5, color);
        c.Fill(cx - 5, cy - 3, cx + 5, cy + 4, C("field"));
        c.Fill(cx - 4, cy - 2, cx, cy + 2, C("accent"));
        c.Frame(cx - 4, cy - 2, cx, cy + 2, CSkinCanvas::Mix(C("accent"), 0, 40));
        c.Fill(cx + 1, cy + 2, cx + 4, cy + 3, C("outline"));
        break;
    }
}

// Active state in rows 0-52, inactive in rows 53-105: caption 28, side borders 5, bottom border 5.
CSkinCanvas CSkinArt::Frame() const {
    CSkinCanvas c(96, 106);
    const int radius = N("radius");
    for (int state = 0; state < 2; ++state) {
        const int oy = state * 53;
        COLORREF top = C(state == 0 ? "caption-top" : "caption-inactive-top");
        COLORREF bottom = C(state == 0 ? "caption-bottom" : "caption-inactive-bottom");
        COLORREF border = C(state == 0 ? "border" : "border-inactive");
        c.Gradient(0, oy, 96, oy + 28, top, bottom);
        if (N("gloss") != 0)
            c.Gradient(0, oy + 1, 96, oy + 12, CSkinCanvas::Mix(top, 0xFFFFFF, 45),
                       CSkinCanvas::Mix(top, 0xFFFFFF, 15));
        c.Fill(0, oy + 28, 96, oy + 53, border);
        c.Fill(5, oy + 28, 91, oy + 48, C("face"));
        c.Frame(4, oy + 27, 92, oy + 49, CSkinCanvas::Mix(border, 0, 35));
        c.Fill(5, oy + 28, 91, oy + 48, C("face"));
        c.RoundFrame(0, oy, 96, oy + 53, radius, C("outline"));
        c.RoundCorners(0, oy, 96, oy + 53, radius, true, false);
        c.RoundCorners(0, oy, 96, oy + 53, 3, false, true);
        // An inner highlight under the outline keeps the caption from looking flat.
        c.Fill(radius, oy + 1, 96 - radius, oy + 2, CSkinCanvas::Mix(top, 0xFFFFFF, 50));
    }
    return c;
}

// Cells of 21 x 18: columns normal, hover, pressed; rows close, maximise, restore, minimise, system menu.
CSkinCanvas CSkinArt::Caption() const {
    CSkinCanvas c(63, 90);
    const char glyphs[] = {'x', 'm', 'r', 'n', 's'};
    // The same pieces sit on active and inactive captions: each button is a whole tile, and the few corner
    // pixels take a colour between the two captions.
    const COLORREF corner =
        CSkinCanvas::Mix(CSkinCanvas::Mix(C("caption-top"), C("caption-bottom"), 50),
                         CSkinCanvas::Mix(C("caption-inactive-top"), C("caption-inactive-bottom"), 50), 50);
    auto luma = [](COLORREF x) { return (GetRValue(x) * 299 + GetGValue(x) * 587 + GetBValue(x) * 114) / 1000; };
    for (int row = 0; row < 5; ++row) {
        for (int col = 0; col < 3; ++col) {
            int l = col * 21, t = row * 18, r = l + 21, b = t + 18;
            c.Fill(l, t, r, b, corner);
            if (glyphs[row] == 's') {
                // The system-menu piece is the 16 x 16 square at (l + 2, t + 1).
                COLORREF tile = col == 0   ? CSkinCanvas::Mix(C("field"), C("caption-top"), 20)
                                : col == 1 ? CSkinCanvas::Mix(C("field"), C("accent"), 30)
                                           : CSkinCanvas::Mix(C("field"), C("accent"), 55);
                c.Fill(l + 2, t + 1, l + 18, t + 17, tile);
                c.RoundFrame(l + 2, t + 1, l + 18, t + 17, 2, CSkinCanvas::Mix(C("outline"), tile, 35));
                c.RoundCorners(l + 2, t + 1, l + 18, t + 17, 2, true, true, corner);
                Glyph(c, l + 2, t + 1, l + 18, t + 17, 's', C("outline"));
                continue;
            }
            COLORREF fill = CSkinCanvas::Mix(C("caption-top"), 0xFFFFFF, 18);
            if (col == 1)
                fill = glyphs[row] == 'x' ? C("close-hover") : CSkinCanvas::Mix(C("caption-top"), 0xFFFFFF, 40);
            if (col == 2)
                fill = glyphs[row] == 'x' ? CSkinCanvas::Mix(C("close-hover"), 0, 30)
                                          : CSkinCanvas::Mix(C("caption-bottom"), 0, 30);
            c.Gradient(l, t, r, b, CSkinCanvas::Mix(fill, 0xFFFFFF, 20), fill);
            c.RoundFrame(l, t, r, b, 3, CSkinCanvas::Mix(C("outline"), fill, 30));
            c.RoundCorners(l, t, r, b, 3, true, true, corner);
            // Hovered and pressed glyphs contrast with their tile whatever the palette.
            COLORREF glyph = col == 0 ? C("glyph") : luma(fill) > 150 ? C("outline") : RGB(255, 255, 255);
            Glyph(c, l, t, r, b, glyphs[row], glyph);
        }
    }
    return c;
}

// Bar background (0-22), hovered entry (22-44), open entry (44-66).
CSkinCanvas CSkinArt::MenuBar() const {
    CSkinCanvas c(40, 66);
    COLORREF bg = C("menu-bg");
    c.Gradient(0, 0, 40, 22, CSkinCanvas::Mix(bg, 0xFFFFFF, 30), bg);
    c.Fill(0, 21, 40, 22, CSkinCanvas::Mix(bg, 0, 20));
    c.Gradient(0, 22, 40, 44, CSkinCanvas::Mix(bg, 0xFFFFFF, 30), bg);
    // Tinted towards the accent from the bar's own colour, so light and dark themes keep their text colours.
    c.Gradient(1, 23, 39, 43, CSkinCanvas::Mix(CSkinCanvas::Mix(bg, C("accent"), 30), 0xFFFFFF, 15),
               CSkinCanvas::Mix(bg, C("accent"), 35));
    c.RoundFrame(1, 23, 39, 43, 3, C("accent"));
    c.Gradient(0, 44, 40, 66, CSkinCanvas::Mix(bg, 0xFFFFFF, 30), bg);
    c.Gradient(1, 45, 39, 66, C("accent"), CSkinCanvas::Mix(C("accent"), 0, 20));
    c.RoundCorners(1, 45, 39, 66, 3, true, false, CSkinCanvas::Mix(bg, 0xFFFFFF, 20));
    return c;
}

// 16 x 16 cells: columns normal, hover, pressed; rows minimise, restore, close, icon.
CSkinCanvas CSkinArt::Mdi() const {
    CSkinCanvas c(48, 64, C("menu-bg"));
    const char glyphs[] = {'n', 'r', 'x', 's'};
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 3; ++col) {
            int l = col * 16, t = row * 16;
            COLORREF fill = col == 0   ? C("menu-bg")
                            : col == 1 ? CSkinCanvas::Mix(C("accent"), 0xFFFFFF, 50)
                                       : C("accent");
            c.Fill(l, t, l + 16, t + 16, fill);
            if (col > 0 && glyphs[row] != 's')
                c.Frame(l, t, l + 16, t + 16, C("accent"));
            CSkinCanvas cell(21, 18, fill);
            Glyph(cell, 0, 0, 21, 18, glyphs[row], col == 2 ? C("accent-text") : C("face-text"));
            for (int y = 0; y < 14; ++y)
                for (int x = 0; x < 14; ++x)
                    c.Set(l + 1 + x, t + 1 + y, cell.Get(x + 3, y + 2));
        }
    }
    return c;
}

// Frame (0-40 square, 4-pixel border), selection (40,0)-(80,20), separator (40,20)-(80,26),
// submenu arrow (40,26)-(52,38), check (52,26)-(64,38).
CSkinCanvas CSkinArt::Popup() const {
    CSkinCanvas c(80, 40, C("menu-bg"));
    COLORREF bg = C("menu-bg");
    c.Fill(0, 0, 40, 40, CSkinCanvas::Mix(bg, C("outline"), 15));
    c.Fill(4, 4, 36, 36, bg);
    c.Frame(0, 0, 40, 40, C("outline"));
    c.Frame(1, 1, 39, 39, CSkinCanvas::Mix(bg, 0xFFFFFF, 60));
    c.Fill(0, 4, 4, 36, CSkinCanvas::Mix(C("accent"), bg, 30)); // an accent stripe down the left border
    c.Frame(0, 0, 40, 40, C("outline"));
    c.Gradient(40, 0, 80, 20, CSkinCanvas::Mix(C("accent"), 0xFFFFFF, 10), CSkinCanvas::Mix(C("accent"), 0, 15));
    c.RoundFrame(40, 0, 80, 20, 3, CSkinCanvas::Mix(C("accent"), 0, 25));
    c.RoundCorners(40, 0, 80, 20, 2, true, true, bg);
    c.Fill(40, 20, 80, 26, bg);
    c.Fill(42, 22, 78, 23, CSkinCanvas::Mix(bg, 0, 25));
    c.Fill(42, 23, 78, 24, CSkinCanvas::Mix(bg, 0xFFFFFF, 70));
    c.Fill(40, 26, 64, 38, bg);
    c.Arrow(40, 26, 52, 38, 'r', C("face-text"));
    c.Line(54, 32, 56, 34, C("face-text"), 2);
    c.Line(56, 34, 61, 28, C("face-text"), 2);
    return c;
}

// States of 48 x 24: normal, pressed, default, focused, hover, disabled.
CSkinCanvas CSkinArt::Button() const {
    CSkinCanvas c(48, 144);
    const int radius = N("button-radius");
    for (int s = 0; s < 6; ++s) {
        int t = s * 24, b = t + 24;
        COLORREF top = C("button-top"), bottom = C("button-bottom"), edge = C("outline");
        if (s == 1) {
            top = CSkinCanvas::Mix(C("button-bottom"), 0, 12);
            bottom = CSkinCanvas::Mix(C("button-top"), 0, 5);
        } else if (s == 4) {
            top = CSkinCanvas::Mix(C("button-top"), C("accent"), 20);
            bottom = CSkinCanvas::Mix(C("button-bottom"), C("accent"), 25);
        } else if (s == 5) {
            top = bottom = C("disabled");
            edge = CSkinCanvas::Mix(C("disabled"), 0, 25);
        }
        c.Gradient(0, t, 48, b, top, bottom);
        if (N("gloss") != 0 && s != 5)
            c.Gradient(1, t + 1, 47, t + 10, CSkinCanvas::Mix(top, 0xFFFFFF, 55), CSkinCanvas::Mix(top, 0xFFFFFF, 20));
        if (s == 2 || s == 3)
            c.RoundFrame(1, t + 1, 47, b - 1, radius > 1 ? radius - 1 : 1, C("accent"));
        if (s == 3)
            c.RoundFrame(2, t + 2, 46, b - 2, radius > 2 ? radius - 2 : 1, CSkinCanvas::Mix(C("accent"), 0xFFFFFF, 50));
        c.RoundFrame(0, t, 48, b, radius, edge);
        c.RoundCorners(0, t, 48, b, radius, true, true);
    }
    return c;
}

// 13 x 13 marks in row 0 (check box) and row 1 (radio): unchecked, checked, hover, disabled unchecked,
// disabled checked; the face swatch at (65,0)-(73,8).
CSkinCanvas CSkinArt::Check() const {
    CSkinCanvas c(73, 26, C("face"));
    for (int row = 0; row < 2; ++row) {
        for (int col = 0; col < 5; ++col) {
            int l = col * 13, t = row * 13;
            bool disabled = col >= 3;
            bool checked = col == 1 || col == 4;
            COLORREF box = disabled   ? C("disabled")
                           : col == 2 ? CSkinCanvas::Mix(C("field"), C("accent"), 25)
                                      : C("field");
            COLORREF edge = disabled ? CSkinCanvas::Mix(C("disabled"), 0, 30) : C("outline");
            COLORREF mark = disabled ? CSkinCanvas::Mix(C("disabled"), 0, 45) : C("accent");
            if (row == 0) {
                c.Gradient(l, t, l + 13, t + 13, CSkinCanvas::Mix(box, 0, 8), box);
                c.Frame(l, t, l + 13, t + 13, edge);
                if (checked) {
                    c.Line(l + 3, t + 6, l + 5, t + 8, mark, 2);
                    c.Line(l + 5, t + 8, l + 9, t + 3, mark, 2);
                }
            } else {
                c.Disc(2 * l + 13, 2 * t + 13, 12, box);
                c.Ring(2 * l + 13, 2 * t + 13, 13, edge);
                if (checked)
                    c.Disc(2 * l + 13, 2 * t + 13, 5, mark);
            }
        }
    }
    return c;
}

CSkinCanvas CSkinArt::Controls() const {
    CSkinCanvas c(128, 180, C("face"));
    const COLORREF face = C("face"), field = C("field"), edge = C("outline"), accent = C("accent");
    const COLORREF dark = CSkinCanvas::Mix(face, 0, 35), light = CSkinCanvas::Mix(face, 0xFFFFFF, 70);
    // Combo field (0,0)-(40,22) and its button states, 16 x 18 at x 40, 56, 72, 88.
    c.Fill(0, 0, 40, 22, field);
    c.Frame(0, 0, 40, 22, edge);
    c.Bevel(1, 1, 39, 21, CSkinCanvas::Mix(field, 0, 15), field);
    for (int s = 0; s < 4; ++s) {
        int l = 40 + 16 * s;
        COLORREF top = s == 1   ? CSkinCanvas::Mix(C("button-bottom"), 0, 10)
                       : s == 2 ? CSkinCanvas::Mix(C("button-top"), 0xFFFFFF, 40)
                       : s == 3 ? C("disabled")
                                : C("button-top");
        COLORREF bottom = s == 3 ? C("disabled") : s == 1 ? C("button-top") : C("button-bottom");
        c.Gradient(l, 0, l + 16, 18, top, bottom);
        c.Frame(l, 0, l + 16, 18, s == 3 ? dark : edge);
        c.Arrow(l, 0, l + 16, 18, 'd', s == 3 ? dark : C("face-text"));
    }
    c.Fill(120, 0, 128, 8, face); // face swatch
    // Progress trough (0,22)-(40,38) and bar (40,22)-(80,38).
    c.Fill(0, 22, 40, 38, CSkinCanvas::Mix(field, face, 40));
    c.Frame(0, 22, 40, 38, edge);
    c.Bevel(1, 23, 39, 37, dark, light);
    c.Gradient(40, 22, 80, 38, CSkinCanvas::Mix(accent, 0xFFFFFF, 45), CSkinCanvas::Mix(accent, 0, 15));
    c.Fill(40, 22, 80, 23, CSkinCanvas::Mix(accent, 0xFFFFFF, 70));
    for (int x = 48; x < 80; x += 8)
        c.Fill(x, 23, x + 1, 38, CSkinCanvas::Mix(accent, 0, 25));
    // Scroll arrows 16 x 16 at y 38: normal, pressed, hot, disabled; left then right.
    for (int s = 0; s < 4; ++s) {
        for (int d = 0; d < 2; ++d) {
            int l = 32 * s + 16 * d;
            COLORREF top = s == 1   ? CSkinCanvas::Mix(accent, 0, 10)
                           : s == 2 ? CSkinCanvas::Mix(accent, 0xFFFFFF, 55)
                           : s == 3 ? C("disabled")
                                    : C("button-top");
            COLORREF bottom = s == 1   ? accent
                              : s == 2 ? CSkinCanvas::Mix(accent, 0xFFFFFF, 30)
                              : s == 3 ? C("disabled")
                                       : C("button-bottom");
            c.Gradient(l, 38, l + 16, 54, top, bottom);
            c.Frame(l, 38, l + 16, 54, s == 3 ? dark : edge);
            c.Arrow(l, 38, l + 16, 54, d == 0 ? 'l' : 'r', s == 1 ? C("accent-text") : s == 3 ? dark : C("face-text"));
        }
    }
    // Tracks (0,54)-(16,70) normal, (16,54)-(32,70) pressed; thumbs 24 x 16 normal, hot, pressed; size box.
    c.Fill(0, 54, 16, 70, CSkinCanvas::Mix(face, field, 50));
    c.Fill(0, 54, 16, 55, dark);
    c.Fill(0, 69, 16, 70, dark);
    c.Fill(16, 54, 32, 70, CSkinCanvas::Mix(face, 0, 20));
    for (int s = 0; s < 3; ++s) {
        int l = 32 + 24 * s;
        COLORREF top = s == 0 ? C("button-top") : s == 1 ? CSkinCanvas::Mix(accent, 0xFFFFFF, 55) : accent;
        COLORREF bottom = s == 0   ? C("button-bottom")
                          : s == 1 ? CSkinCanvas::Mix(accent, 0xFFFFFF, 25)
                                   : CSkinCanvas::Mix(accent, 0, 20);
        c.Fill(l, 54, l + 24, 70, CSkinCanvas::Mix(face, field, 50));
        c.Gradient(l, 55, l + 24, 69, top, bottom);
        c.RoundFrame(l, 55, l + 24, 69, 3, edge);
        c.RoundCorners(l, 55, l + 24, 69, 3, true, true, CSkinCanvas::Mix(face, field, 50));
        for (int g = -3; g <= 3; g += 3)
            c.Fill(l + 12 + g, 59, l + 13 + g, 65, s == 2 ? C("accent-text") : dark);
    }
    c.Fill(104, 54, 120, 70, face);
    for (int i = 0; i < 3; ++i)
        c.Line(106 + 4 * i, 68, 118, 56 + 4 * i, dark);
    // Slider channel (0,70)-(40,76) and thumb 11 x 20 at (40,70).
    c.Fill(0, 70, 40, 76, face);
    c.Fill(0, 71, 40, 75, CSkinCanvas::Mix(field, face, 30));
    c.Frame(0, 71, 40, 75, dark);
    c.Fill(40, 70, 51, 90, face);
    c.Gradient(40, 70, 51, 86, C("button-top"), C("button-bottom"));
    c.Frame(40, 70, 51, 86, edge);
    for (int i = 0; i < 5; ++i)
        c.Fill(40 + i, 86 + i, 51 - i, 87 + i, i == 0 ? edge : C("button-bottom"));
    for (int i = 1; i < 5; ++i) {
        c.Set(40 + i - 1, 86 + i, edge);
        c.Set(51 - i, 86 + i, edge);
    }
    // Spin halves 16 x 10 at y 90: normal, hot, pressed, disabled; up then down.
    for (int s = 0; s < 4; ++s) {
        for (int d = 0; d < 2; ++d) {
            int l = 32 * s + 16 * d;
            COLORREF top = s == 1   ? CSkinCanvas::Mix(accent, 0xFFFFFF, 55)
                           : s == 2 ? accent
                           : s == 3 ? C("disabled")
                                    : C("button-top");
            COLORREF bottom = s == 3 ? C("disabled") : s == 2 ? CSkinCanvas::Mix(accent, 0, 15) : C("button-bottom");
            c.Gradient(l, 90, l + 16, 100, top, bottom);
            c.Frame(l, 90, l + 16, 100, s == 3 ? dark : edge);
            c.Arrow(l, 90, l + 16, 100, d == 0 ? 'u' : 'd', s == 2 ? C("accent-text") : s == 3 ? dark : C("face-text"));
        }
    }
    // Status bar (0,100)-(40,122) and pane (40,100)-(80,122).
    c.Gradient(0, 100, 40, 122, CSkinCanvas::Mix(face, 0xFFFFFF, 40), CSkinCanvas::Mix(face, 0, 8));
    c.Fill(0, 100, 40, 101, dark);
    c.Gradient(40, 100, 80, 122, CSkinCanvas::Mix(face, 0xFFFFFF, 40), CSkinCanvas::Mix(face, 0, 8));
    c.Bevel(42, 102, 78, 120, dark, light);
    // Tool bar (0,122)-(40,150) and buttons 24 x 24: normal (the bar), pressed, hot.
    c.Gradient(0, 122, 40, 150, CSkinCanvas::Mix(C("menu-bg"), 0xFFFFFF, 35), C("menu-bg"));
    c.Fill(0, 149, 40, 150, dark);
    c.Gradient(40, 122, 64, 146, CSkinCanvas::Mix(C("menu-bg"), 0xFFFFFF, 35),
               CSkinCanvas::Mix(C("menu-bg"), 0xFFFFFF, 5));
    c.Gradient(64, 122, 88, 146, CSkinCanvas::Mix(accent, 0xFFFFFF, 30), CSkinCanvas::Mix(accent, 0xFFFFFF, 10));
    c.RoundFrame(64, 122, 88, 146, 3, CSkinCanvas::Mix(accent, 0, 30));
    c.Gradient(88, 122, 112, 146, CSkinCanvas::Mix(accent, 0xFFFFFF, 70), CSkinCanvas::Mix(accent, 0xFFFFFF, 45));
    c.RoundFrame(88, 122, 112, 146, 3, accent);
    // Group frame (0,150)-(40,180), rounded outline; caption swatch (40,150)-(56,166).
    c.Fill(0, 150, 40, 180, face);
    c.RoundFrame(0, 150, 40, 180, 5, dark);
    c.RoundFrame(1, 151, 41, 181, 5, light);
    c.RoundFrame(0, 150, 40, 180, 5, dark);
    c.Fill(40, 150, 56, 166, face);
    return c;
}

std::map<std::string, CSkinCanvas> CSkinArt::Draw() const {
    std::map<std::string, CSkinCanvas> out;
    out.emplace("frame.bmp", Frame());
    out.emplace("caption.bmp", Caption());
    out.emplace("menubar.bmp", MenuBar());
    out.emplace("mdi.bmp", Mdi());
    out.emplace("popup.bmp", Popup());
    out.emplace("button.bmp", Button());
    out.emplace("check.bmp", Check());
    out.emplace("controls.bmp", Controls());
    return out;
}

bool CSkinArt::WriteAll(const std::string &folder, std::string *error) const {
    for (const auto &entry : Draw()) {
        if (!entry.second.SaveBmp(folder + "/" + entry.first)) {
            *error = folder + "/" + entry.first + ": cannot write";
            return false;
        }
    }
    return true;
}
