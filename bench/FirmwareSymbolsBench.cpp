// Opening a real-size firmware: 20,000 globals of 2,000 struct types, each with nested members
// and arrays, compiled with the host's C compiler into a linked ELF file with DWARF, read and
// indexed as the "Firmware Variables" window does. Reported: the time per opening, the
// variables, types and paths it holds, and what one opening adds to a process at its peak
// (memory) and costs in all (CPU time).
//
// Goal on the 2-core development machine: under 40 MB and under 0.3 s of CPU.

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
#include "firmware/FirmwareVariableIndex.h"
#include "firmware/VariableParts.h"

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

double CpuSeconds(const rusage& usage) {
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

struct OpeningCost {
    double peakMegabytes = -1;
    double cpuSeconds = -1;
};

// What one opening adds to a process at its peak, in MB, and its CPU time: a child measures its
// resident memory before and its peak after, so that what it inherited does not count.
OpeningCost CostOfOneOpening(const std::string& image) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return {};
    const pid_t child = fork();
    if (child == 0) {
        close(pipeEnds[0]);
        const long before = ResidentKilobytes();
        rusage start{};
        getrusage(RUSAGE_SELF, &start);
        OpeningCost cost;
        try {
            const ondrix::FirmwareVariableIndex index(ondrix::ReadFirmwareSymbols(image));
            benchmark::DoNotOptimize(index.Size());
            rusage usage{};
            getrusage(RUSAGE_SELF, &usage);
            cost.peakMegabytes = static_cast<double>(usage.ru_maxrss - before) / 1024.0;  // kilobytes on Linux
            cost.cpuSeconds = CpuSeconds(usage) - CpuSeconds(start);
        } catch (...) {
        }
        const ssize_t written = write(pipeEnds[1], &cost, sizeof cost);
        _exit(written == sizeof cost ? 0 : 1);
    }
    close(pipeEnds[1]);
    OpeningCost cost;
    if (read(pipeEnds[0], &cost, sizeof cost) != sizeof cost) cost = {};
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return cost;
}

void BM_FirmwareSymbols_Open(benchmark::State& state) {
    const std::string& image = LargeFirmware();
    // Measured first, before the timed openings leave freed memory in this process for the
    // child to reuse.
    const OpeningCost cost = CostOfOneOpening(image);
    size_t variables = 0, types = 0;
    for (auto _ : state) {
        const ondrix::FirmwareVariableIndex index(ondrix::ReadFirmwareSymbols(image));
        variables = index.Size();
        types = index.Symbols().types.size();
        benchmark::DoNotOptimize(variables);
    }
    // Every path the firmware has, as --list writes them: made on demand, never held.
    size_t paths = 0;
    ondrix::ForEachPath(ondrix::ReadFirmwareSymbols(image), 64, [&paths](const ondrix::FirmwareVariable&) {
        return ++paths != 0;
    });
    state.counters["variables"] = static_cast<double>(variables);
    state.counters["types"] = static_cast<double>(types);
    state.counters["paths"] = static_cast<double>(paths);
    state.counters["peak_MB"] = cost.peakMegabytes;
    state.counters["cpu_s"] = cost.cpuSeconds;
}
BENCHMARK(BM_FirmwareSymbols_Open)->Name("BM_FirmwareSymbols/open_20000_variables")->Unit(benchmark::kMillisecond);

}  // namespace
