#include "PortSettings.h"

namespace ondrix {

bool PortSettings::operator==(const PortSettings& other) const {
    return PortNumber == other.PortNumber && BaudRate == other.BaudRate &&
           DataBits == other.DataBits && Parity == other.Parity && StopBits == other.StopBits;
}

std::string SettingsSummary(const PortSettings& settings) {
    static const char* const parityWords[] = {"|NOPARITY  ", "|ODDPARITY ", "|EVENPARITY"};
    static const char* const stopBitWords[] = {"|ONESTOPBIT  ", "|ONE5STOPBITS", "|TWOSTOPBITS "};

    std::string text = "|COM" + std::to_string(settings.PortNumber) +
                       "|Baud = " + std::to_string(settings.BaudRate) +
                       "|Data Length = " + std::to_string(settings.DataBits);
    if (settings.Parity >= 0 && settings.Parity <= 2) text += parityWords[settings.Parity];
    if (settings.StopBits >= 0 && settings.StopBits <= 2) text += stopBitWords[settings.StopBits];
    return text;
}

}  // namespace ondrix
