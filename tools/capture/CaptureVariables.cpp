#include "CaptureVariables.h"

#include <optional>

#include "CaptureRecorder.h"
#include "firmware/FirmwareVariableIndex.h"

namespace ondrix {

namespace {

std::string Described(const FirmwareVariable& variable) {
    if (variable.kind == VariableKind::BitField)
        return "a bit field of " + std::to_string(variable.bitSize) + " bits (" + variable.typeName + ")";
    std::string kind = VariableKindText(variable.kind);
    return std::to_string(variable.byteSize) + (variable.byteSize == 1 ? " byte" : " bytes") + " of " +
           variable.typeName + (kind.empty() ? "" : " (" + kind + ")");
}

// What a channel reading the variable's address shows, when the variable is not a 16-bit one.
std::string WordWarning(int channel, const std::string& name, const FirmwareVariable& variable) {
    std::string shown;
    if (variable.kind == VariableKind::BitField) {
        shown = ", which holds its bits " + std::to_string(variable.bitOffset) + " to " +
                std::to_string(variable.bitOffset + variable.bitSize - 1) + " counted from that byte";
    } else if (variable.byteSize > 2) {
        shown = ": the variable's first two bytes";
    } else {
        shown = ": the variable and the byte after it";
    }
    return "channel " + std::to_string(channel + 1) + ": '" + name + "' is " + Described(variable) +
           ", not a 16-bit variable; the channel shows the 16-bit word at " + AddressListing(*variable.address) + shown;
}

std::string UnknownName(int channel, const std::string& name, const FirmwareVariableIndex& index) {
    std::string message = "--addr: channel " + std::to_string(channel + 1) + ": the firmware has no variable '" + name + "'";
    const std::vector<std::string> closest = index.ClosestNames(name);
    for (size_t i = 0; i < closest.size(); ++i) message += (i == 0 ? "; closest: " : ", ") + closest[i];
    return message;
}

}  // namespace

VariableResolution ResolveVariableNames(CaptureOptions& options, const FirmwareSymbols& symbols) {
    VariableResolution resolution;
    const FirmwareVariableIndex index(symbols.variables);
    for (int c = 0; c < kChannelCount; ++c) {
        const std::string& name = options.variableNames[c];
        if (name.empty()) continue;
        const std::optional<size_t> entry = index.Resolve(name);
        if (!entry) {
            if (options.channels[c].on) {  // hexadecimal digits, and no variable of that name
                options.variableNames[c].clear();
                continue;
            }
            resolution.error = UnknownName(c, name, index);
            return resolution;
        }
        const FirmwareVariable* variable = &index.Variable(*entry);
        if (!variable->address) {
            resolution.error = "--addr: channel " + std::to_string(c + 1) + ": '" + name + "' has no fixed address";
            return resolution;
        }
        if (*variable->address > kLargestWatchableAddress) {
            resolution.error = "--addr: channel " + std::to_string(c + 1) + ": '" + name + "' is at " +
                               AddressListing(*variable->address) + ", beyond the 32-bit addresses a request carries";
            return resolution;
        }
        options.channels[c] = {static_cast<uint32_t>(*variable->address), true};
        if (variable->byteSize != 2 || variable->kind == VariableKind::BitField)
            resolution.warnings.push_back(WordWarning(c, name, *variable));
    }
    return resolution;
}

void WriteVariableList(const FirmwareSymbols& symbols, std::ostream& out) {
    for (const FirmwareVariable& variable : symbols.variables) {
        out << variable.path << '\t' << (variable.address ? AddressListing(*variable.address) : "-") << '\t'
            << variable.byteSize << '\t' << variable.typeName << '\t' << VariableKindText(variable.kind) << '\n';
    }
}

int ResolveFirmwareNames(CaptureOptions& options, std::ostream& errors) {
    if (options.elfPath.empty()) return kCaptureDone;
    FirmwareSymbols symbols;
    try {
        symbols = ReadFirmwareSymbols(options.elfPath);
    } catch (const FirmwareFileError& error) {
        errors << "ondrix-capture: " << error.what() << '\n';
        return kCaptureFailed;
    }
    const VariableResolution resolution = ResolveVariableNames(options, symbols);
    if (!resolution.error.empty()) {
        errors << "ondrix-capture: " << resolution.error << '\n';
        return kCaptureBadUsage;
    }
    for (const std::string& warning : resolution.warnings) errors << "ondrix-capture: warning: " << warning << '\n';
    return kCaptureDone;
}

int ListFirmwareVariables(const std::string& elfPath, std::ostream& out, std::ostream& errors) {
    try {
        WriteVariableList(ReadFirmwareSymbols(elfPath), out);
    } catch (const FirmwareFileError& error) {
        errors << "ondrix-capture: " << error.what() << '\n';
        return kCaptureFailed;
    }
    return kCaptureDone;
}

}  // namespace ondrix
