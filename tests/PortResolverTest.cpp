#include <errno.h>  // program_invocation_short_name
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "TemporaryFolder.h"
#include "platform/PortIdentity.h"
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
    EXPECT_EQ(resolve(7).path, "/dev/ttyS6");
    WriteEntry("COM7", "/dev/ttyUSB7\n");
    EXPECT_EQ(resolve(7).path, "/dev/ttyUSB7");
}

// Which rule gave the path, and what the entry named: what a rejoin compares.
TEST_F(PortResolverTest, AResolutionTellsTheRuleAndWhatTheEntryNamed) {
    ASSERT_EQ(symlink("/dev/pts/77", Entry("COM1").c_str()), 0);
    ASSERT_EQ(symlink("../by-id/usb-board", Entry("COM2").c_str()), 0);
    WriteEntry("COM3", "/dev/ttyACM0\n");
    const struct {
        int port;
        std::string path, target;
        bool builtIn;
    } cases[] = {
        {1, Entry("COM1"), "/dev/pts/77", false},
        {2, Entry("COM2"), "../by-id/usb-board", false},  // as written
        {3, "/dev/ttyACM0", "/dev/ttyACM0", false},
        {4, "/dev/ttyS3", "/dev/ttyS3", true},
        {0, "", "", false},
    };
    for (const auto& c : cases) {
        const ResolvedPort port = ResolvePort(c.port, folder_);
        EXPECT_EQ(port.path, c.path) << c.port;
        EXPECT_EQ(port.target, c.target) << c.port;
        EXPECT_EQ(port.builtIn, c.builtIn) << c.port;
    }
}

TEST_F(PortResolverTest, TheBuiltInRuleCanBeReplaced) {
    const PortResolver resolve = PortResolverForFolder(folder_, [](int n) { return "/stand-in/" + std::to_string(n); });
    EXPECT_EQ(resolve(5).path, "/stand-in/5");
    EXPECT_TRUE(resolve(5).builtIn);
    WriteEntry("COM5", "/dev/ttyUSB5\n");
    EXPECT_EQ(resolve(5).path, "/dev/ttyUSB5");
    EXPECT_FALSE(resolve(5).builtIn);
}

// ---- the same device again ------------------------------------------------------------------

// Stand-in device nodes and a stand-in for /dev/serial/by-id, in a folder of their own.
class PortIdentityTest : public ::testing::Test {
protected:
    PortIdentityTest() {
        fs::create_directories(byId_);
        fs::create_directories(dev_);
        fs::create_directories(ports_);
    }
    std::string Node(const std::string& name) const {
        const fs::path node = dev_ / name;
        if (!fs::exists(node)) std::ofstream(node.string()).put('\0');
        return node.string();
    }
    void StableName(const std::string& name, const std::string& node) const {
        fs::remove(byId_ / name);
        fs::create_symlink(node, byId_ / name);
    }
    void PointCom1(const std::string& device) const {
        fs::remove(ports_ / "COM1");
        fs::create_symlink(device, ports_ / "COM1");
    }
    ResolvedPort Com1() const { return ResolvePort(1, ports_.string()); }
    OpenedPort Identify(const ResolvedPort& port) const { return IdentifyOpenedPort(port, byId_.string()); }
    RejoinChoice Choose(const OpenedPort& lost) const { return ChooseRejoin(lost, Com1(), byId_.string()); }

    test::TemporaryFolder temporary_;
    const fs::path byId_ = temporary_.Path() / "by-id";
    const fs::path dev_ = temporary_.Path() / "dev";
    const fs::path ports_ = temporary_.Path() / "ports";
};

TEST_F(PortIdentityTest, TheStableNameIsTheOneLeadingToTheSameNode) {
    StableName("usb-FTDI_A", Node("ttyUSB0"));
    StableName("usb-FTDI_B", Node("ttyUSB1"));
    PointCom1(Node("ttyUSB1"));
    EXPECT_EQ(StableNameOf(Com1().path, byId_.string()), (byId_ / "usb-FTDI_B").string());
    EXPECT_EQ(StableNameOf(Node("ttyS0"), byId_.string()), "") << "an on-board UART has none";
    EXPECT_EQ(StableNameOf((dev_ / "gone").string(), byId_.string()), "");
    EXPECT_EQ(StableNameOf(Node("ttyUSB0"), (temporary_.Path() / "absent").string()), "");
}

// What becomes of COM1 between the loss and the attempt, and what the attempt may open.
TEST_F(PortIdentityTest, ARejoinReachesTheLostDeviceOrTheUsersNewChoiceButNeverTheBuiltInOne) {
    // An adapter with a stable name behind COM1 -> ttyUSB0.
    StableName("usb-FTDI_A", Node("ttyUSB0"));
    PointCom1(Node("ttyUSB0"));
    const OpenedPort adapter = Identify(Com1());
    ASSERT_EQ(adapter.stableName, (byId_ / "usb-FTDI_A").string());

    // Unplugged and back as ttyUSB1, while another adapter took ttyUSB0: the stable name finds it.
    StableName("usb-FTDI_A", Node("ttyUSB1"));
    StableName("usb-other", Node("ttyUSB0"));
    EXPECT_EQ(Choose(adapter).path, (byId_ / "usb-FTDI_A").string());
    EXPECT_EQ(AwaitedDeviceName(adapter), (byId_ / "usb-FTDI_A").string());

    // A pseudo-terminal has no stable name: the same entry, the same target, is where it was.
    PointCom1("/dev/pts/3");
    const OpenedPort mpu = Identify(Com1());
    EXPECT_EQ(mpu.stableName, "");
    EXPECT_EQ(Choose(mpu).path, Com1().path);
    EXPECT_EQ(AwaitedDeviceName(mpu), "/dev/pts/3");

    // Its entry re-pointed (a virtual MPU restarted on another pseudo-terminal): the user's choice.
    PointCom1("/dev/pts/9");
    const RejoinChoice repointed = Choose(mpu);
    EXPECT_EQ(repointed.path, Com1().path);
    EXPECT_EQ(repointed.identity.resolved.target, "/dev/pts/9") << "the new device is the one to keep";

    // Its entry gone: COM1 now falls back to /dev/ttyS0, which nobody chose.
    fs::remove(ports_ / "COM1");
    ASSERT_TRUE(Com1().builtIn);
    const RejoinChoice fallback = Choose(mpu);
    EXPECT_EQ(fallback.path, "");
    EXPECT_NE(fallback.waiting.find("/dev/ttyS0 is not opened"), std::string::npos) << fallback.waiting;

    // A port opened through the built-in rule in the first place is that device again.
    const OpenedPort uart = Identify(Com1());
    EXPECT_EQ(Choose(uart).path, "/dev/ttyS0");
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
    EXPECT_EQ(DefaultPortResolver()(97).path, "/dev/ttyS96");
    EXPECT_EQ(DefaultPortResolver()(0).path, "");
}

}  // namespace
}  // namespace ondrix
