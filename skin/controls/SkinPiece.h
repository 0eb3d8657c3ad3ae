// The piece (72 bytes) and image reference (88 bytes) records that skin objects store to name a cut of an image.
#pragma once

#include "platform/WinCompat.h"

#include <cstddef>

enum : size_t { SKIN_IMAGE_NAME_SIZE = 50 };

// Piece modes.
enum : DWORD { PIECE_COPY = 0, PIECE_TILE = 1, PIECE_STRETCH = 2 };

// One rectangle of a named image drawn over a destination by copying, tiling or stretching.
struct SkinPiece {
    char szImage[SKIN_IMAGE_NAME_SIZE]; // NUL-terminated image name
    BYTE reserved[2];
    RECT rcSource; // image pixels, y downwards from the top row
    DWORD dwMode;  // PIECE_COPY, PIECE_TILE, anything else stretches
};

// A rectangle of a named image cut into nine cells by four margins.
struct SkinImageRef {
    char szImage[SKIN_IMAGE_NAME_SIZE];
    BYTE reserved[2];
    RECT rcSource;
    RECT rcMargins; // left, top, right and bottom widths
    DWORD dwFillMode;
};

static_assert(sizeof(SkinPiece) == 72 && offsetof(SkinPiece, rcSource) == 52 && offsetof(SkinPiece, dwMode) == 68,
              "SkinPiece is stored byte for byte");
static_assert(sizeof(SkinImageRef) == 88 && offsetof(SkinImageRef, rcSource) == 52 &&
                  offsetof(SkinImageRef, rcMargins) == 68 && offsetof(SkinImageRef, dwFillMode) == 84,
              "SkinImageRef is stored byte for byte");
