// Process-wide version of the skin file being read or written; record layouts consult it for optional fields.
#pragma once

#include "framework/WinCompat.h"

enum : BYTE { SKIN_MAJOR_VERSION = 1, SKIN_NEWEST_MINOR_VERSION = 5 };

extern BYTE g_nSkinMajorVersion;
extern BYTE g_nSkinMinorVersion;

// Back to the newest layout, as between reads.
void ResetSkinVersion();
