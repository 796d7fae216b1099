#pragma once
// The virtual MPU's memory: a small RAM block of 16-bit variables that the scope can watch.
//
// Every variable is a function of the monitor count k, the number of monitoring periods since
// the MPU started (k = 0 for the first frame); the MPU brings them up to date at the start of
// each period, before it reads the requested words. Nothing is random: the same k always gives
// the same value, so a test can predict every frame.
//
// | Address    | Variable       | Value at monitor count k                                         |
// |------------|----------------|------------------------------------------------------------------|
// | 0x20000000 | sine           | round(20000 * sin(2 pi k / 1000))                                |
// | 0x20000002 | cosine         | round(20000 * cos(2 pi k / 1000)): an X-Y circle with the sine   |
// | 0x20000004 | triangle       | t = (k + 250) mod 1000: t < 500 ? 80 t - 20000 : 60000 - 80 t    |
// |            |                | (in phase with the sine, -20000..20000)                          |
// | 0x20000006 | square         | k mod 1000 < 500 ? 15000 : -15000 (in phase with the sine)       |
// | 0x20000008 | sawtooth       | 80 * (k mod 500) - 20000: rises to 19920, drops, period 500      |
// | 0x2000000A | noise          | splitmix64(k) mod 20001 - 10000: uniform in -10000..10000        |
// | 0x2000000C | damped         | t = k mod 2000: round(30000 * exp(-t / 400) * cos(2 pi t / 100)) |
// |            |                | (restarts at 30000 every 2000 periods)                           |
// | 0x2000000E | slow counter   | k / 100 (integer division), 16 bits, wraps                       |
// | 0x20000010 | sample counter | k, 16 bits, wraps: a gap in it shows a lost frame                |
// | 0x20000012 | constant       | 0x0001 (1)                                                       |
// | 0x20000014 | constant       | 0xFFFF (-1)                                                      |
// | 0x20000016 | constant       | 0x0100 (256)                                                     |
// | 0x20000018 | constant       | 0x1234 (4660)                                                    |
// | 0x2000001A | constant       | 0x7FFF (32767)                                                   |
// | 0x2000001C | constant       | 0x8000 (-32768)                                                  |
//
// Each value is stored little-endian, as the scope reads it (signed two's complement). Every
// other address reads 0. A word is read byte by byte, so a word at an odd address is the high
// byte of one variable and the low byte of the next, as on a real MPU.

#include <array>
#include <cstddef>
#include <cstdint>

#include "acquisition/ChannelAddress.h"

namespace ondrix::mpusim {

constexpr uint32_t kRamBase = 0x20000000;

constexpr uint32_t kSineAddress = kRamBase + 0x00;
constexpr uint32_t kCosineAddress = kRamBase + 0x02;
constexpr uint32_t kTriangleAddress = kRamBase + 0x04;
constexpr uint32_t kSquareAddress = kRamBase + 0x06;
constexpr uint32_t kSawtoothAddress = kRamBase + 0x08;
constexpr uint32_t kNoiseAddress = kRamBase + 0x0A;
constexpr uint32_t kDampedAddress = kRamBase + 0x0C;
constexpr uint32_t kSlowCounterAddress = kRamBase + 0x0E;
constexpr uint32_t kSampleCounterAddress = kRamBase + 0x10;
constexpr uint32_t kConstantOneAddress = kRamBase + 0x12;
constexpr uint32_t kConstantMinusOneAddress = kRamBase + 0x14;
constexpr uint32_t kConstant256Address = kRamBase + 0x16;
constexpr uint32_t kConstant4660Address = kRamBase + 0x18;
constexpr uint32_t kConstantMaxAddress = kRamBase + 0x1A;
constexpr uint32_t kConstantMinAddress = kRamBase + 0x1C;

constexpr size_t kRamSize = 0x1E;

// The scope starts with these four (see acquisition/ChannelAddress.h); they must name the
// variables that make a good first picture.
using ondrix::kDemoAddresses;
static_assert(kDemoAddresses[0] == kSineAddress && kDemoAddresses[1] == kTriangleAddress &&
                  kDemoAddresses[2] == kSquareAddress && kDemoAddresses[3] == kDampedAddress,
              "the scope's first picture is sine, triangle, square and damped oscillation");

class MemoryMap {
public:
    // Constants in place, waveforms at k = 0.
    MemoryMap();

    // Brings every variable to its value at monitor count k.
    void Update(uint64_t k);

    // Unmapped bytes read 0.
    uint8_t ReadByte(uint32_t address) const;
    // The bytes at `address` and `address` + 1, low byte first; any address, aligned or not.
    uint16_t ReadWord(uint32_t address) const;

private:
    void Store(uint32_t address, int16_t value);

    std::array<uint8_t, kRamSize> ram_{};
};

}  // namespace ondrix::mpusim
