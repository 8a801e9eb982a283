#include "hiscore_table.h"

#include <cstring>
#include <string>

#include <gtest/gtest.h>

namespace blok {
namespace {

NameField Name(const std::string& text) {
    NameField field{};
    std::memcpy(field.data(), text.data(), std::min(text.size(), field.size()));
    return field;
}

HiscoreTable TableOf(std::initializer_list<std::uint32_t> scores) {
    HiscoreTable table;
    int i = 0;
    for (const auto score : scores) {
        table.Hiscore[static_cast<std::size_t>(i)] = score;
        table.Hiname[static_cast<std::size_t>(i)] = Name("P" + std::to_string(i));
        ++i;
    }
    return table;
}

TEST(HiscorePlace, EmptyTableTakesAnyPositiveScoreAtTheTopButNeverZero) {
    const HiscoreTable empty;
    EXPECT_EQ(HiscorePlace(empty, 1), 0);
    EXPECT_EQ(HiscorePlace(empty, 0xFFFFFFFFU), 0);
    EXPECT_EQ(HiscorePlace(empty, 0), kNoPlace);
}

TEST(HiscorePlace, FullTableOfEqualScores) {
    HiscoreTable table = TableOf({500, 500, 500, 500, 500, 500, 500, 500, 500, 500});
    EXPECT_EQ(HiscorePlace(table, 500), kNoPlace);

    const int place = HiscorePlace(table, 501);
    ASSERT_EQ(place, 0);
    EnterHiscore(table, place, Name("New"), 501);
    EXPECT_EQ(table.Hiscore[0], 501U);
    EXPECT_EQ(NameText(table.Hiname[0]), "New");
    EXPECT_EQ(NameText(table.Hiname[1]), "P0");
    // The former tenth entry has dropped out.
    EXPECT_EQ(NameText(table.Hiname[9]), "P8");
    EXPECT_EQ(table.Hiscore[9], 500U);
}

TEST(HiscorePlace, EqualScoreGoesBelowAllItsEquals) {
    HiscoreTable table = TableOf({900, 700, 700, 500});
    const int place = HiscorePlace(table, 700);
    ASSERT_EQ(place, 3);
    EnterHiscore(table, place, Name("Third700"), 700);
    EXPECT_EQ(NameText(table.Hiname[1]), "P1");
    EXPECT_EQ(NameText(table.Hiname[2]), "P2");
    EXPECT_EQ(NameText(table.Hiname[3]), "Third700");
    EXPECT_EQ(NameText(table.Hiname[4]), "P3");
    EXPECT_EQ(table.Hiscore[4], 500U);
    EXPECT_EQ(table.Hiscore[5], 0U);
}

TEST(EnterHiscore, NamesMoveAsTextAndFieldsKeepTheirTrailingBytes) {
    HiscoreTable table;
    table.Hiscore = {50, 40};
    table.Hiname[0] = Name("Al");
    table.Hiname[1] = Name("Bartholomew");
    EnterHiscore(table, 0, Name("Christina"), 60);

    // Entry 1 now holds "Al", its terminator, then the rest of "Bartholomew".
    EXPECT_EQ(NameText(table.Hiname[1]), "Al");
    EXPECT_EQ(std::string(table.Hiname[1].data() + 3, 8), "tholomew");
    EXPECT_EQ(NameText(table.Hiname[2]), "Bartholomew");
    EXPECT_EQ(NameText(table.Hiname[0]), "Christina");
}

TEST(ReadTypedName, KeepsAtMost27BytesWithoutCuttingACharacter) {
    NameField NAME{};
    ReadTypedName(std::string(40, 'x'), NAME);
    EXPECT_EQ(NameText(NAME), std::string(27, 'x'));

    // Twenty two-byte characters: thirteen fit (26 bytes), the fourteenth would be cut.
    std::string umlauts;
    for (int i = 0; i < 20; ++i) umlauts += "\xC3\xA4";
    ReadTypedName(umlauts, NAME);
    EXPECT_EQ(NameText(NAME).size(), 26U);
    EXPECT_TRUE(IsValidUtf8(NameText(NAME)));

    // A four-byte character straddling byte 27 goes as a whole.
    ReadTypedName(std::string(25, 'a') + "\xF0\x9F\x8E\xAE", NAME);
    EXPECT_EQ(NameText(NAME), std::string(25, 'a'));

    ReadTypedName("", NAME);
    EXPECT_EQ(NameText(NAME), "");
}

TEST(ReadTypedName, StopsAtAZeroByteAndKeepsTheFieldTail) {
    NameField NAME = Name(std::string(30, 'z'));
    ReadTypedName(std::string("Ann\0Bob", 7), NAME);
    EXPECT_EQ(NameText(NAME), "Ann");
    EXPECT_EQ(NAME[4], 'z');
    EXPECT_EQ(NAME[28], 'z');
    EXPECT_EQ(NAME[29], '\0');
}

TEST(TerminateName, UnterminatedFieldReadsAsItsFirst29Bytes) {
    NameField field = Name(std::string(30, 'Q'));
    TerminateName(field);
    EXPECT_EQ(NameText(field), std::string(29, 'Q'));

    NameField terminated = Name("Kim");
    terminated[20] = 'r';
    const NameField before = terminated;
    TerminateName(terminated);
    EXPECT_EQ(terminated, before);
}

TEST(HiscoreRows, EmptyTableShowsRankNumbersAndZeroPoints) {
    const HiscoreTable empty;
    for (int i = 0; i < kHiscoreEntries; ++i) {
        EXPECT_EQ(HiscoreRowText(empty, i), std::to_string(i + 1) + ". ");
        EXPECT_EQ(HiscorePointsText(empty, i), "0");
    }
}

TEST(HiscoreRows, LongestNamesStayWithinTheLine) {
    HiscoreTable table;
    table.Hiname[9] = Name(std::string(30, 'w'));  // no terminator at all
    table.Hiscore[9] = 0xFFFFFFFFU;
    const std::string row = HiscoreRowText(table, 9);
    EXPECT_LT(row.size(), kRowBufferSize);
    EXPECT_EQ(row, "10. " + std::string(30, 'w'));
    EXPECT_EQ(HiscorePointsText(table, 9), "4294967295");
}

TEST(Utf8, ValidityAndLatin1Fallback) {
    EXPECT_TRUE(IsValidUtf8("J\xC3\xB6rg \xE2\x82\xAC \xF0\x9F\x8E\xAE"));
    EXPECT_FALSE(IsValidUtf8("J\xF6rg"));           // Latin-1
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));          // overlong
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));      // surrogate
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // beyond U+10FFFF
    EXPECT_FALSE(IsValidUtf8("ab\xE2\x82"));        // cut at the end

    EXPECT_EQ(DisplayUtf8("J\xC3\xB6rg"), "J\xC3\xB6rg");
    EXPECT_EQ(DisplayUtf8("J\xF6rg"), "J\xC3\xB6rg");
    EXPECT_EQ(DisplayUtf8("\xFF"), "\xC3\xBF");
}

}  // namespace
}  // namespace blok
