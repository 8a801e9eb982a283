#pragma once

#include <windows.h>

#include "setup_flow.h"

namespace blok::setup::win32 {

// The installer's questions and progress as Win32 dialogs and message boxes over `owner` (or
// over the desktop when there is none, as for the uninstall).
class Win32SetupHost : public SetupHost {
  public:
    explicit Win32SetupHost(HWND owner);
    ~Win32SetupHost() override;
    Win32SetupHost(const Win32SetupHost&) = delete;
    Win32SetupHost& operator=(const Win32SetupHost&) = delete;

    std::optional<std::string> AskInstallPath(const std::string& proposal) override;
    void ShowMessage(const std::string& text, const std::string& caption) override;
    bool AskYesNo(const std::string& text, const std::string& caption) override;
    void OpenProgress(int range) override;
    void SetProgressText(const std::string& text) override;
    void SetProgressPosition(int position) override;
    void CloseProgress() override;
    void Pause(int milliseconds) override;
    void OpenFolder(const std::string& folder) override;

    // The modeless progress dialog while it is open, for the message loop.
    HWND progress() const { return progress_; }

  private:
    HWND owner_;
    HWND progress_ = nullptr;
};

// Runs the messages that are waiting, the progress dialog's keys first through the dialog.
// False once the program was told to quit.
bool DispatchWaitingMessages(HWND dialog);

}  // namespace blok::setup::win32
