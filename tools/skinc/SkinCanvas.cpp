#include "tools/skinc/SkinCanvas.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

CSkinCanvas::CSkinCanvas(int width, int height, COLORREF fill)
    : m_nWidth(width), m_nHeight(height), m_pixels(static_cast<size_t>(width) * height, fill) {}

COLORREF CSkinCanvas::Get(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_nWidth || y >= m_nHeight)
        return KEY;
    return m_pixels[static_cast<size_t>(y) * m_nWidth + x];
}

void CSkinCanvas::Set(int x, int y, COLORREF color) {
    if (x >= 0 && y >= 0 && x < m_nWidth && y < m_nHeight)
        m_pixels[static_cast<size_t>(y) * m_nWidth + x] = color;
}

COLORREF CSkinCanvas::Mix(COLORREF a, COLORREF b, int p) {
    auto channel = [p](int x, int y) { return (x * (100 - p) + y * p + 50) / 100; };
    return RGB(channel(GetRValue(a), GetRValue(b)), channel(GetGValue(a), GetGValue(b)),
               channel(GetBValue(a), GetBValue(b)));
}

void CSkinCanvas::Fill(int l, int t, int r, int b, COLORREF color) {
    for (int y = t; y < b; ++y)
        for (int x = l; x < r; ++x)
            Set(x, y, color);
}

void CSkinCanvas::Gradient(int l, int t, int r, int b, COLORREF from, COLORREF to, bool vertical) {
    int span = vertical ? b - t : r - l;
    for (int y = t; y < b; ++y) {
        for (int x = l; x < r; ++x) {
            int i = vertical ? y - t : x - l;
            int p = span > 1 ? i * 100 / (span - 1) : 0;
            Set(x, y, Mix(from, to, p));
        }
    }
}

void CSkinCanvas::Frame(int l, int t, int r, int b, COLORREF color) {
    Fill(l, t, r, t + 1, color);
    Fill(l, b - 1, r, b, color);
    Fill(l, t, l + 1, b, color);
    Fill(r - 1, t, r, b, color);
}

void CSkinCanvas::Bevel(int l, int t, int r, int b, COLORREF light, COLORREF dark) {
    Fill(l, t, r, t + 1, light);
    Fill(l, t, l + 1, b, light);
    Fill(l, b - 1, r, b, dark);
    Fill(r - 1, t, r, b, dark);
}

// Whether (x, y) lies outside the quarter circle of a corner box.
static bool OutsideCorner(int dx, int dy, int radius) {
    double cx = radius - dx - 0.5;
    double cy = radius - dy - 0.5;
    return cx > 0 && cy > 0 && cx * cx + cy * cy > radius * radius;
}

void CSkinCanvas::RoundCorners(int l, int t, int r, int b, int radius, bool top, bool bottom, COLORREF outside) {
    for (int dy = 0; dy < radius; ++dy) {
        for (int dx = 0; dx < radius; ++dx) {
            if (!OutsideCorner(dx, dy, radius))
                continue;
            if (top) {
                Set(l + dx, t + dy, outside);
                Set(r - 1 - dx, t + dy, outside);
            }
            if (bottom) {
                Set(l + dx, b - 1 - dy, outside);
                Set(r - 1 - dx, b - 1 - dy, outside);
            }
        }
    }
}

void CSkinCanvas::RoundFrame(int l, int t, int r, int b, int radius, COLORREF color) {
    Fill(l + radius, t, r - radius, t + 1, color);
    Fill(l + radius, b - 1, r - radius, b, color);
    Fill(l, t + radius, l + 1, b - radius, color);
    Fill(r - 1, t + radius, r, b - radius, color);
    // The first inside pixel of each corner row and column.
    for (int dy = 0; dy < radius; ++dy) {
        for (int dx = 0; dx < radius; ++dx) {
            bool outside = OutsideCorner(dx, dy, radius);
            bool edge = !outside && ((dx == 0 || OutsideCorner(dx - 1, dy, radius)) ||
                                     (dy == 0 || OutsideCorner(dx, dy - 1, radius)));
            if (!edge)
                continue;
            Set(l + dx, t + dy, color);
            Set(r - 1 - dx, t + dy, color);
            Set(l + dx, b - 1 - dy, color);
            Set(r - 1 - dx, b - 1 - dy, color);
        }
    }
}

