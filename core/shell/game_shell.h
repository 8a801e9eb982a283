#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>

#include "computer_keys.h"
#include "computer_level.h"
#include "computer_player.h"
#include "game.h"
#include "ids_and_sizes.h"
#include "key_repeat.h"
#include "platform.h"
#include "random.h"
#include "services.h"
#include "settings.h"
#include "shell.h"
#include "tick_route.h"

namespace blok {

// The main window's own state besides the game's.
struct ShellState {
    int backgroundImage = 1;  // 1 = playfield over the game type's picture, 0 = over white
    int ClrScr = 0;           // 1 = the next title step repaints the whole client area
    int WINBREITE = 0;  // title frame width; the start dialog's width, then at least kWindowWidth
    int WINHOEHE = 0;   // wanted window height (first the dialog's bottom edge on screen)
    int WINCHANGE = 0;  // 1 = the next paint resizes the window
    bool startDialogOpen = false;
    bool shutDown = false;  // a way out has been taken: nothing more is handled
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

    // `workingDirectory` is the folder the program was started in, where the help file lies;
    // empty when it could not be read.
    GameShell(Platform& platform, Random& random, Screen& screen, HiscoreBook& hiscores,
              MusicControl& music, Clock clock, std::filesystem::path workingDirectory);

    void Startup() override;
    void OnCreate() override;
    void OnPaint() override;
    void OnTimer(int id) override;
    void OnCommand(int id) override;
    void OnActivate() override;
    void OnDeactivate() override;
    void OnDestroy() override;
    int AfterLoop() override;

    void StartDialogInit() override;
    void StartDialogCommand(int id) override;

    // A network fight's route for the ticks and keys; null for none.
    void SetTickRoute(TickRoute* route) { route_ = route; }
    // The game has been set up to start by someone else than the start dialog (a network
    // fight): the title gives way, and the next paint starts it.
    void StartPreparedGame();
    // This machine's player in a network fight plays with the one-player keys as bound, and
    // the gamepad; readings by the rules' virtual-key codes. `PlayerPressed` consumes the press;
    // `PlayerHeld` with `repeat` follows the repeat delay and is read once per input tick.
    bool PlayerPressed(int virtualKey) { return PressedIn(virtualKey, kStatusOnePlayer); }
    bool PlayerHeld(int virtualKey, bool repeat) {
        return HeldIn(virtualKey, kStatusOnePlayer, repeat);
    }
    // The player's keys, repeat delay and pause options; the defaults play as the game always did.
    // A computer player in the settings takes the right side from the next two-player game on.
    void ApplySettings(const Settings& settings);
    // From the next game on, `side` (1 left or alone, 2 right) is the computer's at `level`,
    // or nobody's with ComputerLevel::kOff. While it plays the right side, the person on the left
    // plays with the one-player keys and pad.
    void SetComputer(int side, ComputerLevel level);

    Game& game() { return game_; }
    const Game& game() const { return game_; }
    const ShellState& state() const { return state_; }

  private:
    // GameHost: the game's key readings, its message box and its gravity timer.
    bool PressedSinceLastRead(int virtualKey) override;
    bool Held(int virtualKey) override;
    void ShowMessage(std::string_view text, std::string_view caption) override;
    void RestartGravityTimer(int milliseconds) override;

    bool ReadSlot(const KeySlot& slot, bool (Platform::*reading)(int));
    // The key readings as a game of that status makes them.
    bool PressedIn(int virtualKey, int gameStatus);
    bool HeldIn(int virtualKey, int gameStatus, bool repeat);
    void UpdatePausedMarker();
    void AdjustWindowSize();
    void EnterTitleScreen();
    void OfferScoreAndShowTitle();
    void PaintTitle();
    void StartGame();
    bool Routed() const { return route_ != nullptr && route_->Active(); }
    void StartComputer();
    bool ComputerPlays() const;
    // The slot a key reading stands for, with the left player on the one-player keys while the
    // computer plays the right.
    std::optional<KeySlot> PersonSlot(int virtualKey, int gameStatus) const;
    // Plays one of the game's ticks, through the route when a fight is on; true: repaint.
    bool RunTick(TickRoute::Kind kind);
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
    void StopTimersMusicAndScreen();

    Platform& platform_;
    Random& random_;
    Screen& screen_;
    HiscoreBook& hiscores_;
    MusicControl& music_;
    Clock clock_;
    std::filesystem::path workingDirectory_;
    Game game_;
    ShellState state_;
    std::optional<GameFrameInputs> requestedGameFrame_;  // what the last repaint request showed
    Settings settings_;
    // Left and Right of each side, for the repeat delay.
    std::array<KeyRepeat, kSides * 2> repeat_{};
    bool pausedMarkerShown_ = false;
    TickRoute* route_ = nullptr;
    int computerSide_ = 2;
    ComputerLevel computerLevel_ = ComputerLevel::kOff;
    std::optional<ComputerPlayer> computer_;
    ComputerKeys computerKeys_;
};

}  // namespace blok
