#include "pictures.h"

#include <array>
#include <cstdint>

#include "ids_and_sizes.h"
#include "system_files.h"

namespace blok {

namespace {

struct Slot {
    std::string_view name;
    Picture Pictures::*member;
    int width;
    int height;
};

constexpr std::array<Slot, 12> kSlots{{
    {"BITMAP_1", &Pictures::hbmp, 200, 150},
    {"BLKBMP", &Pictures::blkbmp, 380, 67},
    {"FORBMP", &Pictures::forbmp, 350, 57},
    {"SPIDER", &Pictures::spiderbmp, 40, 40},
    {"BOMB", &Pictures::bombbmp, 20, 30},
    {"FLAME", &Pictures::flamebmp, 60, 60},
    {"KESTA", &Pictures::kestabmp, kGameFrameWidth, kGameFrameHeight},
    {"COOP", &Pictures::coopbmp, kGameFrameWidth, kGameFrameHeight},
    {"MORVO", &Pictures::morvobmp, kGameFrameWidth, kGameFrameHeight},
    {"WORSE", &Pictures::worsebmp, 20, 20},
    {"DUCKY", &Pictures::duckybmp, 200, 50},
    {"TITAN", &Pictures::titanbmp, 426, 122},
}};

Picture Black(int width, int height) {
    return {width, height,
            std::vector<std::uint32_t>(static_cast<std::size_t>(width) *
                                       static_cast<std::size_t>(height))};
}

std::optional<Picture> DecodeNamed(std::span<const EmbeddedFile> files, std::string_view name) {
    for (const EmbeddedFile& file : files) {
        if (file.name == name && file.size > 0) return DecodeBmp({file.data, file.size});
    }
    return std::nullopt;
}

void Decode(std::span<const EmbeddedFile> files, const Slot& slot, Pictures& pictures) {
    auto decoded = DecodeNamed(files, slot.name);
    pictures.*slot.member = decoded ? std::move(*decoded) : Black(slot.width, slot.height);
}

// The program's own copy of a picture file is read once, when it is decoded: its whole pages
// need not stay in memory. They are part of the program file, so the system reads them again
// should anything ever touch them.
void ReleaseBuiltInFile(std::string_view name) {
    for (const EmbeddedFile& file : EmbeddedPictures()) {
        if (file.name == name && file.size > 0) ReleaseProgramPages(file.data, file.size);
    }
}

void DecodeBuiltIn(const Slot& slot, Pictures& pictures) {
    Decode(EmbeddedPictures(), slot, pictures);
    ReleaseBuiltInFile(slot.name);
}

bool IsBackground(const Slot& slot) {
    return slot.member == &Pictures::kestabmp || slot.member == &Pictures::coopbmp ||
           slot.member == &Pictures::morvobmp;
}

Pictures& BuiltInPictures() {
    static Pictures pictures = [] {
        Pictures decoded;
        for (const Slot& slot : kSlots)
            if (!IsBackground(slot)) DecodeBuiltIn(slot, decoded);
        return decoded;
    }();
    return pictures;
}

}  // namespace

Pictures DecodePictures(std::span<const EmbeddedFile> files) {
    Pictures pictures;
    for (const Slot& slot : kSlots) Decode(files, slot, pictures);
    return pictures;
}

const Pictures& LoadPictures() {
    return BuiltInPictures();
}

void LoadBackground(const Picture Pictures::*background) {
    Pictures& pictures = BuiltInPictures();
    for (const Slot& slot : kSlots)
        if (slot.member == background && IsBackground(slot) &&
            (pictures.*slot.member).pixels.empty())
            DecodeBuiltIn(slot, pictures);
}

}  // namespace blok
