#include "CaptureVariables.h"

#include <cctype>
#include <optional>

#include "CaptureRecorder.h"
#include "firmware/FirmwareVariableIndex.h"
#include "firmware/VariableParts.h"

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
    const FirmwareVariableIndex index(symbols);
    for (int c = 0; c < kChannelCount; ++c) {
        const std::string& name = options.variableNames[c];
        if (name.empty()) continue;
        const VariableLookup found = index.Resolve(name);
        if (!found.variable) {
            if (found.error.empty() && options.channels[c].on) {  // hexadecimal digits, and no variable of that name
                // A word that could be a name ("add") may be a typing error; digits cannot be.
                if (!std::isdigit(static_cast<unsigned char>(name.front())))
                    resolution.warnings.push_back("channel " + std::to_string(c + 1) +
                                                  ": the firmware has no variable '" + name + "'; '" + name +
                                                  "' is taken as the address " +
                                                  AddressListing(options.channels[c].address));
                options.variableNames[c].clear();
                continue;
            }
            resolution.error = found.error.empty() ? UnknownName(c, name, index)
                                                   : "--addr: channel " + std::to_string(c + 1) + ": " + found.error;
            return resolution;
        }
        const FirmwareVariable* variable = &*found.variable;
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

void WriteVariableList(const FirmwareSymbols& symbols, std::ostream& out, std::ostream& errors) {
    for (const std::string& note : symbols.notes) errors << "ondrix-capture: note: " << note << '\n';
    // Named as the index names them, so that each line is what --addr takes: a static whose
    // name is in several files with its file, 'motor.c'::errors.
    const FirmwareVariableIndex index(symbols);
    const auto write = [&out](const FirmwareVariable& variable) {
        out << variable.path << '\t' << (variable.address ? AddressListing(*variable.address) : "-") << '\t'
            << variable.byteSize << '\t' << variable.typeName << '\t' << VariableKindText(variable.kind) << '\n';
        return static_cast<bool>(out);
    };
    const auto cut = [&errors](const FirmwareVariable& whole) {
        errors << "ondrix-capture: note: the parts of '" << whole.path << "' are " << kListedDepth
               << " levels deep and not listed; --addr still reaches them by their path\n";
    };
    for (size_t v = 0; v < index.Size(); ++v)
        if (!ForEachPathOf(index.Symbols(), index.Variable(v), kListedDepth, write, cut)) return;
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
        WriteVariableList(ReadFirmwareSymbols(elfPath), out, errors);
    } catch (const FirmwareFileError& error) {
        errors << "ondrix-capture: " << error.what() << '\n';
        return kCaptureFailed;
    }
    return kCaptureDone;
}

}  // namespace ondrix
