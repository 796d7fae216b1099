#pragma once
// The plot's rules for names and texts in properties and files: names compare without regard to
// the case of a..z (whatever the machine's locale), and blanks around a field do not count.

#include <string>
#include <string_view>
#include <vector>

namespace ondrix {

// Names compare equal when they differ only in the case of the letters a to z.
bool SameText(std::string_view a, std::string_view b);

// The text without the blanks and tabs at either end.
std::string_view TrimBlanks(std::string_view text);

// A file's lines without their LF or CR LF ending; a last line without an ending counts too.
std::vector<std::string_view> SplitLines(std::string_view text);

}  // namespace ondrix
