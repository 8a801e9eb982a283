#include "sound_font.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "midi_bytes.h"

namespace blok {
namespace {

using testing::Bytes;

void Put(Bytes& out, std::initializer_list<unsigned> littleEndian16) {
    for (unsigned value : littleEndian16)
        testing::Append(out, {std::uint8_t(value), std::uint8_t(value >> 8)});
}

Bytes Chunk(const char* id, const Bytes& body) {
    Bytes out(id, id + 4);
    Put(out, {unsigned(body.size() & 0xFFFF), unsigned(body.size() >> 16)});
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

Bytes Named(const char* name, std::size_t bytes) {
    Bytes out(bytes);
    std::memcpy(out.data(), name, std::strlen(name));
    return out;
}

// A header record: a name, then its 16-bit fields, then zeros up to its size.
Bytes Header(const char* name, std::initializer_list<unsigned> fields, std::size_t bytes) {
    Bytes out = Named(name, 20);
    Put(out, fields);
    out.resize(bytes);
    return out;
}

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

// Instruments: 0 strings, 1 piano (with a global zone), 2 drums, each on sample 0. Presets:
// piano 0:0 with a global zone and a modulator, strings 0:48 and 8:48, kits 128:0 and 128:8.
// `pianoInstrument` is the instrument the piano preset names.
Bytes Font(unsigned pianoInstrument = 1, bool tablesInOrder = true) {
    const Bytes phdr = Join({Header("Piano", {0, 0, 0}, 38), Header("Strings", {48, 0, 2}, 38),
                             Header("Standard", {0, 128, 3}, 38), Header("Room", {8, 128, 4}, 38),
                             Header("Strings 2", {48, 8, 5}, 38), Header("EOP", {0, 0, 6}, 38)});
    Bytes pbag, pgen, igen, ibag;
    Put(pbag, {0, 0, 1, 1, 2, 1, 3, 1, 4, 1, 5, 1, 6, 1});
    Put(pgen, {17, 100, 41, pianoInstrument, 41, 0, 41, 2, 41, 2, 41, 0, 0, 0});
    Put(ibag, {0, 0, 1, 0, 2, 0, 3, 0, 4, 0});
    Put(igen, {53, 0, 17, 50, 53, 0, 53, 0, 0, 0});
    const Bytes inst = Join({Header("strings", {0}, 22), Header("piano", {1}, 22),
                             Header("drums", {3}, 22), Header("EOI", {4}, 22)});
    const Bytes pmod = Join({Bytes{2, 0, 48, 0, 10, 0, 0, 0, 0, 0}, Bytes(10)});
    const Bytes shdr = Join({Named("sample", 46), Named("EOS", 46)});
    Bytes tables = tablesInOrder ? Join({Chunk("phdr", phdr), Chunk("pbag", pbag)})
                                 : Join({Chunk("pbag", pbag), Chunk("phdr", phdr)});
    tables = Join({tables, Chunk("pmod", pmod), Chunk("pgen", pgen), Chunk("inst", inst),
                   Chunk("ibag", ibag), Chunk("imod", Bytes(10)), Chunk("igen", igen),
                   Chunk("shdr", shdr)});
    const Bytes body =
        Join({Bytes{'s', 'f', 'b', 'k'},
              Chunk("LIST", Join({Bytes{'I', 'N', 'F', 'O'}, Chunk("ifil", Bytes(4))})),
              Chunk("LIST", Join({Bytes{'s', 'd', 't', 'a'}, Chunk("smpl", Bytes(64, 7))})),
              Chunk("LIST", Join({Bytes{'p', 'd', 't', 'a'}, tables}))});
    return Chunk("RIFF", body);
}

PresetSelection Choosing(std::initializer_list<int> melodic, std::initializer_list<int> kits) {
    PresetSelection selection;
    for (int program : melodic) selection.melodic.set(static_cast<std::size_t>(program));
    for (int kit : kits) selection.drumKits.set(static_cast<std::size_t>(kit));
    return selection;
}

class TrimmedFont : public ::testing::Test {
  protected:
    std::optional<TrimmedSoundFont> Trim(const Bytes& font, const PresetSelection& wanted) {
        testing::WriteFile(path_, font);
        return TrimmedSoundFont::Make(path_.string(), wanted);
    }

    Bytes ReadAll(const TrimmedSoundFont& font) {
        Bytes out(static_cast<std::size_t>(font.size()));
        std::ifstream file(path_, std::ios::binary);
        // In odd pieces, so that reads cross from the file's own bytes into the new table.
        for (std::size_t at = 0; at < out.size(); at += 37) {
            const std::size_t count = std::min<std::size_t>(37, out.size() - at);
            EXPECT_TRUE(font.Read(at, std::span(out).subspan(at, count), file));
        }
        return out;
    }

    // The records of one table of a whole font.
    static Bytes Table(const Bytes& font, const char* id) {
        const auto at = std::search(font.begin(), font.end(), id, id + 4);
        const int bytes = at[4] | at[5] << 8;
        return Bytes(at + 8, at + 8 + bytes);
    }

    testing::ScratchDir dir_{"sound-font"};
    std::filesystem::path path_ = dir_.path() / "font.sf2";
};

TEST_F(TrimmedFont, KeepsTheChosenPresetsAndTheirInstrumentsRenumbered) {
    const Bytes original = Font();
    const auto trimmed = Trim(original, Choosing({0}, {0}));  // piano and the standard kit
    ASSERT_TRUE(trimmed);
    EXPECT_EQ(trimmed->presetCount(), 2u);
    const Bytes font = ReadAll(*trimmed);
    ASSERT_EQ(font.size(), trimmed->size());
    EXPECT_EQ(font[4] | font[5] << 8 | font[6] << 16, font.size() - 8) << "RIFF size";
    constexpr std::ptrdiff_t kPresetTableAt = 120;
    EXPECT_TRUE(std::equal(font.begin() + 8, font.begin() + kPresetTableAt, original.begin() + 8))
        << "description and samples are the file's own";

    const Bytes phdr = Table(font, "phdr");
    ASSERT_EQ(phdr.size(), 3u * 38);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&phdr[38])), "Standard");
    EXPECT_EQ(phdr[2 * 38 + 24], 3) << "the terminal preset closes the zones";
    Bytes expectedGenerators;
    Put(expectedGenerators, {17, 100, 41, 0, 41, 1, 0, 0});  // piano, drums: instruments 0, 1
    EXPECT_EQ(Table(font, "pgen"), expectedGenerators);
    EXPECT_EQ(Table(font, "pmod"), Table(original, "pmod"));
    Bytes expectedInstrumentZones;
    Put(expectedInstrumentZones, {0, 0, 1, 0, 2, 0, 3, 0});
    EXPECT_EQ(Table(font, "ibag"), expectedInstrumentZones);
    EXPECT_EQ(Table(font, "shdr"), Table(original, "shdr"));
}

