// Blokfall for Windows: the game program. Without arguments it runs the game; `--help-viewer
// FILE` shows the help text in a window of its own (the game starts it that way from its Help
// menu); `--host [PORT] [--code CODE]` and `--join HOST[:PORT] --code CODE` start a network
// fight. BLOKFALL_SEED=N in the environment starts every game from generator seed N, so that
// a test can compare what the window shows with the simulator's frame of the same game.

#include <windows.h>

#include <commctrl.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <system_error>
#include <vector>

#include "enet_transport.h"
#include "game_shell.h"
#include "help_window.h"
#include "hiscore_book.h"
#include "hiscore_dialogs.h"
#include "mci.h"
#include "mci_sequencer.h"
#include "net_dialogs.h"
#include "net_fight.h"
#include "net_request.h"
#include "options.h"
#include "playlist.h"
#include "random.h"
#include "render_screen.h"
#include "wide_text.h"
#include "win32_platform.h"
#include "xinput_pads.h"

namespace {

// The seed asked for through the environment, if any.
std::optional<std::uint32_t> SeedFromEnvironment() {
    const char* text = std::getenv("BLOKFALL_SEED");
    if (text == nullptr || *text == '\0') return std::nullopt;
    char* end = nullptr;
    const unsigned long value = std::strtoul(text, &end, 10);
    if (*end != '\0') return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

// Passes every event on to the game; the Start button first seeds the generator.
class SeededStarts final : public blok::Shell {
  public:
    SeededStarts(blok::Shell& shell, blok::Random& random, std::uint32_t seed)
        : shell_(shell), random_(random), seed_(seed) {}

    void Startup() override { shell_.Startup(); }
    void OnCreate() override { shell_.OnCreate(); }
    void OnPaint() override { shell_.OnPaint(); }
    void OnTimer(int id) override { shell_.OnTimer(id); }
    void OnCommand(int id) override { shell_.OnCommand(id); }
    void OnActivate() override { shell_.OnActivate(); }
    void OnDeactivate() override { shell_.OnDeactivate(); }
    void OnDestroy() override { shell_.OnDestroy(); }
    int AfterLoop() override { return shell_.AfterLoop(); }
    void StartDialogInit() override { shell_.StartDialogInit(); }
    void StartDialogCommand(int id) override {
        if (id == blok::kDlgStart) random_.Seed(seed_);
        shell_.StartDialogCommand(id);
    }

  private:
    blok::Shell& shell_;
    blok::Random& random_;
    std::uint32_t seed_;
};

int RunGame(HINSTANCE instance, const std::optional<blok::net::NetRequest>& request) {
    blok::Random random;
    blok::Mci mci(blok::win32::MakeMciSequencer());
    std::error_code noDirectory;
    const std::filesystem::path gameFolder = std::filesystem::current_path(noDirectory);
    blok::Playlist playlist(mci, random, gameFolder);
    blok::PlaylistMusic music(playlist);
    // The playlist's record of songs played travels in hiscore.dat with the table.
    blok::win32::Win32HiscoreDialogs hiscoreDialogs(instance);
    blok::HiscoreFileBook hiscores(
        "hiscore.dat",
        std::span<std::int32_t, blok::kMusicWords>(playlist.stillPlayed.data(), blok::kMusicWords),
        hiscoreDialogs);
    blok::RenderScreen screen(random);
    blok::win32::Win32Platform platform(instance);
    blok::GameShell game(
        platform, random, screen, hiscores, music,
        [] { return static_cast<std::int64_t>(std::time(nullptr)); }, gameFolder);
    const std::optional<std::uint32_t> seed = SeedFromEnvironment();
    std::optional<SeededStarts> seeded;
    if (seed) seeded.emplace(game, random, *seed);
    blok::Shell& shell = seeded ? static_cast<blok::Shell&>(*seeded) : game;
    platform.Attach(shell);

    shell.Startup();
    if (!platform.CreateMainWindow()) {
        MessageBoxW(nullptr, L"The main window could not be created.", L"Blokfall", MB_OK);
        return 1;
    }
    hiscoreDialogs.SetOwner(platform.Window());
    blok::win32::XInputPads pads;
    blok::win32::MidiVolume volume;
    platform.SetPads(&pads);
    blok::win32::Win32Options options(
        platform, blok::win32::DefaultSettingsPath(),
        {.applyToGame = [&game](const blok::Settings& settings) { game.ApplySettings(settings); },
         .applyVolume = [&volume](int percent, bool muted) { volume.Apply(percent, muted); },
         .padNames =
             [&pads] {
                 std::array<std::string, blok::kPads> names;
                 for (int pad = 0; pad < blok::kPads; ++pad) {
                     names[static_cast<std::size_t>(pad)] = pads.Name(pad);
                 }
                 return names;
             }});
    options.Start();
    blok::enet::EnetNetwork network;
    blok::net::NetFight fight(game, platform, network, [] {
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        return std::chrono::duration_cast<std::chrono::milliseconds>(now).count();
    });
    blok::win32::Win32NetUi netUi(platform, game, fight);
    platform.ShowAndPaint();
    // The first paint has put up the title screen, where a fight may begin.
    if (request && request->kind == blok::net::NetRequest::Kind::kHost) {
        netUi.HostNow(request->port, request->code);
    } else if (request) {
        netUi.JoinNow(request->host, request->port, request->code);
    }
    platform.Exec();
    fight.Close();
    return shell.AfterLoop();
}

// The arguments after the program's name, in UTF-8.
std::vector<std::string> Arguments(int count, wchar_t** arguments) {
    std::vector<std::string> plain;
    for (int i = 1; i < count; ++i) plain.push_back(blok::win32::Utf8(arguments[i]));
    return plain;
}

constexpr const wchar_t* kUsage =
    L"Usage: Blokfall [--host [PORT] [--code CODE] | --join HOST[:PORT] --code CODE]\n"
    L"       Blokfall --help-viewer FILE";

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    const std::vector<std::string> given = Arguments(count, arguments);
    int code = 2;
    if (given.empty()) {
        code = RunGame(instance, std::nullopt);
    } else if (count == 3 && std::wstring(arguments[1]) == L"--help-viewer") {
        code = blok::win32::RunHelpWindow(instance, arguments[2]);
    } else if (const auto request = blok::net::ParseNetRequest(given)) {
        code = RunGame(instance, request);
    } else {
        MessageBoxW(nullptr, kUsage, L"Blokfall", MB_OK);
    }
    LocalFree(arguments);
    return code;
}
