#pragma once
// Serial devices on Linux through termios2, so that any integer baud rate can be asked for.
//
// Opening is exclusive in two ways: TIOCEXCL (refuses other openers, but not root) and a
// non-blocking flock (refuses every cooperating opener, root included). The tty is put in raw
// mode with non-blocking reads, since the scope's frames are binary and must pass untouched;
// flow control and the special characters are left as the driver has them.
//
// When Purge, ReadLineState or ApplyLineSettings of a device from this opener fail, errno says
// why (EINVAL for settings it refuses itself, ERANGE for a baud rate the driver cannot get close
// to).

#include "SerialDevice.h"

namespace ondrix {

SerialDeviceOpener PosixSerialDeviceOpener();

// The character-format part of ApplyLineSettings: replaces the data-size, parity and stop-bit
// bits of `controlFlags` (a termios c_cflag word) by those of `settings`, from the low byte of
// each value, the part that stored settings have always applied. False, with `controlFlags` untouched, for
// data bits outside 5..8, parity outside 0..2 or stop bits outside 0..2. Exposed because a
// pseudo-terminal always reports 8 data bits and no parity, so tests check the mapping here.
bool ComposeCharacterFormat(const LineSettings& settings, unsigned int& controlFlags);

}  // namespace ondrix
