#pragma once
// Runs one acquisition session without a window and writes what it receives: the same session
// code as the scope, with stores in place of the plot's channels and stderr in place of
// message boxes.

#include <atomic>
#include <ostream>

#include "CaptureOptions.h"

namespace ondrix {

// Exit codes of the recorder.
enum CaptureExit : int {
    kCaptureDone = 0,
    kCaptureFailed = 1,     // the port or an output could not be used; a file not written whole is not left
    kCaptureBadUsage = 2,   // the arguments were refused
    kCaptureInterrupted = 130,  // stopped early by a signal; what was recorded is written
};

// Records until the frame count or the time is reached, or `interrupted` becomes true.
// Messages go to `errors`; the TSV lines go to `standardOutput` when --tsv is "-".
int RunCapture(const CaptureOptions& options, const std::atomic<bool>& interrupted, std::ostream& standardOutput,
               std::ostream& errors);

}  // namespace ondrix
