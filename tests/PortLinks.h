#pragma once
// Pointing a ports-folder entry COMn at a device, as a test plugs a virtual MPU in or pulls it
// out. The entry is replaced in one step, as the virtual MPU program does, so that a resolver
// never finds it missing (and falls back to /dev/ttyS<n-1>, a real port on many machines).

#include <filesystem>

namespace ondrix::test {

inline void PointPortAt(const std::filesystem::path& link, const std::filesystem::path& device) {
    const std::filesystem::path fresh = link.string() + ".new";
    std::filesystem::remove(fresh);
    std::filesystem::create_symlink(device, fresh);
    std::filesystem::rename(fresh, link);
}

// What a pulled USB adapter leaves behind: an entry naming a device node that is gone. A killed
// virtual MPU cannot take its link away, and its pseudo-terminal's number is soon another test's.
inline void PointPortAtNothing(const std::filesystem::path& link) {
    PointPortAt(link, link.parent_path() / "unplugged-device");
}

}  // namespace ondrix::test
