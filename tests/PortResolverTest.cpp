#include <errno.h>  // program_invocation_short_name
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "TemporaryFolder.h"
#include "platform/PortResolver.h"

namespace ondrix {
namespace {

namespace fs = std::filesystem;

// A fresh ports folder per test, removed with everything in it afterwards.
class PortResolverTest : public ::testing::Test {
protected:
    std::string Entry(const std::string& name) const { return folder_ + "/" + name; }
    void WriteEntry(const std::string& name, const std::string& content) const {
        std::ofstream(Entry(name)) << content;
    }

    test::TemporaryFolder temporary_;
    std::string folder_ = temporary_.String();
};

TEST_F(PortResolverTest, MissingEntryUsesTheBuiltInNumbering) {
    struct Case {
        int port;
        const char* path;
    } cases[] = {{1, "/dev/ttyS0"},   {2, "/dev/ttyS1"},   {9, "/dev/ttyS8"},
                 {10, "/dev/ttyS9"},  {11, "/dev/ttyS10"}, {12, "/dev/ttyS11"}};
    for (const Case& c : cases) EXPECT_EQ(ResolvePortPath(c.port, folder_), c.path) << c.port;
}

TEST_F(PortResolverTest, SymbolicLinkResolvesToTheLinkItself) {
    ASSERT_EQ(symlink("/dev/pts/77", Entry("COM1").c_str()), 0);
    ASSERT_EQ(symlink("/dev/ttyUSB0", Entry("COM12").c_str()), 0);
    EXPECT_EQ(ResolvePortPath(1, folder_), Entry("COM1"));
    EXPECT_EQ(ResolvePortPath(12, folder_), Entry("COM12"));
    // Entries belong to their own number only.
    EXPECT_EQ(ResolvePortPath(2, folder_), "/dev/ttyS1");
}

TEST_F(PortResolverTest, DanglingLinkStillResolvesToTheLink) {
    // Opening it then fails with the system's reason instead of reaching /dev/ttyS2.
    ASSERT_EQ(symlink("/nonexistent/device", Entry("COM3").c_str()), 0);
    EXPECT_EQ(ResolvePortPath(3, folder_), Entry("COM3"));
}

TEST_F(PortResolverTest, OneLineFileGivesTheTrimmedFirstLine) {
    struct Case {
        const char* content;
        std::string path;
    } cases[] = {
        {"/dev/ttyUSB3", "/dev/ttyUSB3"},
        {"/dev/ttyUSB3\n", "/dev/ttyUSB3"},
        {"  /dev/ttyACM0 \t \r\n", "/dev/ttyACM0"},
        {"/dev/ttyUSB1\n/dev/ttyUSB2\n", "/dev/ttyUSB1"},
        {"by-id/usb-board\n", folder_ + "/by-id/usb-board"},  // relative to the ports folder
    };
    for (const Case& c : cases) {
        WriteEntry("COM4", c.content);
        EXPECT_EQ(ResolvePortPath(4, folder_), c.path) << '"' << c.content << '"';
    }
}

TEST_F(PortResolverTest, EmptyOrBlankFileFallsBack) {
    for (const char* content : {"", "\n", "   \t\n/dev/ttyUSB0\n"}) {
        WriteEntry("COM5", content);
        EXPECT_EQ(ResolvePortPath(5, folder_), "/dev/ttyS4") << '"' << content << '"';
    }
}

TEST_F(PortResolverTest, FolderEntryThatIsNeitherLinkNorFileIsIgnored) {
    ASSERT_EQ(mkdir(Entry("COM6").c_str(), 0700), 0);
    EXPECT_EQ(ResolvePortPath(6, folder_), "/dev/ttyS5");
}

TEST_F(PortResolverTest, MissingFolderOrNoFolderUsesTheBuiltInNumbering) {
    EXPECT_EQ(ResolvePortPath(3, folder_ + "/absent"), "/dev/ttyS2");
    EXPECT_EQ(ResolvePortPath(3, ""), "/dev/ttyS2");
}

TEST_F(PortResolverTest, NumbersBelowOneNameNoPort) {
    WriteEntry("COM0", "/dev/ttyUSB0\n");
    for (int port : {0, -1, -100}) EXPECT_EQ(ResolvePortPath(port, folder_), "") << port;
}

TEST_F(PortResolverTest, ResolverForFolderLooksAtEveryCall) {
    const PortResolver resolve = PortResolverForFolder(folder_);
    EXPECT_EQ(resolve(7), "/dev/ttyS6");
    WriteEntry("COM7", "/dev/ttyUSB7\n");
    EXPECT_EQ(resolve(7), "/dev/ttyUSB7");
}

TEST(ExecutableDirectory, HoldsThisTestProgram) {
    const std::string folder = ExecutableDirectory();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.front(), '/');
    EXPECT_NE(folder.back(), '/');
    struct stat self {}, found {};
    ASSERT_EQ(stat("/proc/self/exe", &self), 0);
    ASSERT_EQ(stat((folder + "/" + program_invocation_short_name).c_str(), &found), 0);
    EXPECT_EQ(self.st_ino, found.st_ino);
    EXPECT_EQ(self.st_dev, found.st_dev);
}

TEST(DefaultPortResolver, UsesThePortsFolderBesideTheExecutable) {
    // No test writes into the real ports folder; a number nobody maps shows the default rule.
    const std::string folder = ExecutableDirectory() + "/ports";
    struct stat entry {};
    if (lstat((folder + "/COM97").c_str(), &entry) == 0) GTEST_SKIP() << "COM97 is mapped here";
    EXPECT_EQ(DefaultPortResolver()(97), "/dev/ttyS96");
    EXPECT_EQ(DefaultPortResolver()(0), "");
}

}  // namespace
}  // namespace ondrix
