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
    EXPECT_NE(AddressConversionMessage("").find("not a valid address"), std::string::npos);
}

}  // namespace
}  // namespace ondrix
