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

// Offsets i in [0, length) with start + i inside [0, limit). A rectangle given right to left or
// bottom to top is empty.
Span Clip(std::int64_t start, std::int64_t length, std::int64_t limit) {
    if (length <= 0) return {0, 0};
    const std::int64_t begin = std::max<std::int64_t>(0, -start);
    const std::int64_t end = std::min(length, limit - start);
    return {static_cast<int>(std::clamp<std::int64_t>(begin, 0, length)),
            static_cast<int>(std::clamp<std::int64_t>(end, 0, length))};
}

Span Intersect(Span a, Span b) {
    return {std::max(a.begin, b.begin), std::min(a.end, b.end)};
}

// ORs `count` pixels in four at a time, which compiles to one vector OR each: sprites are laid
// over the title band at every step.
void OrPixels(std::uint32_t* out, const std::uint32_t* in, std::size_t count) {
    std::size_t i = 0;
    for (; i + 4 <= count; i += 4) {
        std::uint32_t under[4];
        std::uint32_t over[4];
        std::memcpy(under, out + i, sizeof under);
        std::memcpy(over, in + i, sizeof over);
        for (std::size_t k = 0; k < 4; ++k) under[k] |= over[k];
        std::memcpy(out + i, under, sizeof under);
    }
    for (; i < count; ++i) out[i] |= in[i];
}

void CopyRow(std::uint32_t* out, const std::uint32_t* in, int count, RasterOp op) {
    const auto n = static_cast<std::size_t>(count);
    if (op == RasterOp::Copy) {
        std::memcpy(out, in, n * sizeof *out);
    } else {
        OrPixels(out, in, n);
    }
}

// Source index of destination offset i when `sourceLength` pixels are spread over
// `length`: the source pixel under the centre of the destination pixel.
std::int64_t SampleOf(std::int64_t i, std::int64_t length, std::int64_t sourceLength) {
    return (2 * i + 1) * sourceLength / (2 * length);
}

// Fills `count` pixels four at a time: each 16-byte copy compiles to one vector store, which
// makes the short rows of cells several times faster than a store per pixel.
void FillPixels(std::uint32_t* out, std::size_t count, Color color) {
    const std::uint32_t quad[4] = {color, color, color, color};
    std::size_t i = 0;
    for (; i + 4 <= count; i += 4) std::memcpy(out + i, quad, sizeof quad);
    for (; i < count; ++i) out[i] = color;
}

}  // namespace

Pen Surface::SelectPen(Pen pen) {
    return std::exchange(pen_, pen);
}
Brush Surface::SelectBrush(Brush brush) {
    return std::exchange(brush_, brush);
}
Color Surface::SetTextColor(Color color) {
    return std::exchange(textColor_, color);
}
Color Surface::SetBkColor(Color color) {
    return std::exchange(bkColor_, color);
}
BkMode Surface::SetBkMode(BkMode mode) {
    return std::exchange(bkMode_, mode);
}

void Surface::BitBlt(int x, int y, int width, int height, PixelView source, int sourceX,
                     int sourceY, RasterOp op) {
    if (source.pixels == nullptr) return;
    const Span cols = Intersect(Clip(x, width, width_), Clip(sourceX, width, source.width));
    const Span rows = Intersect(Clip(y, height, height_), Clip(sourceY, height, source.height));
    if (cols.Empty() || rows.Empty()) return;
    for (int j = rows.begin; j < rows.end; ++j) {
        const std::uint32_t* in =
            source.pixels +
            static_cast<std::size_t>(sourceY + j) * static_cast<std::size_t>(source.width) +
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
        std::uint32_t* out = Row(y + j);
        for (int i = cols.begin; i < cols.end; ++i) {
            const std::int64_t sx = sourceX + SampleOf(i, width, sourceWidth);
            if (sx < 0 || sx >= source.width) continue;
            std::uint32_t& pixel = out[x + i];
            pixel = op == RasterOp::Copy ? in[sx] : (pixel | in[sx]);
        }
    }
}

