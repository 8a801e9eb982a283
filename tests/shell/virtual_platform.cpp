#include "virtual_platform.h"

#include <algorithm>
#include <stdexcept>

#include "ids_and_sizes.h"
#include "shell.h"
#include "surface.h"

namespace blok {

namespace {

// Paints that keep asking for more paints without time passing would hang a real window.
constexpr int kMaxPaintsWithoutTime = 50;

}  // namespace

std::size_t CallLog::Count(std::string_view line) const {
    return static_cast<std::size_t>(std::count(lines.begin(), lines.end(), line));
}

bool CallLog::HasInOrder(const std::vector<std::string>& expected, std::size_t from) const {
    std::size_t next = 0;
    for (std::size_t i = from; i < lines.size() && next < expected.size(); ++i) {
        if (lines[i] == expected[next]) ++next;
    }
    return next == expected.size();
}

bool CallLog::ContainsFrom(std::string_view line, std::size_t from) const {
    return std::find(lines.begin() + static_cast<std::ptrdiff_t>(std::min(from, lines.size())),
                     lines.end(), line) != lines.end();
}

int VirtualPlatform::Step(std::int64_t until) {
    if (Quit() || shell_ == nullptr) return kNothing;
    if (invalidBottom != 0) {
        if (++paintsWithoutTime_ > kMaxPaintsWithoutTime) {
            throw std::runtime_error("paint requests without end");
        }
        invalidBottom = 0;
        shell_->OnPaint();
        return kPaint;
    }
    auto next = timers_.end();
    for (auto it = timers_.begin(); it != timers_.end(); ++it) {
        if (next == timers_.end() || it->second.due < next->second.due) next = it;
    }
    if (next == timers_.end() || next->second.due > until) {
        now_ = std::max(now_, until);
        return kNothing;
    }
    const int id = next->first;
    if (next->second.due > now_) paintsWithoutTime_ = 0;
    now_ = next->second.due;
    next->second.due = now_ + next->second.interval;
    shell_->OnTimer(id);
    return id;
}

void VirtualPlatform::RunFor(std::int64_t milliseconds) {
    const std::int64_t until = now_ + milliseconds;
    while (Step(until) != kNothing) {
    }
}

int VirtualPlatform::RunUntil(const std::function<bool()>& done, std::int64_t limitMilliseconds) {
    const std::int64_t until = now_ + limitMilliseconds;
    while (true) {
        const int event = Step(until);
        if (event == kNothing) return kNothing;
        if (done()) return event;
    }
}

void VirtualPlatform::DeliverPaints() {
    while (invalidBottom != 0 && Step(now_) == kPaint) {
    }
}

void VirtualPlatform::HoldKey(int key) {
    held_.insert(key);
    pressed_.insert(key);
}

void VirtualPlatform::ShowPausedMarker(bool shown) {
    log_.Add(std::string("PausedMarker ") + (shown ? "1" : "0"));
    pausedMarker = shown;
}

int VirtualPlatform::TimerInterval(int id) const {
    const auto it = timers_.find(id);
    return it == timers_.end() ? 0 : it->second.interval;
}

void VirtualPlatform::SetTimer(int id, int milliseconds) {
    log_.Add("SetTimer " + std::to_string(id) + " " + std::to_string(milliseconds));
    timers_[id] = Timer{milliseconds, now_ + milliseconds};
}

void VirtualPlatform::KillTimer(int id) {
    log_.Add("KillTimer " + std::to_string(id));
    timers_.erase(id);
}

void VirtualPlatform::InvalidateAll() {
    log_.Add("InvalidateAll");
    invalidBottom = kWholeClient;
}

void VirtualPlatform::InvalidateTop(int bottom) {
    log_.Add("InvalidateTop " + std::to_string(bottom));
    invalidBottom = std::max(invalidBottom, bottom);
}

// Repaints are modelled as a top band; a band lower down repaints down to its bottom.
void VirtualPlatform::InvalidateRows(int top, int bottom) {
    log_.Add("InvalidateRows " + std::to_string(top) + " " + std::to_string(bottom));
    invalidBottom = std::max(invalidBottom, bottom);
}

void VirtualPlatform::Present(const Surface& surface, int width, int height) {
    lastPresentWidth = width;
    if (width < 0 || height < 0 || width > surface.Width() || height > surface.Height()) {
        presentOutsideSurface = true;
    }
}

Rect VirtualPlatform::ClientRect() const {
    return Rect{0, 0, window.Width() - kFrameExtraWidth, window.Height() - kFrameExtraHeight};
}

void VirtualPlatform::MoveWindow(int left, int top, int width, int height) {
    log_.Add("MoveWindow " + std::to_string(left) + " " + std::to_string(top) + " " +
             std::to_string(width) + " " + std::to_string(height));
    const bool resized = width != window.Width() || height != window.Height();
    window = Rect{left, top, left + width, top + height};
    if (resized) invalidBottom = kWholeClient;
}

void VirtualPlatform::FocusMainWindow() {
    log_.Add("FocusMain");
}

void VirtualPlatform::PostQuit(int code) {
    log_.Add("PostQuit " + std::to_string(code));
    if (!quitCode) quitCode = code;
}

void VirtualPlatform::CheckMenuItem(int id, bool checked) {
    log_.Add("Check " + std::to_string(id) + " " + (checked ? "1" : "0"));
    menuChecked[id] = checked;
}

void VirtualPlatform::EnableMenuItem(int id, bool enabled) {
    log_.Add("Enable " + std::to_string(id) + " " + (enabled ? "1" : "0"));
    menuEnabled[id] = enabled;
}

bool VirtualPlatform::PressedSinceLastRead(int key) {
    log_.Add("Pressed " + std::to_string(key));
    if (pads && IsPadKey(key))
        return pads->PressedSinceLastRead(PadOfKey(key), PadButtonOfKey(key));
    return pressed_.erase(key) != 0;
}

bool VirtualPlatform::Held(int key) {
    if (pads && IsPadKey(key)) return pads->Held(PadOfKey(key), PadButtonOfKey(key));
    return held_.count(key) != 0;
}

bool VirtualPlatform::CreateStartDialog() {
    log_.Add("CreateStartDialog");
    if (!dialogCreatable) return false;
    if (dialogOpen) throw std::runtime_error("a second start dialog");
    dialogOpen = true;
    ++dialogsCreated;
    shell_->StartDialogInit();
    return true;
}

void VirtualPlatform::DestroyStartDialog() {
    log_.Add("DestroyStartDialog");
    dialogOpen = false;
}

void VirtualPlatform::FocusStartDialog() {
    ++focusDialog;
}

void VirtualPlatform::CheckRadioButton(int first, int /*last*/, int checked) {
    radioChecked[first] = checked;
}

void VirtualPlatform::RunInfoDialog() {
    ++infoDialogs;
    RunModal();
}

void VirtualPlatform::RunAboutDialog() {
    ++aboutDialogs;
    RunModal();
}

void VirtualPlatform::ShowMessage(std::string_view text, std::string_view caption) {
    log_.Add("ShowMessage");
    messages.emplace_back(text, caption);
    RunModal();
}

void VirtualPlatform::OpenHelp(const std::string& path) {
    helpPaths.push_back(path);
}

void VirtualPlatform::RunModal() {
    if (whileModal) whileModal();
}

}  // namespace blok
