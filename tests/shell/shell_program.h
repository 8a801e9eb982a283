#pragma once

#include <cstdint>
#include <filesystem>
#include <utility>

#include "fakes.h"
#include "game_shell.h"
#include "virtual_platform.h"

namespace blok {

constexpr int kVkP = 80;
constexpr int kVkS = 83;
constexpr std::int64_t kMinute = 60 * 1000;
constexpr std::uint32_t kClockSeconds = 1234567;

// The whole program around one GameShell: a virtual desktop and recording collaborators.
struct Program {
    CallLog log;
    VirtualPlatform platform{log};
    Random random;
    FakeScreen screen{log};
    FakeHiscoreBook hiscores{log};
    FakeMusic music{log};
    GameShell shell;

    explicit Program(std::filesystem::path workingDirectory = "/game")
        : shell(
              platform, random, screen, hiscores, music, [] { return kClockSeconds; },
              std::move(workingDirectory)) {
        platform.Attach(shell);
        hiscores.status = [this] { return game().iGameStatus; };
        music.stop = [this] { return game().STOP; };
    }

    Game& game() { return shell.game(); }
    const ShellState& state() { return shell.state(); }

    // Start-up, window creation, then showing the window paints it before the loop runs.
    void Launch() {
        shell.Startup();
        shell.OnCreate();
        platform.InvalidateAll();
        platform.DeliverPaints();
    }

    void Choose(int players, int type) {
        shell.StartDialogCommand(players == 1 ? kDlgOnePlayer : kDlgTwoPlayers);
        shell.StartDialogCommand(type == 1 ? kDlgCooperative : kDlgFaceToFace);
    }

    void StartGame(int players, int type) {
        Choose(players, type);
        shell.StartDialogCommand(kDlgStart);
        platform.DeliverPaints();
    }

    void LaunchAndPlay(int players, int type) {
        Launch();
        StartGame(players, type);
    }

    // The pause key, read by the next input tick.
    void PressPause() {
        platform.Press(kVkP);
        platform.RunFor(60);
    }

    bool AnyTimerRunning() const {
        for (int id = 10; id <= 16; ++id) {
            if (platform.TimerRunning(id)) return true;
        }
        return false;
    }

    bool OnTitleScreen() { return game().iGameStatus == kStatusTitle && platform.dialogOpen; }
    int Bouts() { return game().won1 + game().won2; }
};

}  // namespace blok
