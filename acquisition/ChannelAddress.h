#pragma once
// The rule that turns an address box's text into a channel's MPU address.

#include <array>
#include <cstdint>
#include <string>

#include "WireProtocol.h"

namespace ondrix {

// The virtual MPU's demo variables: sine, triangle, square and damped oscillation. The scope's
// address boxes start with them, so that the first RUN against the virtual MPU shows four live
// traces. Defined here, in the layer the scope and the virtual MPU both build on, because the
// scope must not depend on the virtual MPU; the MPU's memory map checks that it serves these
// variables at these addresses.
constexpr std::array<uint32_t, kChannelCount> kDemoAddresses = {0x20000000, 0x20000004, 0x20000006, 0x2000000C};

struct ParsedAddress {
    enum class Status {
        Ok,
        InvalidCharacter,  // up to 8 characters, one of them not 0-9 or A-F
        NotConvertible,    // empty, or longer than a 32-bit address can be
    };
    Status status = Status::NotConvertible;
    uint32_t value = 0;
};

// Upper-case hexadecimal of one to eight digits covers the whole 32-bit range; lower case is
// refused, as the address boxes force upper case while typing.
ParsedAddress ParseAddressText(const std::string& text);
// The box's text of an address: eight upper-case hexadecimal digits, as ParseAddressText reads.
std::string AddressText(uint32_t address);

// "CH1 invalid address!" .. "CH4 invalid address!", for channel 1..4.
std::string InvalidAddressMessage(int channel);
// The message for a box the rule cannot convert at all (empty, or longer than an address): what
// is wrong, in the user's own text, and what to type instead. Channel 1..4.
std::string AddressConversionMessage(int channel, const std::string& text);

}  // namespace ondrix
