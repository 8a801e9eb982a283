#pragma once

#include <string>
#include <string_view>

namespace blok::win32 {

// The game keeps its texts in UTF-8; the window system's wide calls take UTF-16.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

}  // namespace blok::win32
