#include "CaptureOptions.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>

#include "acquisition/ChannelAddress.h"

namespace ondrix {

namespace {

struct Refusal {
    std::string reason;
};

std::optional<long long> WholeNumber(const std::string& text) {
    if (text.empty() || !std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); }))
        return std::nullopt;
    if (text.size() > 12) return std::nullopt;
    return std::stoll(text);
}

int32_t ParsePort(const std::string& text, std::string& devicePath) {
    if (!text.empty() && text.front() == '/') {
        devicePath = text;
        return 0;
    }
    if (text.size() > 3 && text.compare(0, 3, "COM") == 0) {
        const auto number = WholeNumber(text.substr(3));
        if (number && *number >= 1 && *number <= 255) return static_cast<int32_t>(*number);
    }
    throw Refusal{"--port takes COMn (n from 1 to 255) or a device path starting with /, not '" + text + "'"};
}

int32_t ParseBaud(const std::string& text) {
    const auto number = WholeNumber(text);
    if (!number || *number < 1 || *number > INT32_MAX) throw Refusal{"--baud takes a positive whole number, not '" + text + "'"};
    return static_cast<int32_t>(*number);
}

int32_t Choose(const std::string& option, const std::string& text, const std::map<std::string, int32_t>& choices) {
    const auto found = choices.find(text);
    if (found != choices.end()) return found->second;
    std::string allowed;
    for (const auto& [name, code] : choices) allowed += (allowed.empty() ? "" : "|") + name;
    throw Refusal{option + " takes " + allowed + ", not '" + text + "'"};
}

// With a firmware given, an item may name a variable; it is resolved once the firmware is read.
void ParseAddresses(const std::string& text, CaptureOptions& options) {
    std::vector<std::string> fields;
    for (size_t start = 0;;) {
        const size_t comma = text.find(',', start);
        fields.push_back(text.substr(start, comma - start));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    if (fields.size() != kChannelCount) throw Refusal{"--addr takes four addresses separated by commas, not '" + text + "'"};

    const bool namesAllowed = !options.elfPath.empty();
    for (int c = 0; c < kChannelCount; ++c) {
        if (fields[c] == "-") continue;
        std::string upper = fields[c];
        std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char ch) { return std::toupper(ch); });
        const ParsedAddress parsed = ParseAddressText(upper);
        if (parsed.status == ParsedAddress::Status::Ok) options.channels[c] = {parsed.value, true};
        if (namesAllowed && !fields[c].empty()) {
            options.variableNames[c] = fields[c];
        } else if (parsed.status != ParsedAddress::Status::Ok) {
            throw Refusal{"--addr: channel " + std::to_string(c + 1) + " address '" + fields[c] +
                          "' is not 1 to 8 hexadecimal digits or - (variable names need --elf FIRMWARE)"};
        }
    }
}

double ParseSeconds(const std::string& text) {
    std::size_t used = 0;
    double seconds = 0;
    try {
        seconds = std::stod(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used != text.size() || !std::isfinite(seconds) || seconds <= 0)
        throw Refusal{"--seconds takes a positive number, not '" + text + "'"};
    static_assert(kMaxCaptureSeconds == 1e9, "the refusal names the limit");
    if (seconds > kMaxCaptureSeconds)
        throw Refusal{"--seconds takes a positive number up to 1000000000 (about 31 years), not '" + text + "'"};
    return seconds;
}

uint64_t ParseFrames(const std::string& text) {
    const auto number = WholeNumber(text);
    if (!number || *number < 1) throw Refusal{"--frames takes a whole number of at least 1, not '" + text + "'"};
    return static_cast<uint64_t>(*number);
}

CaptureOptions Parse(const std::vector<std::string>& args) {
    CaptureOptions options;
    std::map<std::string, std::string> given;
    static const char* const known[] = {"--port", "--addr",      "--frames", "--seconds",   "--tsv", "--dat",
                                        "--baud", "--data-bits", "--parity", "--stop-bits", "--elf",
                                        "--trigger", "--pre"};
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& name = args[i];
        if (name == "--reconnect") {
            if (options.reconnect) throw Refusal{name + " is given twice"};
            options.reconnect = true;
            continue;
        }
        if (std::find(std::begin(known), std::end(known), name) == std::end(known)) throw Refusal{"unknown option '" + name + "'"};
        if (i + 1 >= args.size()) throw Refusal{name + " needs a value"};
        if (!given.emplace(name, args[++i]).second) throw Refusal{name + " is given twice"};
    }
    const auto value = [&given](const char* name) -> const std::string* {
        const auto found = given.find(name);
        return found == given.end() ? nullptr : &found->second;
    };

    if (!value("--port")) throw Refusal{"--port is required"};
    if (!value("--addr")) throw Refusal{"--addr is required"};
    if (!value("--frames") == !value("--seconds")) throw Refusal{"give exactly one of --frames and --seconds"};

    options.settings.PortNumber = ParsePort(*value("--port"), options.devicePath);
    if (auto text = value("--baud")) options.settings.BaudRate = ParseBaud(*text);
    if (auto text = value("--data-bits")) options.settings.DataBits = Choose("--data-bits", *text, {{"7", 7}, {"8", 8}});
    if (auto text = value("--parity"))
        options.settings.Parity = Choose("--parity", *text, {{"none", 0}, {"odd", 1}, {"even", 2}});
    if (auto text = value("--stop-bits"))
        options.settings.StopBits = Choose("--stop-bits", *text, {{"1", 0}, {"1.5", 1}, {"2", 2}});
    if (auto text = value("--elf")) options.elfPath = *text;
    ParseAddresses(*value("--addr"), options);
    if (auto text = value("--frames")) options.frames = ParseFrames(*text);
    if (auto text = value("--seconds")) options.seconds = ParseSeconds(*text);
    if (auto text = value("--tsv")) options.tsvPath = *text;
    if (auto text = value("--dat")) options.datPath = *text;
    if (options.datPath == "-") throw Refusal{"--dat needs a file name: the recorded file is binary"};
    if (options.tsvPath.empty() && options.datPath.empty()) throw Refusal{"nothing to record into: give --tsv or --dat"};
    if (auto text = value("--trigger")) {
        const ParsedTrigger parsed = ParseTriggerText(*text);
        if (!parsed.error.empty()) throw Refusal{"--trigger " + parsed.error};
        if (!options.channels[parsed.settings.channel].on && options.variableNames[parsed.settings.channel].empty())
            throw Refusal{"--trigger: channel " + std::to_string(parsed.settings.channel + 1) + " is switched off"};
        options.trigger = parsed.settings;
    }
    if (auto text = value("--pre")) {
        if (!options.trigger) throw Refusal{"--pre needs --trigger"};
        const auto number = WholeNumber(*text);
        if (!number) throw Refusal{"--pre takes a whole number of samples, not '" + *text + "'"};
        options.preTrigger = static_cast<uint64_t>(*number);
        if (options.frames && options.preTrigger >= *options.frames)
            throw Refusal{"--pre must be below --frames, so that the trigger sample is recorded"};
    }
    return options;
}

}  // namespace

