#include "skin/SkinVersion.h"

BYTE g_nSkinMajorVersion = SKIN_MAJOR_VERSION;
BYTE g_nSkinMinorVersion = SKIN_NEWEST_MINOR_VERSION;

void ResetSkinVersion() {
    g_nSkinMajorVersion = SKIN_MAJOR_VERSION;
    g_nSkinMinorVersion = SKIN_NEWEST_MINOR_VERSION;
}
