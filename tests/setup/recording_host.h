#pragma once

#include <optional>
#include <string>
#include <vector>

#include "setup_flow.h"

namespace blok::setup {

// Answers the path dialog with a prepared text and writes down everything else it is asked.
class RecordingHost : public SetupHost {
  public:
    std::optional<std::string> answer;
    bool replace = false;
    std::vector<bool> yesNo;  // answers to the questions in turn; `replace` once they run out
    std::string proposal;
    std::vector<std::string> events;
    std::vector<std::string> texts;
    std::vector<int> positions;
    int pausedMs = 0;

    std::optional<std::string> AskInstallPath(const std::string& proposed) override {
        proposal = proposed;
        events.push_back("ask");
        return answer;
    }
    void ShowMessage(const std::string& text, const std::string& caption) override {
        events.push_back("message " + caption + ": " + text);
    }
    bool AskYesNo(const std::string& text, const std::string& caption) override {
        events.push_back("question " + caption + ": " + text);
        if (yesNo.empty()) return replace;
        const bool yes = yesNo.front();
        yesNo.erase(yesNo.begin());
        return yes;
    }
    void OpenProgress(int range) override { events.push_back("progress " + std::to_string(range)); }
    void SetProgressText(const std::string& text) override { texts.push_back(text); }
    void SetProgressPosition(int position) override { positions.push_back(position); }
    void CloseProgress() override { events.push_back("close"); }
    void Pause(int milliseconds) override { pausedMs += milliseconds; }
    void OpenFolder(const std::string& folder) override { events.push_back("open " + folder); }
};

}  // namespace blok::setup
