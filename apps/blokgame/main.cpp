// Blokfall: the game program. Without arguments it runs the game; `--help-viewer FILE` shows
// the help text in a window of its own (the game starts it that way from its Help menu);
// `--host [PORT] [--code CODE]` and `--join HOST[:PORT] --code CODE` start a network fight;
// `--help` and `--version` answer without a display.

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <system_error>
#include <vector>

#include <QApplication>
#include <QDateTime>
#include <QIcon>
#include <QMainWindow>
#include <QTimer>

#include "command_line.h"
#include "enet_transport.h"
#include "fluidsynth_sequencer.h"
#include "game_shell.h"
#include "help_viewer.h"
#include "hiscore_book.h"
#include "hiscore_dialogs.h"
#include "mci.h"
#include "net_fight.h"
#include "net_request.h"
#include "net_ui.h"
#include "options_controller.h"
#include "playlist.h"
#include "qt_platform.h"
#include "quiet_messages.h"
#include "random.h"
#include "render_screen.h"
#include "sdl_gamepads.h"
#include "settings_file.h"

namespace {

// The game's options after the program's name, as the parser of network requests takes them.
std::vector<std::string> Plain(const QStringList& arguments) {
    std::vector<std::string> plain;
    for (const QString& argument : arguments) plain.push_back(argument.toStdString());
    return plain;
}

std::optional<blok::net::NetRequest> ParseNetRequest(const QStringList& arguments) {
    return blok::net::ParseNetRequest(Plain(arguments));
}

std::string Usage(const std::string& command) {
    return "Usage: " + command +
           " [--host [PORT] [--code CODE] | --join HOST[:PORT] --code CODE]\n" + "       " +
           command + " --help-viewer FILE\n" + "       " + command + " --help | --version\n";
}

std::string HelpText(const std::string& command) {
    return Usage(command) + "\n" +
           "Blokfall, a falling-block puzzle game for one or two players. Without options the\n"
           "game starts on its title screen.\n"
           "\n"
           "  --host [PORT]          wait for a network fight on PORT (default " +
           std::to_string(blok::net::kDefaultPort) + ")\n" +
           "  --code CODE            with --host: the join code to use instead of a random one;\n"
           "                         with --join: the code the host shows (required)\n"
           "  --join HOST[:PORT]     join the network fight of HOST\n"
           "  --help-viewer FILE     show the help text FILE in a window of its own\n"
           "  -h, --help             show this help and exit\n"
           "  --version              show the version and exit\n"
           "\n"
           "Exit status: 0 when the game ends normally, 1 when it cannot start (no display, no\n"
           "window), 2 for a command line it does not understand.\n";
}

int RunGame(const std::optional<blok::net::NetRequest>& request) {
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
    screen.SetPixelLender(
        [&platform](int width, int height) { return platform.LendFramePixels(width, height); });
    blok::GameShell shell(
        platform, random, screen, hiscores, music,
        [] { return static_cast<std::int64_t>(std::time(nullptr)); }, gameFolder);
    platform.Attach(shell);
    blok::sdl::SdlGamepads pads;
    platform.SetPads(&pads);
    blok::qt::OptionsController options(
        platform, blok::qt::DefaultSettingsPath(),
        {.applyToGame = [&shell](const blok::Settings& settings) { shell.ApplySettings(settings); },
         .applyVolume =
             [&volume](int percent, bool muted) {
                 volume->store(muted ? 0.0f : static_cast<float>(percent) / 100.0f);
             },
         .padNames =
             [&pads] {
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
    blok::enet::EnetNetwork network;
    blok::net::NetFight fight(shell, platform, network,
                              [] { return QDateTime::currentMSecsSinceEpoch(); });
    blok::qt::NetUi netUi(platform, shell, fight);
    platform.ShowAndPaint();
    // A fight asked for on the command line begins once the title screen stands.
    QTimer waitForTitle;
    if (request) {
        QObject::connect(&waitForTitle, &QTimer::timeout, &netUi, [&] {
            if (shell.game().iGameStatus != blok::kStatusTitle) return;
            waitForTitle.stop();
            const QString code = QString::fromStdString(request->code);
            if (request->kind == blok::net::NetRequest::Kind::kHost) {
                netUi.HostNow(request->port, code);
            } else {
                netUi.JoinNow(QString::fromStdString(request->host), request->port, code);
            }
        });
        waitForTitle.start(20);
    }
    platform.Exec();
    fight.Close();
    return shell.AfterLoop();
}

// The command line as given, before the toolkit takes its own options out of it.
QStringList GivenArguments(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

bool IsHelpViewerRequest(const QStringList& arguments) {
    return arguments.size() == 2 && arguments.at(0) == QStringLiteral("--help-viewer");
}

bool Understood(const QStringList& arguments) {
    return arguments.isEmpty() || IsHelpViewerRequest(arguments) ||
           ParseNetRequest(arguments).has_value();
}

int BadUsage(const std::string& command) {
    std::fprintf(stderr, "%sTry '%s --help' for more.\n", Usage(command).c_str(), command.c_str());
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = blok::qt::CommandName(argv[0]);
    if (const auto status =
            blok::qt::AnswerHelpOrVersion(argc, argv, HelpText(command), "Blokfall")) {
        return *status;
    }
    // The game's own options all begin with "--"; one-dash options may be the toolkit's, which
    // only the QApplication can take out.
    const QStringList given = GivenArguments(argc, argv);
    if (!given.isEmpty() && given.first().startsWith(QStringLiteral("--")) && !Understood(given)) {
        return BadUsage(command);
    }
    blok::fluid::NameTheMusicStream("Blokfall", "org.blokfall.Blokfall");
    blok::qt::InstallQuietMessageHandler();
    blok::qt::ExitPlainlyWithoutDisplay("Blokfall");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Blokfall"));
    // Every window of the game carries its icon, the help viewer's too.
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/blokfall-256.png")));
    QApplication::setQuitOnLastWindowClosed(false);  // the game ends through its own handlers

    const QStringList arguments = QApplication::arguments().mid(1);
    if (arguments.isEmpty()) return RunGame(std::nullopt);
    if (IsHelpViewerRequest(arguments)) {
        QApplication::setQuitOnLastWindowClosed(true);
        return blok::qt::RunHelpViewer(arguments.at(1));
    }
    if (const auto request = ParseNetRequest(arguments)) return RunGame(request);
    return BadUsage(command);
}
