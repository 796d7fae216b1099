// The "Firmware Variables" window's index and filter on a large firmware: 20,000 variables, a
// quarter of them of one of 2,000 struct types (7 scalars, an array of 4, an array of 3
// structs of 3 members), every 64th an array of 100 such structs; the rest 16-bit scalars.
// Written as the reader gives it (variables and types), so no compiler is needed.
//
// Goals on the 2-core development machine: the index built in well under 0.3 s (the whole
// reading's budget), and every keystroke of a typed filter answered in under 50 ms, tree
// included.
//   BM_FirmwareIndex/open            the index built from what the reader gives; "heap_MB" is
//                                    what it holds on the heap besides the reader's lists
//   BM_FirmwareFilter/keystroke      the index's matching alone
//   BM_FirmwareTreeFilter/keystroke  the same and the tree model rebuilt over it, as the window
//                                    does on each keystroke
//   BM_FirmwareTreeFilter/path       the same for a path typed character by character, which
//                                    tells elements apart by index
//   BM_FirmwareTreeOpen/array        a 100,000-row array opened: its rows made as a view makes them
// Each keystroke iteration types one more character of its text, so the time is one keystroke's.

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <memory>
#include <string>
#include <vector>

#include "firmware/FirmwareVariableIndex.h"
#include "workbench/FirmwareForm.h"

namespace ondrix {
namespace {

constexpr int kVariables = 20000;
constexpr int kStructTypes = 2000;
constexpr uint64_t kStructArray = 100;

class LargeFirmware {
public:
    LargeFirmware() {
        symbols_.fromDebugInfo = true;
        const TypeRef int16 = Add({"int16_t", VariableKind::SignedInteger, 2, {}, kNoType, 0, 0});
        const TypeRef history = Add({"int16_t[4]", VariableKind::Array, 8, {}, int16, 4, 2});
        const TypeRef phase = Add({"struct phase",
                                   VariableKind::Struct,
                                   6,
                                   {{"a", 0, int16}, {"b", 2, int16}, {"c", 4, int16}},
                                   kNoType,
                                   0,
                                   0});
        const TypeRef phases = Add({"struct phase[3]", VariableKind::Array, 18, {}, phase, 3, 6});
        static const char* const kMembers[] = {"current", "voltage", "speed", "position", "state", "errors", "limit"};
        std::vector<TypeRef> structs, arrays;
        for (int t = 0; t < kStructTypes; ++t) {
            FirmwareType type{"struct state_" + std::to_string(t), VariableKind::Struct, 0, {}, kNoType, 0, 0};
            for (const char* member : kMembers) {
                type.members.push_back({member, type.byteSize, int16});
                type.byteSize += 2;
            }
            type.members.push_back({"history", type.byteSize, history});
            type.byteSize += 8;
            type.members.push_back({"phase", type.byteSize, phases});
            type.byteSize += 18;
            const uint64_t size = type.byteSize;
            structs.push_back(Add(std::move(type)));
            arrays.push_back(Add({"struct state_" + std::to_string(t) + "[" + std::to_string(kStructArray) + "]",
                                  VariableKind::Array, size * kStructArray, {}, structs.back(), kStructArray, size}));
        }
        static const char* const kWords[] = {"motor", "axis", "sensor", "buffer", "filter", "control", "uart", "adc"};
        uint64_t address = 0x20000000;
        for (int v = 0; v < kVariables; ++v) {
            const std::string name = std::string(kWords[v % 8]) + "_" + kWords[(v / 8) % 8] + "_" + std::to_string(v);
            const TypeRef type = v % 64 == 0  ? arrays[v % kStructTypes]
                                 : v % 4 == 0 ? structs[v % kStructTypes]
                                              : int16;
            const FirmwareType& described = symbols_.types[type];
            symbols_.variables.push_back(
                {name, address, described.byteSize, described.name, described.kind, 0, 0, type, {}});
            address += described.byteSize;
        }
    }

