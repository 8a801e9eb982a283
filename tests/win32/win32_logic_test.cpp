#include <gtest/gtest.h>

#include <string>

#include "frame_view.h"
#include "key_codes.h"
#include "settings.h"
#include "settings_text.h"

namespace blok::win32 {
namespace {

// --- key numbers: a settings file written on Linux means the same keys on Windows -----------

TEST(KeyCodes, KeysKnownOnLinuxHaveTheirWindowsScanCodes) {
    struct Known {
        ScanCode scan;
        PhysicalKey onLinux;
    };
    // Set-1 scan codes against the numbers the Linux desktop reports for the same keys.
    const Known known[] = {{0xE04B, 113}, {0xE048, 111}, {0xE04D, 114}, {0xE050, 116}, {0x1E, 38},
                           {0x20, 40},    {0x11, 25},    {0x1F, 39},    {0x19, 33},    {0x1C, 36},
                           {0xE01C, 104}, {0x01, 9},     {0x39, 65},    {0x2A, 50},    {0x36, 62},
                           {0x1D, 37},    {0xE01D, 105}, {0x38, 64},    {0xE038, 108}, {0x52, 90}};
    for (const Known& key : known) {
        EXPECT_EQ(PhysicalKeyOfScanCode(key.scan), key.onLinux) << std::hex << key.scan;
        EXPECT_EQ(ScanCodeOfPhysicalKey(key.onLinux), key.scan) << key.onLinux;
    }
}

TEST(KeyCodes, EveryNamedKeyAndEveryDefaultBindingHasAScanCode) {
    for (PhysicalKey key = 1; key <= kLastPhysicalKey; ++key) {
        if (PhysicalKeyName(key).rfind("Key ", 0) == 0) continue;
        const ScanCode scan = ScanCodeOfPhysicalKey(key);
        ASSERT_NE(scan, 0u) << PhysicalKeyName(key);
        EXPECT_EQ(PhysicalKeyOfScanCode(scan), key) << PhysicalKeyName(key);
    }
    const KeyBindings defaults = DefaultKeyBindings();
    for (const KeySlot& slot : AllSlots()) EXPECT_NE(ScanCodeOfPhysicalKey(defaults.At(slot)), 0u);
}

TEST(KeyCodes, UnknownKeysAndMessagesWithThePrefixBit) {
    EXPECT_EQ(PhysicalKeyOfScanCode(0), kNoKey);
    EXPECT_EQ(PhysicalKeyOfScanCode(0xE0FF), kNoKey);
    EXPECT_EQ(ScanCodeOfPhysicalKey(kNoKey), 0u);
    EXPECT_EQ(ScanCodeOfPhysicalKey(200), 0u);
    // A key-down message of Left: scan code 0x4B in bits 16..23, the prefix in bit 24, and the
    // repeat count and earlier state around them.
    const long long left = (1LL << 30) | (1LL << 24) | (0x4BLL << 16) | 1;
    EXPECT_EQ(ScanCodeOfKeyMessage(left), 0xE04Bu);
    EXPECT_EQ(ScanCodeOfKeyMessage((0x4BLL << 16) | 1), 0x4Bu);  // keypad 4
    EXPECT_NE(VirtualKeyOfExtendedScanCode(0xE04B), 0);
    EXPECT_EQ(VirtualKeyOfExtendedScanCode(0x4B), 0);  // the layout decides plain keys
}

// --- the settings file's text -----------------------------------------------------------------

TEST(SettingsText, ReadsTheFileTheLinuxGameWrites) {
    const std::string written =
        "[Display]\nFullScreen=false\nZoom=3\n\n[Keys]\nOnePlayerLeft=38\nRepeatDelay=true\n"
        "RepeatDelayMs=240\n\n[Music]\nMute=true\nVolume=40\n";
    const auto values = ParseSettingsText(written);
    ASSERT_TRUE(values);
    const Settings settings = SettingsFromValues(*values);
    EXPECT_EQ(settings.zoom, 3);
    EXPECT_FALSE(settings.fullScreen);
    EXPECT_TRUE(settings.repeat.on);
    EXPECT_EQ(settings.repeat.delayMs, 240);
    EXPECT_TRUE(settings.muted);
    EXPECT_EQ(settings.volume, 40);
    EXPECT_EQ(values->at("Keys/OnePlayerLeft"), "38");
}

TEST(SettingsText, WrittenTextReadsBackWithWindowsLineEndsCommentsAndQuotes) {
    Settings changed;
    changed.zoom = 2;
    changed.showPaused = true;
    changed.keys.pause = 57;
    SettingValues values = ValuesOfSettings(changed);
    values["Other"] = "kept";  // a value of no group: "General"
    const std::string text = SettingsText(values);
    EXPECT_NE(text.find("[General]\nOther=kept\n"), std::string::npos);
    EXPECT_EQ(ParseSettingsText(text), values);
    EXPECT_EQ(SettingsFromValues(*ParseSettingsText(text)), changed);

    const auto edited = ParseSettingsText("; by hand\r\n[Display]\r\n Zoom = \"4\" \r\n# end\r\n");
    ASSERT_TRUE(edited);
    EXPECT_EQ(edited->at("Display/Zoom"), "4");
}

TEST(SettingsText, DamagedTextsAreRefused) {
    EXPECT_FALSE(ParseSettingsText("[Display]\nZoom\n"));
    EXPECT_FALSE(ParseSettingsText("[Display\nZoom=2\n"));
    EXPECT_FALSE(ParseSettingsText("=2\n"));
    EXPECT_FALSE(ParseSettingsText(std::string("[Display]\nZoom=2\0\n", 19)));
    EXPECT_FALSE(ParseSettingsText(std::string((1 << 20) + 1, '\n')));
    EXPECT_EQ(ParseSettingsText(""), SettingValues{});
}

// --- where the frame lies --------------------------------------------------------------------

TEST(FrameView, WindowAtItsZoomAndFullScreenCentredAtTheLargestWholeScale) {
    const FrameView window = ViewFor(false, 3, 1203, 1203, 401, 401);
    EXPECT_EQ(window.scale, 3);
    EXPECT_EQ(window.left, 0);
    EXPECT_EQ(window.top, 0);

    const FrameView wide = ViewFor(true, 1, 1920, 1080, 401, 401);
    EXPECT_EQ(wide.scale, 2);
    EXPECT_EQ(wide.left, (1920 - 802) / 2);
    EXPECT_EQ(wide.top, (1080 - 802) / 2);

    const FrameView small = ViewFor(true, 4, 640, 400, 401, 401);  // smaller than the frame
    EXPECT_EQ(small.scale, 1);
    EXPECT_EQ(small.left, 119);
    EXPECT_EQ(small.top, 0);
}

TEST(FrameView, RowsToPutCoverThePaintedRowsAndStayInTheFrame) {
    const FrameView view{2, 100, 50};
    const FrameRows middle = RowsToPut(view, 428, 50 + 21, 50 + 25);  // half-covered rows
    EXPECT_EQ(middle.top, 10);
    EXPECT_EQ(middle.bottom, 13);
    const FrameRows beyond = RowsToPut(view, 428, 0, 5000);
    EXPECT_EQ(beyond.top, 0);
    EXPECT_EQ(beyond.bottom, 428);
    const FrameRows above = RowsToPut(view, 428, 0, 40);  // the black band over the frame
    EXPECT_GE(above.top, above.bottom);
}

TEST(FrameView, OuterSizesOfTheGameAreTheClientAreaAndTheClassicFrame) {
    EXPECT_EQ(ClientWidthForOuter(kWindowWidth), 401);
    EXPECT_EQ(ClientHeightForOuter(kWindowHeight), 401);
    EXPECT_EQ(ClientWidthForOuter(3), 0);
}

}  // namespace
}  // namespace blok::win32
