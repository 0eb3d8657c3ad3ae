// The window the skin benchmarks measure: the skin engine started in Devior and an 800 x 600 top-level frame with
// the console's title and the given menu, skinned as the console's main frame.
#pragma once

#include <windows.h>

// The frame's window class (registered by the call below), for unskinned windows to compare with.
const char kSkinBenchFrameClass[] = "QXSkinBenchFrame";

// The frame, or none (after printing why) when the engine or the frame could not be had.
HWND CreateSkinnedBenchFrame(HINSTANCE hInstance, const char *pszApp, HMENU hMenu);
