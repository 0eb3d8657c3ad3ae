#include "tools/skinc/SkinPreview.h"

#include "platform/RectSize.h"
#include "skin/SkinButtonObject.h"
#include "skin/SkinCaptionButtonObject.h"
#include "skin/SkinCheckObject.h"
#include "skin/SkinFrameLayout.h"
#include "skin/SkinPopupMenuObject.h"
#include "skin/SkinProgressObject.h"
#include "skin/SkinScrollBarObject.h"
#include "skin/SkinStatusBarObject.h"
#include "skin/SkinToolBarObject.h"
#include "skin/controls/NineGrid.h"

#include <algorithm>

namespace {

RECT Offset(RECT rc, LONG dx, LONG dy) {
    return RECT{rc.left + dx, rc.top + dy, rc.right + dx, rc.bottom + dy};
}

} // namespace

CSkinPreview::CSkinPreview(CSkin &skin) : m_skin(skin) {}

void CSkinPreview::DrawPiece(CSkinCanvas &canvas, const RECT &dest, const SkinPiece &piece, COLORREF fallback,
                             bool fill, bool keyed) {
    const CSkinImage *image = CNineGrid::IsEmpty(piece) ? nullptr : m_skin.FindImage(piece.szImage);
    if (CNineGrid::IsRectEmpty(dest))
        return;
    if (image == nullptr) {
        if (fill)
            canvas.Fill(dest.left, dest.top, dest.right, dest.bottom, fallback);
        return;
    }
    // The cut is clamped into the image.
    LONG l = std::max<LONG>(0, std::min(piece.rcSource.left, piece.rcSource.right));
    LONG r = std::min<LONG>(image->GetWidth(), std::max(piece.rcSource.left, piece.rcSource.right));
    LONG t = std::max<LONG>(0, std::min(piece.rcSource.top, piece.rcSource.bottom));
    LONG b = std::min<LONG>(image->GetHeight(), std::max(piece.rcSource.top, piece.rcSource.bottom));
    if (r <= l || b <= t) {
        if (fill)
            canvas.Fill(dest.left, dest.top, dest.right, dest.bottom, fallback);
        return;
    }
    const LONG w = r - l, h = b - t;
    auto put = [&](LONG x, LONG y, LONG sx, LONG sy) {
        RGBQUAD q = image->GetPixelColor(static_cast<DWORD>(l + sx), static_cast<DWORD>(t + sy));
        COLORREF c = RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
        if (!(keyed && c == CSkinCanvas::KEY))
            canvas.Set(x, y, c);
    };
    if (piece.dwMode == PIECE_COPY || piece.dwMode == PIECE_TILE) {
        std::vector<RECT> tiles = piece.dwMode == PIECE_TILE ? CNineGrid::TileRects(dest, w, h)
                                                             : std::vector<RECT>{CNineGrid::CopyRect(dest, w, h)};
        for (const RECT &tile : tiles)
            for (LONG y = tile.top; y < tile.bottom; ++y)
                for (LONG x = tile.left; x < tile.right; ++x)
                    put(x, y, x - tile.left, y - tile.top);
        return;
    }
    for (LONG y = dest.top; y < dest.bottom; ++y)
        for (LONG x = dest.left; x < dest.right; ++x)
            put(x, y, (x - dest.left) * w / Width(dest), (y - dest.top) * h / Height(dest));
}

void CSkinPreview::DrawNineGrid(CSkinCanvas &canvas, const RECT &dest, const SkinImageRef &ref, COLORREF fallback,
                                bool fill, bool keyed, bool skipCentre) {
    CNineGrid::Cell cells[CNineGrid::CELL_COUNT];
    CNineGrid::Layout(ref, dest, cells);
    for (int i = 0; i < CNineGrid::CELL_COUNT; ++i) {
        if (skipCentre && i == CNineGrid::CENTRE)
            continue;
        DrawPiece(canvas, cells[i].rcDest, cells[i].piece, fallback, fill, keyed);
    }
}

void CSkinPreview::Text(CSkinCanvas &canvas, int left, int centreY, int width, COLORREF color) {
    // Words as bars: enough to judge colour and contrast without a font engine.
    static const int words[] = {22, 14, 30, 10, 18, 26, 12};
    int x = left;
    for (int i = 0; x < left + width; ++i) {
        int w = std::min(words[i % 7], left + width - x);
        canvas.Fill(x, centreY - 2, x + w, centreY + 2, color);
        x += w + 5;
    }
}

