#pragma once
// Errors that are not the plot's own (EPlotError) are faults: a failed allocation, a bug, a
// library refusing. Where the plot contains failures so that one part cannot stop the rest (a
// channel's drawing, a paint pass, an input event), such an error is still reported once, with
// the object it came from. The component carries the hook (TComponentBase::OnUnexpectedError);
// without one, this writes the report to standard error.

#include <exception>
#include <functional>
#include <string>

namespace ondrix {

// Where the error came from (an object's name, or what the component was doing) and the error.
using TPlotErrorReport = std::function<void(const std::string& source, const std::exception& error)>;

// Hands the report to `hook`, or, without one, writes it to standard error: never dropped.
void ReportUnexpectedError(const TPlotErrorReport& hook, const std::string& source, const std::exception& error);

}  // namespace ondrix
