// Cortex-M3 firmwares built at test time with the ARM cross compiler, in the shapes real projects
// build them in, listed by `ondrix-capture --list` and held against gdb reading the same file:
// every row with an address must be where gdb puts that expression, as large as gdb says, and of
// the same kind. gdb reads the same debug information, so it cannot see a variable the linker
// threw away while its description stayed behind; the symbol table can, so each listed variable
// must also have a symbol of its address and size, and the variables a build is known to drop
// must not be listed at all.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "ChildProcess.h"
#include "TemporaryFolder.h"

namespace ondrix {
namespace {

namespace fs = std::filesystem;

const fs::path kSources = ONDRIX_ARM_FIRMWARE;
const char* const kTarget = "-mcpu=cortex-m3 -mthumb";
const char* const kCxxFlags = "-std=c++17 -fno-exceptions -fno-rtti -fno-threadsafe-statics";

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

// As --list writes an address.
std::string Hex(uint64_t value) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%08llX", static_cast<unsigned long long>(value));
    return text;
}

std::string Lines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += "  " + line + "\n";
    return text;
}

// One source file of a firmware: under tests/firmware/arm, or written by the test itself.
struct Unit {
    Unit(const char* file, const char* flags = "") : file(file), flags(flags) {}
    std::string file;
    std::string flags;  // on top of the shape's
};

// How one firmware is built, and what its listing must hold beyond agreeing with gdb.
struct Shape {
    Shape(std::string name, std::string flags, std::vector<Unit> units)
        : name(std::move(name)), flags(std::move(flags)), units(std::move(units)) {}
    Shape& Linked(std::string extra) { return linkFlags = std::move(extra), *this; }
    Shape& Lists(std::vector<std::string> paths) { return listed = std::move(paths), *this; }
    Shape& Drops(std::vector<std::string> names) { return dropped = std::move(names), *this; }
    Shape& Packs(std::vector<std::pair<std::string, std::string>> pairs) { return adjacent = std::move(pairs), *this; }
    Shape& Carries(std::vector<std::string> names) { return sections = std::move(names), *this; }
    Shape& Generates(std::function<std::string()> text) { return generated = std::move(text), *this; }
    Shape& Stripped() { return stripped = true, *this; }

    std::string name;
    std::string flags;  // for every unit, the start-up code and the link
    std::vector<Unit> units;
    std::string linkFlags;
    std::vector<std::string> listed;   // paths that must be listed with an address
    std::vector<std::string> dropped;  // variables the linker removed: no row may name them
    std::vector<std::pair<std::string, std::string>> adjacent;  // the second starts where the first ends
    std::vector<std::string> sections;  // without them in the image the shape would prove nothing
    std::function<std::string()> generated;  // the text of the one unit the test writes
    bool stripped = false;
};

// gtest names the failing firmware by this rather than by the bytes of the struct.
void PrintTo(const Shape& shape, std::ostream* out) { *out << shape.name; }

// A typedef chain longer and a struct nesting deeper than any hand-written firmware has: a
// reader that follows either by recursion runs out of stack long before the end.
std::string DeepTypes() {
    constexpr int kTypedefs = 20000;
    constexpr int kNesting = 3000;
    std::ostringstream text;
    text << "#include <stdint.h>\n\ntypedef uint32_t level0;\n";
    for (int i = 1; i < kTypedefs; ++i) text << "typedef level" << i - 1 << " level" << i << ";\n";
    text << "level" << kTypedefs - 1 << " deep_typedef = 7;\n\n";
    text << "struct nest0 { uint16_t value; };\n";
    for (int i = 1; i < kNesting; ++i)
        text << "struct nest" << i << " { uint8_t tag; struct nest" << i - 1 << " inner; };\n";
    text << "struct nest" << kNesting - 1 << " deep_struct;\n\n"
         << "int main(void) { return (int)deep_typedef + deep_struct.tag + deep_struct.inner.inner.tag; }\n";
    return text.str();
}

