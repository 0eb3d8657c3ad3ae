// Stored element records shared by several skin object kinds (fonts, colour records, control header, frames).
#pragma once

#include "framework/WinCompat.h"
#include "skin/controls/SkinPiece.h"

#include <cstddef>

// A LOGFONT and the text colour drawn with it.
struct SkinFontRecord {
    LOGFONTA lf;
    COLORREF crText;
};

// Colour records keep the text colour in bytes 4 to 6 (red, green, blue); the other bytes are carried along.
template <size_t N> struct SkinColorRecordT {
    BYTE bytes[N];

    COLORREF GetTextColor() const { return RGB(bytes[4], bytes[5], bytes[6]); }
    void SetTextColor(COLORREF color) {
        bytes[4] = GetRValue(color);
        bytes[5] = GetGValue(color);
        bytes[6] = GetBValue(color);
    }
};
typedef SkinColorRecordT<16> SkinColorRecord;
typedef SkinColorRecordT<32> SkinColorRecord32;

// After the object header of most controls. The colour record is stored from minor version 4, the value from 5.
struct SkinControlHeader {
    SkinFontRecord font;
    SkinImageRef frame;
    SkinColorRecord color;
    DWORD dwValue;
};

// Frame and popup-menu objects: nine active and nine inactive pieces laid out by nine template rectangles.
struct SkinFramedRecord {
    enum : int { PART_COUNT = 9, PIECE_COUNT = 18, INACTIVE = 9 };
    SkinPiece pieces[PIECE_COUNT]; // top-left, top, top-right, left, centre, right, bottom-left, bottom, bottom-right
    RECT placement[PART_COUNT];    // the parts in a template window, same order
    SkinFontRecord captionFont;
    DWORD dwValue1;
    DWORD dwValue2;
    COLORREF crActiveBorder;   // where an active border piece is missing
    COLORREF crInactiveBorder; // where an inactive border piece is missing
    COLORREF crBackground;     // where the centre piece is missing
    RECT rcExtra;              // stored from minor version 3
};

// Push-button state: the image reference and 32 bytes no painter reads.
struct SkinButtonState {
    SkinImageRef image;
    BYTE extra[32];
};

// Check-box and radio-button state block.
struct SkinCheckBlock {
    SkinImageRef background;
    SkinPiece mark;
    SkinColorRecord32 color;
};

// Scroll-bar state block; images are drawn for a horizontal bar.
struct SkinScrollBlock {
    SkinPiece arrow1; // left, and up when turned
    SkinPiece arrow2; // right, and down when turned
    SkinImageRef track;
    SkinImageRef thumb;
};

// Up-down state block.
struct SkinSpinBlock {
    SkinPiece up;
    SkinPiece down;
};

static_assert(sizeof(SkinFontRecord) == 64, "font record");
static_assert(sizeof(SkinButtonState) == 120, "push-button state");
static_assert(sizeof(SkinCheckBlock) == 192, "check-box block");
static_assert(sizeof(SkinScrollBlock) == 320, "scroll-bar block");
static_assert(sizeof(SkinSpinBlock) == 144, "up-down block");

// Loading puts a terminating zero into the last byte of every image name, so that a stored name that fills its whole
// field ends there and no lookup or painter reads on into the record's other fields. Every record type that holds a
// piece or an image reference has its overload here; CSkinArchive::Value applies them to whatever it loads.
// Records without image names.
template <class T> void TerminateImageNames(T &) {}
inline void TerminateImageNames(SkinPiece &piece) { piece.szImage[SKIN_IMAGE_NAME_SIZE - 1] = '\0'; }
inline void TerminateImageNames(SkinImageRef &ref) { ref.szImage[SKIN_IMAGE_NAME_SIZE - 1] = '\0'; }
inline void TerminateImageNames(SkinControlHeader &header) { TerminateImageNames(header.frame); }
inline void TerminateImageNames(SkinButtonState &state) { TerminateImageNames(state.image); }
inline void TerminateImageNames(SkinCheckBlock &block) {
    TerminateImageNames(block.background);
    TerminateImageNames(block.mark);
}
inline void TerminateImageNames(SkinScrollBlock &block) {
    TerminateImageNames(block.arrow1);
    TerminateImageNames(block.arrow2);
    TerminateImageNames(block.track);
    TerminateImageNames(block.thumb);
}
inline void TerminateImageNames(SkinSpinBlock &block) {
    TerminateImageNames(block.up);
    TerminateImageNames(block.down);
}
inline void TerminateImageNames(SkinFramedRecord &framed) {
    for (SkinPiece &piece : framed.pieces)
        TerminateImageNames(piece);
}
template <class T, size_t N> void TerminateImageNames(T (&records)[N]) {
    for (T &record : records)
        TerminateImageNames(record);
}

// Height -12, weight 400, output precision 3, clip precision 2, quality 1, face "Arial", colour 0.
SkinFontRecord SkinDefaultFont();
// Template rectangles of a frame (276 x 160) and of a popup menu (278 x 152, 4-pixel borders).
void SkinDefaultFramePlacement(RECT placement[SkinFramedRecord::PART_COUNT]);
void SkinDefaultPopupPlacement(RECT placement[SkinFramedRecord::PART_COUNT]);
// An empty framed record with the given template.
void SkinInitFramed(SkinFramedRecord &framed, bool popup);
void SkinInitControlHeader(SkinControlHeader &header);
