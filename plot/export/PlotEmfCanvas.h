#pragma once
// A canvas that records what the plot paints as an Enhanced Metafile, the vector picture format
// of the clipboard and of ".emf" files. Coordinates are device pixels (map mode MM_TEXT), the
// reference device has 96 pixels per inch, and every drawing keeps the TCanvas pixel rules when
// the file is played at its own size.
//
// Text is laid out here (DrawText's lines, alignment, word breaks, ellipses) and measured on a
// canvas of the screen's backend, so the recording lays out as the screen does (where a text's
// width ties with its box, an ellipsis may keep one character more or less); each character's
// advance is written with it, so a player does not re-flow it with other metrics.
//
// Threads: one thread at a time, the measuring canvas's.

#include <memory>
#include <string>

#include "plot/core/PlotCanvas.h"

namespace ondrix {

class TPlotEmfCanvas;

// The records are written by our own code rather than through a library: the canvas needs
// byte-level control of each record (which pen a thousand-segment trace shares, how a clip is
// undone, how a pen-less rectangle is widened by the pixel the format leaves off), and the
// libraries that write this format imitate another platform's drawing interface, with a global
// handle table and functions named Rectangle, TextOut and Polygon that collide with our own.
class TPlotEmfRecorder {
public:
    // `measure` is a canvas of the screen's backend: text is measured there, and system colours
    // are resolved there. It must outlive the recorder; its font is left as it was.
    // `creator` and `title` make the header's description.
    TPlotEmfRecorder(int width, int height, TCanvas& measure, const std::string& creator, const std::string& title);
    ~TPlotEmfRecorder();
    TPlotEmfRecorder(const TPlotEmfRecorder&) = delete;
    TPlotEmfRecorder& operator=(const TPlotEmfRecorder&) = delete;

    // The canvas that records. Drawing on it after Finish throws std::logic_error.
    TCanvas& Canvas();
    // Ends the recording (a state saved and not restored is dropped) and answers the file's
    // bytes. Once only: a second call throws std::logic_error.
    std::string Finish();

private:
    std::unique_ptr<TPlotEmfCanvas> canvas_;
};

}  // namespace ondrix
