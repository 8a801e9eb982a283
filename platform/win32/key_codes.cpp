#include "key_codes.h"

namespace blok::win32 {

namespace {

// Plain scan codes 1..88 are the Linux input codes, which are the X key codes less 8.
constexpr ScanCode kLastPlainScanCode = 0x58;
constexpr int kXKeyCodeOffset = 8;

struct ExtendedKey {
    ScanCode code;
    PhysicalKey key;
    int virtualKey;
};

// The prefixed keys, with the Linux numbers of the same keys and the virtual keys that read them.
constexpr ExtendedKey kExtendedKeys[] = {
    {0xE01C, 104, 0x0D},  // keypad Enter
    {0xE01D, 105, 0xA3},  // right Ctrl
    {0xE035, 106, 0x6F},  // keypad /
    {0xE037, 107, 0x2C},  // Print Screen
    {0xE038, 108, 0xA5},  // AltGr
    {0xE047, 110, 0x24},  // Home
    {0xE048, 111, 0x26},  // Up
    {0xE049, 112, 0x21},  // Page Up
    {0xE04B, 113, 0x25},  // Left
    {0xE04D, 114, 0x27},  // Right
    {0xE04F, 115, 0x23},  // End
    {0xE050, 116, 0x28},  // Down
    {0xE051, 117, 0x22},  // Page Down
    {0xE052, 118, 0x2D},  // Insert
    {0xE053, 119, 0x2E},  // Delete
    {0xE05B, 133, 0x5B},  // left Windows key
    {0xE05C, 134, 0x5C},  // right Windows key
    {0xE05D, 135, 0x5D},  // Menu key
};

}  // namespace

PhysicalKey PhysicalKeyOfScanCode(ScanCode code) {
    if (code >= 1 && code <= kLastPlainScanCode)
        return static_cast<PhysicalKey>(code) + kXKeyCodeOffset;
    for (const ExtendedKey& key : kExtendedKeys) {
        if (key.code == code) return key.key;
    }
    return kNoKey;
}

ScanCode ScanCodeOfPhysicalKey(PhysicalKey key) {
    const int plain = key - kXKeyCodeOffset;
    if (plain >= 1 && plain <= static_cast<int>(kLastPlainScanCode))
        return static_cast<ScanCode>(plain);
    for (const ExtendedKey& extended : kExtendedKeys) {
        if (extended.key == key) return extended.code;
    }
    return 0;
}

int VirtualKeyOfExtendedScanCode(ScanCode code) {
    for (const ExtendedKey& key : kExtendedKeys) {
        if (key.code == code) return key.virtualKey;
    }
    return 0;
}

}  // namespace blok::win32
