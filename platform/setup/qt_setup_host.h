#pragma once

#include <memory>

#include "setup_dialogs.h"
#include "setup_flow.h"

namespace blok::setup::qt {

// The installer's questions and progress as Qt dialogs over the setup window.
class QtSetupHost : public SetupHost {
  public:
    explicit QtSetupHost(QWidget& window);
    ~QtSetupHost() override;

    std::optional<std::string> AskInstallPath(const std::string& proposal) override;
    void ShowMessage(const std::string& text, const std::string& caption) override;
    bool AskYesNo(const std::string& text, const std::string& caption) override;
    void OpenProgress(int range) override;
    void SetProgressText(const std::string& text) override;
    void SetProgressPosition(int position) override;
    void CloseProgress() override;
    void Pause(int milliseconds) override;
    void OpenFolder(const std::string& folder) override;

    ProgressDialog* progress() const { return progress_.get(); }
    // The text of the last message box shown: what a failed run says on the terminal too.
    const std::string& lastMessage() const { return lastMessage_; }

  private:
    QWidget& window_;
    std::string lastMessage_;
    std::unique_ptr<ProgressDialog> progress_;
};

}  // namespace blok::setup::qt
