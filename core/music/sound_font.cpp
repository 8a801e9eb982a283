#include "sound_font.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>

namespace blok {

PresetSelection PresetSelection::Everything() {
    PresetSelection all;
    all.melodic.set();
    all.drumKits.set();
    return all;
}

bool PresetSelection::Wants(int bank, int program) const {
    if (program < 0 || program >= 128) return false;  // no program change reaches it
    const auto index = static_cast<std::size_t>(program);
    return bank == kDrumBank ? drumKits.test(index) : melodic.test(index);
}

bool PresetSelection::Covers(const PresetSelection& other) const {
    return (other.melodic & ~melodic).none() && (other.drumKits & ~drumKits).none();
}

void PresetSelection::Add(const PresetSelection& other) {
    melodic |= other.melodic;
    drumKits |= other.drumKits;
}

PresetSelection PresetsSelectedBy(const ProgramChoices& programs) {
    constexpr std::uint32_t kDrums = 1u << kDrumChannel;
    PresetSelection selection;
    selection.melodic = programs.melodic;
    selection.drumKits = programs.drumKits;
    if ((programs.channelsPlayingDefault & ~kDrums) != 0) selection.melodic.set(0);
    if ((programs.channelsPlayingDefault & kDrums) != 0) selection.drumKits.set(0);
    if (programs.hasSystemExclusive) {
        selection.drumKits |= selection.melodic;
        selection.melodic.set(0);
        selection.drumKits.set(0);
    }
    return selection;
}

namespace {

using Bytes = std::vector<std::uint8_t>;

// The preset table of a font bigger than this is not trimmed (ours has 200 KB).
constexpr std::uint32_t kMaxPresetTableBytes = 64u << 20;
constexpr std::size_t kChunkHeaderBytes = 8;
constexpr std::uint16_t kInstrumentGenerator = 41;

std::uint32_t U32(const std::uint8_t* at) {
    return std::uint32_t{at[0]} | std::uint32_t{at[1]} << 8 | std::uint32_t{at[2]} << 16 |
           std::uint32_t{at[3]} << 24;
}
std::uint16_t U16(const std::uint8_t* at) {
    return static_cast<std::uint16_t>(at[0] | at[1] << 8);
}
void PutU16(std::uint8_t* at, std::size_t value) {
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}
// Takes the 64-bit file sizes as they are; only the low 32 bits are written.
void AppendU32(Bytes& out, std::uint64_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}
bool IsTag(const std::uint8_t* at, const char (&tag)[5]) {
    return std::memcmp(at, tag, 4) == 0;
}

// One sub-chunk of the preset table: fixed-size records, the last one a terminal record.
struct Table {
    const std::uint8_t* data = nullptr;
    std::size_t recordBytes = 0;
    std::size_t count = 0;

    const std::uint8_t* Record(std::size_t index) const { return data + index * recordBytes; }
    std::size_t Field(std::size_t index, std::size_t at) const { return U16(Record(index) + at); }
};

// One level of the preset table: presets or instruments, each owning a run of zones ("bags"),
// each zone owning a run of generators and a run of modulators.
struct Level {
    Table headers;
    std::size_t bagField;  // where a header keeps the index of its first zone
    Table bags, generators, modulators;

