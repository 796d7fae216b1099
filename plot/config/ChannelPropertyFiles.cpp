// The channel's property files, defined here rather than with the channel: they are written and
// read through the property table, which knows every kind of object and so sits above them.

#include "plot/channels/PlotChannelCustom.h"
#include "plot/config/PlotConfiguration.h"
#include "plot/core/PlotFiles.h"

namespace ondrix {

namespace {

constexpr const char* kChannelFileType = "Plot Channel Config";
constexpr const char* kChannelSection = "Channel";

}  // namespace

void TPlotChannelCustom::SavePropertiesToFile(const std::string& fileName) const {
    try {
        WriteText(fileName, WriteObjectPropertiesFile(*this, kChannelFileType, kChannelSection), std::ios::trunc);
    } catch (const EPlotError& error) {
        throw EPlotError(std::string("Error Saving Properties - ") + error.what());
    }
}

void TPlotChannelCustom::LoadPropertiesFromFile(const std::string& fileName) {
    try {
        ReadObjectPropertiesFile(*this, ReadWholeFile(fileName), kChannelFileType, kChannelSection,
                                 "Incompatible Plot Channel Configuration File Type");
    } catch (const EPlotError& error) {
        throw EPlotError(std::string("Error Loading Properties - ") + error.what());
    }
}

}  // namespace ondrix
