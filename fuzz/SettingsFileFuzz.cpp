// config.dat from disk is outside input: loading must never read past it, and a record it
// loads must save and load again to the very same settings.

#include <cstdlib>
#include <vector>

#include "acquisition/SettingsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> file(data, data + size);
    const ondrix::ScopeSettings inUse;
    const ondrix::SettingsLoadResult loaded = ondrix::LoadSettings(file, inUse);
    if (loaded.status != ondrix::SettingsLoadStatus::Loaded) {
        // A refused file changes nothing.
        if (loaded.settings != inUse) std::abort();
        return 0;
    }
    const std::vector<uint8_t> saved = ondrix::EncodeSettings(loaded.settings);
    if (saved.size() != ondrix::kSettingsFileSize) std::abort();
    const ondrix::SettingsLoadResult again = ondrix::LoadSettings(saved, ondrix::ScopeSettings());
    if (again.status != ondrix::SettingsLoadStatus::Loaded || again.settings != loaded.settings) std::abort();
    return 0;
}