    std::size_t FirstBag(std::size_t header) const { return headers.Field(header, bagField); }
    std::size_t FirstGenerator(std::size_t bag) const { return bags.Field(bag, 0); }
    std::size_t FirstModulator(std::size_t bag) const { return bags.Field(bag, 2); }
};

// Every run starts where the one before it ends, and the terminal records close the tables.
bool IsConsistent(const Level& level) {
    auto ascending = [](const Table& table, auto first, std::size_t end) {
        for (std::size_t i = 0; i + 1 < table.count; ++i)
            if (first(i) > first(i + 1)) return false;
        return first(table.count - 1) == end;
    };
    return ascending(
               level.headers, [&](std::size_t i) { return level.FirstBag(i); },
               level.bags.count - 1) &&
           ascending(
               level.bags, [&](std::size_t i) { return level.FirstGenerator(i); },
               level.generators.count - 1) &&
           ascending(
               level.bags, [&](std::size_t i) { return level.FirstModulator(i); },
               level.modulators.count - 1);
}

struct LevelCopy {
    Bytes headers, bags, generators, modulators;
};

void AppendRecord(Bytes& out, const Table& table, std::size_t index) {
    out.insert(out.end(), table.Record(index), table.Record(index + 1));
}

// Copies the kept headers with their zones, generators and modulators, renumbering the runs, and
// closes each table with its terminal record. `instrumentIndex` renumbers the instruments that
// preset zones name (empty at the instrument level).
LevelCopy CopyLevel(const Level& in, const std::vector<std::size_t>& kept,
                    const std::vector<std::size_t>& instrumentIndex) {
    LevelCopy out;
    auto startHeader = [&](std::size_t header) {
        AppendRecord(out.headers, in.headers, header);
        PutU16(&out.headers[out.headers.size() - in.headers.recordBytes + in.bagField],
               out.bags.size() / in.bags.recordBytes);
    };
    auto startBag = [&](std::size_t bag) {
        AppendRecord(out.bags, in.bags, bag);
        std::uint8_t* record = &out.bags[out.bags.size() - in.bags.recordBytes];
        PutU16(record, out.generators.size() / in.generators.recordBytes);
        PutU16(record + 2, out.modulators.size() / in.modulators.recordBytes);
    };
    for (std::size_t header : kept) {
        startHeader(header);
        for (std::size_t bag = in.FirstBag(header); bag < in.FirstBag(header + 1); ++bag) {
            startBag(bag);
            for (std::size_t g = in.FirstGenerator(bag); g < in.FirstGenerator(bag + 1); ++g) {
                AppendRecord(out.generators, in.generators, g);
                std::uint8_t* record = &out.generators[out.generators.size() - 4];
                if (!instrumentIndex.empty() && U16(record) == kInstrumentGenerator)
                    PutU16(record + 2, instrumentIndex[U16(record + 2)]);
            }
            for (std::size_t m = in.FirstModulator(bag); m < in.FirstModulator(bag + 1); ++m)
                AppendRecord(out.modulators, in.modulators, m);
        }
    }
    startHeader(in.headers.count - 1);
    startBag(in.bags.count - 1);
    AppendRecord(out.generators, in.generators, in.generators.count - 1);
    AppendRecord(out.modulators, in.modulators, in.modulators.count - 1);
    return out;
}

// The instruments the kept presets play, in their original order, or nothing when a preset
// names an instrument that does not exist.
std::optional<std::vector<std::size_t>> InstrumentsPlayedBy(const Level& presets,
                                                            const std::vector<std::size_t>& kept,
                                                            std::size_t instruments) {
    std::vector<bool> played(instruments, false);
    for (std::size_t preset : kept)
        for (std::size_t bag = presets.FirstBag(preset); bag < presets.FirstBag(preset + 1); ++bag)
            for (std::size_t g = presets.FirstGenerator(bag); g < presets.FirstGenerator(bag + 1);
                 ++g) {
                if (presets.generators.Field(g, 0) != kInstrumentGenerator) continue;
                const std::size_t instrument = presets.generators.Field(g, 2);
                if (instrument >= instruments) return std::nullopt;
                played[instrument] = true;
            }
    std::vector<std::size_t> instrumentsPlayed;
    for (std::size_t i = 0; i < instruments; ++i)
        if (played[i]) instrumentsPlayed.push_back(i);
    return instrumentsPlayed;
}

struct Tables {
    static constexpr std::array<const char*, 9> kNames = {"phdr", "pbag", "pmod", "pgen", "inst",
                                                          "ibag", "imod", "igen", "shdr"};
    static constexpr std::array<std::size_t, 9> kRecordBytes = {38, 4, 10, 4, 22, 4, 10, 4, 46};
    std::array<Table, 9> table;

