#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

#include "game.h"
#include "platform.h"
#include "random.h"
#include "services.h"
#include "shell.h"

namespace blok {

// Window timers.
inline constexpr int kTimerTitlePicture = 10;  // 9 s picture cycle of the title screen
inline constexpr int kTimerTitleStep = 11;     // 60 ms title animation
inline constexpr int kTimerGravity = 12;       // gamespeed ms
inline constexpr int kTimerInput = 13;         // 60 ms key poll and frame
inline constexpr int kTimerMusicPoll = 15;     // 10 s
inline constexpr int kTimerSpeedUp = 16;       // 10 s

// Menu commands.
inline constexpr int kCmdHiscore = 200;
inline constexpr int kCmdQuit = 202;
inline constexpr int kCmdMusicPlay = 203;
inline constexpr int kCmdMusicStop = 204;
inline constexpr int kCmdQuitGame = 205;
inline constexpr int kCmdSkipMusic = 206;
inline constexpr int kCmdPicture = 207;
inline constexpr int kCmdWhite = 208;
inline constexpr int kCmdGameInfo = 215;
inline constexpr int kCmdHelpFile = 216;
inline constexpr int kCmdAbout = 217;

// Start dialog controls.
inline constexpr int kDlgOnePlayer = 102;
inline constexpr int kDlgTwoPlayers = 103;
inline constexpr int kDlgCooperative = 105;
inline constexpr int kDlgFaceToFace = 106;
inline constexpr int kDlgStart = 107;
inline constexpr int kDlgExit = 108;

// The main window's own state besides the game's.
struct ShellState {
    int backgroundImage = 1;  // 1 = playfield over the game type's picture, 0 = over white
    int ClrScr = 0;           // 1 = the next title step repaints the whole client area
    int WINBREITE = 0;        // title frame width; the start dialog's width, then at least 409
    int WINHOEHE = 0;         // wanted window height (first the dialog's bottom edge on screen)
    int WINCHANGE = 0;        // 1 = the next paint resizes the window
    bool startDialogOpen = false;
    bool shutDown = false;    // a way out has been taken: nothing more is handled
    int exitCode = 0;
};

// Everything a game frame is composed from. A step that leaves all of it as it was would compose
// the same frame again, so it asks for no repaint.
struct GameFrameInputs {
    struct Piece {
        std::int16_t what = 0;
        std::int16_t color = 0;
        std::int32_t x = 0;
        std::int32_t y = 0;
        Matrix stone{};
        bool operator==(const Piece&) const = default;
    };
    Field field{};
    std::array<Piece, 2> pieces{};
    int status = 0;
    std::uint32_t points1 = 0;
    std::uint32_t points2 = 0;
    int won1 = 0;
    int won2 = 0;
    int backgroundImage = 0;
    int clientWidth = 0;
    int clientHeight = 0;
    bool operator==(const GameFrameInputs&) const = default;
};

// The main window's logic: status machine, timers, paint dispatch, menu commands and the start
// dialog's procedure. It owns the game and answers the game's needs through the platform.
class GameShell final : public Shell, private GameHost {
public:
    // Calendar time in seconds; seeds the generator at start-up.
    using Clock = std::function<std::int64_t()>;

    GameShell(Platform& platform, Random& random, Screen& screen, HiscoreBook& hiscores,
              MusicControl& music, Clock clock);

    void Startup() override;
    void OnCreate() override;
    void OnPaint() override;
    void OnTimer(int id) override;
    void OnCommand(int id) override;
    void OnActivate() override;
    void OnDestroy() override;
    int AfterLoop() override;

    void StartDialogInit() override;
    void StartDialogCommand(int id) override;

    Game& game() { return game_; }
    const Game& game() const { return game_; }
    const ShellState& state() const { return state_; }

private:
    // GameHost: the game's key readings, its message box and its gravity timer.
    bool PressedSinceLastRead(int virtualKey) override;
    bool Held(int virtualKey) override;
    void ShowMessage(std::string_view text, std::string_view caption) override;
    void RestartGravityTimer(int milliseconds) override;

    void AdjustWindowSize();
    void EnterTitleScreen();
    void PaintTitle();
    void StartGame();
    void PaintGame();
    GameFrameInputs CurrentGameFrameInputs() const;
    void RepaintGameIfChanged();
    void TitleAnimationTick();
    void MusicPollTick();
    void SkipMusic();
    void SetMusicChecks(bool playing);
    void SetBackground(int image);
    void OpenHelpFile();
    void CloseStartDialog();
    void ShutdownAndQuit();
    void shutdown();

    Platform& platform_;
    Random& random_;
    Screen& screen_;
    HiscoreBook& hiscores_;
    MusicControl& music_;
    Clock clock_;
    Game game_;
    ShellState state_;
    std::optional<GameFrameInputs> requestedGameFrame_;  // what the last repaint request showed
};

}  // namespace blok
