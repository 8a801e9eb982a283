#include "font.h"

namespace blok {

int BitmapFont::TextWidth(std::string_view text) const {
    int width = 0;
    for (char c : text) width += For(c).advance;
    return width;
}

}  // namespace blok