const std::vector<Shape>& Shapes() {
    static const std::vector<Shape> shapes = {
        Shape("PlainDebug", "-O0 -g", {{"layout.c"}, {"tick.c"}})
            .Lists({"motor[1].current.a", "motor[2].flags.level", "board.motor[1].history[3]",
                    "board.status.half.high", "board.raw", "board.gain", "control_register.bytes[3]", "mode",
                    "big_buf[0]", "big_buf[9999]", "matrix[2][4]", "lookup[1][2][3]", "calibration[3]",
                    "selected_motor", "banner[11]", "tick::counter", "filter::state[1]"})
            .Packs({{"motor[0]", "motor[1]"}, {"big_buf[9998]", "big_buf[9999]"}, {"matrix[0]", "matrix[1]"}}),
        Shape("GcSections", "-Os -g -ffunction-sections -fdata-sections", {{"trimmed.c"}})
            .Linked("-Wl,--gc-sections")
            .Lists({"kept_counter", "kept_table[3]", "kept_settings.trim[2]", "kept_flags",
                    "kept_function::kept_local"})
            .Drops({"dropped_counter", "dropped_table", "dropped_settings", "dropped_file_static", "dropped_local"}),
        Shape("NoDebugWithLibgccSoftFloat", "-O0", {{"soft_float.c"}})
            .Lists({"gain", "offset", "samples", "integral", "overflow_count", "coefficients"})
            .Carries({".debug_info"}),
        Shape("DebugInOneFileOnly", "-O0", {{"logged.c", "-g"}, {"unlogged.c"}})
            .Lists({"last_reading.channel", "logged_total", "logged_history[5]", "vendor_state", "vendor_mode",
                    "vendor_calls"}),
        Shape("SplitDwarf", "-O0 -g -gsplit-dwarf", {{"tick.c"}, {"motor.cpp"}})
            .Lists({"tick::counter", "tick::recent.samples[3]", "filter::state[0]", "ctl::Motor::instances",
                    "ctl::drive.position_", "ctl::Motor::step()::count", "ctl::Motor::step()::limits.high",
                    "ctl::sample(unsigned long)::last[2]"}),
        Shape("TypeUnits", "-O0 -g -gdwarf-4 -fdebug-types-section", {{"sensors.cpp"}})
            .Lists({"io::sensors[1]", "io::sensors[1].calibration.offset", "io::sensors[3].valid",
                    "io::sensors[2].unit", "io::board_temperature.channel", "io::board_temperature.ambient",
                    "io::Sensor::created", "io::Bus::selected", "io::Bus::transfers[1]"})
            .Packs({{"io::sensors[0]", "io::sensors[1]"}, {"io::sensors[2]", "io::sensors[3]"}})
            .Carries({".debug_types"}),
        Shape("LinkTimeOptimised", "-Os -g -flto", {{"layout.c"}, {"tick.c"}})
            .Lists({"motor[1].current.a", "board.gain", "big_buf[9999]", "tick_count", "tick::counter",
                    "filter::state[1]"})
            .Packs({{"big_buf[0]", "big_buf[1]"}}),
        Shape("FunctionStatics", "-O0 -g", {{"tick.c"}, {"motor.cpp"}})
            .Lists({"tick::counter", "tick::recent.next", "filter::state[1]", "ctl::sample(unsigned long)::total",
                    "ctl::sample(unsigned long)::last[1]", "ctl::Motor::step()::count",
                    "ctl::Motor::step()::limits.high"}),
        Shape("SameNamedStatics", "-O0 -g", {{"left.c"}, {"right.c"}})
            .Lists({"'left.c'::errors", "'right.c'::errors", "'left.c'::config.timeout",
                    "'right.c'::config.channel"}),
        Shape("DeepTypeChains", "-O0 -g", {{"deep.c"}})
            .Generates(DeepTypes)
            .Lists({"deep_typedef", "deep_struct", "deep_struct.inner.tag"}),
        Shape("Stripped", "-O0 -g", {{"layout.c"}, {"tick.c"}}).Stripped(),
    };
    return shapes;
}

// ---------------------------------------------------------------------------------------------
// The tools

struct Tools {
    std::string gcc, gxx, nm, strip, readelf, gdb;
};

std::optional<Tools> FindTools(std::string& missing) {
    Tools tools;
    const std::pair<std::string*, const char*> wanted[] = {
        {&tools.gcc, "arm-none-eabi-gcc"},   {&tools.gxx, "arm-none-eabi-g++"},
        {&tools.nm, "arm-none-eabi-nm"},     {&tools.strip, "arm-none-eabi-strip"},
        {&tools.readelf, "arm-none-eabi-readelf"}, {&tools.gdb, "gdb-multiarch"},
    };
    for (const auto& [where, name] : wanted) {
        const std::optional<std::string> found = test::FindProgram(name);
        if (!found) missing += std::string(missing.empty() ? "" : ", ") + name;
        else *where = *found;
    }
    if (!missing.empty()) return std::nullopt;
    return tools;
}

