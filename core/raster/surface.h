#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace blok {

// A pixel value 0x00RRGGBB.
using Color = std::uint32_t;

constexpr Color Rgb(int r, int g, int b) {
    return (static_cast<Color>(r & 0xFF) << 16) | (static_cast<Color>(g & 0xFF) << 8) |
           static_cast<Color>(b & 0xFF);
}

// A solid pen one pixel wide and a solid brush: the only kinds the game draws with.
struct Pen {
    Color color = 0;
};
struct Brush {
    Color color = 0;
};

// Whether text first fills its cell with the background colour.
enum class BkMode { Opaque, Transparent };

// How copied pixels meet the surface: replace them, or OR into them (black leaves them as they
// are, which is how sprites on black are laid over a picture).
enum class RasterOp { Copy, Paint };

// Read-only pixels in the layout of a Surface: row by row from the top, `width` a row.
struct PixelView {
    int width = 0;
    int height = 0;
    const std::uint32_t* pixels = nullptr;
};

struct Point {
    int x = 0;
    int y = 0;
};

// 32-bit pixels 0x00RRGGBB, row by row from the top, `Width()` pixels a row.
//
// Drawing follows the window system's device-context rules: a pen, a brush, a text colour and a
// background mode are selected into the surface and each Select/Set call returns what was
// selected before, so that a drawing routine can put it back. Every call clips to the surface,
// negative coordinates included, and none allocates.
class Surface {
  public:
    // Black pixels in memory of its own, or in `lent` memory (for example memory the display
    // reads itself), which must hold width x height zeroed pixels.
    Surface(int width, int height, std::shared_ptr<std::uint32_t[]> lent = nullptr)
        : width_(width > 0 ? width : 0),
          height_(height > 0 ? height : 0),
          pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_),
                  std::move(lent)) {}

    int Width() const { return width_; }
    int Height() const { return height_; }
    const std::uint32_t* Pixels() const { return pixels_.data(); }
    std::uint32_t* Pixels() { return pixels_.data(); }
    PixelView View() const { return {width_, height_, pixels_.data()}; }

    // A fresh surface has a black one-pixel pen, a white brush, black opaque text on white.
    Pen SelectPen(Pen pen);
    Brush SelectBrush(Brush brush);
    Color SetTextColor(Color color);
    Color SetBkColor(Color color);
    BkMode SetBkMode(BkMode mode);

    // Copies the source rectangle at (sourceX, sourceY) of size width x height to (x, y).
    // Parts outside the source picture leave the surface unchanged.
    void BitBlt(int x, int y, int width, int height, PixelView source, int sourceX, int sourceY,
                RasterOp op);
    // Copies a source rectangle scaled to width x height, nearest neighbour. Non-positive
    // sizes draw nothing.
    void StretchBlt(int x, int y, int width, int height, PixelView source, int sourceX, int sourceY,
                    int sourceWidth, int sourceHeight, RasterOp op);

    // Fills [left, right) x [top, bottom) with the brush, whatever brush is selected.
    void FillRect(int left, int top, int right, int bottom, Brush brush);
    // Outline in the selected pen, interior in the selected brush; the right and bottom edges
    // are excluded, so cells from (X, Y) to (X + 21, Y + 21) at a pitch of 20 share outlines.
    void Rectangle(int left, int top, int right, int bottom);

    // Connected lines in the selected pen through the points; the last point is not drawn.
    void Polyline(const Point* points, int count);

    void SetPixel(int x, int y, Color color);

    // Text in the selected colour with its top-left corner at (x, y). TextWidth is exactly the
    // advance TextOut uses; every line is TextHeight() pixels high.
    void TextOut(int x, int y, std::string_view text);
    int TextWidth(std::string_view text) const;
    int TextHeight() const;

  private:
    std::uint32_t* Row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * Stride(); }
    std::size_t Stride() const { return static_cast<std::size_t>(width_); }
    void FillSpan(int left, int right, int y, Color color);
    void DrawLine(int x0, int y0, int x1, int y1);

    // The pixels, wherever they live; a copy always has its own.
    class Store {
      public:
        Store(std::size_t count, std::shared_ptr<std::uint32_t[]> lent)
            : lent_(std::move(lent)), own_(lent_ ? 0 : count), count_(count) {}
        Store(const Store& other)
            : own_(other.data(), other.data() + other.count_), count_(other.count_) {}
        Store(Store&&) noexcept = default;  // a moved vector keeps its buffer
        Store& operator=(Store other) noexcept {
            std::swap(lent_, other.lent_);
            std::swap(own_, other.own_);
            std::swap(count_, other.count_);
            return *this;
        }
        ~Store() = default;
        std::uint32_t* data() { return lent_ ? lent_.get() : own_.data(); }
        const std::uint32_t* data() const { return lent_ ? lent_.get() : own_.data(); }

      private:
        std::shared_ptr<std::uint32_t[]> lent_;
        std::vector<std::uint32_t> own_;
        std::size_t count_;
    };

    int width_;
    int height_;
    Store pixels_;
    Pen pen_{Rgb(0, 0, 0)};
    Brush brush_{Rgb(255, 255, 255)};
    Color textColor_ = Rgb(0, 0, 0);
    Color bkColor_ = Rgb(255, 255, 255);
    BkMode bkMode_ = BkMode::Opaque;
};

}  // namespace blok
