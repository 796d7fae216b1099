#pragma once
// Whole files in and out, for the plot's data, log and property files. Failures raise the plot's
// own error with the file's name, so that callers can prefix what they were doing.

#include <ios>
#include <string>

namespace ondrix {

// Throws EPlotError("Cannot open file \"name\"").
std::string ReadWholeFile(const std::string& fileName);
// Writes `text` with `mode` (truncate or append); throws EPlotError when the file cannot be
// created or written.
void WriteText(const std::string& fileName, const std::string& text, std::ios::openmode mode);

}  // namespace ondrix
