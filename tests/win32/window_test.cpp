// The Win32 window layer under Wine on a virtual display: the frame sizes the game computes
// with, zoom, timers and the way out, the start dialog, and the settings file.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ids_and_sizes.h"
#include "settings_file.h"
#include "shell.h"
#include "wide_text.h"
#include "win32_platform.h"

namespace blok::win32 {
namespace {

// Notes what the window delivers; a timer may be told to end the loop.
class RecordingShell final : public Shell {
  public:
    explicit RecordingShell(Win32Platform& platform) : platform_(platform) {}
    void Startup() override {}
    void OnCreate() override { ++creates; }
    void OnPaint() override { ++paints; }
    void OnTimer(int id) override {
        timers.push_back(id);
        if (id == quitOnTimer) platform_.PostQuit(7);
    }
    void OnCommand(int id) override { commands.push_back(id); }
    void OnActivate() override {}
    void OnDeactivate() override {}
    void OnDestroy() override {}
    int AfterLoop() override { return 0; }
    void StartDialogInit() override { dialogRect = platform_.StartDialogRect(); }
    void StartDialogCommand(int id) override { commands.push_back(id); }

    int creates = 0;
    int paints = 0;
    int quitOnTimer = 0;
    std::vector<int> timers;
    std::vector<int> commands;
    Rect dialogRect{};

  private:
    Win32Platform& platform_;
};

SIZE RealClient(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return {client.right, client.bottom};
}

class WindowTest : public testing::Test {
  protected:
    void SetUp() override {
        platform.Attach(shell);
        ASSERT_TRUE(platform.CreateMainWindow());
    }

    Win32Platform platform{GetModuleHandleW(nullptr)};
    RecordingShell shell{platform};
};

TEST_F(WindowTest, TheClientAreaIsWhatTheGameMeasuresAtEveryZoom) {
    EXPECT_EQ(shell.creates, 1);
    const SIZE client = RealClient(platform.Window());
    EXPECT_EQ(client.cx, 401);
    EXPECT_EQ(client.cy, 401);
    const Rect outer = platform.WindowRect();
    EXPECT_EQ(outer.Width(), kWindowWidth);
    EXPECT_EQ(outer.Height(), kWindowHeight);

    // The title makes the window wider and taller; the game's outer size is kept exactly.
    platform.MoveWindow(outer.left, outer.top, 509, 497);
    EXPECT_EQ(platform.ClientRect().Width(), 501);
    EXPECT_EQ(platform.ClientRect().Height(), 451);
    EXPECT_EQ(platform.WindowRect().Width(), 509);

    platform.SetZoom(2);
    EXPECT_EQ(RealClient(platform.Window()).cx, 1002);
    EXPECT_EQ(RealClient(platform.Window()).cy, 902);
    EXPECT_EQ(platform.ClientRect().Width(), 501);  // the game still sees its own pixels
    platform.SetZoom(1);
    EXPECT_EQ(RealClient(platform.Window()).cx, 501);
}

// A move that changes nothing asks for no paint, as the system's own move: a network joiner moves
// the window from inside a paint, and an endless run of paints would hold back every timer.
TEST_F(WindowTest, AMoveThatChangesNothingAsksForNoPaint) {
    ShowWindow(platform.Window(), SW_SHOWNOACTIVATE);
    UpdateWindow(platform.Window());
    const Rect outer = platform.WindowRect();
    platform.MoveWindow(outer.left, outer.top, outer.Width(), outer.Height());
    EXPECT_FALSE(GetUpdateRect(platform.Window(), nullptr, FALSE));
    platform.MoveWindow(outer.left, outer.top, outer.Width() + 100, outer.Height());
    EXPECT_TRUE(GetUpdateRect(platform.Window(), nullptr, FALSE));
}

// The test display is 1600 pixels high: a 401-pixel client fits three times, not four.
TEST_F(WindowTest, OnlyZoomsThatFitTheScreenAreOfferedAndShown) {
    platform.SetZoom(4);
    EXPECT_EQ(platform.Zoom(), 3);
    EXPECT_EQ(RealClient(platform.Window()).cy, 3 * 401);
    const HMENU menu = GetMenu(platform.Window());
    EXPECT_EQ(GetMenuState(menu, kCmdZoom1 + 2, MF_BYCOMMAND) & MF_GRAYED, 0u);
    EXPECT_NE(GetMenuState(menu, kCmdZoom4, MF_BYCOMMAND) & MF_GRAYED, 0u);
    platform.SetZoom(1);
    EXPECT_EQ(RealClient(platform.Window()).cy, 401);
}

// One line an item, indented by its depth, as tests/platform/menu_bar.txt lists the menus of
// both window layers.
void DescribeMenu(HMENU menu, const std::string& indent, std::vector<std::string>& lines) {
    for (int position = 0; position < GetMenuItemCount(menu); ++position) {
        wchar_t text[128] = {};
        MENUITEMINFOW item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_STRING | MIIM_SUBMENU;
        item.dwTypeData = text;
        item.cch = static_cast<UINT>(std::size(text) - 1);
        ASSERT_TRUE(GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &item));
        std::string line = Utf8(text);
        for (std::size_t tab = line.find('\t'); tab != std::string::npos; tab = line.find('\t')) {
            line.replace(tab, 1, "\\t");
        }
        const bool separator = (item.fType & MFT_SEPARATOR) != 0;
        if (separator) line = "-";
        if (item.hSubMenu == nullptr && !separator) line += "(" + std::to_string(item.wID) + ")";
        lines.push_back(indent + line);
        // The system shows separators greyed; every item is on and unchecked at the start.
        if (!separator) {
            EXPECT_EQ(item.fState & (MFS_DISABLED | MFS_CHECKED), 0u) << line;
        }
        if (item.hSubMenu != nullptr) DescribeMenu(item.hSubMenu, indent + "\t", lines);
    }
}

// The resource script's menus are the Linux window's, item for item.
TEST_F(WindowTest, TheMenuBarIsTheOneBothSystemsShow) {
    std::ifstream file(BLOK_MENU_BAR_FILE);
    ASSERT_TRUE(file.is_open());
    std::vector<std::string> expected;
    for (std::string line; std::getline(file, line);) {
        if (!line.empty()) expected.push_back(line);
    }
    std::vector<std::string> seen;
    DescribeMenu(GetMenu(platform.Window()), "", seen);
    EXPECT_EQ(seen, expected);
}

// The class icon is the game's own 32-bit icon at the system's size, not the system's stand-in.
TEST_F(WindowTest, TheWindowCarriesTheGamesIcon) {
    const auto icon = reinterpret_cast<HICON>(GetClassLongPtrW(platform.Window(), GCLP_HICON));
    ICONINFO info{};
    ASSERT_TRUE(icon != nullptr && GetIconInfo(icon, &info));
    BITMAP colour{};
    GetObjectW(info.hbmColor, sizeof colour, &colour);
    EXPECT_EQ(colour.bmBitsPixel, 32);
    EXPECT_EQ(colour.bmWidth, GetSystemMetrics(SM_CXICON));
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
}

TEST_F(WindowTest, TimersReachTheGameByIdAndPostQuitEndsTheLoopWithItsCode) {
    shell.quitOnTimer = kTimerInput;
    platform.SetTimer(kTimerTitleStep, 10);
    platform.KillTimer(kTimerTitleStep);
    platform.SetTimer(kTimerInput, 30);
    EXPECT_EQ(platform.Exec(), 7);
    EXPECT_EQ(shell.timers, std::vector<int>{kTimerInput});
    // After the quit nothing more reaches the game.
    platform.SetTimer(kTimerGravity, 1);
    Sleep(20);
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    EXPECT_EQ(shell.timers.size(), 1u);
}

TEST_F(WindowTest, TheStartDialogStandsBelowTheTitleBandAtItsLayoutSize) {
    ASSERT_TRUE(platform.CreateStartDialog());
    const Rect dialog = shell.dialogRect;
    const Rect window = platform.WindowRect();
    // 201 x 85 dialog units from (0, 116), in a face some 7 to 8 pixels wide.
    EXPECT_GE(dialog.Width(), 340);
    EXPECT_LE(dialog.Width(), 420);
    EXPECT_GE(dialog.top - window.top - 42, 116 * 12 / 8);
    EXPECT_EQ(dialog.left, window.left + kFrameBorder);

    // At twice the size it covers the same part of the frame, its buttons and lettering doubled.
    const HWND start = GetDlgItem(GetWindow(platform.Window(), GW_CHILD), kDlgStart);
    RECT button{};
    GetWindowRect(start, &button);
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(start, WM_GETFONT, 0, 0)), sizeof font, &font);
    platform.SetZoom(2);
    EXPECT_EQ(platform.StartDialogRect().Width(), dialog.Width());
    RECT enlarged{};
    GetWindowRect(start, &enlarged);
    EXPECT_EQ(enlarged.right - enlarged.left, 2 * (button.right - button.left));
    LOGFONTW enlargedFont{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(start, WM_GETFONT, 0, 0)), sizeof enlargedFont,
               &enlargedFont);
    EXPECT_EQ(enlargedFont.lfHeight, 2 * font.lfHeight);
    platform.SetZoom(1);
    GetWindowRect(start, &enlarged);
    EXPECT_EQ(enlarged.right - enlarged.left, button.right - button.left);
    platform.DestroyStartDialog();
    EXPECT_EQ(platform.StartDialogRect().Width(), 0);
}

