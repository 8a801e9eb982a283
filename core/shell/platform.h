#pragma once

#include <string>
#include <string_view>

namespace blok {

class Surface;

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// Everything the game program's logic asks of the desktop. The Qt window layer implements it
// for real; tests implement it with a virtual clock. Timer ids, menu ids and dialog ids are the
// program's own small integers.
class Platform {
  public:
    virtual ~Platform() = default;

    // Timers: starting an id that runs already restarts its countdown.
    virtual void SetTimer(int id, int milliseconds) = 0;
    virtual void KillTimer(int id) = 0;

    // Repaint requests never erase. `InvalidateTop` asks for client rows 0..bottom-1 only.
    virtual void InvalidateAll() = 0;
    virtual void InvalidateTop(int bottom) = 0;
    // Asks for client rows top..bottom-1 only.
    virtual void InvalidateRows(int top, int bottom) = 0;
    // Shows the area (0, 0)-(width, height) of the composed surface in the client area; only
    // the parts that were invalidated need to reach the screen.
    virtual void Present(const Surface& surface, int width, int height) = 0;
    // The client area's size in pixels.
    virtual Rect ClientRect() const = 0;

    // The main window's outer rectangle in screen coordinates, and moving or resizing it.
    virtual Rect WindowRect() const = 0;
    virtual void MoveWindow(int left, int top, int width, int height) = 0;
    virtual void FocusMainWindow() = 0;
    // Ends the message loop with this exit code once the current handler returns.
    virtual void PostQuit(int code) = 0;

    virtual void CheckMenuItem(int id, bool checked) = 0;
    virtual void EnableMenuItem(int id, bool enabled) = 0;

    // The two key readings, by physical key (1..255) or gamepad button (PadKey).
    virtual bool PressedSinceLastRead(int key) = 0;
    virtual bool Held(int key) = 0;

    // Whether the window marks the shown frame as paused.
    virtual void ShowPausedMarker(bool shown) = 0;

    // The modeless start dialog. Creating it delivers Shell::StartDialogInit at once; its
    // buttons arrive as Shell::StartDialogCommand. Returns false when it cannot be created.
    virtual bool CreateStartDialog() = 0;
    virtual void DestroyStartDialog() = 0;
    virtual void FocusStartDialog() = 0;
    // Checks `checked` among the radio buttons first..last of the start dialog.
    virtual void CheckRadioButton(int first, int last, int checked) = 0;
    // The start dialog's outer rectangle in screen coordinates.
    virtual Rect StartDialogRect() const = 0;

    // Modal dialogs and boxes run nested event loops: timers keep firing meanwhile.
    virtual void RunInfoDialog() = 0;
    virtual void RunAboutDialog() = 0;
    virtual void ShowMessage(std::string_view text, std::string_view caption) = 0;

    // Opens a help viewer on the file; does not wait for it.
    virtual void OpenHelp(const std::string& path) = 0;
};

}  // namespace blok