    const FirmwareSymbols& Symbols() const { return symbols_; }
    std::shared_ptr<const FirmwareVariableIndex> Index() const {
        return std::make_shared<const FirmwareVariableIndex>(FirmwareSymbols(symbols_));
    }

private:
    TypeRef Add(FirmwareType type) {
        symbols_.types.push_back(std::move(type));
        return static_cast<TypeRef>(symbols_.types.size() - 1);
    }

    FirmwareSymbols symbols_;
};

const LargeFirmware& Firmware() {
    static const LargeFirmware firmware;
    return firmware;
}

void BM_FirmwareIndex(benchmark::State& state) {
    double heap = 0;
    for (auto _ : state) {
        state.PauseTiming();
        FirmwareSymbols symbols = Firmware().Symbols();
        const size_t before = mallinfo2().uordblks;
        state.ResumeTiming();
        const FirmwareVariableIndex index(std::move(symbols));
        state.PauseTiming();
        heap = static_cast<double>(mallinfo2().uordblks - before);
        state.ResumeTiming();
        benchmark::DoNotOptimize(index.Size());
    }
    state.counters["heap_MB"] = heap / 1e6;
}
BENCHMARK(BM_FirmwareIndex)->Name("BM_FirmwareIndex/open")->Unit(benchmark::kMillisecond);

void BM_FirmwareFilter(benchmark::State& state, const std::string& typed) {
    const auto index = Firmware().Index();
    size_t characters = 0;
    size_t matches = 0;
    for (auto _ : state) {
        characters = characters % typed.size() + 1;
        const VariableFilter filter = index->Filter(typed.substr(0, characters));
        matches += filter.Matches().size();
        benchmark::DoNotOptimize(filter.TopLevel().data());
    }
    state.counters["variables"] = static_cast<double>(index->Size());
    state.counters["matches"] = benchmark::Counter(static_cast<double>(matches), benchmark::Counter::kAvgIterations);
}
BENCHMARK_CAPTURE(BM_FirmwareFilter, keystroke, std::string("axis current"))
    ->Name("BM_FirmwareFilter/keystroke")
    ->Unit(benchmark::kMillisecond);

void BM_FirmwareTreeFilter(benchmark::State& state, const std::string& typed) {
    TVariableTreeModel model;
    model.SetIndex(Firmware().Index());
    size_t characters = 0;
    for (auto _ : state) {
        characters = characters % typed.size() + 1;
        benchmark::DoNotOptimize(model.SetFilter(typed.substr(0, characters)));
    }
}
BENCHMARK_CAPTURE(BM_FirmwareTreeFilter, keystroke, std::string("axis current"))
    ->Name("BM_FirmwareTreeFilter/keystroke")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FirmwareTreeFilter, path, std::string("motor_motor_0[42].phase[2].b"))
    ->Name("BM_FirmwareTreeFilter/path")
    ->Unit(benchmark::kMillisecond);

// An array of 100,000 structs opened as a view opens it: every row's index, and whether it has
// rows of its own.
void BM_FirmwareTreeOpen(benchmark::State& state) {
    LargeFirmware firmware;
    FirmwareSymbols symbols = firmware.Symbols();
    const TypeRef element = symbols.variables[0].type;
    const FirmwareType& array = symbols.types[element];
    symbols.types.push_back(
        {"struct big[100000]", VariableKind::Array, array.byteSize * 1000, {}, array.element, 100000, array.stride});
    symbols.variables[0].type = static_cast<TypeRef>(symbols.types.size() - 1);
    TVariableTreeModel model;
    model.SetIndex(std::make_shared<const FirmwareVariableIndex>(std::move(symbols)));
    for (auto _ : state) {
        model.SetFilter("");
        const QModelIndex top = model.index(0, 0);
        const int rows = model.rowCount(top);
        for (int row = 0; row < rows; ++row) benchmark::DoNotOptimize(model.hasChildren(model.index(row, 0, top)));
    }
    state.counters["rows"] = static_cast<double>(model.RowsMade());
}
BENCHMARK(BM_FirmwareTreeOpen)->Name("BM_FirmwareTreeOpen/array")->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace ondrix
