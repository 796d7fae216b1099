#include "plot/core/PlotErrorReport.h"

#include <iostream>

namespace ondrix {

void WriteUnexpectedErrorReport(const std::string& source, const std::exception& error) {
    std::cerr << "ondrix: unexpected error in " << (source.empty() ? "an unnamed object" : source) << ": "
              << error.what() << std::endl;
}

}  // namespace ondrix