void CSkinPreview::Frame(CSkinCanvas &canvas, CSkinFrameObject &frame, const RECT &at, bool active, bool menu) {
    const SkinFramedRecord &f = frame.m_framed;
    const LONG W = Width(at), H = Height(at);
    typedef CSkinFrameLayout L;
    RECT p[SkinFramedRecord::PART_COUNT];
    L::LayoutParts(f, W, H, p);
    for (int i = 0; i < SkinFramedRecord::PART_COUNT; ++i) {
        COLORREF fallback = i == L::CENTRE ? f.crBackground : active ? f.crActiveBorder : f.crInactiveBorder;
        DrawPiece(canvas, Offset(p[i], at.left, at.top), f.pieces[(active ? 0 : SkinFramedRecord::INACTIVE) + i],
                  fallback, true, true);
    }
    Text(canvas, at.left + p[L::TOP].left + 4, at.top + Height(p[L::TOP]) / 2, 90, f.captionFont.crText);
    for (const auto &child : frame.GetChildren()) {
        auto *button = dynamic_cast<CSkinCaptionButtonObject *>(child.object.get());
        if (button == nullptr)
            continue;
        RECT rc = L::CaptionButtonRect(f, *button, W);
        // Show the hover state on the close button of the active frame.
        const SkinPiece &piece = active && button->m_dwAction == CSkinCaptionButtonObject::ACTION_CLOSE &&
                                         !CNineGrid::IsEmpty(button->m_hover)
                                     ? button->m_hover
                                     : button->m_normal;
        DrawPiece(canvas, Offset(rc, at.left, at.top), piece, 0, false);
    }
    if (!menu)
        return;
    const CSkinMenuBarObject &bar = frame.m_menuBar;
    const RECT &inset = bar.m_background.rcMargins;
    const LONG entryMarginX = std::max(bar.m_hoverImage.rcMargins.left, bar.m_openImage.rcMargins.left) +
                              std::max(bar.m_hoverImage.rcMargins.right, bar.m_openImage.rcMargins.right);
    const LONG entryHeight = 13 + std::max(bar.m_hoverImage.rcMargins.top, bar.m_openImage.rcMargins.top) +
                             std::max(bar.m_hoverImage.rcMargins.bottom, bar.m_openImage.rcMargins.bottom);
    const RECT inside = Offset(L::Inside(p), at.left, at.top);
    RECT rc{inside.left, inside.top, inside.right, inside.top + entryHeight + 2 + inset.top + inset.bottom};
    DrawNineGrid(canvas, rc, bar.m_background, bar.m_crBackground, true);
    LONG x = rc.left + inset.left;
    const int widths[] = {28, 40, 52, 30};
    for (int i = 0; i < 4; ++i) {
        RECT entry{x, rc.top + inset.top + 1, x + widths[i] + entryMarginX, rc.top + inset.top + 1 + entryHeight};
        COLORREF text = bar.m_normalText.GetTextColor();
        if (i == 1) {
            DrawNineGrid(canvas, entry, bar.m_hoverImage, bar.m_crHoverFill, true);
            text = bar.m_hoverText.GetTextColor();
        } else if (i == 2) {
            DrawNineGrid(canvas, entry, bar.m_openImage, bar.m_crOpenFill, true);
            text = bar.m_openText.GetTextColor();
        }
        Text(canvas, entry.left + entryMarginX / 2, (entry.top + entry.bottom) / 2, widths[i], text);
        x = entry.right;
    }
}

