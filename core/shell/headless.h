#pragma once

#include <functional>
#include <set>
#include <string>
#include <string_view>

#include "platform.h"
#include "services.h"

namespace blok {

class Shell;

// A desktop without a display, shipped with the program as its null driver: the simulator runs
// the real shell on it. Time stands still until the driver delivers a timer, and a paint comes
// only when the driver delivers one; repaint requests are merely noted. The client area is the
// whole game frame.
class HeadlessPlatform final : public Platform {
  public:
    using MessageSink = std::function<void(std::string_view text, std::string_view caption)>;

    explicit HeadlessPlatform(MessageSink showMessage) : showMessage_(std::move(showMessage)) {}
    void Attach(Shell& shell) { shell_ = &shell; }

    // The key with this virtual-key code on a US layout goes down now and stays down until
    // ReleaseAll.
    void Press(int virtualKey);
    void ReleaseAll();
    // The surface last presented, or nullptr before the first frame; it belongs to the screen
    // and lives until the screen releases its surfaces at shutdown.
    const Surface* LastPresented() const { return presented_; }

    void SetTimer(int, int) override {}
    void KillTimer(int) override {}
    void InvalidateAll() override {}
    void InvalidateTop(int) override {}
    void InvalidateRows(int, int) override {}
    void Present(const Surface& surface, int, int) override { presented_ = &surface; }
    Rect ClientRect() const override;
    Rect WindowRect() const override { return window_; }
    void MoveWindow(int left, int top, int width, int height) override;
    void FocusMainWindow() override {}
    void PostQuit(int) override {}
    void CheckMenuItem(int, bool) override {}
    void EnableMenuItem(int, bool) override {}
    bool PressedSinceLastRead(int key) override { return pressed_.erase(key) > 0; }
    bool Held(int key) override { return held_.count(key) > 0; }
    void ShowPausedMarker(bool) override {}
    bool CreateStartDialog() override;
    void DestroyStartDialog() override {}
    void FocusStartDialog() override {}
    void CheckRadioButton(int, int, int) override {}
    Rect StartDialogRect() const override { return {}; }
    void RunInfoDialog() override {}
    void RunAboutDialog() override {}
    void ShowMessage(std::string_view text, std::string_view caption) override {
        showMessage_(text, caption);
    }
    void OpenHelp(const std::string&) override {}

  private:
    MessageSink showMessage_;
    Shell* shell_ = nullptr;
    Rect window_{};
    const Surface* presented_ = nullptr;
    std::set<int> pressed_;
    std::set<int> held_;
};

// No high-score file and no dialogs: nothing is offered, loaded or saved.
class NullHiscoreBook final : public HiscoreBook {
  public:
    void Load() override {}
    void Save() override {}
    void CheckPlayer1Hiscore(std::uint32_t, int) override {}
    void ShowScore() override {}
};

// No music: nothing plays, and the title shows no song caption.
class NullMusic final : public MusicControl {
  public:
    void musicInit() override {}
    void letMusicPlay() override {}
    void musicPause() override {}
    void skipSong() override {}
    void musicKill() override {}
    bool Paused() const override { return false; }
    bool Silent() const override { return true; }
    std::string_view CurrentCaption() const override { return {}; }
};

}  // namespace blok
