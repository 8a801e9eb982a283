#pragma once

#include <windows.h>

#include "hiscore_book.h"

namespace blok::win32 {

// "Dialog_2" and "Dialog_3" from the resources, owned by the main window.
class Win32HiscoreDialogs final : public HiscoreDialogs {
  public:
    explicit Win32HiscoreDialogs(HINSTANCE instance) : instance_(instance) {}
    void SetOwner(HWND owner) { owner_ = owner; }

    std::string RunNameDialog() override;
    void RunScoreTable(const HiscoreTable& table) override;
    void ReportSaveFailure(const std::string& text) override;

  private:
    HINSTANCE instance_;
    HWND owner_ = nullptr;
};

}  // namespace blok::win32
