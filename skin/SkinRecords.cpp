#include "skin/SkinRecords.h"

#include <cstring>

SkinFontRecord SkinDefaultFont() {
    SkinFontRecord font;
    std::memset(&font, 0, sizeof font);
    font.lf.lfHeight = -12;
    font.lf.lfWeight = 400;
    font.lf.lfOutPrecision = 3;
    font.lf.lfClipPrecision = 2;
    font.lf.lfQuality = 1;
    std::strcpy(font.lf.lfFaceName, "Arial");
    font.crText = 0;
    return font;
}

static void SetRects(RECT placement[SkinFramedRecord::PART_COUNT], const LONG (*values)[4]) {
    for (int i = 0; i < SkinFramedRecord::PART_COUNT; ++i)
        placement[i] = RECT{values[i][0], values[i][1], values[i][2], values[i][3]};
}

void SkinDefaultFramePlacement(RECT placement[SkinFramedRecord::PART_COUNT]) {
    static const LONG values[9][4] = {{0, 0, 86, 30},    {86, 0, 173, 30},    {173, 0, 276, 30},
                                      {0, 30, 10, 148},  {10, 30, 266, 148},  {266, 30, 276, 148},
                                      {0, 148, 10, 160}, {10, 148, 266, 160}, {266, 148, 276, 160}};
    SetRects(placement, values);
}

void SkinDefaultPopupPlacement(RECT placement[SkinFramedRecord::PART_COUNT]) {
    static const LONG values[9][4] = {{0, 0, 4, 4},     {4, 0, 274, 4},     {274, 0, 278, 4},
                                      {0, 4, 4, 148},   {4, 4, 274, 148},   {274, 4, 278, 148},
                                      {0, 148, 4, 152}, {4, 148, 274, 152}, {274, 148, 278, 152}};
    SetRects(placement, values);
}

void SkinInitFramed(SkinFramedRecord &framed, bool popup) {
    std::memset(&framed, 0, sizeof framed);
    if (popup)
        SkinDefaultPopupPlacement(framed.placement);
    else
        SkinDefaultFramePlacement(framed.placement);
    framed.captionFont = SkinDefaultFont();
    framed.crActiveBorder = 0xFF0000;
    framed.crInactiveBorder = 0x727200;
    framed.crBackground = 0xFFFFFF;
}

void SkinInitControlHeader(SkinControlHeader &header) {
    std::memset(&header, 0, sizeof header);
    header.font = SkinDefaultFont();
}
