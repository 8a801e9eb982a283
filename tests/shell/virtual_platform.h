#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "ids_and_sizes.h"
#include "key_bindings.h"
#include "pad_input.h"
#include "platform.h"

namespace blok {

class Shell;

// What the shell asked of its collaborators, in order, as short lines such as "SetTimer 12 350".
struct CallLog {
    std::vector<std::string> lines;

    void Add(std::string line) { lines.push_back(std::move(line)); }
    std::size_t Count(std::string_view line) const;
    // True when `expected` appears in this order (other lines may lie between) from `from` on.
    bool HasInOrder(const std::vector<std::string>& expected, std::size_t from = 0) const;
    bool ContainsFrom(std::string_view line, std::size_t from) const;
};

// A desktop without a display: timers run on a virtual clock, paints are delivered when
// something is invalidated (before any timer, as a window system does), keys are scripted.
class VirtualPlatform : public Platform {
  public:
    // Events: a paint, or the id of the timer that fired.
    static constexpr int kPaint = 0;
    static constexpr int kNothing = -1;

    explicit VirtualPlatform(CallLog& log) : log_(log) {}
    void Attach(Shell& shell) { shell_ = &shell; }

    // --- driving ---
    std::int64_t Now() const { return now_; }
    // Handles the next event due no later than `until`; returns kPaint, a timer id or kNothing
    // (then the clock stands at `until`).
    int Step(std::int64_t until);
    void RunFor(std::int64_t milliseconds);
    // Runs events until `done` holds; returns the event that made it hold, or kNothing when the
    // time limit passed or the program quit first.
    int RunUntil(const std::function<bool()>& done, std::int64_t limitMilliseconds);
    void DeliverPaints();
    bool Quit() const { return quitCode.has_value(); }

    // --- keyboard ---
    // By the virtual-key code of the key's US label (the game's default keys).
    void Press(int virtualKey) { PressKey(PhysicalKeyOfVirtualKey(virtualKey)); }
    void Hold(int virtualKey) { HoldKey(PhysicalKeyOfVirtualKey(virtualKey)); }
    // By physical key or gamepad button.
    void PressKey(int key) { pressed_.insert(key); }
    void HoldKey(int key);
    void Release(int key) { held_.erase(key); }

    // --- what the shell left behind ---
    bool TimerRunning(int id) const { return timers_.count(id) != 0; }
    int TimerInterval(int id) const;
    std::map<int, bool> menuChecked;
    std::map<int, bool> menuEnabled;
    Rect window{kInitialWindowLeft, kInitialWindowTop, kInitialWindowLeft + kWindowWidth,
                kInitialWindowTop + kWindowHeight};
    Rect dialogRect{104, 274, 458, 446};  // below the title band, a little narrower than 409
    bool dialogCreatable = true;
    bool dialogOpen = false;
    int dialogsCreated = 0;
    std::map<int, int> radioChecked;  // first id of a group -> checked id
    int focusDialog = 0;
    int infoDialogs = 0;
    int aboutDialogs = 0;
    std::vector<std::pair<std::string, std::string>> messages;
    std::vector<std::string> helpPaths;
    std::optional<int> quitCode;
    int lastPresentWidth = 0;
    bool pausedMarker = false;
    bool presentOutsideSurface = false;
    // Gamepad buttons are read from here when set.
    PadInput* pads = nullptr;
    // Runs inside modal dialogs and message boxes, as their nested event loop would.
    std::function<void()> whileModal;

    // --- Platform ---
    void SetTimer(int id, int milliseconds) override;
    void KillTimer(int id) override;
    void InvalidateAll() override;
    void InvalidateTop(int bottom) override;
    void InvalidateRows(int top, int bottom) override;
    void Present(const Surface& surface, int width, int height) override;
    Rect ClientRect() const override;
    Rect WindowRect() const override { return window; }
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
    Rect StartDialogRect() const override { return dialogRect; }
    void RunInfoDialog() override;
    void RunAboutDialog() override;
    void ShowMessage(std::string_view text, std::string_view caption) override;
    void OpenHelp(const std::string& path) override;

    // Invalidated rows: 0 none, otherwise the bottom of the band (kWholeClient for all).
    static constexpr int kWholeClient = 1 << 20;
    int invalidBottom = 0;

  private:
    struct Timer {
        int interval = 0;
        std::int64_t due = 0;
    };
    void RunModal();

    CallLog& log_;
    Shell* shell_ = nullptr;
    std::int64_t now_ = 0;
    std::map<int, Timer> timers_;
    std::set<int> pressed_;
    std::set<int> held_;
    int paintsWithoutTime_ = 0;
};

}  // namespace blok