void CSkinPreview::Popup(CSkinCanvas &canvas, const RECT &at) {
    auto *popup = dynamic_cast<CSkinPopupMenuObject *>(m_skin.FindObjectByKind(SKIN_KIND_POPUPMENU));
    if (popup == nullptr)
        return;
    const SkinFramedRecord &f = popup->m_framed;
    RECT p[SkinFramedRecord::PART_COUNT];
    CSkinFrameLayout::LayoutBorders(f, Width(at), Height(at), p);
    for (int i = 0; i < SkinFramedRecord::PART_COUNT; ++i)
        DrawPiece(canvas, Offset(p[i], at.left, at.top), f.pieces[i], f.crBackground, true, true);
    const RECT inside = Offset(CSkinFrameLayout::Inside(p), at.left, at.top);
    const RECT &inset = popup->m_selection.rcMargins;
    const LONG itemHeight = 13 + inset.top + inset.bottom + 2;
    const char kinds[] = {'n', 'h', 's', 'c', 'd', 'a'}; // normal, highlighted, separator, checked, disabled, arrow
    for (int i = 0; i < 6; ++i) {
        RECT item{inside.left, inside.top + i * itemHeight, inside.right, inside.top + (i + 1) * itemHeight};
        COLORREF text = popup->m_normalText.GetTextColor();
        if (kinds[i] == 's') {
            const SkinImageRef &sep = popup->m_separator;
            LONG h = Height(sep.rcSource);
            RECT line{item.left, (item.top + item.bottom - h) / 2, item.right, (item.top + item.bottom + h) / 2};
            DrawNineGrid(canvas, line, sep, popup->m_crSeparatorFill, true);
            continue;
        }
        if (kinds[i] == 'h') {
            DrawNineGrid(canvas, item, popup->m_selection, popup->m_crHighlightFill, true);
            text = popup->m_highlightText.GetTextColor();
        }
        if (kinds[i] == 'd')
            text = popup->m_disabledText.GetTextColor();
        if (kinds[i] == 'c') {
            const SkinPiece &check = popup->m_check;
            RECT box{item.left + inset.left, item.top, item.left + inset.left + itemHeight, item.bottom};
            if (CNineGrid::IsEmpty(check))
                canvas.Fill((box.left + box.right) / 2 - 3, (box.top + box.bottom) / 2 - 3,
                            (box.left + box.right) / 2 + 3, (box.top + box.bottom) / 2 + 3, 0);
            else
                DrawPiece(canvas,
                          RECT{box.left, box.top, box.left + Width(check.rcSource), box.top + Height(check.rcSource)},
                          check, 0, false);
        }
        if (kinds[i] == 'a') {
            const SkinPiece &arrow = popup->m_submenuArrow;
            RECT box{item.right - inset.right - itemHeight, item.top, item.right - inset.right, item.bottom};
            DrawPiece(canvas,
                      RECT{box.left, box.top, box.left + Width(arrow.rcSource), box.top + Height(arrow.rcSource)},
                      arrow, 0, false);
        }
        Text(canvas, item.left + inset.left + itemHeight, (item.top + item.bottom) / 2, 70, text);
    }
}

