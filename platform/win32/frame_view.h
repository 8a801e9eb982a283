#pragma once

#include <algorithm>

#include "ids_and_sizes.h"

namespace blok::win32 {

// Where the game's frame lies in the client area: every frame pixel a square of `scale` screen
// pixels from `left`, `top`.
struct FrameView {
    int scale = 1;
    int left = 0;
    int top = 0;
};

// A window shows the frame at its zoom from the corner; full screen shows it centred at the
// largest whole scale at which the game's client area fits the screen.
inline FrameView ViewFor(bool fullScreen, int zoom, int clientWidth, int clientHeight,
                         int logicalWidth, int logicalHeight) {
    if (!fullScreen || logicalWidth <= 0 || logicalHeight <= 0) return {zoom, 0, 0};
    const int scale =
        std::max(1, std::min(clientWidth / logicalWidth, clientHeight / logicalHeight));
    return {scale, std::max(0, (clientWidth - logicalWidth * scale) / 2),
            std::max(0, (clientHeight - logicalHeight * scale) / 2)};
}

// The frame rows top..bottom-1 that reach the client rows paintTop..paintBottom-1, clipped to
// the frame's height; empty (top >= bottom) when none do.
struct FrameRows {
    int top = 0;
    int bottom = 0;
};
inline FrameRows RowsToPut(const FrameView& view, int frameHeight, int paintTop, int paintBottom) {
    const int top = std::max(0, (paintTop - view.top) / view.scale);
    const int bottom =
        std::min(frameHeight, (paintBottom - view.top + view.scale - 1) / view.scale);
    return {top, std::max(top, bottom)};
}

// The game measures its window as a classic framed one; these translate between its outer
// sizes and the client area.
inline int ClientWidthForOuter(int outer) {
    return std::max(0, outer - kFrameExtraWidth);
}
inline int ClientHeightForOuter(int outer) {
    return std::max(0, outer - kFrameExtraHeight);
}

}  // namespace blok::win32
