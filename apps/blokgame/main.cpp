// Blokfall: the game program. Without arguments it runs the game; `--help-viewer FILE` shows
// the help text in a window of its own (the game starts it that way from its Help menu).

#include <atomic>
#include <cstdint>
#include <memory>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <span>
#include <system_error>

#include <QApplication>
#include <QIcon>
#include <QMainWindow>

#include "fluidsynth_sequencer.h"
#include "game_shell.h"
#include "help_viewer.h"
#include "hiscore_book.h"
#include "hiscore_dialogs.h"
#include "mci.h"
#include "options_controller.h"
#include "sdl_gamepads.h"
#include "settings_file.h"
#include "playlist.h"
#include "qt_platform.h"
#include "quiet_messages.h"
#include "random.h"
#include "render_screen.h"

namespace {

int RunGame() {
    blok::Random random;
    auto volume = std::make_shared<std::atomic<float>>(1.0f);
    blok::fluid::FluidSynthOptions synthOptions;
    synthOptions.volume = volume;
    blok::Mci mci(blok::fluid::MakeFluidSynthSequencer(synthOptions));
    std::error_code noDirectory;
    const std::filesystem::path gameFolder = std::filesystem::current_path(noDirectory);
    blok::Playlist playlist(mci, random, gameFolder);
    blok::PlaylistMusic music(playlist);
    // The playlist's record of songs played travels in hiscore.dat with the table.
    blok::qt::QtHiscoreDialogs hiscoreDialogs;
    blok::HiscoreFileBook hiscores(
        "hiscore.dat",
        std::span<std::int32_t, blok::kMusicWords>(playlist.stillPlayed.data(), blok::kMusicWords),
        hiscoreDialogs);
    blok::RenderScreen screen(random);
    blok::qt::QtPlatform platform;
    blok::GameShell shell(platform, random, screen, hiscores, music,
                          [] { return static_cast<std::int64_t>(std::time(nullptr)); },
                          gameFolder);
    platform.Attach(shell);
    blok::sdl::SdlGamepads pads;
    platform.SetPads(&pads);
    blok::qt::OptionsController options(
        platform, blok::qt::DefaultSettingsPath(),
        {.applyToGame = [&shell](const blok::Settings& settings) { shell.ApplySettings(settings); },
         .applyVolume = [&volume](int percent, bool muted) {
             volume->store(muted ? 0.0f : static_cast<float>(percent) / 100.0f);
         },
         .padNames = [&pads] {
             QStringList names;
             for (int pad = 0; pad < blok::kPads; ++pad) {
                 names << QString::fromStdString(pads.Name(pad));
             }
             return names;
         }});

    shell.Startup();
    if (!platform.CreateMainWindow()) {
        std::fprintf(stderr, "Blokfall: the main window could not be created.\n");
        return 1;
    }
    hiscoreDialogs.SetOwner(platform.Window());
    options.Start();
    platform.ShowAndPaint();
    platform.Exec();
    return shell.AfterLoop();
}

}  // namespace

int main(int argc, char** argv) {
    blok::qt::InstallQuietMessageHandler();
    blok::qt::ExitPlainlyWithoutDisplay("Blokfall");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Blokfall"));
    // Every window of the game carries its icon, the help viewer's too.
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/blokfall-256.png")));
    QApplication::setQuitOnLastWindowClosed(false);  // the game ends through its own handlers

    const QStringList arguments = QApplication::arguments().mid(1);
    if (arguments.isEmpty()) return RunGame();
    if (arguments.size() == 2 && arguments.at(0) == QStringLiteral("--help-viewer")) {
        QApplication::setQuitOnLastWindowClosed(true);
        return blok::qt::RunHelpViewer(arguments.at(1));
    }
    std::fprintf(stderr, "Usage: Blokfall [--help-viewer FILE]\n");
    return 2;
}
