#pragma once

#include <functional>
#include <utility>
#include <vector>

#include <windows.h>

#include "frame_view.h"
#include "key_bindings.h"
#include "pad_input.h"
#include "platform.h"

namespace blok {
class Shell;
}

namespace blok::win32 {

// The game's main window on the Windows desktop: the window class and its message loop, the
// menu "MENU_1", the timers by id, the keyboard as the game polls it, the start dialog and the
// modal dialogs. Every window message becomes a call of the game's handler; after PostQuit no
// handler runs again.
class Win32Platform final : public Platform {
  public:
    explicit Win32Platform(HINSTANCE instance);
    ~Win32Platform() override;
    Win32Platform(const Win32Platform&) = delete;
    Win32Platform& operator=(const Win32Platform&) = delete;

    // The handler that receives the window's events. Set before the window is created.
    void Attach(Shell& shell) { shell_ = &shell; }
    // Creates the main window at its start position and size; Shell::OnCreate runs inside.
    bool CreateMainWindow();
    // Shows the window and delivers its first paint before the message loop runs.
    void ShowAndPaint();
    // Runs the message loop until PostQuit; returns its code.
    int Exec();

    // Menu commands first..last go to `handler` instead of the game.
    void SetCommandHandler(int first, int last, std::function<void(int)> handler);
    void SetPads(PadInput* pads) { pads_ = pads; }
    // The frame is shown `zoom` times enlarged (1..4); full screen shows it centred at the
    // largest whole scale that fits, on black.
    void SetZoom(int zoom);
    // The zoom the window shows: the chosen one, or the largest the screen holds.
    int Zoom() const { return zoom_; }
    void SetFullScreen(bool on);
    bool FullScreen() const { return fullScreen_; }
    // The keys the game info dialog shows.
    void SetShownKeys(const KeyBindings& keys) { shownKeys_ = keys; }

    HWND Window() const { return window_; }
    HINSTANCE Instance() const { return instance_; }

    // Platform
    void SetTimer(int id, int milliseconds) override;
    void KillTimer(int id) override;
    void InvalidateAll() override;
    void InvalidateTop(int bottom) override;
    void InvalidateRows(int top, int bottom) override;
    void Present(const Surface& surface, int width, int height) override;
    Rect ClientRect() const override;
    Rect WindowRect() const override;
    void MoveWindow(int left, int top, int width, int height) override;
    void FocusMainWindow() override;
    void PostQuit(int code) override;
    void CheckMenuItem(int id, bool checked) override;
    void EnableMenuItem(int id, bool enabled) override;
    bool PressedSinceLastRead(int key) override;
    bool Held(int key) override;
    void ShowPausedMarker(bool shown) override;
    bool CreateStartDialog() override;
    void DestroyStartDialog() override;
    void FocusStartDialog() override;
    void CheckRadioButton(int first, int last, int checked) override;
    Rect StartDialogRect() const override;
    void RunInfoDialog() override;
    void RunAboutDialog() override;
    void ShowMessage(std::string_view text, std::string_view caption) override;
    void OpenHelp(const std::string& path) override;

  private:
    static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);
    static INT_PTR CALLBACK StartDialogProcedure(HWND dialog, UINT message, WPARAM wParam,
                                                 LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleStartDialog(HWND dialog, UINT message, WPARAM wParam);

    // Calls the handler unless the loop is ending.
    template <typename Call>
    void Deliver(Call&& call);
    void Command(int id);
    void Paint();
    void PutFrame(HDC dc, const Surface& surface, int width, int height, const RECT& paint);
    void FillAroundFrame(HDC dc, const RECT& paint);
    void DrawPausedMarker(HDC dc);

    SIZE ClientPixels() const;
    SIZE LogicalClient() const;
    FrameView View() const;
    void ResizeClient(SIZE client);
    int LargestFittingZoom() const;
    void PlaceStartDialog();
    void RecordStartDialogLayout(HWND dialog);
    void ScaleStartDialog(int scale);
    void ReleaseEnlargedFont();
    void InvalidateFrameRows(int top, int bottom);

    HINSTANCE instance_;
    Shell* shell_ = nullptr;
    HWND window_ = nullptr;
    HMENU menu_ = nullptr;
    HACCEL accelerators_ = nullptr;
    HWND startDialog_ = nullptr;
    POINT startDialogHome_{};  // the start dialog's place on a frame shown at 1x
    // The start dialog as laid out at 1x, so that it can be enlarged with the frame.
    struct StartDialogLayout {
        SIZE size{};
        std::vector<std::pair<HWND, RECT>> controls;
        LOGFONTW font{};
        HFONT enlargedFont = nullptr;
        int scale = 1;
    };
    StartDialogLayout startLayout_;
    PadInput* pads_ = nullptr;
    KeyBindings shownKeys_ = DefaultKeyBindings();
    struct CommandRange {
        int first;
        int last;
        std::function<void(int)> handler;
    };
    std::vector<CommandRange> commandHandlers_;

    int zoom_ = 1;
    bool fullScreen_ = false;
    SIZE logicalClient_{};  // in full screen: the client area the game sees (before zoom)
    RECT windowedRect_{};   // where the window stood before full screen
    bool pausedMarker_ = false;
    HDC paintDc_ = nullptr;  // while the game paints
    RECT paintRect_{};

    bool quitPosted_ = false;
    int quitCode_ = 0;
};

}  // namespace blok::win32
