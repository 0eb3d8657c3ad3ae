// Command ids that the trace view handles; the console's menus (res/console/resource.h) take them from here.
#pragma once

#define ID_VIEW_HIGHLIGHT 32782
#define ID_VIEW_GRID 32784
