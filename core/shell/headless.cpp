#include "headless.h"

#include "game_frame.h"
#include "shell.h"

namespace blok {

void HeadlessPlatform::Press(int virtualKey) {
    pressed_.insert(virtualKey);
    held_.insert(virtualKey);
}

void HeadlessPlatform::ReleaseAll() {
    pressed_.clear();
    held_.clear();
}

Rect HeadlessPlatform::ClientRect() const {
    return {0, 0, kGameFrameWidth, kGameFrameHeight};
}

void HeadlessPlatform::MoveWindow(int left, int top, int width, int height) {
    window_ = {left, top, left + width, top + height};
}

bool HeadlessPlatform::CreateStartDialog() {
    if (shell_ == nullptr) return false;
    shell_->StartDialogInit();
    return true;
}

}  // namespace blok
