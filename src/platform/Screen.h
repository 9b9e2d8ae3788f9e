// The screen size the canvas is made from, with a seam so tests run on a fixed
// 1024x768 screen whatever machine they run on.
#pragma once

#include "platform/WinTypes.h"

// The primary screen's size in pixels (system metrics 0 and 1), or the size a
// test set.
SIZE GetScreenSize();
// The client size of a maximised main window: the work area less the frame's
// title bar (a test screen of 1024x768 gives 1024x738).
SIZE GetFullScreenClientSize();
// Vertical pixels per logical inch of the screen (96 under a test).
int GetScreenDpiY();

void SetScreenSizeForTesting(SIZE size);
