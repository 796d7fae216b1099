#pragma once
// What the protocol description window tells MPU programmers: the CRC routine, the two frames'
// byte order and reference routines for the MPU's side, as C source they can copy. The text is
// kept here alone, so that the window shows and the tests compile exactly the same characters.
//
// Sections are divided by separator lines (kProtocolSeparator); the C sections use the
// placeholders `Rx.data` (the receive data register) and `Tx.Register` (the transmit data
// register), and comments where an MPU-specific action is to be added.

#include <string_view>

namespace ondrix {

// Two slashes and 91 dashes: a C comment, so the C sections stay valid with it around them.
constexpr std::string_view kProtocolSeparator =
    "//-------------------------------------------------------------------------------------------";

// UTF-8; lines end in '\n', the last one included.
std::string_view ProtocolDescriptionText();

}  // namespace ondrix
