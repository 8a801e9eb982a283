#include "key_repeat.h"

#include <algorithm>

namespace blok {

namespace {

int TicksOf(int milliseconds, int tickMs) {
    return (milliseconds + tickMs - 1) / tickMs;
}

}  // namespace

bool KeyRepeat::Held(bool down, const RepeatTiming& timing, int tickMs) {
    if (!down) {
        pollsHeld_ = 0;
        return false;
    }
    const int tick = pollsHeld_;
    pollsHeld_ = std::min(pollsHeld_ + 1, 1 << 20);
    if (!timing.on) return true;
    const int delay = TicksOf(timing.delayMs, tickMs);
    const int rate = std::max(1, TicksOf(timing.rateMs, tickMs));
    return tick >= delay && (tick - delay) % rate == 0;
}

}  // namespace blok
