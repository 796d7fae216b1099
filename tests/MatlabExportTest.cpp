#include "acquisition/MatlabExport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "Bytes.h"
#include "FileSizeLimit.h"
#include "TemporaryFolder.h"
#include "platform/WholeFile.h"

namespace ondrix {
namespace {

using test::Hex;

std::vector<uint8_t> ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(MatlabExport, Layout) {
    struct Case {
        const char* what;
        ExportColumns columns;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {"no points: the count alone", {}, Hex("00 00 00 00")},
        {"-1 is FF FF", {{{-1}, {0}, {1}, {-32768}}}, Hex("01 00 00 00 FF FF 00 00 01 00 00 80")},
        {"channel 1's column whole before channel 2's",
         {{{1, 2}, {3, 4}, {5, 6}, {32767, 256}}},
         Hex("02 00 00 00 01 00 02 00 03 00 04 00 05 00 06 00 FF 7F 00 01")},
    };
    for (const Case& c : cases) EXPECT_EQ(EncodeMatlabExport(c.columns), c.bytes) << c.what;
}

TEST(MatlabExport, FiftyThousandZeroPoints) {
    ExportColumns zeros;
    for (auto& column : zeros) column.assign(50000, 0);
    const auto bytes = EncodeMatlabExport(zeros);
    ASSERT_EQ(bytes.size(), 400004u);
    EXPECT_EQ((std::vector<uint8_t>(bytes.begin(), bytes.begin() + 4)), Hex("50 C3 00 00"));
    EXPECT_TRUE(std::all_of(bytes.begin() + 4, bytes.end(), [](uint8_t b) { return b == 0; }));
}

TEST(MatlabExport, RefusesColumnsOfDifferentLength) {
    ExportColumns columns{{{1, 2}, {1, 2}, {1, 2}, {1}}};
    EXPECT_THROW(EncodeMatlabExport(columns), std::invalid_argument);
}

// ---- Writing a file in one step ----

class WriteFileAtomicallyTest : public ::testing::Test {
protected:
    size_t EntriesInFolder() const {
        return static_cast<size_t>(
            std::distance(std::filesystem::directory_iterator(folder_.Path()), std::filesystem::directory_iterator()));
    }

    test::TemporaryFolder folder_;
    const std::string path_ = (folder_.Path() / "trace.mdt").string();
};

TEST_F(WriteFileAtomicallyTest, ReplacesAnOlderFile) {
    ASSERT_EQ(WriteFileAtomically(path_, Hex("01 02 03 04 05 06")), "");
    EXPECT_EQ(WriteFileAtomically(path_, Hex("00 00 00 00")), "");
    EXPECT_EQ(ReadAll(path_), Hex("00 00 00 00"));
    EXPECT_EQ(EntriesInFolder(), 1u);
}

TEST_F(WriteFileAtomicallyTest, MissingFolderIsReported) {
    const std::string inMissingFolder = (folder_.Path() / "gone" / "trace.mdt").string();
    const std::string error = WriteFileAtomically(inMissingFolder, Hex("00 00 00 00"));
    EXPECT_NE(error.find(inMissingFolder), std::string::npos) << error;
    EXPECT_NE(error.find("No such file or directory"), std::string::npos) << error;
    EXPECT_EQ(EntriesInFolder(), 0u);
}

TEST_F(WriteFileAtomicallyTest, FailedWriteLeavesTheOlderFile) {
    ExportColumns columns;
    for (auto& column : columns) column.assign(1000, -1);
    const auto older = EncodeMatlabExport(columns);
    ASSERT_EQ(WriteFileAtomically(path_, older), "");

    for (auto& column : columns) column.assign(1000, 7);
    std::string error;
    {
        test::FileSizeLimit limit(4096);  // the disk fills up half way
        error = WriteFileAtomically(path_, EncodeMatlabExport(columns));
    }
    EXPECT_NE(error.find(path_), std::string::npos) << error;
    EXPECT_EQ(ReadAll(path_), older);
    EXPECT_EQ(EntriesInFolder(), 1u) << "a partial file was left behind";
}

}  // namespace
}  // namespace ondrix
