#include "MemoryMap.h"

#include <cmath>

namespace ondrix::mpusim {

namespace {

constexpr double kPi = 3.14159265358979323846;

int16_t Rounded(double value) { return static_cast<int16_t>(std::lround(value)); }

// Low 16 bits of a counter, as a 16-bit variable on the MPU would hold it.
int16_t Wrapped(uint64_t count) { return static_cast<int16_t>(static_cast<uint16_t>(count & 0xFFFF)); }

int16_t Sine(uint64_t k) { return Rounded(20000 * std::sin(2 * kPi * static_cast<double>(k % 1000) / 1000)); }

int16_t Cosine(uint64_t k) { return Rounded(20000 * std::cos(2 * kPi * static_cast<double>(k % 1000) / 1000)); }

int16_t Triangle(uint64_t k) {
    const auto t = static_cast<int32_t>((k + 250) % 1000);
    return static_cast<int16_t>(t < 500 ? 80 * t - 20000 : 60000 - 80 * t);
}

int16_t Square(uint64_t k) { return k % 1000 < 500 ? 15000 : -15000; }

int16_t Sawtooth(uint64_t k) { return static_cast<int16_t>(80 * static_cast<int32_t>(k % 500) - 20000); }

// A stateless hash rather than a generator, so that the value at k does not depend on how
// many periods were run or skipped before it.
uint64_t SplitMix64(uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

int16_t Noise(uint64_t k) { return static_cast<int16_t>(static_cast<int32_t>(SplitMix64(k) % 20001) - 10000); }

int16_t Damped(uint64_t k) {
    const auto t = static_cast<double>(k % 2000);
    return Rounded(30000 * std::exp(-t / 400) * std::cos(2 * kPi * t / 100));
}

}  // namespace

MemoryMap::MemoryMap() {
    Store(kConstantOneAddress, 1);
    Store(kConstantMinusOneAddress, -1);
    Store(kConstant256Address, 256);
    Store(kConstant4660Address, 0x1234);
    Store(kConstantMaxAddress, 32767);
    Store(kConstantMinAddress, -32768);
    Update(0);
}

void MemoryMap::Update(uint64_t k) {
    Store(kSineAddress, Sine(k));
    Store(kCosineAddress, Cosine(k));
    Store(kTriangleAddress, Triangle(k));
    Store(kSquareAddress, Square(k));
    Store(kSawtoothAddress, Sawtooth(k));
    Store(kNoiseAddress, Noise(k));
    Store(kDampedAddress, Damped(k));
    Store(kSlowCounterAddress, Wrapped(k / 100));
    Store(kSampleCounterAddress, Wrapped(k));
}

uint8_t MemoryMap::ReadByte(uint32_t address) const {
    // Unsigned wrap-around makes addresses below the base land far past the end.
    const uint32_t offset = address - kRamBase;
    return offset < kRamSize ? ram_[offset] : 0;
}

uint16_t MemoryMap::ReadWord(uint32_t address) const {
    // address + 1 wraps from 0xFFFFFFFF to 0, as a 32-bit address bus does.
    return static_cast<uint16_t>(ReadByte(address) | ReadByte(address + 1) << 8);
}

void MemoryMap::Store(uint32_t address, int16_t value) {
    const auto word = static_cast<uint16_t>(value);
    ram_[address - kRamBase] = static_cast<uint8_t>(word & 0xFF);
    ram_[address - kRamBase + 1] = static_cast<uint8_t>(word >> 8);
}

}  // namespace ondrix::mpusim
