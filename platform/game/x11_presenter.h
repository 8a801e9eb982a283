#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include <QPoint>
#include <QRegion>

class QWidget;

namespace blok::qt {

// Rows [top, bottom) of the `width` × `height` pixels (0x00RRGGBB) shown of a frame whose rows
// lie `stride` pixels apart, shown with each pixel a `scale` × `scale` square.
struct FrameRows {
    const std::uint32_t* pixels = nullptr;
    int stride = 0;
    int width = 0;
    int height = 0;
    int top = 0;
    int bottom = 0;
    int scale = 1;
};

// Puts rows of a composed frame straight into the window on an X server, past the toolkit's
// backing store. The title band and the game's changed rows are repainted up to 16 times a
// second, and the toolkit's repaint path (painter, backing-store round trip, flush) costs more
// than composing them.
class X11Presenter {
  public:
    // Null unless `window` is shown through an X server in 24-bit true colour with 32-bit
    // pixels in this machine's byte order, the layout of our surface.
    static std::unique_ptr<X11Presenter> ForWindow(QWidget& window);
    ~X11Presenter();
    X11Presenter(const X11Presenter&) = delete;
    X11Presenter& operator=(const X11Presenter&) = delete;

    // Zeroed memory for a frame of width × height pixels that the X server reads itself, so
    // that rows put from it go without a copy; null where the server cannot share our memory.
    std::shared_ptr<std::uint32_t[]> LendFrame(int width, int height);
    // Whether the server is known to have read every put from the lent frame. When not, one it
    // reads while the game draws on the frame may show a half-drawn state: the rows of those
    // puts must be put again after the drawing.
    bool AllPutsRead();

    // Puts the rows with the frame's top-left at `origin` of the window; only `visible`
    // (window coordinates) is drawn.
    void Put(const FrameRows& rows, QPoint origin, const QRegion& visible);

  private:
    struct Connection;
    X11Presenter(std::unique_ptr<Connection> connection, QWidget& window);
    void ClipTo(const QRegion& visible);
    void EndLending();
    void SendFenceWhenDue();
    bool PutLent(const FrameRows& rows, QPoint origin);
    bool PutShared(const FrameRows& rows, QPoint origin);
    void PutThroughSocket(const FrameRows& rows, QPoint origin);

    std::unique_ptr<Connection> x_;
    QWidget& window_;  // its native window is looked up at each put: the toolkit may remake it
    std::vector<std::uint32_t> enlarged_;  // rows of a zoomed frame on their way to the socket
};

// How many rows of `rowBytes` bytes fit in one image request of at most `maxRequestBytes`
// (at least one, so a row wider than a request still goes out).
int RowsPerRequest(int rowBytes, std::uint64_t maxRequestBytes);

// Writes the rows, enlarged, packed to `out` (room for (bottom - top) × scale rows of
// width × scale).
void EnlargeRows(const FrameRows& rows, std::uint32_t* out);

}  // namespace blok::qt
