// Versions of the skin file layout. The version of the file being read or written travels with its CSkinArchive;
// record layouts consult the archive for optional fields.
#pragma once

#include "platform/WinCompat.h"

enum : BYTE { SKIN_MAJOR_VERSION = 1, SKIN_NEWEST_MINOR_VERSION = 5 };
