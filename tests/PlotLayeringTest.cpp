// The plot's folders depend on each other in one direction only:
//   core <- objects <- {data, axes, channels, views} <- component <- config
//   core <- export (picture files and the metafile recorder see only core)
// The kinds may use each other (a channel maps through its axes), and a kind may call back into
// its owner through plot/component/PlotComponent.h; nothing else points up. Only plot/qt sees Qt.
// The rules are read off the source files themselves, so a new include that breaks them fails
// here, with the file and line that does.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <vector>

namespace ondrix {
namespace {

namespace fs = std::filesystem;

const std::map<std::string, int> kRank = {{"core", 0},     {"export", 1},    {"objects", 1},
                                          {"data", 2},     {"axes", 2},      {"channels", 2},
                                          {"views", 2},    {"component", 3}, {"config", 4}};
constexpr int kKindRank = 2;
const std::string kOwnerCallBacks = "component/PlotComponent.h";

struct Include {
    std::string file;  // relative to plot/
    int line;
    std::string text;
};

std::vector<Include> IncludesOfThePlot() {
    std::vector<Include> includes;
    const fs::path plot = fs::path(ONDRIX_SOURCE_DIR) / "plot";
    for (const auto& entry : fs::recursive_directory_iterator(plot)) {
        const std::string extension = entry.path().extension().string();
        if (!entry.is_regular_file() || (extension != ".h" && extension != ".cpp")) continue;
        std::ifstream in(entry.path());
        int number = 0;
        for (std::string line; std::getline(in, line);) {
            ++number;
            if (line.rfind("#include", 0) == 0)
                includes.push_back({fs::relative(entry.path(), plot).generic_string(), number, line});
        }
    }
    return includes;
}

std::string FolderOf(const std::string& file) { return file.substr(0, file.find('/')); }

std::string Where(const Include& include) {
    return "plot/" + include.file + ":" + std::to_string(include.line) + ": " + include.text;
}

TEST(PlotLayering, EveryFileSitsInAKnownFolder) {
    const std::vector<Include> includes = IncludesOfThePlot();
    ASSERT_FALSE(includes.empty()) << "no sources under " << ONDRIX_SOURCE_DIR;
    for (const Include& include : includes) {
        const std::string folder = FolderOf(include.file);
        EXPECT_TRUE(folder == "qt" || kRank.count(folder) == 1) << "plot/" << include.file << " is in no family folder";
    }
}

TEST(PlotLayering, OnlyTheQtFolderSeesQt) {
    const std::regex qt(R"re(#include\s*[<"]Q)re");
    for (const Include& include : IncludesOfThePlot())
        if (FolderOf(include.file) != "qt") {
            EXPECT_FALSE(std::regex_search(include.text, qt)) << Where(include);
        }
}

TEST(PlotLayering, DependenciesRunOneWay) {
    const std::regex plotHeader(R"re(#include\s*"plot/([a-z]+)/([^"]+)")re");
    for (const Include& include : IncludesOfThePlot()) {
        const std::string from = FolderOf(include.file);
        std::smatch match;
        if (from == "qt" || !std::regex_search(include.text, match, plotHeader)) continue;
        const std::string to = match[1];
        ASSERT_EQ(kRank.count(from), 1u) << Where(include);
        if (to == "qt") {
            ADD_FAILURE() << "only plot/qt knows its own units: " << Where(include);
            continue;
        }
        ASSERT_EQ(kRank.count(to), 1u) << "no such folder: " << Where(include);
        const int fromRank = kRank.at(from), toRank = kRank.at(to);
        const bool down = to == from || toRank < fromRank || (fromRank == kKindRank && toRank == kKindRank);
        const bool ownerCallBack = fromRank == kKindRank && to + "/" + std::string(match[2]) == kOwnerCallBacks;
        if (from == "core") {
            EXPECT_EQ(to, "core") << "core sees nothing else of the plot: " << Where(include);
        } else {
            EXPECT_TRUE(down || ownerCallBack) << "points up: " << Where(include);
        }
    }
}

}  // namespace
}  // namespace ondrix
