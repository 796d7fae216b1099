#include "acquisition/ChannelAddress.h"

#include <gtest/gtest.h>

namespace ondrix {
namespace {

TEST(ChannelAddress, Rule) {
    using Status = ParsedAddress::Status;
    struct Case {
        const char* text;
        Status status;
        uint32_t value;
    } cases[] = {
        {"1A2B", Status::Ok, 0x00001A2B},
        {"20001000", Status::Ok, 0x20001000},
        {"80000000", Status::Ok, 0x80000000},
        {"FFFFFFFF", Status::Ok, 0xFFFFFFFF},
        {"0", Status::Ok, 0},
        {"12G4", Status::InvalidCharacter, 0},
        {"1a2b", Status::InvalidCharacter, 0},
        {" 12", Status::InvalidCharacter, 0},
        {"0x12", Status::InvalidCharacter, 0},
        {"", Status::NotConvertible, 0},
        {"123456789", Status::NotConvertible, 0},
    };
    for (const auto& c : cases) {
        const ParsedAddress parsed = ParseAddressText(c.text);
        EXPECT_EQ(parsed.status, c.status) << '"' << c.text << '"';
        EXPECT_EQ(parsed.value, c.value) << '"' << c.text << '"';
    }
}

TEST(ChannelAddress, Messages) {
    EXPECT_EQ(InvalidAddressMessage(1), "CH1 invalid address!");
    EXPECT_EQ(InvalidAddressMessage(4), "CH4 invalid address!");
}

// A text the rule cannot convert is named as the user gave it, with what is wrong with it and
// what to type instead; "0x" is spoken of only where the user gave it.
TEST(ChannelAddress, AConversionMessageSaysWhatIsWrongAndWhatToType) {
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        {"", "CH3: the address box is empty: type one to eight hexadecimal digits (0-9, A-F)"},
        {"123456789", "CH3: '123456789' is too long: an address has at most eight hexadecimal digits (0-9, A-F)"},
        {"0X20000000",
         "CH3: '0X20000000' is not an address: type it without 0x, in one to eight hexadecimal digits (0-9, A-F)"},
        {"0x2000000000",
         "CH3: '0x2000000000' is not an address: type it without 0x, in one to eight hexadecimal digits (0-9, A-F)"},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(ParseAddressText(c.text).status, ParsedAddress::Status::NotConvertible) << c.text;
        EXPECT_EQ(AddressConversionMessage(3, c.text), c.message);
    }
}

}  // namespace
}  // namespace ondrix
