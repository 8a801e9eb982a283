#pragma once

#include <algorithm>

#include <QPoint>
#include <QSize>

#include "ids_and_sizes.h"

namespace blok::qt {

// The real frame is the desktop's; the game's emulated frame only translates between the game's
// outer sizes and our client widget.

// Where the client area starts inside the outer rectangle.
inline constexpr QPoint kClientOffset{kFrameBorder, kFrameBorder + kCaptionHeight + kMenuBarHeight};
inline constexpr QSize kFrameExtra{kFrameExtraWidth, kFrameExtraHeight};

// The window the game opens with.
inline constexpr QPoint kInitialWindowPos{kInitialWindowLeft, kInitialWindowTop};
inline constexpr QSize kInitialOuterSize{kWindowWidth, kWindowHeight};

inline QSize ClientSizeForOuter(QSize outer) {
    return QSize(std::max(0, outer.width() - kFrameExtra.width()),
                 std::max(0, outer.height() - kFrameExtra.height()));
}

inline QSize OuterSizeForClient(QSize client) {
    return client + kFrameExtra;
}

}  // namespace blok::qt