void CSkinCanvas::Line(int x0, int y0, int x1, int y1, COLORREF color, int thickness) {
    int steps = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
    for (int i = 0; i <= steps; ++i) {
        int x = steps == 0 ? x0 : x0 + (x1 - x0) * i / steps;
        int y = steps == 0 ? y0 : y0 + (y1 - y0) * i / steps;
        Fill(x, y, x + thickness, y + thickness, color);
    }
}

void CSkinCanvas::Disc(int cx2, int cy2, int r2, COLORREF color) {
    for (int y = (cy2 - r2) / 2 - 1; y <= (cy2 + r2) / 2 + 1; ++y)
        for (int x = (cx2 - r2) / 2 - 1; x <= (cx2 + r2) / 2 + 1; ++x) {
            int dx = 2 * x + 1 - cx2, dy = 2 * y + 1 - cy2;
            if (dx * dx + dy * dy <= r2 * r2)
                Set(x, y, color);
        }
}

void CSkinCanvas::Ring(int cx2, int cy2, int r2, COLORREF color) {
    for (int y = (cy2 - r2) / 2 - 1; y <= (cy2 + r2) / 2 + 1; ++y)
        for (int x = (cx2 - r2) / 2 - 1; x <= (cx2 + r2) / 2 + 1; ++x) {
            int dx = 2 * x + 1 - cx2, dy = 2 * y + 1 - cy2;
            int d = dx * dx + dy * dy;
            if (d <= r2 * r2 && d > (r2 - 2) * (r2 - 2))
                Set(x, y, color);
        }
}

void CSkinCanvas::Arrow(int l, int t, int r, int b, char direction, COLORREF color) {
    int cx = (l + r) / 2, cy = (t + b) / 2;
    const int size = std::max(2, std::min(r - l, b - t) / 4);
    for (int i = 0; i < size; ++i) {
        int half = i; // the tip is the first row
        switch (direction) {
        case 'u':
            Fill(cx - half - 1, cy - size / 2 + i, cx + half + 1, cy - size / 2 + i + 1, color);
            break;
        case 'd':
            Fill(cx - half - 1, cy + size / 2 - i, cx + half + 1, cy + size / 2 - i + 1, color);
            break;
        case 'l':
            Fill(cx - size / 2 + i, cy - half - 1, cx - size / 2 + i + 1, cy + half + 1, color);
            break;
        default:
            Fill(cx + size / 2 - i, cy - half - 1, cx + size / 2 - i + 1, cy + half + 1, color);
            break;
        }
    }
}

std::vector<BYTE> CSkinCanvas::ToBmp() const {
    const DWORD stride = (static_cast<DWORD>(m_nWidth) * 3 + 3) & ~3u;
    const DWORD imageSize = stride * m_nHeight;
    std::vector<BYTE> out(14 + 40 + imageSize, 0);
    auto put16 = [&out](size_t at, DWORD v) {
        out[at] = static_cast<BYTE>(v);
        out[at + 1] = static_cast<BYTE>(v >> 8);
    };
    auto put32 = [&out](size_t at, DWORD v) {
        for (int i = 0; i < 4; ++i)
            out[at + i] = static_cast<BYTE>(v >> (8 * i));
    };
    out[0] = 'B';
    out[1] = 'M';
    put32(2, static_cast<DWORD>(out.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<DWORD>(m_nWidth));
    put32(22, static_cast<DWORD>(m_nHeight));
    put16(26, 1);
    put16(28, 24);
    put32(34, imageSize);
    put32(38, 2835);
    put32(42, 2835);
    for (int y = 0; y < m_nHeight; ++y) {
        BYTE *row = out.data() + 54 + static_cast<size_t>(m_nHeight - 1 - y) * stride;
        for (int x = 0; x < m_nWidth; ++x) {
            COLORREF c = Get(x, y);
            row[3 * x] = GetBValue(c);
            row[3 * x + 1] = GetGValue(c);
            row[3 * x + 2] = GetRValue(c);
        }
    }
    return out;
}

bool CSkinCanvas::SaveBmp(const std::string &path) const {
    std::vector<BYTE> bytes = ToBmp();
    FILE *f = std::fopen(path.c_str(), "wb");
    if (f == nullptr)
        return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}
