// The computer on the right side of the two-player games, as the settings choose it: it steers
// its piece through the key readings, and the person on the left plays with the one-player keys.
#include <gtest/gtest.h>

#include "shell_program.h"

namespace blok {
namespace {

constexpr int kVkCursorLeft = 37;
constexpr int kVkA = 65;

struct ComputerProgram : Program {
    ComputerProgram(ComputerLevel level, int players, int type) {
        Settings settings;
        settings.computer = level;
        shell.ApplySettings(settings);
        LaunchAndPlay(players, type);
        platform.RunFor(180);  // the first pieces are in the field
    }
    const figure& Left() { return game().AktuellerSpielStein1; }
    const figure& Right() { return game().AktuellerSpielStein2; }
    // Cells landed in field columns first..last.
    int CellsIn(int first, int last) {
        int cells = 0;
        for (int x = first; x <= last; ++x) {
            for (int y = 0; y < 20; ++y) cells += game().CellAt(x, y) > 0 ? 1 : 0;
        }
        return cells;
    }
    // Whether the right piece stands anywhere but where it appeared within the time.
    bool RightPieceMoves(int milliseconds) {
        for (int t = 0; t < milliseconds; t += 60) {
            platform.RunFor(60);
            if (Right().x != kSpawnColumn2 && Right().x != kFirstSpawnColumn2) return true;
        }
        return false;
    }
};

TEST(ShellComputer, FaceToFaceTheComputerMovesAndLandsAndThePersonUsesTheOnePlayerKeys) {
    ComputerProgram p(ComputerLevel::kHard, 2, 2);
    const int x = p.Left().x;
    p.platform.Press(kVkA);  // the left player's own key no longer steers it
    p.platform.RunFor(60);
    EXPECT_EQ(p.Left().x, x);
    p.platform.Press(kVkCursorLeft);
    p.platform.RunFor(60);
    EXPECT_EQ(p.Left().x, x - 1);

    EXPECT_TRUE(p.RightPieceMoves(3000));
    p.platform.RunFor(20 * 1000);
    EXPECT_GT(p.CellsIn(kRightAreaColumn, kRightAreaColumn + kAreaWidth - 1), 4);
    EXPECT_EQ(p.game().iGameStatus, kStatusFaceToFace);
}

TEST(ShellComputer, CooperativeTheComputerIsThePartnerOnTheRight) {
    ComputerProgram p(ComputerLevel::kNormal, 2, 1);
    EXPECT_TRUE(p.RightPieceMoves(3000));
    p.platform.RunFor(20 * 1000);
    // It builds on its own half and leaves the person's piece to the person.
    EXPECT_GT(p.CellsIn(12, 21), p.CellsIn(2, 11));
    EXPECT_EQ(p.Left().x, kSpawnColumn1);
}

TEST(ShellComputer, OffOrInAOnePlayerGameEveryKeyIsAPersonsAsBefore) {
    ComputerProgram off(ComputerLevel::kOff, 2, 2);
    const int x = off.Left().x;
    off.platform.Press(kVkA);
    off.platform.RunFor(60);
    EXPECT_EQ(off.Left().x, x - 1);
    EXPECT_FALSE(off.RightPieceMoves(3000));

    ComputerProgram alone(ComputerLevel::kHard, 1, 1);
    alone.platform.RunFor(3000);
    EXPECT_EQ(alone.Left().x, kSpawnColumn1);
    alone.platform.Press(kVkCursorLeft);
    alone.platform.RunFor(60);
    EXPECT_EQ(alone.Left().x, kSpawnColumn1 - 1);
}

}  // namespace
}  // namespace blok
