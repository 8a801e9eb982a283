#include "settings.h"

#include <gtest/gtest.h>

#include "game.h"
#include "key_repeat.h"

namespace blok {
namespace {

constexpr PhysicalKey kKeyJ = 44;
const KeySlot kOneLeft{false, kOnePlayer, kMoveLeft};

TEST(Settings, StoredValuesReadBackAsTheyWereWritten) {
    Settings settings;
    settings.zoom = 3;
    settings.fullScreen = true;
    ASSERT_FALSE(Assign(settings.keys, kOneLeft, kKeyJ));
    settings.repeat = RepeatTiming{true, 240, 120};
    settings.swapPads = true;
    settings.pauseOnFocusLoss = true;
    settings.showPaused = true;
    settings.volume = 35;
    settings.muted = true;
    settings.computer = ComputerLevel::kNormal;
    EXPECT_EQ(SettingsFromValues(ValuesOfSettings(settings)), settings);
    EXPECT_EQ(SettingsFromValues({}), Settings{});
}

TEST(Settings, UnreadableValuesKeepTheirDefaultsAndLeaveTheOthersAlone) {
    const Settings settings = SettingsFromValues({
        {"Display/Zoom", "5"},
        {"Display/FullScreen", "yes please"},
        {"Keys/RepeatDelayMs", "12x"},
        {"Keys/RepeatRateMs", "-60"},
        {"Music/Volume", "99999999999999999999"},
        {"Music/Mute", "true"},
        {"Window/ShowPaused", "true"},
        {"Game/ComputerPlayer", "expert"},
    });
    Settings expected;
    expected.muted = true;
    expected.showPaused = true;
    EXPECT_EQ(settings, expected);
}

TEST(Settings, AVolumeBeyondEitherEndIsTakenAsThatEnd) {
    EXPECT_EQ(SettingsFromValues({{"Music/Volume", "-40"}}).volume, 0);
    EXPECT_EQ(SettingsFromValues({{"Music/Volume", "250"}}).volume, 100);
    EXPECT_EQ(SettingsFromValues({{"Music/Volume", "0"}}).volume, 0);
    EXPECT_EQ(SettingsFromValues({{"Music/Volume", "loud"}}).volume, Settings{}.volume);
}

TEST(Settings, KeysThatCollideOrAreMissingGiveTheDefaultKeys) {
    // Left on Rotate's key: every key falls back, the rest of the file still counts.
    SettingValues values = ValuesOfSettings(Settings{});
    values["Keys/OnePlayerLeft"] = values["Keys/OnePlayerRotate"];
    values["Music/Volume"] = "20";
    const Settings collided = SettingsFromValues(values);
    EXPECT_EQ(collided.keys, DefaultKeyBindings());
    EXPECT_EQ(collided.volume, 20);
    values = ValuesOfSettings(Settings{});
    values["Keys/Pause"] = "0";
    EXPECT_EQ(SettingsFromValues(values).keys, DefaultKeyBindings());
}

TEST(KeyBindings, AKeyIsRefusedOnlyWhereTheSameGameTypeUsesItAlready) {
    KeyBindings keys = DefaultKeyBindings();
    const PhysicalKey cursorUp = keys.At(KeySlot{false, kOnePlayer, kRotate});
    // Cursor Up turns the one-player piece: Left may not have it too.
    const auto conflict = Assign(keys, kOneLeft, cursorUp);
    ASSERT_TRUE(conflict);
    EXPECT_EQ(*conflict, (KeySlot{false, kOnePlayer, kRotate}));
    EXPECT_EQ(keys, DefaultKeyBindings());
    // The left player's Left may take a key of the one-player game, not one of the right player.
    EXPECT_TRUE(Assign(keys, KeySlot{false, kLeftPlayer, kMoveLeft}, cursorUp));
    EXPECT_FALSE(Assign(keys, KeySlot{false, kLeftPlayer, kMoveLeft}, kKeyJ));
    EXPECT_FALSE(Assign(keys, kOneLeft, kKeyJ));
    EXPECT_TRUE(Usable(keys));
    // Pause belongs to every game type.
    EXPECT_TRUE(Assign(keys, KeySlot{true}, kKeyJ));
    EXPECT_TRUE(Assign(keys, KeySlot{false, kRightPlayer, kFasterDown}, keys.pause));
}

TEST(KeyBindings, TheRulesKeyCodesReadTheSlotOfTheRunningGameType) {
    EXPECT_EQ(SlotOfVirtualKey(37, kStatusOnePlayer), kOneLeft);
    EXPECT_EQ(SlotOfVirtualKey(37, kStatusCooperative), (KeySlot{false, kRightPlayer, kMoveLeft}));
    EXPECT_EQ(SlotOfVirtualKey('S', kStatusFaceToFace), (KeySlot{false, kLeftPlayer, kFasterDown}));
    EXPECT_EQ(SlotOfVirtualKey('P', kStatusOnePlayer), KeySlot{true});
    EXPECT_EQ(SlotOfVirtualKey('Q', kStatusOnePlayer), std::nullopt);
    // The defaults are the keys the game always read.
    const KeyBindings keys = DefaultKeyBindings();
    for (const int code : {37, 38, 39, 40, 65, 68, 87, 83, 80}) {
        for (const int status : {kStatusOnePlayer, kStatusCooperative, kStatusFaceToFace}) {
            const auto slot = SlotOfVirtualKey(code, status);
            ASSERT_TRUE(slot) << code;
            EXPECT_EQ(keys.At(*slot), PhysicalKeyOfVirtualKey(code)) << code << " " << status;
        }
    }
}

TEST(KeyRepeat, OffRepeatsAtEveryPollAndOnWaitsForTheDelayThenKeepsTheRate) {
    const auto run = [](const RepeatTiming& timing, int polls) {
        KeyRepeat repeat;
        std::string seen;
        for (int i = 0; i < polls; ++i) seen += repeat.Held(true, timing, 60) ? '1' : '0';
        return seen;
    };
    EXPECT_EQ(run(RepeatTiming{false, 300, 300}, 5), "11111");
    EXPECT_EQ(run(RepeatTiming{true, 180, 60}, 6), "000111");
    EXPECT_EQ(run(RepeatTiming{true, 61, 130}, 8), "00100100");  // both rounded up to ticks
    EXPECT_EQ(run(RepeatTiming{true, 0, 0}, 3), "111");
    KeyRepeat repeat;
    const RepeatTiming timing{true, 120, 60};
    repeat.Held(true, timing, 60);
    EXPECT_FALSE(repeat.Held(false, timing, 60));
    EXPECT_FALSE(repeat.Held(true, timing, 60));  // a new hold waits again
}

}  // namespace
}  // namespace blok
