#include <csignal>
#include <iostream>

#include "CaptureOptions.h"
#include "CaptureRecorder.h"
#include "CaptureVariables.h"

namespace {

std::atomic<bool> interrupted{false};

void OnSignal(int) { interrupted = true; }

}  // namespace

int main(int argc, char** argv) {
    const ondrix::CaptureCommand command = ondrix::ParseCaptureCommand({argv + 1, argv + argc});
    if (command.help) {
        std::cout << ondrix::CaptureUsage();
        return ondrix::kCaptureDone;
    }
    if (!command.listElfPath.empty()) return ondrix::ListFirmwareVariables(command.listElfPath, std::cout, std::cerr);
    if (!command.options) {
        std::cerr << "ondrix-capture: " << command.error << '\n' << ondrix::CaptureUsage();
        return ondrix::kCaptureBadUsage;
    }
    ondrix::CaptureOptions options = *command.options;
    if (const int refused = ondrix::ResolveFirmwareNames(options, std::cerr); refused != ondrix::kCaptureDone)
        return refused;
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    std::signal(SIGPIPE, SIG_IGN);
    std::ios::sync_with_stdio(false);
    return ondrix::RunCapture(options, interrupted, std::cout, std::cerr);
}
