#include <gtest/gtest.h>

#include "acquisition/PortSettings.h"

namespace ondrix {
namespace {

PortSettings Settings(int port, int baud, int dataBits, int parity, int stopBits) {
    PortSettings s;
    s.PortNumber = port;
    s.BaudRate = baud;
    s.DataBits = dataBits;
    s.Parity = parity;
    s.StopBits = stopBits;
    return s;
}

TEST(SettingsSummary, InitialSettings) {
    EXPECT_EQ(SettingsSummary(PortSettings{}),
              "|COM1|Baud = 9600|Data Length = 8|NOPARITY  |ONESTOPBIT  ");
}

// One row per fact of the status-bar text: the words are padded to equal length and an
// unknown code leaves its word out.
TEST(SettingsSummary, Table) {
    struct Case {
        PortSettings settings;
        const char* text;
    } cases[] = {
        {Settings(1, 9600, 8, 2, 1), "|COM1|Baud = 9600|Data Length = 8|EVENPARITY|ONE5STOPBITS"},
        {Settings(1, 9600, 8, 1, 0), "|COM1|Baud = 9600|Data Length = 8|ODDPARITY |ONESTOPBIT  "},
        {Settings(1, 9600, 8, 0, 2), "|COM1|Baud = 9600|Data Length = 8|NOPARITY  |TWOSTOPBITS "},
        {Settings(1, 9600, 8, 3, 0), "|COM1|Baud = 9600|Data Length = 8|ONESTOPBIT  "},
        {Settings(1, 9600, 8, -1, 0), "|COM1|Baud = 9600|Data Length = 8|ONESTOPBIT  "},
        {Settings(1, 9600, 8, 0, 3), "|COM1|Baud = 9600|Data Length = 8|NOPARITY  "},
        {Settings(1, 9600, 8, 3, 3), "|COM1|Baud = 9600|Data Length = 8"},
        {Settings(12, 115200, 7, 2, 2), "|COM12|Baud = 115200|Data Length = 7|EVENPARITY|TWOSTOPBITS "},
        {Settings(10, 625000, 8, 0, 0), "|COM10|Baud = 625000|Data Length = 8|NOPARITY  |ONESTOPBIT  "},
        {Settings(3, 74880, 8, 1, 1), "|COM3|Baud = 74880|Data Length = 8|ODDPARITY |ONE5STOPBITS"},
        // Values straight from a config.dat are shown as stored, whole.
        {Settings(1, -5, 264, 0, 0), "|COM1|Baud = -5|Data Length = 264|NOPARITY  |ONESTOPBIT  "},
    };
    for (const Case& c : cases) EXPECT_EQ(SettingsSummary(c.settings), c.text);
}

TEST(SettingsSummary, ParityAndStopWordsHaveEqualLength) {
    for (int code = 0; code <= 2; ++code) {
        const std::string base = SettingsSummary(Settings(1, 9600, 8, 3, 3));
        EXPECT_EQ(SettingsSummary(Settings(1, 9600, 8, code, 3)).size(), base.size() + 11);
        EXPECT_EQ(SettingsSummary(Settings(1, 9600, 8, 3, code)).size(), base.size() + 13);
    }
}

TEST(PortSettings, InitialValuesAndEquality) {
    const PortSettings initial;
    EXPECT_EQ(initial, Settings(1, 9600, 8, 0, 0));
    PortSettings changed = initial;
    changed.StopBits = 2;
    EXPECT_FALSE(changed == initial);
}

}  // namespace
}  // namespace ondrix
