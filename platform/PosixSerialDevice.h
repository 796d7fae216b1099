#pragma once
// Serial devices on Linux through termios2, so that any integer baud rate can be asked for.
//
// Opening is exclusive in two ways: TIOCEXCL (refuses other openers, but not root) and a
// non-blocking flock (refuses every cooperating opener, root included). Opening puts back the
// terminal's own line discipline, and applying the settings makes the line fully raw (no
// translation, no flow control) with non-blocking reads: the scope's frames are binary, and
// every byte value must pass untouched whatever state the port was left in.
//
// WhyGone recognises a hung-up tty (USB adapter pulled, the far side of a pseudo-terminal
// closed) and a removed device node.
//
// An open refused for want of permission says so with the group the device belongs to and how
// to join it, which is what a user new to serial ports on Linux needs to be told.
//
// When Purge, ReadLineState or ApplyLineSettings of a device from this opener fail, errno says
// why (EINVAL for settings it refuses itself, ERANGE for a baud rate the driver cannot get close
// to).

#include "SerialDevice.h"

namespace ondrix {

SerialDeviceOpener PosixSerialDeviceOpener();

// The character-format part of ApplyLineSettings: replaces the data-size, parity and stop-bit
// bits of `controlFlags` (a termios c_cflag word) by those of `settings`, taken as they come.
// False, with `controlFlags` untouched, for data bits outside 5..8, parity outside 0..2 or stop
// bits outside 0..2. Exposed because a pseudo-terminal always reports 8 data bits and no parity,
// so tests check the mapping here.
bool ComposeCharacterFormat(const LineSettings& settings, unsigned int& controlFlags);

}  // namespace ondrix