void Surface::FillSpan(int left, int right, int y, Color color) {
    if (y < 0 || y >= height_) return;
    left = std::max(left, 0);
    right = std::min(right, width_);
    if (left < right) FillPixels(Row(y) + left, static_cast<std::size_t>(right - left), color);
}

void Surface::FillRect(int left, int top, int right, int bottom, Brush brush) {
    const Span cols = Clip(left, static_cast<std::int64_t>(right) - left, width_);
    const Span rows = Clip(top, static_cast<std::int64_t>(bottom) - top, height_);
    if (cols.Empty() || rows.Empty()) return;
    // Fill one row, then copy it: block copies are far faster than a store per pixel.
    std::uint32_t* first = Row(top + rows.begin) + (left + cols.begin);
    const auto count = static_cast<std::size_t>(cols.end - cols.begin);
    FillPixels(first, count, brush.color);
    for (int j = rows.begin + 1; j < rows.end; ++j) {
        std::memcpy(Row(top + j) + (left + cols.begin), first, count * sizeof *first);
    }
}

void Surface::Rectangle(int left, int top, int right, int bottom) {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    const int width = right - left;
    const int height = bottom - top;
    const Span cols = Clip(left, width, width_);
    const Span rows = Clip(top, height, height_);
    if (cols.Empty() || rows.Empty()) return;
    const auto count = static_cast<std::size_t>(cols.end - cols.begin);
    const bool leftEdgeShown = cols.begin == 0;
    const bool rightEdgeShown = cols.end == width;
    for (int j = rows.begin; j < rows.end; ++j) {
        std::uint32_t* out = Row(top + j) + (left + cols.begin);
        if (j == 0 || j == height - 1) {
            FillPixels(out, count, pen_.color);
            continue;
        }
        FillPixels(out, count, brush_.color);
        if (leftEdgeShown) out[0] = pen_.color;
        if (rightEdgeShown) out[count - 1] = pen_.color;
    }
}

void Surface::DrawLine(int x0, int y0, int x1, int y1) {
    // Lines that run along a row or a column, the only kind the frames draw, are clipped spans.
    if (y0 == y1) {
        if (y0 < 0 || y0 >= height_ || x0 == x1) return;
        const int from = x0 < x1 ? x0 : x1 + 1;  // the end point is left out
        const int to = x0 < x1 ? x1 - 1 : x0;
        for (int x = std::max(from, 0); x <= std::min(to, width_ - 1); ++x) Row(y0)[x] = pen_.color;
        return;
    }
    if (x0 == x1) {
        if (x0 < 0 || x0 >= width_) return;
        const int from = y0 < y1 ? y0 : y1 + 1;
        const int to = y0 < y1 ? y1 - 1 : y0;
        for (int y = std::max(from, 0); y <= std::min(to, height_ - 1); ++y)
            Row(y)[x0] = pen_.color;
        return;
    }
    // Nothing to draw when the line's box misses the surface.
    if (std::max(x0, x1) < 0 || std::min(x0, x1) >= width_ || std::max(y0, y1) < 0 ||
        std::min(y0, y1) >= height_) {
        return;
    }
    // Bresenham in 64 bits, so far-off end points cannot overflow, stopping one pixel short of
    // the end point.
    std::int64_t x = x0, y = y0;
    const std::int64_t dx = std::abs(std::int64_t{x1} - x0);
    const std::int64_t dy = -std::abs(std::int64_t{y1} - y0);
    const int stepX = x0 < x1 ? 1 : -1;
    const int stepY = y0 < y1 ? 1 : -1;
    std::int64_t error = dx + dy;
    while (x != x1 || y != y1) {
        if (x >= 0 && y >= 0 && x < width_ && y < height_) {
            Row(static_cast<int>(y))[x] = pen_.color;
        }
        const std::int64_t twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += stepX;
        }
        if (twice <= dx) {
            error += dx;
            y += stepY;
        }
    }
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

int Surface::TextWidth(std::string_view text) const {
    return SystemFont().TextWidth(text);
}

int Surface::TextHeight() const {
    return SystemFont().LineHeight();
}

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
