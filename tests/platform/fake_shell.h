#pragma once

#include <functional>
#include <string>
#include <vector>

#include "shell.h"

// Records every handler call the window layer makes, in order, as "OnTimer 13" and the like.
// Individual handlers can be given behaviour.
class FakeShell : public blok::Shell {
  public:
    std::vector<std::string> calls;
    std::function<void()> onPaint;
    std::function<void()> onStartDialogInit;
    std::function<void(int)> onStartDialogCommand;
    std::function<void(int)> onTimer;

    int Count(const std::string& call) const {
        int n = 0;
        for (const auto& c : calls) n += c == call ? 1 : 0;
        return n;
    }

    void Startup() override { calls.push_back("Startup"); }
    void OnCreate() override { calls.push_back("OnCreate"); }
    void OnPaint() override {
        calls.push_back("OnPaint");
        if (onPaint) onPaint();
    }
    void OnTimer(int id) override {
        calls.push_back("OnTimer " + std::to_string(id));
        if (onTimer) onTimer(id);
    }
    void OnCommand(int id) override { calls.push_back("OnCommand " + std::to_string(id)); }
    void OnActivate() override { calls.push_back("OnActivate"); }
    void OnDeactivate() override { calls.push_back("OnDeactivate"); }
    void OnDestroy() override { calls.push_back("OnDestroy"); }
    int AfterLoop() override { return 0; }
    void StartDialogInit() override {
        calls.push_back("StartDialogInit");
        if (onStartDialogInit) onStartDialogInit();
    }
    void StartDialogCommand(int id) override {
        calls.push_back("StartDialogCommand " + std::to_string(id));
        if (onStartDialogCommand) onStartDialogCommand(id);
    }
};
