#include "headless.h"

#include "game_frame.h"
#include "key_bindings.h"
#include "shell.h"

namespace blok {

void HeadlessPlatform::Press(int virtualKey) {
    const PhysicalKey key = PhysicalKeyOfVirtualKey(virtualKey);
    pressed_.insert(key);
    held_.insert(key);
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
