#pragma once

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "game.h"

namespace blok::testing {

// Keys, messages and timer restarts as the rules see them, all under the test's control.
class FakeHost : public GameHost {
  public:
    struct Message {
        std::string text;
        std::string caption;
        int statusWhenShown;
    };

    bool PressedSinceLastRead(int virtualKey) override { return pressed.erase(virtualKey) > 0; }
    bool Held(int virtualKey) override { return held.count(virtualKey) > 0; }
    void ShowMessage(std::string_view text, std::string_view caption) override {
        messages.push_back(
            {std::string(text), std::string(caption), game != nullptr ? game->iGameStatus : 0});
    }
    void RestartGravityTimer(int milliseconds) override { restarts.push_back(milliseconds); }

    void Press(int keyCode) { pressed.insert(keyCode & 0xFF); }

    std::set<int> pressed;
    std::set<int> held;
    std::vector<Message> messages;
    std::vector<int> restarts;
    const Game* game = nullptr;
};

class GameTest : public ::testing::Test {
  protected:
    GameTest() { host.game = &game; }

    // A fresh game of the given type, initialised as the paint handler would, pieces not yet made.
    void Start(int status) {
        game.iGameStatus = status;
        game.GameInit = 1;
        game.StartFromPaint();
    }

    // Start, then the first step, which creates the pieces.
    void StartWithPieces(int status) {
        Start(status);
        game.GameGoOn();
    }

    std::int16_t& Cell(int x, int y) {
        return game.SpielFeld[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)];
    }

    void FillRow(int y, int left, int length, std::int16_t value = 3) {
        for (int x = left; x < left + length; ++x) Cell(x, y) = value;
    }

    // Fills the row with colours 1..6 in turn, leaving the given columns empty.
    void FillRowExcept(int y, int left, int length, const std::set<int>& holes = {}) {
        for (int x = left; x < left + length; ++x) {
            Cell(x, y) = static_cast<std::int16_t>(holes.count(x) != 0 ? 0 : x % 6 + 1);
        }
    }

    int CountInRow(int y, int left, int length, std::int16_t value) {
        int n = 0;
        for (int x = left; x < left + length; ++x) n += Cell(x, y) == value ? 1 : 0;
        return n;
    }

    // Puts a piece of the given shape somewhere, as a normal piece of colour 2.
    static void Place(figure& piece, int shape, int x, int y) {
        piece.what = shape == 7 ? 3 : 2;
        piece.color = 2;
        piece.stone = Stein[static_cast<std::size_t>(shape)];
        piece.x = x;
        piece.y = y;
    }

    Random random{12345};
    FakeHost host;
    Game game{random, host};
};

inline constexpr int kSquare = 0, kBar = 1, kBomb = 7;

}  // namespace blok::testing
