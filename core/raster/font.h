#pragma once

#include <cstdint>
#include <string_view>

namespace blok {

// One character of a bitmap font. The ink box is `width` x `height` pixels, placed `xoff` right
// of the pen position and with its bottom `yoff` pixels above the baseline; `advance` moves the
// pen. Rows of the box are consecutive entries of BitmapFont::rows from `firstRow`, the leftmost
// pixel being bit 31.
struct Glyph {
    std::int16_t advance;
    std::int16_t width;
    std::int16_t height;
    std::int16_t xoff;
    std::int16_t yoff;
    std::uint32_t firstRow;
};

struct BitmapFont {
    int ascent;           // baseline below the top of a line
    int descent;          // line height = ascent + descent
    const Glyph* glyphs;  // 256 entries, one per byte value; unknown bytes show the default glyph
    const std::uint32_t* rows;

    int LineHeight() const { return ascent + descent; }
    const Glyph& For(char c) const { return glyphs[static_cast<unsigned char>(c)]; }
    int TextWidth(std::string_view text) const;
};

// The font of every text the game draws (bold, 16 pixels a line), converted into a table when
// the program is built.
const BitmapFont& SystemFont();

}  // namespace blok