    Level Presets() const { return {table[0], 24, table[1], table[3], table[2]}; }
    Level Instruments() const { return {table[4], 20, table[5], table[7], table[6]}; }
    const Table& Samples() const { return table[8]; }
};

// Reads the nine tables of a "pdta" list body, in the order the format prescribes.
std::optional<Tables> ReadTables(const Bytes& body) {
    Tables tables;
    std::size_t at = 4;  // after the list type
    for (std::size_t i = 0; i < tables.table.size(); ++i) {
        if (body.size() - at < kChunkHeaderBytes ||
            std::memcmp(&body[at], Tables::kNames[i], 4) != 0)
            return std::nullopt;
        const std::size_t bytes = U32(&body[at + 4]);
        at += kChunkHeaderBytes;
        const std::size_t recordBytes = Tables::kRecordBytes[i];
        if (bytes > body.size() - at || bytes % recordBytes != 0 || bytes == 0) return std::nullopt;
        tables.table[i] = {&body[at], recordBytes, bytes / recordBytes};
        at += bytes;
    }
    if (!IsConsistent(tables.Presets()) || !IsConsistent(tables.Instruments())) return std::nullopt;
    return tables;
}

void AppendChunk(Bytes& out, const char* name, const Bytes& body) {
    out.insert(out.end(), name, name + 4);
    AppendU32(out, body.size());
    out.insert(out.end(), body.begin(), body.end());
}

// The synthesiser plays program 0 of bank 0 for a program missing there, and the standard kit
// for a missing kit.
PresetSelection WithFallbacks(PresetSelection wanted, const Table& presets) {
    PresetSelection inFont;
    for (std::size_t preset = 0; preset + 1 < presets.count; ++preset) {
        const std::size_t program = presets.Field(preset, 20);
        const std::size_t bank = presets.Field(preset, 22);
        if (program >= 128) continue;
        if (bank == 0) inFont.melodic.set(program);
        if (bank == kDrumBank) inFont.drumKits.set(program);
    }
    // A font needs a preset: a song that plays nothing keeps the piano.
    if ((wanted.melodic & ~inFont.melodic).any() || (wanted.melodic | wanted.drumKits).none())
        wanted.melodic.set(0);
    if ((wanted.drumKits & ~inFont.drumKits).any()) wanted.drumKits.set(0);
    return wanted;
}

Bytes PresetTable(const Tables& tables, const PresetSelection& selection,
                  std::size_t& presetCount) {
    const Level presets = tables.Presets();
    const PresetSelection wanted = WithFallbacks(selection, presets.headers);
    std::vector<std::size_t> kept;
    for (std::size_t preset = 0; preset + 1 < presets.headers.count; ++preset) {
        const auto program = static_cast<int>(presets.headers.Field(preset, 20));
        const auto bank = static_cast<int>(presets.headers.Field(preset, 22));
        if (wanted.Wants(bank, program)) kept.push_back(preset);
    }
    const Level instruments = tables.Instruments();
    const auto keptInstruments = InstrumentsPlayedBy(presets, kept, instruments.headers.count - 1);
    if (!keptInstruments) return {};
    std::vector<std::size_t> instrumentIndex(instruments.headers.count - 1, 0);
    for (std::size_t i = 0; i < keptInstruments->size(); ++i)
        instrumentIndex[(*keptInstruments)[i]] = i;

    const LevelCopy presetCopy = CopyLevel(presets, kept, instrumentIndex);
    const LevelCopy instrumentCopy = CopyLevel(instruments, *keptInstruments, {});
    const Table& samples = tables.Samples();
    const Bytes sampleHeaders(samples.data, samples.data + samples.count * samples.recordBytes);

    // In the order of Tables::kNames.
    const std::array<const Bytes*, 9> written = {
        &presetCopy.headers,        &presetCopy.bags,           &presetCopy.modulators,
        &presetCopy.generators,     &instrumentCopy.headers,    &instrumentCopy.bags,
        &instrumentCopy.modulators, &instrumentCopy.generators, &sampleHeaders};
    Bytes body{'p', 'd', 't', 'a'};
    for (std::size_t i = 0; i < written.size(); ++i)
        AppendChunk(body, Tables::kNames[i], *written[i]);
    Bytes list;
    AppendChunk(list, "LIST", body);
    presetCount = kept.size();
    return list;
}

struct ListChunk {
    std::uint64_t at = 0;  // of its header
    std::uint32_t bytes = 0;
    std::array<std::uint8_t, 4> type{};
};

bool ReadAt(std::ifstream& file, std::uint64_t offset, std::uint8_t* out, std::size_t count) {
    file.clear();
    file.seekg(static_cast<std::streamoff>(offset));
    file.read(reinterpret_cast<char*>(out), static_cast<std::streamsize>(count));
    return file.gcount() == static_cast<std::streamsize>(count);
}

// The first three chunks after the file header, which must be lists.
std::optional<std::array<ListChunk, 3>> ReadLists(std::ifstream& file, std::uint64_t fileBytes) {
    std::array<ListChunk, 3> lists;
    std::uint64_t at = 12;
    for (ListChunk& list : lists) {
        std::array<std::uint8_t, 12> header{};
        if (at + header.size() > fileBytes || !ReadAt(file, at, header.data(), header.size()) ||
            !IsTag(header.data(), "LIST"))
            return std::nullopt;
        list.at = at;
        list.bytes = U32(&header[4]);
        std::copy_n(&header[8], 4, list.type.begin());
        at += kChunkHeaderBytes + list.bytes + (list.bytes & 1u);
        if (list.bytes < 4 || at > fileBytes + (list.bytes & 1u)) return std::nullopt;
    }
    return lists;
}

}  // namespace

std::optional<TrimmedSoundFont> TrimmedSoundFont::Make(const std::string& path,
                                                       const PresetSelection& wanted) {
    std::error_code error;
    const std::uintmax_t fileBytes = std::filesystem::file_size(path, error);
    std::ifstream file(path, std::ios::binary);
    if (error || !file) return std::nullopt;

    TrimmedSoundFont font;
    font.riffHeader_.resize(12);
    if (fileBytes < 12 || !ReadAt(file, 0, font.riffHeader_.data(), 12) ||
        !IsTag(&font.riffHeader_[0], "RIFF") || !IsTag(&font.riffHeader_[8], "sfbk"))
        return std::nullopt;
    const auto lists = ReadLists(file, fileBytes);
    if (!lists || !IsTag((*lists)[0].type.data(), "INFO") ||
        !IsTag((*lists)[1].type.data(), "sdta") || !IsTag((*lists)[2].type.data(), "pdta") ||
        (*lists)[2].bytes > kMaxPresetTableBytes)
        return std::nullopt;

    const ListChunk& presetList = (*lists)[2];
    Bytes body(presetList.bytes);
    if (!ReadAt(file, presetList.at + kChunkHeaderBytes, body.data(), body.size()))
        return std::nullopt;
    const std::optional<Tables> tables = ReadTables(body);
    if (!tables) return std::nullopt;
    font.presetTable_ = PresetTable(*tables, wanted, font.presetCount_);
    if (font.presetTable_.empty()) return std::nullopt;

    font.path_ = path;
    font.presetTableAt_ = presetList.at;
    Bytes riffSize;
    AppendU32(riffSize, font.size() - kChunkHeaderBytes);
    std::copy(riffSize.begin(), riffSize.end(), font.riffHeader_.begin() + 4);
    return font;
}

bool TrimmedSoundFont::Read(std::uint64_t offset, std::span<std::uint8_t> out,
                            std::ifstream& file) const {
    if (offset > size() || out.size() > size() - offset) return false;
    auto copyFrom = [&](const Bytes& bytes, std::uint64_t start, std::size_t count) {
        std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(offset - start), count,
                    out.begin());
    };
    while (!out.empty()) {
        std::size_t count = out.size();
        if (offset < riffHeader_.size()) {
            count = std::min(count, riffHeader_.size() - static_cast<std::size_t>(offset));
            copyFrom(riffHeader_, 0, count);
        } else if (offset < presetTableAt_) {
            count =
                static_cast<std::size_t>(std::min<std::uint64_t>(count, presetTableAt_ - offset));
            if (!ReadAt(file, offset, out.data(), count)) return false;
        } else {
            copyFrom(presetTable_, presetTableAt_, count);
        }
        out = out.subspan(count);
        offset += count;
    }
    return true;
}

}  // namespace blok
