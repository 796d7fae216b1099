#include "plot/core/PlotErrorReport.h"

#include <iostream>

namespace ondrix {

void ReportUnexpectedError(const TPlotErrorReport& hook, const std::string& source, const std::exception& error) {
    if (hook) {
        hook(source, error);
        return;
    }
    std::cerr << "ondrix: unexpected error in " << (source.empty() ? "an unnamed object" : source) << ": "
              << error.what() << std::endl;
}

}  // namespace ondrix