struct Finished {
    int exitCode = -1;
    std::string out, err;
};

// Runs a shell command with its output and errors in files of `folder` named after `name`.
Finished Shell(const std::string& command, const fs::path& folder, const std::string& name) {
    const fs::path out = folder / (name + ".out");
    const fs::path err = folder / (name + ".err");
    const int status = std::system((command + " >" + Quoted(out.string()) + " 2>" + Quoted(err.string())).c_str());
    return {test::ExitCode(status), test::ReadFile(out), test::ReadFile(err)};
}

// Builds `shape` in `folder`; answers the ELF file, or nullopt with the compiler's words in
// `error`. Each unit is compiled from the folder it is in, by its bare name, as a project's
// build does: file-local names then read 'left.c'::errors in the listing and in gdb alike.
std::optional<fs::path> Build(const Shape& shape, const Tools& tools, const fs::path& folder, std::string& error) {
    std::vector<Unit> units = shape.units;
    units.insert(units.begin(), Unit{"startup.c"});
    std::string objects;
    for (const Unit& unit : units) {
        fs::path where = kSources;
        if (shape.generated && unit.file != "startup.c") {
            where = folder;
            std::ofstream(folder / unit.file) << shape.generated();
        }
        const bool cxx = fs::path(unit.file).extension() == ".cpp";
        const fs::path object = folder / fs::path(unit.file).replace_extension(".o");
        const std::string command = "cd " + Quoted(where.string()) + " && " + Quoted(cxx ? tools.gxx : tools.gcc) +
                                    " " + kTarget + " " + shape.flags + " " + unit.flags + " " +
                                    (cxx ? kCxxFlags : "") + " -c " + unit.file + " -o " + Quoted(object.string());
        const Finished compiled = Shell(command, folder, "compile-" + unit.file);
        if (compiled.exitCode != 0) {
            error = command + "\n" + compiled.out + compiled.err;
            return std::nullopt;
        }
        objects += " " + Quoted(object.string());
    }
    // The C compiler links the C++ units too: they need nothing from the C++ library.
    const fs::path image = folder / (shape.name + ".elf");
    std::string command = Quoted(tools.gcc) + " " + kTarget + " " + shape.flags + " -nostartfiles -T " +
                          Quoted((kSources / "cortex_m3.ld").string()) + " " + shape.linkFlags + " -o " +
                          Quoted(image.string()) + objects;
    if (shape.stripped) command += " && " + Quoted(tools.strip) + " -s " + Quoted(image.string());
    const Finished linked = Shell(command, folder, "link");
    if (linked.exitCode != 0) {
        error = command + "\n" + linked.out + linked.err;
        return std::nullopt;
    }
    return image;
}

struct Symbol {
    std::string name;
    uint64_t address;
    std::optional<uint64_t> size;
};

std::vector<Symbol> Symbols(const Tools& tools, const fs::path& image, const fs::path& folder) {
    std::vector<Symbol> symbols;
    std::istringstream lines(
        Shell(Quoted(tools.nm) + " -S --defined-only " + Quoted(image.string()), folder, "nm").out);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        std::vector<std::string> words;
        for (std::string word; fields >> word;) words.push_back(word);
        if (words.size() == 4)
            symbols.push_back({words[3], std::stoull(words[0], nullptr, 16), std::stoull(words[1], nullptr, 16)});
        else if (words.size() == 3)
            symbols.push_back({words[2], std::stoull(words[0], nullptr, 16), std::nullopt});
    }
    return symbols;
}

// ---------------------------------------------------------------------------------------------
// The listing

struct Row {
    std::string path;
    std::optional<uint64_t> address;
    uint64_t byteSize = 0;
    std::string typeName;
    std::string kind;

    std::string Listed() const {
        return (address ? Hex(*address) : "-") + " " + std::to_string(byteSize) + " " +
               (kind.empty() ? "(no kind)" : kind);
    }
};

