// A plot data file from disk is outside input: loading it must never read past it, a file it
// refuses must leave the channels exactly as they were, and what it loads is finite.

#include <stdlib.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "plot/component/Plot.h"

namespace {

// One file for the whole run, rewritten for each input.
const std::string& InputFile() {
    static const std::string path = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "ondrix-fuzz-data-XXXXXX").string();
        const int fd = mkstemp(pattern.data());
        if (fd < 0) std::abort();
        close(fd);
        return pattern;
    }();
    return path;
}

constexpr int kChannels = 3;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    {
        std::ofstream out(InputFile(), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        if (!out) std::abort();
    }
    ondrix::TPlot plot;
    while (plot.ChannelCount() < kChannels) plot.AddChannel();
    try {
        plot.LoadDataFromFile(InputFile());
    } catch (const ondrix::EPlotError& error) {
        if (std::string(error.what()).rfind("Error Loading Data - ", 0) != 0) std::abort();
        for (int k = 0; k < kChannels; ++k)
            if (plot.GetChannel(k)->GetCount() != 0) std::abort();
        if (plot.GetUpdateLocked()) std::abort();
        return 0;
    }
    if (plot.GetUpdateLocked() || plot.GetDataFileName() != InputFile()) std::abort();
    // An infinity or a NaN is refused as invalid data, never loaded.
    for (int k = 0; k < kChannels; ++k) {
        const ondrix::TPlotChannelCustom& channel = *plot.GetChannel(k);
        for (int i = 0; i < channel.GetCount(); ++i)
            if (!std::isfinite(channel.GetDataX(i)) || !std::isfinite(channel.GetDataY(i))) std::abort();
    }
    return 0;
}
