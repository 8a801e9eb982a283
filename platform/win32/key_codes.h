#pragma once

#include "key_bindings.h"

namespace blok::win32 {

// Physical keys are numbered as on Linux (the X keyboard's key codes), so a settings file moves
// between the systems unchanged. Windows names a key by its scan code: the set-1 code, with
// 0xE000 added for the keys that come with the extended prefix (the cursor block, right Ctrl,
// AltGr, keypad Enter and the like).
using ScanCode = unsigned;
inline constexpr unsigned kExtendedScanCode = 0xE000;

// kNoKey for a scan code that has no number of ours.
PhysicalKey PhysicalKeyOfScanCode(ScanCode code);
// 0 for a physical key that no scan code gives.
ScanCode ScanCodeOfPhysicalKey(PhysicalKey key);
// The scan code a key message carries in bits 16..24 of its lParam.
inline ScanCode ScanCodeOfKeyMessage(long long lParam) {
    const auto code = static_cast<ScanCode>((lParam >> 16) & 0xFF);
    return (lParam & (1LL << 24)) != 0 ? code | kExtendedScanCode : code;
}
// The virtual-key code that reads an extended key, or 0 when the layout decides (then the
// window system maps the plain scan code).
int VirtualKeyOfExtendedScanCode(ScanCode code);

}  // namespace blok::win32
