#include "surface.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "font.h"

namespace blok {

namespace {

// Half-open span [begin, end) of a row or column that survives clipping.
struct Span {
    int begin;
    int end;
    bool Empty() const { return begin >= end; }
};

// Offsets i in [0, length) with start + i inside [0, limit).
Span Clip(std::int64_t start, std::int64_t length, std::int64_t limit) {
    const std::int64_t begin = std::max<std::int64_t>(0, -start);
    const std::int64_t end = std::min(length, limit - start);
    return {static_cast<int>(std::clamp<std::int64_t>(begin, 0, length)),
            static_cast<int>(std::clamp<std::int64_t>(end, 0, length))};
}

Span Intersect(Span a, Span b) { return {std::max(a.begin, b.begin), std::min(a.end, b.end)}; }

void CopyRow(std::uint32_t* out, const std::uint32_t* in, int count, RasterOp op) {
    const auto n = static_cast<std::size_t>(count);
    if (op == RasterOp::Copy) {
        std::memcpy(out, in, n * sizeof *out);
    } else {
        for (std::size_t i = 0; i < n; ++i) out[i] |= in[i];
    }
}

// Source index of destination offset i when `sourceLength` pixels are spread over
// `length`: the source pixel under the centre of the destination pixel.
std::int64_t SampleOf(std::int64_t i, std::int64_t length, std::int64_t sourceLength) {
    return (2 * i + 1) * sourceLength / (2 * length);
}

}  // namespace

Surface::Surface(int width, int height)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_)) {}

Pen Surface::SelectPen(Pen pen) { return std::exchange(pen_, pen); }
Brush Surface::SelectBrush(Brush brush) { return std::exchange(brush_, brush); }
Color Surface::SetTextColor(Color color) { return std::exchange(textColor_, color); }
Color Surface::SetBkColor(Color color) { return std::exchange(bkColor_, color); }
BkMode Surface::SetBkMode(BkMode mode) { return std::exchange(bkMode_, mode); }

void Surface::BitBlt(int x, int y, int width, int height, PixelView source, int sourceX,
                     int sourceY, RasterOp op) {
    if (source.pixels == nullptr) return;
    const Span cols = Intersect(Clip(x, width, width_), Clip(sourceX, width, source.width));
    const Span rows = Intersect(Clip(y, height, height_), Clip(sourceY, height, source.height));
    if (cols.Empty() || rows.Empty()) return;
    for (int j = rows.begin; j < rows.end; ++j) {
        const std::uint32_t* in = source.pixels +
                                  static_cast<std::size_t>(sourceY + j) *
                                      static_cast<std::size_t>(source.width) +
                                  static_cast<std::size_t>(sourceX + cols.begin);
        std::uint32_t* out = Row(y + j) + (x + cols.begin);
        CopyRow(out, in, cols.end - cols.begin, op);
    }
}

void Surface::StretchBlt(int x, int y, int width, int height, PixelView source, int sourceX,
                         int sourceY, int sourceWidth, int sourceHeight, RasterOp op) {
    if (width <= 0 || height <= 0 || sourceWidth <= 0 || sourceHeight <= 0) return;
    if (width == sourceWidth && height == sourceHeight) {
        BitBlt(x, y, width, height, source, sourceX, sourceY, op);
        return;
    }
    if (source.pixels == nullptr) return;
    const Span cols = Clip(x, width, width_);
    const Span rows = Clip(y, height, height_);
    for (int j = rows.begin; j < rows.end; ++j) {
        const std::int64_t sy = sourceY + SampleOf(j, height, sourceHeight);
        if (sy < 0 || sy >= source.height) continue;
        const std::uint32_t* in = source.pixels + sy * source.width;
        std::uint32_t* out = Row(y + j) + x;
        for (int i = cols.begin; i < cols.end; ++i) {
            const std::int64_t sx = sourceX + SampleOf(i, width, sourceWidth);
            if (sx < 0 || sx >= source.width) continue;
            out[i] = op == RasterOp::Copy ? in[sx] : (out[i] | in[sx]);
        }
    }
}

void Surface::FillSpan(int left, int right, int y, Color color) {
    if (y < 0 || y >= height_) return;
    left = std::max(left, 0);
    right = std::min(right, width_);
    if (left < right) std::fill(Row(y) + left, Row(y) + right, color);
}

void Surface::FillRect(int left, int top, int right, int bottom, Brush brush) {
    for (int y = std::max(top, 0); y < std::min(bottom, height_); ++y) {
        FillSpan(left, right, y, brush.color);
    }
}

void Surface::Rectangle(int left, int top, int right, int bottom) {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    if (right - left < 1 || bottom - top < 1) return;
    FillRect(left + 1, top + 1, right - 1, bottom - 1, brush_);
    FillSpan(left, right, top, pen_.color);
    FillSpan(left, right, bottom - 1, pen_.color);
    for (int y = std::max(top, 0); y < std::min(bottom, height_); ++y) {
        SetPixel(left, y, pen_.color);
        SetPixel(right - 1, y, pen_.color);
    }
}

void Surface::DrawLine(int x0, int y0, int x1, int y1) {
    // Bresenham, stopping one pixel short of the end point.
    const int dx = std::abs(x1 - x0);
    const int dy = -std::abs(y1 - y0);
    const int stepX = x0 < x1 ? 1 : -1;
    const int stepY = y0 < y1 ? 1 : -1;
    int error = dx + dy;
    while (x0 != x1 || y0 != y1) {
        SetPixel(x0, y0, pen_.color);
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x0 += stepX;
        }
        if (twice <= dx) {
            error += dx;
            y0 += stepY;
        }
    }
}

void Surface::MoveTo(int x, int y) { position_ = {x, y}; }

void Surface::LineTo(int x, int y) {
    DrawLine(position_.x, position_.y, x, y);
    position_ = {x, y};
}

void Surface::Polyline(const Point* points, int count) {
    for (int i = 1; i < count; ++i) {
        DrawLine(points[i - 1].x, points[i - 1].y, points[i].x, points[i].y);
    }
}

void Surface::SetPixel(int x, int y, Color color) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    Row(y)[x] = color;
}

int Surface::TextWidth(std::string_view text) const { return SystemFont().TextWidth(text); }

int Surface::TextHeight() const { return SystemFont().LineHeight(); }

void Surface::TextOut(int x, int y, std::string_view text) {
    const BitmapFont& font = SystemFont();
    if (bkMode_ == BkMode::Opaque) {
        FillRect(x, y, x + font.TextWidth(text), y + font.LineHeight(), Brush{bkColor_});
    }
    int penX = x;
    for (char c : text) {
        const Glyph& glyph = font.For(c);
        const int left = penX + glyph.xoff;
        const int top = y + font.ascent - glyph.yoff - glyph.height;
        for (int r = 0; r < glyph.height; ++r) {
            std::uint32_t bits = font.rows[glyph.firstRow + static_cast<std::uint32_t>(r)];
            for (int col = 0; bits != 0; ++col, bits <<= 1) {
                if (bits & 0x80000000u) SetPixel(left + col, top + r, textColor_);
            }
        }
        penX += glyph.advance;
    }
}

}  // namespace blok
