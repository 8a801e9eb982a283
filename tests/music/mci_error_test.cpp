#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <set>
#include <string>

#include "mci_error.h"

namespace blok {
namespace {

constexpr const char* kUnknown = "Unknown error code.";

// The numbers the header names: each must have a sentence of its own, and no other number may.
const std::set<std::uint32_t> kNamedNumbers = {
    MCIERR_INVALID_DEVICE_ID,
    MCIERR_UNRECOGNIZED_COMMAND,
    MCIERR_HARDWARE,
    MCIERR_INVALID_DEVICE_NAME,
    MCIERR_OUT_OF_MEMORY,
    MCIERR_DEVICE_OPEN,
    MCIERR_CANNOT_LOAD_DRIVER,
    MCIERR_DRIVER_INTERNAL,
    MCIERR_MISSING_PARAMETER,
    MCIERR_UNSUPPORTED_FUNCTION,
    MCIERR_FILE_NOT_FOUND,
    MCIERR_DEVICE_NOT_READY,
    MCIERR_INTERNAL,
    MCIERR_DRIVER,
    MCIERR_CANNOT_USE_ALL,
    MCIERR_MULTIPLE,
    MCIERR_EXTENSION_NOT_FOUND,
    MCIERR_OUTOFRANGE,
    MCIERR_FLAGS_NOT_COMPATIBLE,
    MCIERR_FILE_NOT_SAVED,
    MCIERR_DEVICE_TYPE_REQUIRED,
    MCIERR_DEVICE_LOCKED,
    MCIERR_DUPLICATE_ALIAS,
    MCIERR_MUST_USE_SHAREABLE,
    MCIERR_BAD_TIME_FORMAT,
    MCIERR_INVALID_FILE,
    MCIERR_NULL_PARAMETER_BLOCK,
    MCIERR_UNNAMED_RESOURCE,
    MCIERR_NO_ELEMENT_ALLOWED,
    MCIERR_NONAPPLICABLE_FUNCTION,
    MCIERR_ILLEGAL_FOR_AUTO_OPEN,
    MCIERR_FILENAME_REQUIRED,
    MCIERR_EXTRA_CHARACTERS,
    MCIERR_DEVICE_NOT_INSTALLED,
    MCIERR_GET_CD,
    MCIERR_SET_CD,
    MCIERR_SET_DRIVE,
    MCIERR_DEVICE_LENGTH,
    MCIERR_DEVICE_ORD_LENGTH,
    MCIERR_NO_INTEGER,
    MCIERR_NO_WINDOW,
    MCIERR_CREATEWINDOW,
    MCIERR_FILE_READ,
    MCIERR_FILE_WRITE,
};

TEST(GetError, EveryNamedNumberAndNoOtherHasASentence) {
    ASSERT_EQ(kNamedNumbers.size(), 44u);
    for (std::uint32_t code = 0; code <= 0xFFFF; ++code) {
        const std::string text = GetError(static_cast<std::uint16_t>(code));
        if (kNamedNumbers.contains(code)) {
            EXPECT_NE(text, kUnknown) << code;
            EXPECT_FALSE(text.empty()) << code;
        } else {
            ASSERT_EQ(text, kUnknown) << code;
        }
    }
}

TEST(GetError, SentencesAreDistinctButForTheTwoNameLengths) {
    std::map<std::string, std::set<std::uint32_t>> codesByText;
    for (std::uint32_t code : kNamedNumbers) {
        codesByText[GetError(static_cast<std::uint16_t>(code))].insert(code);
    }
    for (const auto& [text, codes] : codesByText) {
        if (codes.size() == 1) continue;
        EXPECT_EQ(codes, (std::set<std::uint32_t>{MCIERR_DEVICE_LENGTH, MCIERR_DEVICE_ORD_LENGTH}))
            << text;
    }
}

// A few sentences character for character, chosen for what a retyped table would lose: the
// first and last entries, quotes, a double blank, a missing full stop and a slip.
TEST(GetError, KeepsTheSentencesAsPlayersKnowThem) {
    EXPECT_STREQ(GetError(257), "Invalid device ID.");
    EXPECT_STREQ(GetError(349), "A write to the file failed.");
    EXPECT_STREQ(GetError(279), "The device name \"all\" is not allowed for this command.");
    EXPECT_STREQ(GetError(288), "The device is now being closed.  Wait a few seconds.");
    EXPECT_STREQ(GetError(266), "The specified device driver will not load properly");
    EXPECT_STREQ(GetError(282),
                 "The specified parameter value is out of rage for the specified MCI command.");
    EXPECT_STREQ(GetError(275), "The requested file was not found.");
}

}  // namespace
}  // namespace blok
