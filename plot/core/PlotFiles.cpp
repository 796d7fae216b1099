#include "plot/core/PlotFiles.h"

#include <fstream>
#include <iterator>

#include "plot/core/PlotTypes.h"

namespace ondrix {

std::string ReadWholeFile(const std::string& fileName) {
    std::ifstream in(fileName, std::ios::binary);
    if (!in) throw EPlotError("Cannot open file \"" + fileName + "\"");
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteText(const std::string& fileName, const std::string& text, std::ios::openmode mode) {
    std::ofstream out(fileName, std::ios::binary | mode);
    if (!out) throw EPlotError("Cannot create file \"" + fileName + "\"");
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out) throw EPlotError("Cannot write file \"" + fileName + "\"");
}

}  // namespace ondrix