// --- the settings file ------------------------------------------------------------------------

class SettingsFileTest : public testing::Test {
  protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() / L"blokfall-settings-test";
        std::filesystem::remove_all(folder);
        path = folder / L"Blokfall" / L"Blokfall.conf";
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    static std::string Read(const std::filesystem::path& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    std::filesystem::path folder;
    std::filesystem::path path;
};

TEST_F(SettingsFileTest, AMissingFileGivesTheDefaultsAndIsNotMade) {
    bool damaged = true;
    EXPECT_EQ(LoadSettings(path, damaged), Settings{});
    EXPECT_FALSE(damaged);
    EXPECT_FALSE(std::filesystem::exists(folder));
}

TEST_F(SettingsFileTest, SavedSettingsReadBackAndOtherValuesAreKept) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << "[Extra]\nNote=kept\n";
    Settings changed;
    changed.zoom = 3;
    changed.keys.pause = 57;
    ASSERT_TRUE(SaveSettings(path, changed, false));
    bool damaged = true;
    EXPECT_EQ(LoadSettings(path, damaged), changed);
    EXPECT_FALSE(damaged);
    EXPECT_NE(Read(path).find("Note=kept"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(path.string() + ".new"));
}

TEST_F(SettingsFileTest, ADamagedFileIsSetAsideAtTheFirstSave) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << "[Display]\nZoom=2\n\xff\xfe garbage\n";
    bool damaged = false;
    EXPECT_EQ(LoadSettings(path, damaged), Settings{});
    EXPECT_TRUE(damaged);
    Settings changed;
    changed.showPaused = true;
    ASSERT_TRUE(SaveSettings(path, changed, damaged));
    EXPECT_NE(Read(path.string() + ".damaged").find("garbage"), std::string::npos);
    EXPECT_EQ(LoadSettings(path, damaged), changed);
    EXPECT_FALSE(damaged);
}

}  // namespace
}  // namespace blok::win32
