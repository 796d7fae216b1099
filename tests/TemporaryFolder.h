#pragma once
// A fresh folder under the system's temporary folder, removed with everything in it when the
// object goes.

#include <stdlib.h>

#include <filesystem>
#include <string>
#include <system_error>

namespace ondrix::test {

class TemporaryFolder {
public:
    TemporaryFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "ondrix-test-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::system_error(errno, std::generic_category(), "mkdtemp");
        path_ = pattern;
    }
    ~TemporaryFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::string String() const { return path_.string(); }

private:
    std::filesystem::path path_;
};

}  // namespace ondrix::test
