// A 24-bit drawing surface for generated skin artwork: fills, gradients, outlines, rounded corners, glyphs.
#pragma once

#include "platform/WinCompat.h"

#include <string>
#include <vector>

class CSkinCanvas {
public:
    enum : COLORREF { KEY = 0xFF00FF }; // the skins' transparent colour

    CSkinCanvas(int width, int height, COLORREF fill = KEY);

    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }
    COLORREF Get(int x, int y) const;
    void Set(int x, int y, COLORREF color);

    void Fill(int l, int t, int r, int b, COLORREF color);
    // Top to bottom (vertical) or left to right.
    void Gradient(int l, int t, int r, int b, COLORREF from, COLORREF to, bool vertical = true);
    void Frame(int l, int t, int r, int b, COLORREF color);
    // Light top and left edges, dark bottom and right edges.
    void Bevel(int l, int t, int r, int b, COLORREF light, COLORREF dark);
    // Pixels outside a circle of the radius at the chosen corners get the colour (the key by default).
    void RoundCorners(int l, int t, int r, int b, int radius, bool top, bool bottom, COLORREF outside = KEY);
    // A round-cornered outline following RoundCorners' curve.
    void RoundFrame(int l, int t, int r, int b, int radius, COLORREF color);
    void Line(int x0, int y0, int x1, int y1, COLORREF color, int thickness = 1);
    void Disc(int cx2, int cy2, int r2, COLORREF color); // centre and radius in half pixels
    void Ring(int cx2, int cy2, int r2, COLORREF color);
    // Filled triangle pointing in direction 'l', 'r', 'u' or 'd', centred in the box.
    void Arrow(int l, int t, int r, int b, char direction, COLORREF color);

    // Uncompressed bottom-up 24-bit BMP with its file header.
    std::vector<BYTE> ToBmp() const;
    bool SaveBmp(const std::string &path) const;

    static COLORREF Mix(COLORREF a, COLORREF b, int percentOfB);

private:
    int m_nWidth;
    int m_nHeight;
    std::vector<COLORREF> m_pixels;
};
