// The player's settings as the shell applies them: remapped keys, the repeat delay on the
// virtual clock, pause on focus loss and the Paused marker.
#include <gtest/gtest.h>

#include <vector>

#include "shell_program.h"

namespace blok {
namespace {

constexpr int kVkLeft = 37;
constexpr int kKeyJ = 44;  // the physical key labelled J

struct SettingsProgram : Program {
    explicit SettingsProgram(const Settings& settings) {
        shell.ApplySettings(settings);
        LaunchAndPlay(1, 1);
        platform.RunFor(120);  // the first piece is in the field
    }
    int PieceX() { return game().AktuellerSpielStein1.x; }
    int PieceY() { return game().AktuellerSpielStein1.y; }
    // Columns moved left at each of the next input ticks.
    std::vector<int> LeftMovesPerTick(int ticks) {
        std::vector<int> moves;
        for (int i = 0; i < ticks; ++i) {
            const int before = PieceX();
            platform.RunFor(60);
            moves.push_back(before - PieceX());
        }
        return moves;
    }
};

TEST(ShellSettings, ARemappedKeyMovesThePieceAndTheOldKeyNoLonger) {
    Settings settings;
    ASSERT_FALSE(Assign(settings.keys, KeySlot{false, kOnePlayer, kMoveLeft}, kKeyJ));
    SettingsProgram p(settings);
    const int x = p.PieceX();
    p.platform.Press(kVkLeft);
    p.platform.RunFor(60);
    EXPECT_EQ(p.PieceX(), x);
    p.platform.PressKey(kKeyJ);
    p.platform.RunFor(60);
    EXPECT_EQ(p.PieceX(), x - 1);
}

TEST(ShellSettings, HeldLeftMovesEveryTickWithoutRepeatDelay) {
    SettingsProgram p{Settings{}};
    p.platform.Hold(kVkLeft);
    EXPECT_EQ(p.LeftMovesPerTick(3), (std::vector<int>{1, 1, 1}));
}

TEST(ShellSettings, RepeatDelayAndRateCountInInputTicks) {
    Settings settings;
    settings.repeat = RepeatTiming{true, 150, 120};  // 150 ms rounds up to three ticks
    SettingsProgram p(settings);
    p.platform.Hold(kVkLeft);
    EXPECT_EQ(p.LeftMovesPerTick(6), (std::vector<int>{1, 0, 0, 1, 0, 1}));
    // Released and pressed again, the delay starts afresh.
    p.platform.Release(PhysicalKeyOfVirtualKey(kVkLeft));
    p.platform.RunFor(60);
    p.platform.Hold(kVkLeft);
    const int x = p.PieceX();
    EXPECT_EQ(p.LeftMovesPerTick(2), (std::vector<int>{1, 0}));
    EXPECT_EQ(p.PieceX(), x - 1);
}

TEST(ShellSettings, FocusLossPausesOnlyWhenAskedAndTheMarkerShowsOnlyWhenAsked) {
    for (const bool pauseOnFocusLoss : {false, true}) {
        SCOPED_TRACE(pauseOnFocusLoss);
        Settings settings;
        settings.pauseOnFocusLoss = pauseOnFocusLoss;
        settings.showPaused = true;
        SettingsProgram p(settings);
        p.shell.OnDeactivate();
        const int y = p.PieceY();
        p.platform.RunFor(2000);
        EXPECT_EQ(p.game().gamePause, pauseOnFocusLoss ? 1 : 0);
        EXPECT_EQ(p.PieceY() == y, pauseOnFocusLoss);
        EXPECT_EQ(p.platform.pausedMarker, pauseOnFocusLoss);
    }
}

TEST(ShellSettings, PausedMarkerFollowsThePauseKeyAndEndsWithTheGame) {
    Settings settings;
    settings.showPaused = true;
    SettingsProgram p(settings);
    p.PressPause();
    EXPECT_TRUE(p.platform.pausedMarker);
    p.PressPause();
    EXPECT_FALSE(p.platform.pausedMarker);
    p.PressPause();
    p.shell.OnCommand(kCmdQuitGame);
    p.platform.DeliverPaints();
    EXPECT_FALSE(p.platform.pausedMarker);
    // Without the option a pause shows nothing.
    SettingsProgram plain{Settings{}};
    plain.PressPause();
    EXPECT_EQ(plain.game().gamePause, 1);
    EXPECT_EQ(plain.log.Count("PausedMarker 1"), 0u);
}

}  // namespace
}  // namespace blok
