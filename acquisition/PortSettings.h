#pragma once
// The process-wide serial settings and their one-line status-bar text.

#include <cstdint>
#include <string>

namespace ondrix {

// Five signed 32-bit values in the order config.dat stores them. Parity and StopBits hold the
// codes the settings file stores: parity 0 none, 1 odd, 2 even; stop bits 0 one, 1 one and a
// half, 2 two.
struct PortSettings {
    int32_t PortNumber = 1;
    int32_t BaudRate = 9600;
    int32_t DataBits = 8;
    int32_t Parity = 0;
    int32_t StopBits = 0;

    bool operator==(const PortSettings& other) const;
};

// "|COM1|Baud = 9600|Data Length = 8|NOPARITY  |ONESTOPBIT  " for the initial settings; the
// parity and stop-bit words are padded to equal length and left out for unknown codes.
std::string SettingsSummary(const PortSettings& settings);

}  // namespace ondrix
