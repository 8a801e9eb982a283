#pragma once

#include <windows.h>

#include <string>

namespace blok::win32 {

// `Blokfall --help-viewer PATH`: the help text in a plain window of its own, until it is closed.
int RunHelpWindow(HINSTANCE instance, const std::wstring& path);

}  // namespace blok::win32