void CSkinPreview::Controls(CSkinCanvas &canvas, int left, int top) {
    int y = top;
    if (auto *button = dynamic_cast<CSkinButtonObject *>(m_skin.FindObjectByKind(SKIN_KIND_BUTTON))) {
        for (int s : {0, 1, 2, 3, 5}) {
            RECT rc{left + (s == 5 ? 4 : s) * 46, y, left + (s == 5 ? 4 : s) * 46 + 42, y + 24};
            DrawNineGrid(canvas, rc, button->m_states[s].image, button->m_crBackground, true, true);
            Text(canvas, rc.left + 10, y + 12, 22, button->m_font.crText);
        }
        y += 34;
    }
    for (DWORD kind : {SKIN_KIND_CHECKBOX, SKIN_KIND_RADIO}) {
        auto *check = dynamic_cast<CSkinCheckObject *>(m_skin.FindObjectByKind(kind));
        if (check == nullptr)
            continue;
        for (int b : {0, 1, 3, 4}) {
            RECT rc{left + (b > 1 ? b - 1 : b) * 76, y, left + (b > 1 ? b - 1 : b) * 76 + 72, y + 18};
            DrawNineGrid(canvas, rc,
                         check->m_blocks[b].background.szImage[0] ? check->m_blocks[b].background
                                                                  : check->m_blocks[0].background,
                         check->m_crBackground, true);
            const SkinPiece &mark = check->m_blocks[b].mark;
            DrawPiece(canvas, RECT{rc.left, y + 2, rc.left + Width(mark.rcSource), y + 2 + Height(mark.rcSource)}, mark,
                      0, false);
            Text(canvas, rc.left + Width(mark.rcSource) + 4, y + 9, 50, check->m_blocks[b].color.GetTextColor());
        }
        y += 24;
    }
    if (auto *scroll = dynamic_cast<CSkinScrollBarObject *>(m_skin.FindObjectByKind(SKIN_KIND_SCROLLBAR))) {
        const SkinScrollBlock &n = scroll->m_blocks[CSkinScrollBarObject::BLOCK_NORMAL];
        const SkinScrollBlock &hot = scroll->m_blocks[CSkinScrollBarObject::BLOCK_HOT];
        LONG a = Height(n.arrow1.rcSource);
        DrawPiece(canvas, RECT{left, y, left + a, y + a}, n.arrow1, 0, true);
        DrawNineGrid(canvas, RECT{left + a, y, left + 300 - a, y + a}, n.track, 0, true);
        RECT thumb{left + 90, y, left + 150, y + a};
        DrawNineGrid(canvas, thumb, n.track, 0, true);
        thumb.top += n.track.rcMargins.top;
        thumb.bottom -= n.track.rcMargins.bottom;
        DrawNineGrid(canvas, thumb, CNineGrid::IsEmpty(hot.thumb) ? n.thumb : hot.thumb, 0, true);
        DrawPiece(canvas, RECT{left + 300 - a, y, left + 300, y + a}, n.arrow2, 0, true);
        y += a + 10;
    }
    if (auto *progress = dynamic_cast<CSkinProgressObject *>(m_skin.FindObjectByKind(SKIN_KIND_PROGRESS))) {
        RECT rc{left, y, left + 300, y + 18};
        DrawNineGrid(canvas, rc, progress->m_header.frame, progress->m_crBackground, true);
        const RECT &m = progress->m_header.frame.rcMargins;
        RECT inner{rc.left + m.left, rc.top + m.top, rc.right - m.right, rc.bottom - m.bottom};
        // Revealed artwork: drawn full width, 60 % of it shown.
        CSkinCanvas full(Width(inner), Height(inner), progress->m_crText);
        DrawNineGrid(full, RECT{0, 0, Width(inner), Height(inner)}, progress->m_bar, progress->m_crText, true);
        for (LONG yy = 0; yy < Height(inner); ++yy)
            for (LONG xx = 0; xx < Width(inner) * 6 / 10; ++xx)
                canvas.Set(inner.left + xx, inner.top + yy, full.Get(xx, yy));
        y += 28;
    }
    if (auto *toolbar = dynamic_cast<CSkinToolBarObject *>(m_skin.FindObjectByKind(SKIN_KIND_TOOLBAR))) {
        RECT rc{left, y, left + 300, y + 30};
        DrawNineGrid(canvas, rc, toolbar->m_header.frame, toolbar->m_crBackground, true);
        for (int i = 0; i < 4; ++i) {
            RECT b{left + 4 + i * 26, y + 3, left + 28 + i * 26, y + 27};
            DrawNineGrid(canvas, b, toolbar->m_buttons[i == 1 ? 2 : i == 2 ? 1 : 0], 0, false);
            canvas.Fill(b.left + 8, b.top + 8, b.right - 8, b.bottom - 8, toolbar->m_header.font.crText);
        }
        y += 40;
    }
    if (auto *status = dynamic_cast<CSkinStatusBarObject *>(m_skin.FindObjectByKind(SKIN_KIND_STATUSBAR))) {
        RECT rc{left, y, left + 300, y + 22};
        DrawNineGrid(canvas, rc, status->m_header.frame, status->m_crBackground, true);
        for (int i = 0; i < 2; ++i) {
            RECT pane{left + 2 + i * 150, y + 2, left + 148 + i * 150, y + 20};
            DrawNineGrid(canvas, pane, status->m_pane, status->m_crBackground, true);
            Text(canvas, pane.left + 6, y + 11, 80, status->m_header.font.crText);
        }
    }
}

CSkinCanvas CSkinPreview::Render() {
    CSkinCanvas canvas(760, 470, RGB(96, 104, 112));
    auto *frame = dynamic_cast<CSkinFrameObject *>(m_skin.FindObject("MainFrame"));
    if (frame != nullptr) {
        Frame(canvas, *frame, RECT{12, 12, 422, 262}, true, true);
        Frame(canvas, *frame, RECT{12, 280, 422, 455}, false, true);
    }
    // The popup opens below the open menu entry of the active frame.
    Popup(canvas, RECT{150, 78, 330, 78 + 8 + 6 * 21});
    Controls(canvas, 440, 24);
    return canvas;
}