TEST_F(TrimmedFont, AProgramIsKeptInEveryMelodicBankAndMissingOnesBringTheirStandIns) {
    auto trimmed = Trim(Font(), Choosing({48}, {48}));  // no kit 48 in this font
    ASSERT_TRUE(trimmed);
    EXPECT_EQ(trimmed->presetCount(), 3u) << "strings 0:48 and 8:48, the standard kit";
    EXPECT_EQ(Table(ReadAll(*trimmed), "inst").size(), 3u * 22) << "strings, drums";

    trimmed = Trim(Font(), Choosing({5}, {8}));  // no program 5 in bank 0
    ASSERT_TRUE(trimmed);
    EXPECT_EQ(trimmed->presetCount(), 2u) << "the piano instead, the room kit";
    trimmed = Trim(Font(), Choosing({}, {}));
    ASSERT_TRUE(trimmed);
    EXPECT_EQ(trimmed->presetCount(), 1u) << "a font keeps a preset";

    trimmed = Trim(Font(), PresetSelection::Everything());
    ASSERT_TRUE(trimmed);
    EXPECT_EQ(trimmed->presetCount(), 5u);
}

TEST_F(TrimmedFont, FontsItCannotFollowAreRefused) {
    EXPECT_FALSE(Trim(Font(7), Choosing({0}, {0}))) << "a preset names a missing instrument";
    EXPECT_FALSE(Trim(Font(1, false), Choosing({0}, {0}))) << "tables out of order";
    const Bytes whole = Font();
    for (std::ptrdiff_t cut :
         {std::ptrdiff_t{0}, std::ptrdiff_t{11}, std::ptrdiff_t{60}, std::ssize(whole) - 1})
        EXPECT_FALSE(Trim(Bytes(whole.begin(), whole.begin() + cut), Choosing({0}, {0}))) << cut;
    EXPECT_FALSE(TrimmedSoundFont::Make((dir_.path() / "missing.sf2").string(), {}));
}

TEST(PresetSelection, SongsAddTheirProgramsAndExclusiveMessagesMayMakeAnyChannelDrums) {
    ProgramChoices choices;
    choices.melodic.set(40);
    choices.drumKits.set(25);
    PresetSelection loaded = PresetsSelectedBy(choices);
    EXPECT_TRUE(loaded.Wants(3, 40) && loaded.Wants(kDrumBank, 25));
    EXPECT_FALSE(loaded.Wants(kDrumBank, 40) || loaded.Wants(0, 25) || loaded.Wants(0, 128));
    EXPECT_FALSE(loaded.Wants(0, 0) || loaded.Wants(kDrumBank, 0)) << "no channel plays unchosen";

    choices.channelsPlayingDefault = 1u << 9;
    EXPECT_TRUE(PresetsSelectedBy(choices).Wants(kDrumBank, 0));
    EXPECT_FALSE(PresetsSelectedBy(choices).Wants(0, 0));
    choices.channelsPlayingDefault = 1u << 2;
    EXPECT_TRUE(PresetsSelectedBy(choices).Wants(0, 0));

    choices.hasSystemExclusive = true;
    const PresetSelection exclusive = PresetsSelectedBy(choices);
    EXPECT_TRUE(exclusive.Wants(kDrumBank, 40) && exclusive.Wants(kDrumBank, 0));
    EXPECT_FALSE(loaded.Covers(exclusive));
    loaded.Add(exclusive);
    EXPECT_TRUE(loaded.Covers(exclusive));
}

}  // namespace
}  // namespace blok
