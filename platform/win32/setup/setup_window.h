#pragma once

#include <windows.h>

#include <functional>

namespace blok::setup::win32 {

// The installer's full-screen window: blue stripes and the shadowed title. After its first
// paint it runs `work` once and then ends the message loop with the status `work` returns.
HWND CreateSetupWindow(std::function<int(HWND)> work);

// Paints the background of `window` into `dc`.
void DrawBackGround(HWND window, HDC dc);

}  // namespace blok::setup::win32
