#pragma once

#include <algorithm>

#include <QPoint>
#include <QSize>

namespace blok::qt {

// The game measures its main window as a classic framed window: a 4-pixel sizing border, a
// 19-pixel caption and a 19-pixel menu bar around the client area. The real frame is the
// desktop's; these numbers only translate between the game's outer sizes and our client widget.
inline constexpr int kFrameBorder = 4;
inline constexpr int kCaptionHeight = 19;
inline constexpr int kMenuBarHeight = 19;

// Where the client area starts inside the outer rectangle.
inline constexpr QPoint kClientOffset{kFrameBorder, kFrameBorder + kCaptionHeight + kMenuBarHeight};
inline constexpr QSize kFrameExtra{2 * kFrameBorder,
                                   2 * kFrameBorder + kCaptionHeight + kMenuBarHeight};

// The window the game opens with: outer 409 x 447 at (100, 0).
inline constexpr QPoint kInitialWindowPos{100, 0};
inline constexpr QSize kInitialOuterSize{409, 447};

inline QSize ClientSizeForOuter(QSize outer) {
    return QSize(std::max(0, outer.width() - kFrameExtra.width()),
                 std::max(0, outer.height() - kFrameExtra.height()));
}

inline QSize OuterSizeForClient(QSize client) { return client + kFrameExtra; }

}  // namespace blok::qt
