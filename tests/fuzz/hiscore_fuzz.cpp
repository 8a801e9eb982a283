// Feeds arbitrary bytes to the hiscore.dat reader, from memory and through a file, and checks
// what must hold for any file: the layout reads back byte for byte (only missing name
// terminators are added), rows fit their line, and entering a score behaves.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>
#include <string>

#include <unistd.h>

#include "hiscore_file.h"
#include "hiscore_table.h"

namespace {

using namespace blok;

void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "hiscore invariant broken: %s\n", what);
        std::abort();
    }
}

// Offset of each name field within the file.
constexpr std::size_t kNameOffsets[kHiscoreEntries] = {4,   38,  72,  110, 144,
                                                       178, 216, 250, 284, 318};

// What writing the table back must give: the input cut or zero-padded to the file size, with a
// terminator in the last byte of each name field that had none.
HiscoreFileBytes ExpectedBytes(std::span<const std::uint8_t> input) {
    HiscoreFileBytes expected{};
    std::copy_n(input.begin(), std::min(input.size(), expected.size()), expected.begin());
    for (const std::size_t offset : kNameOffsets) {
        const auto field = std::span(expected).subspan(offset, kNameFieldSize);
        if (std::find(field.begin(), field.end(), 0) == field.end()) field.back() = 0;
    }
    return expected;
}

std::string FuzzFilePath() {
    static const std::string path = [] {
        char pattern[] = "/tmp/hiscore-fuzz-XXXXXX";
        Check(mkdtemp(pattern) != nullptr, "temporary directory");
        return std::string(pattern) + "/hiscore.dat";
    }();
    return path;
}

void CheckFileLoad(std::span<const std::uint8_t> input, const HiscoreTable& fromMemory) {
    const std::string path = FuzzFilePath();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    Check(file != nullptr, "writing the input file");
    if (!input.empty()) std::fwrite(input.data(), 1, input.size(), file);
    std::fclose(file);
    HiscoreTable fromFile;
    Check(LoadHiscoreFile(path, fromFile), "a regular file loads");
    Check(WriteHiscoreBytes(fromFile) == WriteHiscoreBytes(fromMemory), "file and memory agree");
}

void CheckRows(const HiscoreTable& table) {
    for (int i = 0; i < kHiscoreEntries; ++i) {
        const auto& name = table.Hiname[static_cast<std::size_t>(i)];
        Check(std::find(name.begin(), name.end(), '\0') != name.end(), "name terminated");
        Check(NameText(name).size() <= kNameFieldSize - 1, "name at most 29 bytes");
        const std::string row = HiscoreRowText(table, i);
        Check(row.size() < kRowBufferSize, "row fits its line");
        Check(row == std::to_string(i + 1) + ". " + std::string(NameText(name)), "row text");
        Check(IsValidUtf8(DisplayUtf8(row)), "row shows as UTF-8");
    }
}

bool Sorted(const HiscoreTable& table) {
    return std::is_sorted(table.Hiscore.rbegin(), table.Hiscore.rend());
}

void CheckEntry(const HiscoreTable& before, std::uint32_t score, std::string_view typed) {
    HiscoreTable table = before;
    const int place = HiscorePlace(table, score);
    Check(place >= 0 && place <= kNoPlace, "place in range");
    if (score == 0) Check(place == kNoPlace, "0 never enters");
    // The score passes every entry below its place and stops at one at least as high; in a
    // table that is not sorted, lower entries may stand above that one.
    for (int i = place; i < kHiscoreEntries; ++i)
        Check(table.Hiscore[static_cast<std::size_t>(i)] < score, "passes every entry below");
    if (place > 0) Check(table.Hiscore[static_cast<std::size_t>(place - 1)] >= score, "stops");
    if (place == kNoPlace) return;

    NameField NAME{};
    ReadTypedName(typed, NAME);
    Check(NameText(NAME).size() <= kTypedNameMaxBytes, "typed name at most 27 bytes");
    Check(!IsValidUtf8(typed) || IsValidUtf8(NameText(NAME)), "no character cut in two");
    EnterHiscore(table, place, NAME, score);

    const auto at = [](int i) { return static_cast<std::size_t>(i); };
    Check(table.Hiscore[at(place)] == score, "score entered");
    Check(NameText(table.Hiname[at(place)]) == NameText(NAME), "name entered");
    for (int i = 0; i < kHiscoreEntries; ++i) {
        if (i == place) continue;
        const int from = i < place ? i : i - 1;
        Check(table.Hiscore[at(i)] == before.Hiscore[at(from)], "scores kept or moved down");
        Check(NameText(table.Hiname[at(i)]) == NameText(before.Hiname[at(from)]), "names moved");
    }
    Check(!Sorted(before) || Sorted(table), "a sorted table stays sorted");
    Check(table.reservedA == before.reservedA && table.reservedB == before.reservedB &&
              table.stillPlayed == before.stillPlayed,
          "entering touches nothing else");
    CheckRows(table);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> input(data, size);
    HiscoreTable table;
    ReadHiscoreBytes(input, table);
    Check(WriteHiscoreBytes(table) == ExpectedBytes(input), "layout reads back byte for byte");
    CheckRows(table);
    CheckFileLoad(input, table);

    // Bytes past the file's end pick the score and the typed name; a short input tries a few
    // scores against its table.
    if (size > kHiscoreFileSize + 4) {
        std::uint32_t score = 0;
        std::memcpy(&score, data + kHiscoreFileSize, sizeof score);
        const std::string_view typed(reinterpret_cast<const char*>(data) + kHiscoreFileSize + 4,
                                     size - kHiscoreFileSize - 4);
        CheckEntry(table, score, typed);
    } else {
        for (const std::uint32_t score :
             {0U, 1U, table.Hiscore[9], table.Hiscore[9] + 1U, table.Hiscore[0] + 1U, 0xFFFFFFFFU})
            CheckEntry(table, score, "Nobody");
    }
    return 0;
}