// Every line in the form --list promises; the lines that are not go to `malformed`.
std::vector<Row> ParseListing(const std::string& text, std::vector<std::string>& malformed) {
    const auto digits = [](const std::string& text, size_t from, bool hex) {
        return text.size() > from && std::all_of(text.begin() + from, text.end(), [hex](char c) {
                   return (c >= '0' && c <= '9') || (hex && c >= 'A' && c <= 'F');
               });
    };
    const auto isAddress = [&digits](const std::string& text) {
        return text == "-" || (text.size() == 10 && text.compare(0, 2, "0x") == 0 && digits(text, 2, true));
    };
    static const std::set<std::string> kinds = {"signed", "unsigned", "float", "pointer", "enum", "struct",
                                                "union",  "array",    "bit field", ""};
    std::vector<Row> rows;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string> fields;
        std::istringstream parts(line);
        for (std::string field; std::getline(parts, field, '\t');) fields.push_back(field);
        if (!line.empty() && line.back() == '\t') fields.emplace_back();
        const bool wellFormed = fields.size() == 5 && !fields[0].empty() && isAddress(fields[1]) &&
                                digits(fields[2], 0, false) && kinds.count(fields[4]) != 0;
        if (!wellFormed) {
            malformed.push_back(line);
            continue;
        }
        Row row{fields[0], std::nullopt, std::stoull(fields[2]), fields[3], fields[4]};
        if (fields[1] != "-") row.address = std::stoull(fields[1], nullptr, 16);
        rows.push_back(row);
    }
    return rows;
}

// The variable a path starts from: up to its first member or element, reading past the dots and
// brackets of a file name in quotes and of a C++ function's parameters.
std::string RootOf(const std::string& path) {
    bool quoted = false;
    int depth = 0;
    for (size_t i = 0; i < path.size(); ++i) {
        const char c = path[i];
        if (c == '\'') quoted = !quoted;
        else if (!quoted && c == '(') ++depth;
        else if (!quoted && c == ')') --depth;
        else if (!quoted && depth == 0 && (c == '.' || c == '[')) return path.substr(0, i);
    }
    return path;
}

bool NamesIdentifier(const std::string& path, const std::string& name) {
    static const std::regex identifier("[A-Za-z_][A-Za-z_0-9]*");
    for (std::sregex_iterator it(path.begin(), path.end(), identifier), end; it != end; ++it)
        if (it->str() == name) return true;
    return false;
}

// ---------------------------------------------------------------------------------------------
// The oracle

// The name without the 'file.c':: that tells same-named statics apart.
std::string BareName(const std::string& path) {
    if (path.empty() || path.front() != '\'') return path;
    const size_t scope = path.find("'::", 1);
    return scope == std::string::npos ? path : path.substr(scope + 3);
}

// A row known only from the symbol table has no type for gdb to check against.
bool SymbolOnly(const Row& row) { return row.kind.empty() && row.typeName.empty(); }

// The row's path as gdb's parser takes it. gdb finds a C++ function's static only by the quoted
// name of its symbol, 'ctl::Motor::step()::count' (typed once the language is C++), with any
// members after the quotes.
std::string GdbExpression(const Row& row) {
    if (SymbolOnly(row)) return row.path.front() == '\'' ? row.path : Quoted(row.path);
    const std::string root = RootOf(row.path);
    if (root.find(")::") != std::string::npos) return Quoted(root) + row.path.substr(root.size());
    return row.path;
}

struct Answer {
    bool ok = false;
    uint64_t address = 0;
    std::optional<uint64_t> size;
    std::string kind;  // "?" where gdb's type has no counterpart among the listed kinds
    std::string error;
};

// Asks one gdb for all of `rows`: one process per firmware keeps ten thousand rows in a second.
std::optional<std::vector<Answer>> AskGdb(const Tools& tools, const fs::path& image, const fs::path& folder,
                                          const std::vector<const Row*>& rows, bool cxx, std::string& error) {
    const fs::path requests = folder / "gdb-requests";
    const fs::path answers = folder / "gdb-answers";
    {
        std::ofstream out(requests);
        for (const Row* row : rows)
            out << (SymbolOnly(*row) ? "symbol" : "value") << '\t' << GdbExpression(*row) << '\n';
    }
    const std::string command = "ONDRIX_ORACLE_IN=" + Quoted(requests.string()) +
                                " ONDRIX_ORACLE_OUT=" + Quoted(answers.string()) + " " + Quoted(tools.gdb) +
                                " -nx -q -batch -iex 'set debuginfod enabled off'" +
                                (cxx ? " -ex 'set language c++'" : "") + " -x " +
                                Quoted((kSources / "gdb_oracle.py").string()) + " " + Quoted(image.string());
    const Finished gdb = Shell(command, folder, "gdb");
    std::vector<Answer> result;
    std::istringstream lines(test::ReadFile(answers));
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string> fields;
        std::istringstream parts(line);
        for (std::string field; std::getline(parts, field, '\t');) fields.push_back(field);
        Answer answer;
        if (fields.size() == 4 && fields[0] == "ok") {
            answer.ok = true;
            answer.address = std::stoull(fields[1], nullptr, 16);
            if (fields[2] != "-") answer.size = std::stoull(fields[2]);
            answer.kind = fields[3];
        } else {
            answer.error = fields.size() > 1 ? fields[1] : line;
        }
        result.push_back(answer);
    }
    if (gdb.exitCode != 0 || result.size() != rows.size()) {
        error = command + "\nexit " + std::to_string(gdb.exitCode) + ", " + std::to_string(result.size()) +
                " answers to " + std::to_string(rows.size()) + " questions\n" + gdb.out + gdb.err;
        return std::nullopt;
    }
    return result;
}

