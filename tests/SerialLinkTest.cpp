// The serial link on a real pseudo-terminal, and on a stand-in device for what a
// pseudo-terminal cannot show: more than 4095 queued bytes, refused purges and states, stuck
// writes, failed reads, devices that say they are gone, a read in flight while the port closes.
//
// The slave's line state is read back through the master side (a pty master's TCGETS2/TCSETS2
// act on its slave), with the kernel's termios2, so this unit does not include <termios.h>.

#include <asm/termbits.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <grp.h>
#include <sys/fsuid.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "TemporaryFolder.h"

#include "RecordingNotifier.h"
#include "acquisition/SerialLink.h"
#include "platform/PortResolver.h"
#include "platform/PosixSerialDevice.h"
#include "platform/PseudoTerminal.h"

namespace ondrix {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// ---- helpers: the far end of a pseudo-terminal ----------------------------------------------

std::vector<uint8_t> Pattern(size_t count, uint8_t seed = 0) {
    std::vector<uint8_t> bytes(count);
    for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(seed + i * 7 + (i >> 8));
    return bytes;
}

// Writes everything to the (non-blocking) master, waiting for room as needed.
void WriteToMaster(int master, const std::vector<uint8_t>& bytes) {
    size_t done = 0;
    const auto deadline = Clock::now() + 5s;
    while (done < bytes.size() && Clock::now() < deadline) {
        const ssize_t sent = write(master, bytes.data() + done, bytes.size() - done);
        if (sent > 0) {
            done += static_cast<size_t>(sent);
        } else {
            pollfd room{master, POLLOUT, 0};
            poll(&room, 1, 10);
        }
    }
    ASSERT_EQ(done, bytes.size());
}

// What the scope's side sent, read at the master until `count` bytes came or time ran out.
std::vector<uint8_t> ReadFromMaster(int master, size_t count, std::chrono::milliseconds timeout = 3s) {
    std::vector<uint8_t> got;
    const auto deadline = Clock::now() + timeout;
    uint8_t chunk[4096];
    while (got.size() < count && Clock::now() < deadline) {
        const ssize_t n = read(master, chunk, std::min(sizeof chunk, count - got.size()));
        if (n > 0) {
            got.insert(got.end(), chunk, chunk + n);
        } else {
            pollfd data{master, POLLIN, 0};
            poll(&data, 1, 10);
        }
    }
    return got;
}

// Reads through the link until `count` bytes came or time ran out (bytes written at the master
// reach the slave's queue a moment later, through the kernel's flip buffer).
std::vector<uint8_t> ReadFromLink(SerialLink& link, size_t count, std::chrono::milliseconds timeout = 3s) {
    std::vector<uint8_t> got;
    std::vector<uint8_t> buffer(SerialLink::kMaxRead);
    const auto deadline = Clock::now() + timeout;
    while (got.size() < count && Clock::now() < deadline) {
        const size_t n = link.ReadAvailable(buffer.data());
        if (n == 0) std::this_thread::sleep_for(1ms);
        got.insert(got.end(), buffer.begin(), buffer.begin() + static_cast<long>(n));
    }
    return got;
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 3s) {
    const auto deadline = Clock::now() + timeout;
    while (!condition()) {
        if (Clock::now() >= deadline) return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

termios2 SlaveState(const PseudoTerminal& pty) {
    termios2 state{};
    EXPECT_EQ(ioctl(pty.MasterFd(), TCGETS2, &state), 0);
    return state;
}

void SetSlaveState(const PseudoTerminal& pty, const termios2& state) {
    ASSERT_EQ(ioctl(pty.MasterFd(), TCSETS2, &state), 0);
}

bool Has(tcflag_t flags, tcflag_t bits) { return (flags & bits) == bits; }

// The baud rates of the communication setup dialog's list, plus typed ones.
const int kSetupListRates[] = {300,    600,    1200,   2400,   4800,   9600,   19200,
                               38400,  56000,  57600,  115200, 128000, 153600, 230400,
                               250000, 256000, 460800, 500000, 576000, 625000};
const int kTypedRates[] = {31250, 14400, 74880, 1};

// ---- fixture: a temporary ports folder and pseudo-terminals behind COMn ---------------------

class PtyLinkTest : public ::testing::Test {
protected:
    void SetUp() override { MapPort(1, pty_.SlavePath()); }

    // Another opener, with settings of its own, gets COM1 without a message.
    void ExpectCom1Free() const {
        PortSettings otherSettings;
        RecordingNotifier otherNotifier;
        SerialLink other(otherSettings, otherNotifier, PortResolverForFolder(folder_));
        EXPECT_TRUE(other.OpenPort());
        EXPECT_TRUE(otherNotifier.messages.empty());
    }

    void MapPort(int port, const std::string& device) {
        const std::string entry = folder_ + "/COM" + std::to_string(port);
        std::error_code ignored;
        fs::remove(entry, ignored);
        ASSERT_EQ(symlink(device.c_str(), entry.c_str()), 0);
    }

    PseudoTerminal pty_;
    test::TemporaryFolder temporary_;
    std::string folder_ = temporary_.String();
    PortSettings settings_;
    RecordingNotifier notifier_;
};

// ---- the link on a pseudo-terminal ----------------------------------------------------------

TEST_F(PtyLinkTest, ReadsWhatTheFarEndSent) {
    SerialLink link(settings_, notifier_, PortResolverForFolder(folder_));
    ASSERT_TRUE(link.OpenPort());
    EXPECT_TRUE(link.IsOpen());
    EXPECT_TRUE(link.LastFailureDetail().empty());

    const std::vector<uint8_t> sent = Pattern(3000);
    WriteToMaster(pty_.MasterFd(), sent);
    EXPECT_EQ(ReadFromLink(link, sent.size()), sent);
    EXPECT_TRUE(notifier_.messages.empty());
}

TEST_F(PtyLinkTest, WrittenBytesArriveAtTheFarEnd) {
    SerialLink link(settings_, notifier_, PortResolverForFolder(folder_));
    ASSERT_TRUE(link.OpenPort());
    const std::vector<uint8_t> bytes = Pattern(200, 3);
    // The request frame is written one byte per call, so single bytes matter most.
    for (uint8_t byte : bytes) ASSERT_TRUE(link.WriteBytes(&byte, 1));
    EXPECT_EQ(ReadFromMaster(pty_.MasterFd(), bytes.size()), bytes);
    // Raw output: no CR inserted before LF, nothing echoed back.
    const uint8_t newline = '\n';
    ASSERT_TRUE(link.WriteBytes(&newline, 1));
    EXPECT_EQ(ReadFromMaster(pty_.MasterFd(), 2, 100ms), std::vector<uint8_t>{'\n'});
}

TEST_F(PtyLinkTest, NothingQueuedReadsZero) {
    SerialLink link(settings_, notifier_, PortResolverForFolder(folder_));
    ASSERT_TRUE(link.OpenPort());
    std::vector<uint8_t> buffer(SerialLink::kMaxRead);
    EXPECT_EQ(link.ReadAvailable(buffer.data()), 0u);
}

TEST_F(PtyLinkTest, PurgeDiscardsWhatIsQueued) {
    // Opened before the link takes the port exclusively, to watch the queue without reading it.
    const int watcher = open(pty_.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(watcher, 0);
    SerialLink link(settings_, notifier_, PortResolverForFolder(folder_));
    ASSERT_TRUE(link.OpenPort());
    WriteToMaster(pty_.MasterFd(), Pattern(100));
    int queued = 0;
    EXPECT_TRUE(WaitUntil([&] { return ioctl(watcher, FIONREAD, &queued) == 0 && queued == 100; }));
    close(watcher);
    link.PurgePort();
    std::vector<uint8_t> buffer(SerialLink::kMaxRead);
    EXPECT_EQ(link.ReadAvailable(buffer.data()), 0u);
    EXPECT_TRUE(link.IsOpen());
}

TEST_F(PtyLinkTest, SecondOpenerIsRefusedAndTheFirstKeepsThePort) {
    SerialLink first(settings_, notifier_, PortResolverForFolder(folder_));
    ASSERT_TRUE(first.OpenPort());

    RecordingNotifier secondNotifier;
    SerialLink second(settings_, secondNotifier, PortResolverForFolder(folder_));
    EXPECT_FALSE(second.OpenPort());
    const std::string reason = folder_ + "/COM1: " + std::generic_category().message(EBUSY);
    EXPECT_EQ(secondNotifier.messages, std::vector<std::string>{"Open COM1 Err!\n" + reason});
    EXPECT_FALSE(second.IsOpen());
    EXPECT_EQ(second.LastFailureDetail(), "open: " + reason);

    // The refused attempt left the holder's port untouched.
    EXPECT_TRUE(first.IsOpen());
    WriteToMaster(pty_.MasterFd(), Pattern(10));
    EXPECT_EQ(ReadFromLink(first, 10), Pattern(10));
    EXPECT_TRUE(notifier_.messages.empty());
}

TEST_F(PtyLinkTest, OpeningReleasesTheOldPortEvenWhenTheNewOpenFails) {
    SerialLink first(settings_, notifier_, PortResolverForFolder(folder_));
    ASSERT_TRUE(first.OpenPort());
    MapPort(2, "/nonexistent/ondrix-device");
    settings_.PortNumber = 2;
    EXPECT_FALSE(first.OpenPort());
    EXPECT_EQ(notifier_.messages,
              std::vector<std::string>{"Open COM2 Err!\n" + folder_ + "/COM2: " + std::generic_category().message(ENOENT)});
    EXPECT_FALSE(first.IsOpen());

    ExpectCom1Free();
}

TEST_F(PtyLinkTest, ReopeningTheSamePortSucceeds) {
    SerialLink link(settings_, notifier_, PortResolverForFolder(folder_));
    ASSERT_TRUE(link.OpenPort());
    ASSERT_TRUE(link.OpenPort());  // releases its own hold first, so its own lock is no obstacle
    EXPECT_TRUE(link.IsOpen());
    EXPECT_TRUE(notifier_.messages.empty());
}

TEST_F(PtyLinkTest, OpenFailuresNameThePortNumber) {
    MapPort(3, "/nonexistent/ondrix-device");
    const std::string plainFile = folder_ + "/not-a-terminal";
    std::ofstream(plainFile) << "x";
    MapPort(4, plainFile);  // opens and locks, but is no terminal
    struct Case {
        int port;
        const char* message;
        std::string detail;
    } cases[] = {
        {3, "Open COM3 Err!",
         "open: " + folder_ + "/COM3: " + std::generic_category().message(ENOENT)},
        {4, "Open COM4 Err!",
         "open: " + folder_ + "/COM4: " + std::generic_category().message(ENOTTY)},
        {0, "Open COM0 Err!", "open: COM0: no such port"},
        {-2, "Open COM-2 Err!", "open: COM-2: no such port"},
    };
    SerialLink link(settings_, notifier_, PortResolverForFolder(folder_));
    for (const Case& c : cases) {
        ASSERT_TRUE(link.OpenPort());  // COM1 open first: every failure must also close it
        notifier_.Clear();
        settings_.PortNumber = c.port;
        EXPECT_FALSE(link.OpenPort()) << c.port;
        // The message box says the reason on a line of its own, without the step's name.
        EXPECT_EQ(notifier_.messages, std::vector<std::string>{c.message + ("\n" + c.detail.substr(6))});
        EXPECT_EQ(link.LastFailureDetail(), c.detail);
        EXPECT_FALSE(link.IsOpen());
        settings_.PortNumber = 1;
    }
}

TEST_F(PtyLinkTest, PortsTenToTwelveOpen) {
    for (int port : {10, 11, 12}) {
        MapPort(port, pty_.SlavePath());
        settings_.PortNumber = port;
        SerialLink link(settings_, notifier_, PortResolverForFolder(folder_));
        EXPECT_TRUE(link.OpenPort()) << port;
    }
    EXPECT_TRUE(notifier_.messages.empty());
}

TEST_F(PtyLinkTest, ClosingTwiceIsHarmlessAndFreesThePort) {
    SerialLink link(settings_, notifier_, PortResolverForFolder(folder_));
    ASSERT_TRUE(link.OpenPort());
    link.ClosePort();
    link.ClosePort();
    EXPECT_FALSE(link.IsOpen());
    EXPECT_TRUE(notifier_.messages.empty());
    ExpectCom1Free();
}

TEST_F(PtyLinkTest, ExclusiveFlagLastsOnlyWhileOpen) {
    // Opened before the link, so that even a non-root test run can look at the flag.
    const int watcher = open(pty_.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(watcher, 0);
    int exclusive = -1;
    {
        SerialLink link(settings_, notifier_, PortResolverForFolder(folder_));
        ASSERT_TRUE(link.OpenPort());
        ASSERT_EQ(ioctl(watcher, TIOCGEXCL, &exclusive), 0);
        EXPECT_EQ(exclusive, 1);
        link.ClosePort();
        ASSERT_EQ(ioctl(watcher, TIOCGEXCL, &exclusive), 0);
        EXPECT_EQ(exclusive, 0);
        ASSERT_TRUE(link.OpenPort());
    }  // the link's destructor releases the port as ClosePort does
    ASSERT_EQ(ioctl(watcher, TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 0);
    close(watcher);
}

TEST_F(PtyLinkTest, SettingsReachTheLine) {
    settings_.BaudRate = 31250;
    settings_.StopBits = 2;
    SerialLink link(settings_, notifier_, PortResolverForFolder(folder_));
    ASSERT_TRUE(link.OpenPort());
    const termios2 state = SlaveState(pty_);
    EXPECT_EQ(state.c_ospeed, 31250u);
    EXPECT_EQ(state.c_ispeed, 31250u);
    EXPECT_TRUE(Has(state.c_cflag, CSTOPB));
    // A pseudo-terminal keeps only 8 data bits and no parity (ComposeCharacterFormat's table
    // covers those); stop bits it keeps.
    settings_.StopBits = 1;  // one and a half: CSTOPB, as the line allows
    ASSERT_TRUE(link.OpenPort());
    EXPECT_TRUE(Has(SlaveState(pty_).c_cflag, CSTOPB));
    settings_.StopBits = 0;
    ASSERT_TRUE(link.OpenPort());
    EXPECT_FALSE(Has(SlaveState(pty_).c_cflag, CSTOPB));
    // Only the low byte of a stored setting reaches the line.
    settings_.StopBits = 0x102;
    ASSERT_TRUE(link.OpenPort());
    EXPECT_TRUE(Has(SlaveState(pty_).c_cflag, CSTOPB));
    settings_.StopBits = 0x200;
    ASSERT_TRUE(link.OpenPort());
    EXPECT_FALSE(Has(SlaveState(pty_).c_cflag, CSTOPB));
}

// Whatever a previous owner left behind (a terminal's cooked mode with flow control, hardware
// handshake, a line discipline that is not the terminal's), the open line is fully raw.
TEST_F(PtyLinkTest, LineBecomesFullyRawWhateverStateItWasLeftIn) {
    termios2 cooked = SlaveState(pty_);
    cooked.c_iflag |= ICRNL | INLCR | IGNCR | ISTRIP | IXON | IXOFF | IXANY | PARMRK | INPCK | BRKINT | IMAXBEL;
    cooked.c_oflag |= OPOST | ONLCR | OCRNL;
    cooked.c_lflag |= ICANON | ECHO | ECHOE | ISIG | IEXTEN;
    cooked.c_cflag |= CRTSCTS | HUPCL;
    cooked.c_cflag &= ~static_cast<tcflag_t>(CLOCAL);
    cooked.c_cc[VMIN] = 1;
    cooked.c_cc[VTIME] = 5;
    SetSlaveState(pty_, cooked);

    SerialLink link(settings_, notifier_, PortResolverForFolder(folder_));
    ASSERT_TRUE(link.OpenPort());
    const termios2 state = SlaveState(pty_);
    EXPECT_EQ(state.c_iflag, 0u) << "no input translation, no software flow control";
    EXPECT_EQ(state.c_oflag, 0u) << "no output processing";
    EXPECT_EQ(state.c_lflag, 0u) << "no echo, no line editing, no signals";
    EXPECT_FALSE(Has(state.c_cflag, CRTSCTS)) << "no hardware flow control";
    EXPECT_TRUE(Has(state.c_cflag, HUPCL)) << "left as the driver had it";
    EXPECT_TRUE(Has(state.c_cflag, CREAD | CLOCAL));
    EXPECT_EQ(state.c_cc[VMIN], 0);
    EXPECT_EQ(state.c_cc[VTIME], 0);
}

// The port as a user's machine may hand it over: set to "sane" by stty with XON/XOFF and the
// other translations on, and a line discipline that swallows everything. Every byte value
// must still pass unchanged in both directions; 0x11 and 0x13 used to vanish.
TEST_F(PtyLinkTest, EveryByteValuePassesBothWaysWhateverStateThePortWasLeftIn) {
    const std::string stty = "stty -F " + pty_.SlavePath() + " sane ixon ixoff istrip inlcr igncr inpck parmrk";
    ASSERT_EQ(std::system(stty.c_str()), 0) << stty;
    {
        const int other = open(pty_.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        ASSERT_GE(other, 0);
        int swallowEverything = 27;  // N_NULL
        EXPECT_EQ(ioctl(other, TIOCSETD, &swallowEverything), 0);
        close(other);
    }

    SerialLink link(settings_, notifier_, PortResolverForFolder(folder_));
    ASSERT_TRUE(link.OpenPort()) << link.LastFailureDetail();
    std::vector<uint8_t> everyValue(256);
    for (size_t i = 0; i < everyValue.size(); ++i) everyValue[i] = static_cast<uint8_t>(i);

    WriteToMaster(pty_.MasterFd(), everyValue);
    EXPECT_EQ(ReadFromLink(link, everyValue.size()), everyValue) << "far end to scope";
    ASSERT_TRUE(link.WriteBytes(everyValue.data(), everyValue.size()));
    EXPECT_EQ(ReadFromMaster(pty_.MasterFd(), everyValue.size()), everyValue) << "scope to far end";
}

// The far end goes away (the MPU's program killed, a USB adapter pulled): the link tells a lost
// device from an empty queue, touches it no more, and lets go of it on close.
TEST_F(PtyLinkTest, FarEndGoingAwayMarksTheLinkLost) {
    SerialLink link(settings_, notifier_, PortResolverForFolder(folder_));
    ASSERT_TRUE(link.OpenPort());
    WriteToMaster(pty_.MasterFd(), Pattern(50));
    EXPECT_EQ(ReadFromLink(link, 50), Pattern(50));
    EXPECT_FALSE(link.Lost());
    EXPECT_EQ(link.LossReason(), "");

    pty_.HangUp();
    EXPECT_EQ(ReadFromLink(link, 1, 200ms).size(), 0u);
    EXPECT_TRUE(link.Lost());
    EXPECT_EQ(link.LossReason(), "the device hung up");
    const uint8_t byte = 0x42;
    EXPECT_FALSE(link.WriteBytes(&byte, 1));
    link.PurgePort();
    EXPECT_TRUE(link.IsOpen()) << "the dead device is held until it is closed";
    EXPECT_TRUE(notifier_.messages.empty()) << "a loss is the caller's to report";

    link.ClosePort();
    EXPECT_FALSE(link.Lost());
    EXPECT_FALSE(link.IsOpen());
    EXPECT_FALSE(link.OpenPort()) << "its device node is gone";
    ASSERT_EQ(notifier_.messages.size(), 1u);
    EXPECT_EQ(notifier_.messages[0].rfind("Open COM1 Err!\n", 0), 0u) << notifier_.messages[0];
}

// COM1's entry goes away with its device, and COM1 falls back to a built-in device that is there
// (a second pseudo-terminal stands in for /dev/ttyS0): a rejoin never takes that one for the lost
// device, and takes the device COM1's entry names once it is back.
TEST_F(PtyLinkTest, ARejoinNeverTakesTheBuiltInDeviceForTheLostOne) {
    PseudoTerminal builtIn;
    SerialLink link(settings_, notifier_, PortResolverForFolder(folder_, [&builtIn](int) { return builtIn.SlavePath(); }));
    settings_.BaudRate = 57600;
    ASSERT_TRUE(link.OpenPort());
    settings_.BaudRate = 9600;  // a rejoin keeps the settings the device was opened with
    const std::string lostDevice = pty_.SlavePath();
    EXPECT_EQ(link.AwaitedDevice(), lostDevice);

    pty_.HangUp();
    fs::remove(folder_ + "/COM1");
    link.ClosePort();
    EXPECT_FALSE(link.TryRejoin());
    EXPECT_FALSE(link.IsOpen()) << "the built-in device was taken for the lost one";
    EXPECT_EQ(link.LastFailureDetail(), "waiting for " + lostDevice + ": its entry in the ports folder is gone, and " +
                                            builtIn.SlavePath() + " is not opened in its place");

    PseudoTerminal back;
    MapPort(1, back.SlavePath());
    ASSERT_TRUE(link.TryRejoin()) << link.LastFailureDetail();
    EXPECT_EQ(link.OpenSettings().BaudRate, 57600);
    WriteToMaster(back.MasterFd(), Pattern(10));
    EXPECT_EQ(ReadFromLink(link, 10), Pattern(10));
    EXPECT_EQ(link.AwaitedDevice(), back.SlavePath()) << "the device rejoined is the one to find again";
    EXPECT_TRUE(notifier_.messages.empty()) << "rejoins are quiet";
}

// A write that fails on a device that has gone marks the link lost as a failed read does.
TEST_F(PtyLinkTest, WriteToAVanishedDeviceMarksTheLinkLost) {
    SerialLink link(settings_, notifier_, PortResolverForFolder(folder_));
    ASSERT_TRUE(link.OpenPort());
    pty_.HangUp();
    const uint8_t byte = 0x42;
    EXPECT_FALSE(link.WriteBytes(&byte, 1));
    EXPECT_TRUE(link.Lost());
}

// Reads on one thread, writes on another, the far end echoing: the shared lock lets both run.
TEST_F(PtyLinkTest, ReadAndWriteOnTwoThreadsAtOnce) {
    SerialLink link(settings_, notifier_, PortResolverForFolder(folder_));
    ASSERT_TRUE(link.OpenPort());
    const std::vector<uint8_t> sent = Pattern(2000, 11);

    std::atomic<bool> allWritten{true};
    std::thread writer([&] {
        for (size_t at = 0; at < sent.size(); at += 20) {
            if (!link.WriteBytes(sent.data() + at, 20)) allWritten = false;
        }
    });
    std::vector<uint8_t> received;
    std::thread reader([&] { received = ReadFromLink(link, sent.size(), 5s); });
    // The far end echoes everything back.
    size_t echoed = 0;
    const auto deadline = Clock::now() + 5s;
    while (echoed < sent.size() && Clock::now() < deadline) {
        const std::vector<uint8_t> chunk = ReadFromMaster(pty_.MasterFd(), sent.size() - echoed, 20ms);
        WriteToMaster(pty_.MasterFd(), chunk);
        echoed += chunk.size();
    }
    writer.join();
    reader.join();
    EXPECT_TRUE(allWritten);
    EXPECT_EQ(received, sent);
}

// ---- the POSIX device alone -----------------------------------------------------------------

class PosixDeviceTest : public ::testing::Test {
protected:
    std::unique_ptr<SerialDevice> Open() {
        std::string error;
        std::unique_ptr<SerialDevice> device = PosixSerialDeviceOpener()(pty_.SlavePath(), error);
        EXPECT_NE(device, nullptr) << error;
        EXPECT_TRUE(error.empty());
        return device;
    }
    PseudoTerminal pty_;
};

TEST_F(PosixDeviceTest, EveryBaudRateOfTheSetupListAndTypedRatesApply) {
    std::unique_ptr<SerialDevice> device = Open();
    ASSERT_NE(device, nullptr);
    ASSERT_TRUE(device->ReadLineState());
    std::vector<int> rates(std::begin(kSetupListRates), std::end(kSetupListRates));
    rates.insert(rates.end(), std::begin(kTypedRates), std::end(kTypedRates));
    for (int rate : rates) {
        LineSettings line;
        line.baudRate = rate;
        EXPECT_TRUE(device->ApplyLineSettings(line)) << rate;
        const termios2 state = SlaveState(pty_);
        EXPECT_EQ(state.c_ospeed, static_cast<speed_t>(rate));
        EXPECT_EQ(state.c_ispeed, static_cast<speed_t>(rate));
    }
}

TEST_F(PosixDeviceTest, RefusedSettingsLeaveTheLineAsItWas) {
    std::unique_ptr<SerialDevice> device = Open();
    ASSERT_NE(device, nullptr);
    LineSettings line;
    line.baudRate = 19200;
    EXPECT_FALSE(device->ApplyLineSettings(line)) << "no state read yet";
    ASSERT_TRUE(device->ReadLineState());
    ASSERT_TRUE(device->ApplyLineSettings(line));
    ASSERT_TRUE(device->ReadLineState());

    LineSettings refused[6];
    refused[0].baudRate = 0;
    refused[1].baudRate = -9600;
    refused[2].dataBits = 9;
    refused[3].dataBits = 4;
    refused[4].parity = 3;
    refused[5].stopBits = 3;
    for (const LineSettings& bad : refused) {
        errno = 0;
        EXPECT_FALSE(device->ApplyLineSettings(bad));
        EXPECT_EQ(errno, EINVAL);
        EXPECT_EQ(SlaveState(pty_).c_ospeed, 19200u);
    }
}

TEST_F(PosixDeviceTest, SecondOpenerIsRefusedAsBusy) {
    std::unique_ptr<SerialDevice> first = Open();
    ASSERT_NE(first, nullptr);
    std::string error;
    EXPECT_EQ(PosixSerialDeviceOpener()(pty_.SlavePath(), error), nullptr);
    EXPECT_EQ(error, pty_.SlavePath() + ": " + std::generic_category().message(EBUSY));
}

// What opening `path` says to a user without the right to open it. Root may open anything, so
// as root this thread's file-system user and group become nobody's for the call (which also drops
// the right to override file permissions); otherwise the device loses its permissions meanwhile.
std::string ErrorOpeningWithoutPermission(const std::string& path) {
    std::string error;
    if (geteuid() == 0) {
        setfsgid(65534);
        setfsuid(65534);
        const bool opened = PosixSerialDeviceOpener()(path, error) != nullptr;
        setfsuid(0);
        setfsgid(0);
        return opened ? "opened" : error;
    }
    struct stat node {};
    if (stat(path.c_str(), &node) != 0 || chmod(path.c_str(), 0) != 0) return "could not take the permissions away";
    const bool opened = PosixSerialDeviceOpener()(path, error) != nullptr;
    chmod(path.c_str(), node.st_mode & 07777);
    return opened ? "opened" : error;
}

// A user who may not open the device is told which group may, and how to join it.
TEST_F(PosixDeviceTest, AnOpenRefusedForWantOfPermissionSaysWhichGroupToJoin) {
    struct stat node {};
    ASSERT_EQ(stat(pty_.SlavePath().c_str(), &node), 0);
    const group* owner = getgrgid(node.st_gid);
    ASSERT_NE(owner, nullptr);
    // A device of the group root is one no group was made for: the advice is the usual group.
    const std::string groupName = node.st_gid == 0 ? "dialout" : owner->gr_name;
    EXPECT_EQ(ErrorOpeningWithoutPermission(pty_.SlavePath()),
              pty_.SlavePath() + ": " + std::generic_category().message(EACCES) + " (only members of the group " +
                  groupName + " may use it: sudo usermod -aG " + groupName + " $USER, then log in again)");
}

TEST_F(PosixDeviceTest, QueuedBytesAreCountedAndReadWithoutWaiting) {
    std::unique_ptr<SerialDevice> device = Open();
    ASSERT_NE(device, nullptr);
    ASSERT_TRUE(device->ReadLineState());
    ASSERT_TRUE(device->ApplyLineSettings(LineSettings{}));
    EXPECT_EQ(device->QueuedInputBytes(), 0);
    uint8_t buffer[64];
    EXPECT_EQ(device->Read(buffer, sizeof buffer), 0);  // non-blocking: nothing there, no wait
    WriteToMaster(pty_.MasterFd(), Pattern(40));
    EXPECT_TRUE(WaitUntil([&] { return device->QueuedInputBytes() == 40; }));
    EXPECT_EQ(device->Read(buffer, 30), 30);
    EXPECT_EQ(device->QueuedInputBytes(), 10);
}

// The far end never reads: the pseudo-terminal's buffers fill and the write must give up at its
// limit instead of hanging.
TEST_F(PosixDeviceTest, StuckWriteEndsAtItsLimit) {
    std::unique_ptr<SerialDevice> device = Open();
    ASSERT_NE(device, nullptr);
    ASSERT_TRUE(device->ReadLineState());
    ASSERT_TRUE(device->ApplyLineSettings(LineSettings{}));
    const std::vector<uint8_t> bytes(256 * 1024, 0x55);
    const auto start = Clock::now();
    EXPECT_FALSE(device->Write(bytes.data(), bytes.size(), 150ms));
    const auto took = Clock::now() - start;
    EXPECT_GE(took, 150ms);
    EXPECT_LT(took, 2s);
}

// A pseudo-terminal keeps neither the data size nor parity, so the mapping is checked here.
TEST(ComposeCharacterFormat, Table) {
    // Bits that must survive: everything outside size, parity and stop bits.
    const tcflag_t others = CRTSCTS | CLOCAL | CREAD | HUPCL | B9600;
    // Bits that must go: a previous format, stick parity included.
    const tcflag_t previous = CS6 | PARENB | PARODD | CMSPAR | CSTOPB;
    struct Case {
        int dataBits, parity, stopBits;
        tcflag_t format;
    } cases[] = {
        {8, 0, 0, CS8},
        {7, 0, 0, CS7},
        {6, 0, 0, CS6},
        {5, 0, 0, CS5},
        {8, 1, 0, CS8 | PARENB | PARODD},
        {7, 2, 0, CS7 | PARENB},
        {8, 0, 1, CS8 | CSTOPB},  // one and a half: CSTOPB, the UART decides 1.5 or 2
        {5, 0, 1, CS5 | CSTOPB},
        {8, 0, 2, CS8 | CSTOPB},
        {7, 1, 2, CS7 | PARENB | PARODD | CSTOPB},
    };
    for (const Case& c : cases) {
        LineSettings line;
        line.dataBits = c.dataBits;
        line.parity = c.parity;
        line.stopBits = c.stopBits;
        unsigned int flags = others | previous;
        ASSERT_TRUE(ComposeCharacterFormat(line, flags)) << c.dataBits << c.parity << c.stopBits;
        EXPECT_EQ(flags, others | c.format) << c.dataBits << ' ' << c.parity << ' ' << c.stopBits;
    }
}

// Stored settings lose their high bytes in the link (StandInLinkTest checks that); a value with
// a high byte set reaching the device is no code, even when its low byte is one.
TEST(ComposeCharacterFormat, RefusesUnknownCodesAndChangesNothing) {
    struct Case {
        int dataBits, parity, stopBits;
    } cases[] = {{9, 0, 0},     {4, 0, 0},     {0, 0, 0},     {0x100, 0, 0}, {8, 3, 0},
                 {8, 4, 0},     {8, -1, 0},    {8, 0, 3},     {8, 0, 0xFF},  {0x108, 0, 0},
                 {8, 0x102, 0}, {8, 0, 0x200}, {0x7F07, 0x302, 0x101}};
    for (const Case& c : cases) {
        LineSettings line;
        line.dataBits = c.dataBits;
        line.parity = c.parity;
        line.stopBits = c.stopBits;
        unsigned int flags = CS8 | CREAD | CSTOPB;
        EXPECT_FALSE(ComposeCharacterFormat(line, flags));
        EXPECT_EQ(flags, static_cast<unsigned int>(CS8 | CREAD | CSTOPB));
    }
}

// ---- a stand-in device: scripted results, counted calls --------------------------------------

struct DeviceScript {
    // Results; set before the link is used.
    bool purgeOk = true;
    bool readStateOk = true;
    bool applyOk = true;
    bool writeOk = true;
    bool readFails = false;
    bool openFails = false;
    std::function<void()> insideRead;  // runs inside every Read, e.g. to block on a latch

    std::atomic<long> queued{0};  // -1: the device cannot tell

    std::atomic<int> created{0}, destroyed{0};
    std::atomic<int> purges{0}, stateReads{0}, applies{0}, queries{0}, reads{0}, writes{0};
    std::atomic<long long> lastLimitMs{-1};

    std::mutex mutex;  // guards what follows
    std::vector<size_t> readCounts;
    std::vector<std::string> openedPaths;
    std::vector<int> destroyedAtOpen;  // devices already destroyed when each open began
    LineSettings applied;
    std::string gone;  // what WhyGone answers
    int goneQueries = 0;
};

class StandInDevice : public SerialDevice {
public:
    explicit StandInDevice(std::shared_ptr<DeviceScript> script) : script_(std::move(script)) {
        ++script_->created;
    }
    ~StandInDevice() override { ++script_->destroyed; }

    bool Purge() override {
        ++script_->purges;
        if (!script_->purgeOk) errno = EIO;
        return script_->purgeOk;
    }
    bool ReadLineState() override {
        ++script_->stateReads;
        if (!script_->readStateOk) errno = EIO;
        return script_->readStateOk;
    }
    bool ApplyLineSettings(const LineSettings& settings) override {
        ++script_->applies;
        {
            std::lock_guard<std::mutex> lock(script_->mutex);
            script_->applied = settings;
        }
        if (!script_->applyOk) errno = ERANGE;
        return script_->applyOk;
    }
    long QueuedInputBytes() override {
        ++script_->queries;
        return script_->queued;
    }
    long Read(uint8_t* buffer, size_t count) override {
        ++script_->reads;
        {
            std::lock_guard<std::mutex> lock(script_->mutex);
            script_->readCounts.push_back(count);
        }
        if (script_->insideRead) script_->insideRead();
        if (script_->readFails) return -1;
        const long n = std::min(static_cast<long>(count), script_->queued.load());
        std::fill(buffer, buffer + n, uint8_t{0xA5});
        script_->queued -= n;
        return n;
    }
    bool Write(const uint8_t*, size_t, std::chrono::milliseconds limit) override {
        ++script_->writes;
        script_->lastLimitMs = limit.count();
        return script_->writeOk;
    }
    std::string WhyGone() override {
        std::lock_guard<std::mutex> lock(script_->mutex);
        ++script_->goneQueries;
        return script_->gone;
    }

private:
    std::shared_ptr<DeviceScript> script_;
};

SerialDeviceOpener StandInOpener(std::shared_ptr<DeviceScript> script) {
    return [script](const std::string& path, std::string& error) -> std::unique_ptr<SerialDevice> {
        {
            std::lock_guard<std::mutex> lock(script->mutex);
            script->openedPaths.push_back(path);
            script->destroyedAtOpen.push_back(script->destroyed);
        }
        if (script->openFails) {
            error = path + ": " + std::generic_category().message(ENOENT);
            return nullptr;
        }
        return std::make_unique<StandInDevice>(script);
    };
}

class StandInLinkTest : public ::testing::Test {
protected:
    // The built-in numbering (no ports folder): COM1 is /dev/ttyS0, never actually opened.
    SerialLink& Link() {
        if (!link_) {
            link_ = std::make_unique<SerialLink>(settings_, notifier_, PortResolverForFolder(""),
                                                 StandInOpener(script_));
        }
        return *link_;
    }

    std::shared_ptr<DeviceScript> script_ = std::make_shared<DeviceScript>();
    PortSettings settings_;
    RecordingNotifier notifier_;
    std::unique_ptr<SerialLink> link_;
    std::vector<uint8_t> buffer_ = std::vector<uint8_t>(SerialLink::kMaxRead);
};

TEST_F(StandInLinkTest, ReadsAtMost8192BytesPerCall) {
    ASSERT_TRUE(Link().OpenPort());
    script_->queued = 10000;
    EXPECT_EQ(Link().ReadAvailable(buffer_.data()), 8192u);
    EXPECT_EQ(Link().ReadAvailable(buffer_.data()), 1808u);
    EXPECT_EQ(Link().ReadAvailable(buffer_.data()), 0u);
    EXPECT_EQ(script_->readCounts, (std::vector<size_t>{8192, 1808}));
}

TEST_F(StandInLinkTest, NothingQueuedReturnsZeroWithoutReading) {
    ASSERT_TRUE(Link().OpenPort());
    for (long queued : {0L, -1L}) {  // -1: the device cannot tell, which counts as empty
        script_->queued = queued;
        EXPECT_EQ(Link().ReadAvailable(buffer_.data()), 0u);
    }
    EXPECT_EQ(script_->queries, 2);
    EXPECT_EQ(script_->reads, 0);
}

TEST_F(StandInLinkTest, OpenRunsTheStepsInOrderWithLowByteSettings) {
    settings_.PortNumber = 3;
    settings_.BaudRate = 250000;
    settings_.DataBits = 0x107;
    settings_.Parity = 0x102;
    settings_.StopBits = 0x200;
    ASSERT_TRUE(Link().OpenPort());
    EXPECT_EQ(script_->openedPaths, std::vector<std::string>{"/dev/ttyS2"});
    EXPECT_EQ(script_->purges, 1);
    EXPECT_EQ(script_->stateReads, 1);
    EXPECT_EQ(script_->applies, 1);
    EXPECT_EQ(script_->applied.baudRate, 250000);
    EXPECT_EQ(script_->applied.dataBits, 7);
    EXPECT_EQ(script_->applied.parity, 2);
    EXPECT_EQ(script_->applied.stopBits, 0);
    EXPECT_TRUE(notifier_.messages.empty());
    EXPECT_TRUE(Link().LastFailureDetail().empty());
}

TEST_F(StandInLinkTest, EachRefusedStepShowsItsMessageAndClosesTheLink) {
    struct Case {
        bool DeviceScript::*refused;
        const char* message;
        const char* detail;
        int purges, stateReads, applies;
    } cases[] = {
        {&DeviceScript::purgeOk, "Purge COM1 Err!", "purge: /dev/ttyS0: ", 1, 0, 0},
        {&DeviceScript::readStateOk, "Get Initial COM1 State Err!", "get state: /dev/ttyS0: ", 1, 1, 0},
        {&DeviceScript::applyOk, "Reset COM1 State Err!", "set state: /dev/ttyS0: ", 1, 1, 1},
    };
    for (const Case& c : cases) {
        script_ = std::make_shared<DeviceScript>();
        (*script_).*c.refused = false;
        link_.reset();
        notifier_.Clear();
        EXPECT_FALSE(Link().OpenPort());
        EXPECT_EQ(notifier_.messages, std::vector<std::string>{c.message});
        EXPECT_FALSE(Link().IsOpen());
        EXPECT_EQ(script_->created, 1);
        EXPECT_EQ(script_->destroyed, 1);
        EXPECT_EQ(script_->purges, c.purges);
        EXPECT_EQ(script_->stateReads, c.stateReads);
        EXPECT_EQ(script_->applies, c.applies);
        EXPECT_EQ(Link().LastFailureDetail().rfind(c.detail, 0), 0u) << Link().LastFailureDetail();
    }
}

TEST_F(StandInLinkTest, RefusedStepsCarryTheDevicesReason) {
    script_->applyOk = false;  // the stand-in says ERANGE, as the POSIX device does for a far-off rate
    EXPECT_FALSE(Link().OpenPort());
    EXPECT_EQ(Link().LastFailureDetail(),
              "set state: /dev/ttyS0: " + std::generic_category().message(ERANGE));
}

TEST_F(StandInLinkTest, OpenFailureNamesThePathAndReason) {
    script_->openFails = true;
    settings_.PortNumber = 12;
    EXPECT_FALSE(Link().OpenPort());
    EXPECT_EQ(notifier_.messages,
              std::vector<std::string>{"Open COM12 Err!\n/dev/ttyS11: " + std::generic_category().message(ENOENT)});
    EXPECT_EQ(Link().LastFailureDetail(),
              "open: /dev/ttyS11: " + std::generic_category().message(ENOENT));
    EXPECT_EQ(script_->created, 0);
    // A later success clears the detail.
    script_->openFails = false;
    EXPECT_TRUE(Link().OpenPort());
    EXPECT_TRUE(Link().LastFailureDetail().empty());
}

TEST_F(StandInLinkTest, PortZeroIsNeverOpened) {
    settings_.PortNumber = 0;
    EXPECT_FALSE(Link().OpenPort());
    EXPECT_EQ(notifier_.messages, std::vector<std::string>{"Open COM0 Err!\nCOM0: no such port"});
    EXPECT_EQ(Link().LastFailureDetail(), "open: COM0: no such port");
    EXPECT_TRUE(script_->openedPaths.empty());
}

TEST_F(StandInLinkTest, OpeningReleasesTheOldDeviceBeforeOpeningTheNew) {
    ASSERT_TRUE(Link().OpenPort());
    script_->openFails = true;
    EXPECT_FALSE(Link().OpenPort());
    EXPECT_EQ(script_->destroyedAtOpen, (std::vector<int>{0, 1}));
    EXPECT_FALSE(Link().IsOpen());
}

// A failed write, a failed read and a refused purge of a device that is still there: the call
// answers as the table says, the link stays open and shows no message, and once the device
// works again so does the call.
TEST_F(StandInLinkTest, AFailedWriteReadOrPurgeKeepsTheLinkOpenWithoutAMessage) {
    const uint8_t bytes[3] = {1, 2, 3};
    struct Case {
        const char* step;
        std::function<void(DeviceScript&, bool refuse)> script;
        std::function<long(SerialLink&)> call;  // what the call answered
        long whenRefused, whenWorking;
    } cases[] = {
        {"write: false, then true", [](DeviceScript& s, bool refuse) { s.writeOk = !refuse; },
         [&bytes](SerialLink& link) -> long { return link.WriteBytes(bytes, 3) ? 1 : 0; }, 0, 1},
        {"read: no bytes, then the queued ones",
         [](DeviceScript& s, bool refuse) {
             s.queued = 100;
             s.readFails = refuse;
         },
         [this](SerialLink& link) -> long { return static_cast<long>(link.ReadAvailable(buffer_.data())); }, 0, 100},
        {"purge: asked of the device either way, its answer not checked",
         [](DeviceScript& s, bool refuse) { s.purgeOk = !refuse; },
         [this](SerialLink& link) -> long {
             const int before = script_->purges;
             link.PurgePort();
             return script_->purges - before;
         },
         1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.step);
        script_ = std::make_shared<DeviceScript>();
        link_.reset();
        ASSERT_TRUE(Link().OpenPort());
        c.script(*script_, true);
        EXPECT_EQ(c.call(Link()), c.whenRefused);
        EXPECT_TRUE(Link().IsOpen());
        EXPECT_FALSE(Link().Lost());
        EXPECT_TRUE(notifier_.messages.empty());
        c.script(*script_, false);
        EXPECT_EQ(c.call(Link()), c.whenWorking);
    }
}

// Which failures mean a lost device: only those after which the device says it is gone.
TEST_F(StandInLinkTest, AFailedStepMarksTheLinkLostOnlyWhenTheDeviceIsGone) {
    struct Case {
        const char* step;
        std::function<void(DeviceScript&)> fail;
        std::function<void(SerialLink&)> call;
    };
    const auto read = [this](SerialLink& link) { EXPECT_EQ(link.ReadAvailable(buffer_.data()), 0u); };
    const auto write = [](SerialLink& link) {
        const uint8_t byte = 1;
        EXPECT_FALSE(link.WriteBytes(&byte, 1));
    };
    const Case cases[] = {
        {"queue unknown", [](DeviceScript& s) { s.queued = -1; }, read},
        {"read failed", [](DeviceScript& s) { s.queued = 5, s.readFails = true; }, read},
        {"write failed", [](DeviceScript& s) { s.writeOk = false; }, write},
    };
    for (const Case& c : cases) {
        for (const bool gone : {false, true}) {
            script_ = std::make_shared<DeviceScript>();
            link_.reset();
            ASSERT_TRUE(Link().OpenPort());
            c.fail(*script_);
            script_->gone = gone ? "the device hung up" : "";
            c.call(Link());
            EXPECT_EQ(script_->goneQueries, 1) << c.step;
            EXPECT_EQ(Link().Lost(), gone) << c.step;
            EXPECT_EQ(Link().LossReason(), script_->gone) << c.step;
            EXPECT_TRUE(Link().IsOpen()) << c.step;
            if (!gone) continue;
            // Lost: the device is not touched again until the link lets go of it.
            const int queries = script_->queries, reads = script_->reads, writes = script_->writes,
                      purges = script_->purges;
            read(Link());
            write(Link());
            Link().PurgePort();
            EXPECT_EQ(script_->queries, queries) << c.step;
            EXPECT_EQ(script_->reads, reads) << c.step;
            EXPECT_EQ(script_->writes, writes) << c.step;
            EXPECT_EQ(script_->purges, purges) << c.step;
        }
    }
    EXPECT_TRUE(notifier_.messages.empty());
}

// A quiet open (the rejoin of a lost device) uses the settings it is given and shows nothing.
TEST_F(StandInLinkTest, TryOpenPortShowsNoMessageAndUsesTheGivenSettings) {
    PortSettings other{4, 57600, 7, 1, 2};
    ASSERT_TRUE(Link().TryOpenPort(other));
    EXPECT_EQ(script_->openedPaths, std::vector<std::string>{"/dev/ttyS3"});
    EXPECT_EQ(script_->applied.baudRate, 57600);
    EXPECT_EQ(Link().OpenSettings(), other);

    script_->openFails = true;
    EXPECT_FALSE(Link().TryOpenPort(other));
    script_->openFails = false;
    script_->applyOk = false;
    EXPECT_FALSE(Link().TryOpenPort(other));
    EXPECT_TRUE(notifier_.messages.empty());
    EXPECT_EQ(Link().LastFailureDetail().rfind("set state: /dev/ttyS3: ", 0), 0u) << Link().LastFailureDetail();
    EXPECT_FALSE(Link().IsOpen());
}

// Opening does not keep its caller waiting for the line to settle; the first write does.
TEST_F(StandInLinkTest, TheFirstWriteWaitsForTheLineToSettle) {
    const auto opening = Clock::now();
    ASSERT_TRUE(Link().OpenPort());
    EXPECT_LT(Clock::now() - opening, SerialLink::kSettleTime / 2);
    const uint8_t byte = 7;
    ASSERT_TRUE(Link().WriteBytes(&byte, 1));
    EXPECT_GE(Clock::now() - opening, SerialLink::kSettleTime);
    const auto second = Clock::now();
    ASSERT_TRUE(Link().WriteBytes(&byte, 1));
    EXPECT_LT(Clock::now() - second, SerialLink::kSettleTime / 2);
}

// The write bound: at least one second, and four times the line time of the bytes at the open
// settings, so a slow line is never cut short and a stuck one never freezes the caller.
TEST_F(StandInLinkTest, WriteLimitScalesWithTheLineTime) {
    struct Case {
        int baud, dataBits, parity, stopBits;
        size_t count;
        long long atLeastMs;
    } cases[] = {
        {9600, 8, 0, 0, 1, 1000},             // a request byte: the one-second floor
        {625000, 8, 0, 0, 8192, 1000},        // 0.13 s of line time: still the floor
        {300, 8, 0, 0, 1000, 133334},         // 33.3 s of line time, times four
        {300, 7, 2, 2, 1000, 146667},         // 11 bits per character
        {300, 7, 0, 0, 1000, 133334},         // 9 bits on the line still count as 10
        {9600, 8, 0, 1, 9600, 44000},         // 1.5 stop bits counted as 2: 11 bits
        {115200, 8, 0, 0, 100000, 34723},
    };
    std::vector<uint8_t> bytes(100000);
    for (const Case& c : cases) {
        settings_.BaudRate = c.baud;
        settings_.DataBits = c.dataBits;
        settings_.Parity = c.parity;
        settings_.StopBits = c.stopBits;
        ASSERT_TRUE(Link().OpenPort());
        ASSERT_TRUE(Link().WriteBytes(bytes.data(), c.count));
        EXPECT_GE(script_->lastLimitMs, c.atLeastMs) << c.baud << " baud, " << c.count << " bytes";
        EXPECT_LE(script_->lastLimitMs, c.atLeastMs + 1) << c.baud << " baud, " << c.count << " bytes";
    }
}

TEST_F(StandInLinkTest, ClosedLinkTouchesNoDevice) {
    const uint8_t byte = 0;
    EXPECT_FALSE(Link().IsOpen());
    EXPECT_FALSE(Link().WriteBytes(&byte, 1));
    EXPECT_EQ(Link().ReadAvailable(buffer_.data()), 0u);
    Link().PurgePort();
    Link().ClosePort();
    Link().ClosePort();
    EXPECT_TRUE(notifier_.messages.empty());
    EXPECT_EQ(script_->created, 0);

    ASSERT_TRUE(Link().OpenPort());
    Link().ClosePort();
    Link().ClosePort();
    EXPECT_EQ(script_->destroyed, 1);
    EXPECT_FALSE(Link().WriteBytes(&byte, 1));
    EXPECT_EQ(script_->writes, 0);
    EXPECT_TRUE(notifier_.messages.empty());
}

TEST_F(StandInLinkTest, DestroyingTheLinkReleasesTheDevice) {
    ASSERT_TRUE(Link().OpenPort());
    link_.reset();
    EXPECT_EQ(script_->destroyed, 1);
}

// ClosePort from the user-interface thread while a timer tick is inside ReadAvailable: the
// device is released only after the read returns.
TEST_F(StandInLinkTest, ClosingWaitsForAReadInFlight) {
    std::promise<void> entered;
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    script_->insideRead = [&entered, released] {
        entered.set_value();
        released.wait();
    };
    ASSERT_TRUE(Link().OpenPort());
    script_->queued = 10;

    size_t got = 0;
    std::thread tick([&] { got = Link().ReadAvailable(buffer_.data()); });
    entered.get_future().wait();

    std::atomic<bool> closed{false};
    std::thread ui([&] {
        Link().ClosePort();
        closed = true;
    });
    std::this_thread::sleep_for(50ms);
    EXPECT_FALSE(closed);
    EXPECT_EQ(script_->destroyed, 0);

    release.set_value();
    ui.join();
    tick.join();
    EXPECT_TRUE(closed);
    EXPECT_EQ(script_->destroyed, 1);
    EXPECT_EQ(got, 10u);
    EXPECT_FALSE(Link().IsOpen());
}

// Ticks reading and writing while the port is opened and closed again and again: every call
// sees either an open device or none (ThreadSanitizer checks there is no race on the device).
TEST_F(StandInLinkTest, TicksRunSafelyWhileThePortReopens) {
    SerialLink& link = Link();
    std::atomic<bool> stop{false};
    std::atomic<long> bytesRead{0}, writesDone{0};
    script_->queued = 1L << 40;
    std::thread reader([&] {
        std::vector<uint8_t> buffer(SerialLink::kMaxRead);
        while (!stop) bytesRead += static_cast<long>(link.ReadAvailable(buffer.data()));
    });
    std::thread writer([&] {
        const uint8_t byte = 0x42;
        while (!stop) writesDone += link.WriteBytes(&byte, 1) ? 1 : 0;
    });
    for (int round = 0; round < 4; ++round) {
        ASSERT_TRUE(link.OpenPort());
        std::this_thread::sleep_for(5ms);
        link.ClosePort();
    }
    stop = true;
    reader.join();
    writer.join();
    EXPECT_GT(bytesRead, 0);
    EXPECT_GT(writesDone, 0);
    EXPECT_EQ(script_->created, 4);
    EXPECT_EQ(script_->destroyed, 4);
}

}  // namespace
}  // namespace ondrix
