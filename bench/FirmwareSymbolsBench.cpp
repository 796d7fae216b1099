// Reading a real-size firmware's variables: 20,000 globals of 2,000 struct types, each with
// nested members and arrays, compiled with the host's C compiler into a linked ELF file with
// DWARF. Reported: the time per read, the entries listed, and the memory one read adds to a
// process at its peak.

#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "firmware/FirmwareSymbols.h"

namespace {

constexpr int kStructTypes = 2000;
constexpr int kVariables = 20000;

// The firmware file, built once per process in a folder of its own.
const std::string& LargeFirmware() {
    static const std::string path = [] {
        const std::filesystem::path folder =
            std::filesystem::temp_directory_path() / ("ondrix-bench-firmware-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder);
        const std::filesystem::path source = folder / "large.c";
        std::ofstream out(source);
        out << "#include <stdint.h>\n";
        for (int t = 0; t < kStructTypes; ++t) {
            out << "struct Device" << t << " { int16_t level; uint32_t flags; struct { int16_t a, b; } phase[3];"
                << " float gain" << t % 7 << "; uint8_t mode : 3; uint8_t armed : 1; int16_t history[8]; };\n";
        }
        for (int v = 0; v < kVariables; ++v) out << "struct Device" << v % kStructTypes << " device" << v << ";\n";
        out << "int main(void) { return 0; }\n";
        out.close();
        const std::filesystem::path image = folder / "large.elf";
        const std::string command = std::string(ONDRIX_HOST_C_COMPILER) + " -g -O0 -no-pie -o '" + image.string() +
                                    "' '" + source.string() + "'";
        if (std::system(command.c_str()) != 0) throw std::runtime_error("cannot compile " + source.string());
        return image.string();
    }();
    return path;
}

long ResidentKilobytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// What one read adds to a process at its peak, in MB: a child measures its resident memory
// before the read and its peak after, so that what it inherited does not count.
double PeakMegabytesOfOneRead(const std::string& image) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return -1;
    const pid_t child = fork();
    if (child == 0) {
        close(pipeEnds[0]);
        const long before = ResidentKilobytes();
        long added = -1;
        try {
            benchmark::DoNotOptimize(ondrix::ReadFirmwareSymbols(image));
            rusage usage{};
            getrusage(RUSAGE_SELF, &usage);
            added = usage.ru_maxrss - before;  // kilobytes on Linux
        } catch (...) {
        }
        const ssize_t written = write(pipeEnds[1], &added, sizeof added);
        _exit(written == sizeof added ? 0 : 1);
    }
    close(pipeEnds[1]);
    long added = -1;
    if (read(pipeEnds[0], &added, sizeof added) != sizeof added) added = -1;
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return added / 1024.0;
}

void BM_FirmwareSymbols_Read(benchmark::State& state) {
    const std::string& image = LargeFirmware();
    size_t entries = 0;
    for (auto _ : state) {
        const ondrix::FirmwareSymbols symbols = ondrix::ReadFirmwareSymbols(image);
        entries = symbols.variables.size();
        benchmark::DoNotOptimize(entries);
    }
    state.counters["entries"] = static_cast<double>(entries);
    state.counters["peak_MB"] = PeakMegabytesOfOneRead(image);
}
BENCHMARK(BM_FirmwareSymbols_Read)->Name("BM_FirmwareSymbols/read_20000_variables")->Unit(benchmark::kMillisecond);

}  // namespace
