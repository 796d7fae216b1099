#include "app/ProgramOptions.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <stdexcept>

#include "acquisition/ChannelAddress.h"

namespace ondrix {

const char* const kProgramUsage =
    "Usage: ondrix [--run] [--quit-after SECONDS] [--addresses A1,A2,A3,A4]\n"
    "A live four-channel oscilloscope of an MPU's memory over a serial link.\n"
    "\n"
    "  --run                     press RUN once the window is shown\n"
    "  --quit-after SECONDS      close the window SECONDS after it is shown\n"
    "  --addresses A1,A2,A3,A4   start with these channel addresses (1 to 8 hexadecimal digits\n"
    "                            each) in the boxes instead of the stored ones; config.dat is\n"
    "                            not changed until the window closes, when it keeps the\n"
    "                            addresses then in the boxes, as always\n"
    "  --help                    show this text\n";

namespace {

double ParseSeconds(const std::string& text) {
    char* end = nullptr;
    const double seconds = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !(seconds > 0 && seconds <= 1e6))
        throw std::invalid_argument("--quit-after wants a number of seconds, not \"" + text + "\"");
    return seconds;
}

std::array<uint32_t, kChannelCount> ParseAddresses(const std::string& text) {
    std::vector<std::string> fields;
    for (size_t start = 0;;) {
        const size_t comma = text.find(',', start);
        fields.push_back(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    if (fields.size() != kChannelCount)
        throw std::invalid_argument("--addresses wants four addresses separated by commas, not \"" + text + "\"");
    std::array<uint32_t, kChannelCount> addresses{};
    for (int c = 0; c < kChannelCount; ++c) {
        std::string upper = fields[c];
        std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char ch) { return std::toupper(ch); });
        const ParsedAddress parsed = ParseAddressText(upper);
        if (parsed.status != ParsedAddress::Status::Ok)
            throw std::invalid_argument("--addresses: channel " + std::to_string(c + 1) + " address \"" + fields[c] +
                                        "\" is not 1 to 8 hexadecimal digits");
        addresses[c] = parsed.value;
    }
    return addresses;
}

// The value of an option given as "--name VALUE" or "--name=VALUE"; nothing when `arg` is
// another option.
std::optional<std::string> OptionValue(const std::string& name, const std::vector<std::string>& arguments, size_t& i) {
    const std::string& arg = arguments[i];
    if (arg == name) {
        if (i + 1 >= arguments.size()) throw std::invalid_argument(name + " needs a value");
        return arguments[++i];
    }
    if (arg.rfind(name + "=", 0) == 0) return arg.substr(name.size() + 1);
    return std::nullopt;
}

}  // namespace

ProgramOptions ParseProgramOptions(const std::vector<std::string>& arguments) {
    ProgramOptions options;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        if (arg == "--run") {
            options.run = true;
        } else if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (const auto seconds = OptionValue("--quit-after", arguments, i)) {
            options.quitAfterSeconds = ParseSeconds(*seconds);
        } else if (const auto addresses = OptionValue("--addresses", arguments, i)) {
            options.addresses = ParseAddresses(*addresses);
        } else if (arg.rfind("--", 0) == 0) {
            throw std::invalid_argument("unknown option \"" + arg + "\"");
        }
    }
    return options;
}

}  // namespace ondrix
