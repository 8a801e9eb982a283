#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace blok {

// A file built into the program. `size` is 0 when the file was missing at build time.
struct EmbeddedFile {
    std::string_view name;
    const std::uint8_t* data;
    std::size_t size;
};

// The picture files, by resource name ("BITMAP_1", "BLKBMP", ...).
std::span<const EmbeddedFile> EmbeddedPictures();

}  // namespace blok
