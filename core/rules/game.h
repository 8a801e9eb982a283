#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "random.h"

namespace blok {

// A piece's cells, indexed [dx][dy] (column offset first); non-zero = occupied.
using Matrix = std::array<std::array<std::int16_t, 4>, 4>;

inline constexpr int kFieldColumns = 50;
inline constexpr int kFieldRows = 30;
using Field = std::array<std::array<std::int16_t, kFieldRows>, kFieldColumns>;  // [x][y]

// Cell values of the playfield.
inline constexpr std::int16_t kEmpty = 0;
inline constexpr std::int16_t kWall = 7;
inline constexpr std::int16_t kPenalty = 8;
inline constexpr std::int16_t kBlast = 10;

// Values of iGameStatus.
inline constexpr int kStatusTitlePending = 1;
inline constexpr int kStatusTitle = 2;
inline constexpr int kStatusOnePlayer = 3;
inline constexpr int kStatusCooperative = 4;
inline constexpr int kStatusFaceToFace = 5;
inline constexpr int kStatusExit = 6;
inline constexpr int kStatusHiscoreCheck = 7;

// Statuses 3, 4 and 5: a game of that type is running.
inline constexpr bool IsGameRunning(int status) {
    return status >= kStatusOnePlayer && status <= kStatusFaceToFace;
}

// Key codes: letters as their character, cursor keys as 256 + their virtual-key code.
inline constexpr int kKeyA = 65, kKeyD = 68, kKeyW = 87, kKeyS = 83, kKeyP = 80;
inline constexpr int kKeyLeft = 293, kKeyUp = 294, kKeyRight = 295, kKeyDown = 296;

inline constexpr int kStartSpeedMs = 350;
inline constexpr int kFastestSpeedMs = 195;
inline constexpr int kSpeedStepMs = 5;

// Values of figure::what.
inline constexpr std::int16_t kPieceNone = 1;   // no piece yet: the next step makes the first
inline constexpr std::int16_t kPieceCells = 2;  // a piece of four coloured cells
inline constexpr std::int16_t kPieceBomb = 3;

// Results of Game::StoneCollision.
inline constexpr int kCollisionNone = 0;
inline constexpr int kCollisionField = 1;  // a wall, the floor or a landed cell
inline constexpr int kCollisionPiece = 2;  // only the other player's falling piece

// The playing areas: player 1's ten columns, player 2's ten face to face, and the cooperative
// game's twenty from player 1's left edge.
inline constexpr int kAreaWidth = 10;
inline constexpr int kLeftAreaColumn = 2;
inline constexpr int kRightAreaColumn = 13;
inline constexpr int kCooperativeWidth = 2 * kAreaWidth;

// Where new pieces appear in row 0.
inline constexpr int kSpawnColumn1 = 5;
inline constexpr int kFirstSpawnColumn2 = 16;  // the first piece of a game or bout
inline constexpr int kSpawnColumn2 = 15;

struct figure {
    std::int16_t what = 0;  // kPieceNone, kPieceCells or kPieceBomb
    std::int16_t color = 0;
    std::int32_t x = 0;
    std::int32_t y = 0;
    Matrix stone{};
};

// The eight shapes, [shape][dx][dy]; shape 7 is the one-cell bomb.
extern const std::array<Matrix, 8> Stein;

// What the game step needs from the program around it. Key readings take a virtual-key code
// (the low 8 bits of a key code).
class GameHost {
  public:
    virtual ~GameHost() = default;
    // The key went down at least once since the last such reading; reading it consumes it.
    virtual bool PressedSinceLastRead(int virtualKey) = 0;
    // The key is down at this moment.
    virtual bool Held(int virtualKey) = 0;
    // A blocking message with one OK button, owned by the main window.
    virtual void ShowMessage(std::string_view text, std::string_view caption) = 0;
    // The gravity timer starts again with the given interval.
    virtual void RestartGravityTimer(int milliseconds) = 0;
};

// A host with no keys down, no message box and no timer: for games that are only drawn or
// measured.
class NullGameHost final : public GameHost {
  public:
    bool PressedSinceLastRead(int) override { return false; }
    bool Held(int) override { return false; }
    void ShowMessage(std::string_view, std::string_view) override {}
    void RestartGravityTimer(int) override {}
};

// The whole game state with the operations of the rules. Names follow the program's tradition.
struct Game {
    Game(Random& random, GameHost& gameHost) : rng(random), host(gameHost) {}

    // Pieces and field.
    static void GetStone(int iNummer, Matrix& stone);
    void Stone2Area(int a, int b, const Matrix& stone, int col, int type);
    int StoneCollision(int a, int b, const Matrix& stone, int c, int d, const Matrix& stone1) const;
    void RotateStone(int a, int b, Matrix& stone, int c, int d, const Matrix& stone1) const;

    // Rows and penalty cells.
    void KillRow(int left, int length);
    void RowDown(int left, int down);
    void AreaMove();

    // The game step.
    void GameGoOn();

    // The ticks of the running game, as the main window's timers deliver them.
    void GravityTick();
    void SpeedUpTick() { gamespeedup = 1; }
    // Returns true when the tick asks for a repaint of the whole window.
    bool InputTick();
    // A paint that finds a game to start: fresh speed, pause key discarded, first step.
    void StartFromPaint();

    // A cell, or a wall for anything outside the field, so that no test can read past it.
    std::int16_t CellAt(int x, int y) const;

    Random& rng;
    GameHost& host;

    Field SpielFeld{};
    figure AktuellerSpielStein1{};
    figure AktuellerSpielStein2{};

    int iPlayer = 1;
    int iGameTyp = 1;
    int iGameStatus = kStatusTitlePending;
    int GameInit = 0;
    int isLeft1 = 0, isRight1 = 0, isUp1 = 0, isDown1 = 0;
    int isLeft2 = 0, isRight2 = 0, isUp2 = 0, isDown2 = 0;
    std::uint32_t Up1Points = 0;
    std::uint32_t Up2Points = 0;
    int won1 = 0;
    int won2 = 0;
    int gamespeed = 0;
    int gamespeedup = 0;
    int STOP = 0;
    int gamePause = 0;
    int noScore = 0;
    int key1left = kKeyLeft, key1right = kKeyRight, key1up = kKeyUp, key1down = kKeyDown;
    int key2left = kKeyA, key2right = kKeyD, key2up = kKeyW, key2down = kKeyS;

  private:
    struct PlayerView;
    PlayerView Player(int which);
    void Initialise();
    void AssignKeys();
    void BuildField();
    void NewPiece(figure& piece, int x, bool first);
    void StepPlayer(PlayerView p);
    void LandPiece(PlayerView p);
    void LoseBout(PlayerView p);
    void SendPenaltyCells(int left);
    bool RowComplete(int left, int length, int y) const;
    void ClearRow(int left, int length, int y);
    void PollKeys();
    bool Pressed(int code) { return host.PressedSinceLastRead(code & 0xFF); }
    bool Held(int code) { return host.Held(code & 0xFF); }
};

}  // namespace blok
