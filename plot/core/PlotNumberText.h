#pragma once
// Numbers in the plot's files (data files, logs, stored configurations): the shortest decimal
// text that reads back to the same double, independent of the locale, so a file written on one
// machine loads on any other and a value survives a save and a load unchanged.

#include <string>
#include <string_view>

namespace ondrix {

std::string DoubleToText(double value);

// Up to 15 significant digits in the shortest general form (what "%.15g" gives), always with
// '.' as the decimal separator: for files that people and other programs read, where the
// round-trip digits of DoubleToText ("0.30000000000000004") would only get in the way.
std::string DoubleToGeneralText(double value);

// The reverse of DoubleToText; blanks around the number and a leading '+' are accepted. False
// when the text is no number.
bool TextToDouble(std::string_view text, double& value);

}  // namespace ondrix