CaptureCommand ParseCaptureCommand(const std::vector<std::string>& args) {
    CaptureCommand command;
    if (std::find_if(args.begin(), args.end(), [](const std::string& a) { return a == "--help" || a == "-h"; }) != args.end()) {
        command.help = true;
        return command;
    }
    const auto list = std::find(args.begin(), args.end(), "--list");
    if (list != args.end()) {
        // Listing takes the firmware and nothing else.
        if (args.size() == 3 && args[0] == "--elf" && list == args.begin() + 2)
            command.listElfPath = args[1];
        else if (args.size() == 3 && args[1] == "--elf" && list == args.begin())
            command.listElfPath = args[2];
        else
            command.error = "--list takes only --elf FIRMWARE";
        return command;
    }
    try {
        command.options = Parse(args);
    } catch (const Refusal& refusal) {
        command.error = refusal.reason;
    }
    return command;
}

std::string CaptureUsage() {
    return "usage: ondrix-capture --port COMn|/dev/PATH [--baud N] [--data-bits 7|8]\n"
           "                      [--parity none|odd|even] [--stop-bits 1|1.5|2]\n"
           "                      [--elf FIRMWARE] --addr A1,A2,A3,A4 (--frames N | --seconds S)\n"
           "                      [--tsv FILE|-] [--dat FILE] [--reconnect]\n"
           "                      [--trigger CHn:rising|falling|either:LEVEL [--pre N]]\n"
           "       ondrix-capture --elf FIRMWARE --list\n"
           "\n"
           "Records the four channels from an MPU without a window. Each address is 1 to 8\n"
           "hexadecimal digits, or - for a switched-off channel; with --elf, the firmware's ELF\n"
           "file, it may also be a variable's name (sample_counter, motor[1].current). --list\n"
           "prints the firmware's variables: path, address, size, type and kind, tab-separated.\n"
           "--tsv writes one line per sample: X (from 0) and the four values, tab-separated;\n"
           "- is standard output. --dat writes a recorded data file the scope can open. COMn\n"
           "is looked up in the ports folder beside this program, else it is /dev/ttyS<n-1>.\n"
           "SIGINT or SIGTERM ends the recording early and keeps what was recorded.\n"
           "\n"
           "With --trigger, nothing is recorded until channel n crosses LEVEL (a 16-bit value)\n"
           "the way given; the recording then starts N samples (--pre, default 0) before the\n"
           "crossing sample, which is row N, and --frames or --seconds count from there.\n"
           "\n"
           "A device that goes away (unplugged, hung up) ends the recording with status 1,\n"
           "keeping what was recorded. With --reconnect the port is tried again every 0.5 s\n"
           "until the limit is reached; the gap takes one X of its own, with no TSV line.\n"
           "The last line on standard error counts what the link did:\n"
           "frames=N skipped=B resyncs=R chance=C losses=L\n";
}

}  // namespace ondrix