struct Mismatch {
    std::string path, listed, oracle;
};

std::string Table(const std::vector<Mismatch>& mismatches) {
    size_t pathWidth = 4;
    size_t listedWidth = 6;
    for (const Mismatch& m : mismatches) {
        pathWidth = std::max(pathWidth, m.path.size());
        listedWidth = std::max(listedWidth, m.listed.size());
    }
    const auto line = [&](const std::string& path, const std::string& listed, const std::string& oracle) {
        return path + std::string(pathWidth - path.size() + 2, ' ') + listed +
               std::string(listedWidth - listed.size() + 2, ' ') + oracle + "\n";
    };
    std::string text = "rows that disagree (" + std::to_string(mismatches.size()) + "):\n";
    text += line("path", "listed", "gdb / symbol table");
    for (const Mismatch& m : mismatches) text += line(m.path, m.listed, m.oracle);
    return text;
}

// ---------------------------------------------------------------------------------------------

class FirmwareGdbOracle : public ::testing::TestWithParam<Shape> {};

TEST_P(FirmwareGdbOracle, ListsWhatGdbAndTheSymbolTableSee) {
    const Shape& shape = GetParam();
    std::string missing;
    const std::optional<Tools> tools = FindTools(missing);
    if (!tools)
        GTEST_SKIP() << "needs " << missing
                     << " (Debian: gcc-arm-none-eabi, libnewlib-arm-none-eabi, gdb-multiarch)";

    const test::TemporaryFolder folder;
    std::string error;
    const std::optional<fs::path> image = Build(shape, *tools, folder.Path(), error);
    ASSERT_TRUE(image) << error;

    // The fixture itself: without these the row would pass for the wrong reason.
    const std::vector<Symbol> symbols = Symbols(*tools, *image, folder.Path());
    for (const std::string& name : shape.dropped)
        for (const Symbol& symbol : symbols)
            ASSERT_FALSE(symbol.name == name || symbol.name.rfind(name + ".", 0) == 0)
                << "the linker kept " << symbol.name << ", which this firmware is meant to lose";
    if (!shape.sections.empty()) {
        const std::string headers = Shell(Quoted(tools->readelf) + " -S -W " + Quoted(image->string()),
                                          folder.Path(), "sections").out;
        for (const std::string& section : shape.sections)
            ASSERT_NE(headers.find(" " + section + " "), std::string::npos) << "the firmware has no " << section;
    }

    const Finished listing = Shell(std::string("timeout 60 ") + Quoted(ONDRIX_CAPTURE_PROGRAM) + " --elf " +
                                  Quoted(image->string()) + " --list",
                              folder.Path(), "list");
    if (shape.stripped) {
        // Nothing to list is an error of the file, not an empty firmware.
        EXPECT_NE(listing.exitCode, 0) << "listed:\n" << listing.out;
        EXPECT_LT(listing.exitCode, 124) << "crashed or hung (exit " << listing.exitCode << ")\n" << listing.err;
        EXPECT_NE(listing.err.find("ondrix-capture"), std::string::npos) << "no message: '" << listing.err << "'";
        return;
    }
    ASSERT_EQ(listing.exitCode, 0) << "(124: still running after 60 s; 128 + n: killed by signal n)\n" << listing.err;

    std::vector<std::string> malformed;
    const std::vector<Row> rows = ParseListing(listing.out, malformed);
    EXPECT_TRUE(malformed.empty()) << "lines not in the listing's form:\n" << Lines(malformed);

    std::map<std::string, const Row*> byPath;
    std::vector<std::string> twice;
    for (const Row& row : rows)
        if (!byPath.emplace(row.path, &row).second) twice.push_back(row.path);
    EXPECT_TRUE(twice.empty()) << "listed more than once:\n" << Lines(twice);

    std::vector<std::string> absent;
    for (const std::string& path : shape.listed) {
        const auto found = byPath.find(path);
        if (found == byPath.end()) absent.push_back(path + " (not listed)");
        else if (!found->second->address) absent.push_back(path + " (listed without an address)");
    }
    EXPECT_TRUE(absent.empty()) << "missing:\n" << Lines(absent) << "notes: " << listing.err;

    std::vector<std::string> ghosts;
    for (const Row& row : rows)
        for (const std::string& name : shape.dropped)
            if (NamesIdentifier(row.path, name)) ghosts.push_back(row.path + " " + row.Listed());
    EXPECT_TRUE(ghosts.empty()) << "listed although the linker dropped them:\n" << Lines(ghosts);

    for (const auto& [first, second] : shape.adjacent) {
        const auto a = byPath.find(first);
        const auto b = byPath.find(second);
        if (a == byPath.end() || b == byPath.end() || !a->second->address || !b->second->address) {
            ADD_FAILURE() << first << " and " << second << " are not both listed with addresses";
            continue;
        }
        EXPECT_GT(a->second->byteSize, 0u) << first;
        EXPECT_EQ(*b->second->address, *a->second->address + a->second->byteSize)
            << second << " does not start where " << first << " ends";
    }

    // Bit fields share their storage unit's address, which gdb does not give.
    std::vector<const Row*> asked;
    for (const Row& row : rows)
        if (row.address && row.kind != "bit field") asked.push_back(&row);
    const bool cxx = std::any_of(shape.units.begin(), shape.units.end(),
                                 [](const Unit& unit) { return fs::path(unit.file).extension() == ".cpp"; });
    const std::optional<std::vector<Answer>> answers = AskGdb(*tools, *image, folder.Path(), asked, cxx, error);
    ASSERT_TRUE(answers) << error;

    std::multimap<std::string, const Symbol*> symbolsByName;
    std::set<std::pair<uint64_t, uint64_t>> symbolExtents;
    for (const Symbol& symbol : symbols) {
        symbolsByName.emplace(symbol.name, &symbol);
        if (symbol.size) symbolExtents.emplace(symbol.address, *symbol.size);
    }

    std::vector<Mismatch> mismatches;
    for (size_t i = 0; i < asked.size(); ++i) {
        const Row& row = *asked[i];
        const Answer& answer = (*answers)[i];
        std::string oracle;
        if (!answer.ok) {
            oracle = GdbExpression(row) + ": " + answer.error;
        } else if (SymbolOnly(row)) {
            // gdb knows where the symbol is; only the symbol table knows its size.
            bool sized = false;
            const auto [from, to] = symbolsByName.equal_range(BareName(row.path));
            for (auto it = from; it != to; ++it)
                sized = sized || (it->second->size && *it->second->size == row.byteSize);
            if (answer.address != *row.address || !sized)
                oracle = Hex(answer.address) + (sized ? "" : ", and no symbol of that name is " +
                                                                 std::to_string(row.byteSize) + " bytes");
        } else if (answer.address != *row.address || answer.size != row.byteSize ||
                   (answer.kind != "?" && answer.kind != row.kind)) {
            oracle = Hex(answer.address) + " " + std::to_string(answer.size.value_or(0)) + " " + answer.kind;
        }
        // A whole variable must be one the linker placed, which its symbol shows: the debug
        // information of a dropped variable still names an address (0, where the vectors are).
        if (oracle.empty() && RootOf(row.path) == row.path &&
            symbolExtents.count({*row.address, row.byteSize}) == 0)
            oracle = "no symbol of " + std::to_string(row.byteSize) + " bytes at " + Hex(*row.address);
        if (!oracle.empty()) mismatches.push_back({row.path, row.Listed(), oracle});
    }
    EXPECT_TRUE(mismatches.empty()) << Table(mismatches) << "notes: " << listing.err;
}

INSTANTIATE_TEST_SUITE_P(Shapes, FirmwareGdbOracle, ::testing::ValuesIn(Shapes()),
                         [](const ::testing::TestParamInfo<Shape>& info) { return info.param.name; });

}  // namespace
}  // namespace ondrix
