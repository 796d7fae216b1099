#pragma once
// What the plot's export functions need of the window system: the clipboard, the save dialog,
// a printer, a preview window and a way to tell the user. The host (plot/qt) implements it and
// hands it to the component (TPlotComponent::SetExportHost); the pictures themselves are made by
// the component, so a host only moves bytes, bitmaps and recordings.
//
// Threads: the GUI thread, like the component.

#include <functional>
#include <memory>
#include <string>

#include "plot/core/PlotCanvas.h"
#include "plot/core/PlotTypes.h"

namespace ondrix {

enum TPlotPrintOrientation : uint8_t { ippoPortrait, ippoLandscape };
inline constexpr auto kPlotPrintOrientationNames = EnumValueNames<ippoLandscape>({"ippoPortrait", "ippoLandscape"});

// What a print job is asked to be: the component's print settings at the moment it starts.
struct TPlotPrintJob {
    TPlotPrintOrientation Orientation = ippoLandscape;
    std::string DocumentName;
    // Inches.
    double MarginLeft = 1;
    double MarginTop = 1;
    double MarginRight = 1;
    double MarginBottom = 1;
    // Chosen when the host's printer list holds it.
    std::string PrinterName;
    bool ShowDialog = true;
};

// Paints the page's picture: the plot as a recording of the component's size.
using TPlotPagePainter = std::function<std::unique_ptr<TPlotMetafile>()>;

class TPlotExportHost {
public:
    virtual ~TPlotExportHost() = default;

    // ---- Clipboard: the new content replaces the old.
    virtual void CopyBitmapToClipboard(const TPlotBitmap& bitmap) = 0;
    // Encoded picture bytes under a MIME type ("image/jpeg", "image/emf").
    virtual void CopyDataToClipboard(const std::string& mimeType, const std::string& bytes) = 0;

    // ---- Save dialog. The filter reads "Caption|*.ext|Caption|*.ext". Empty when cancelled.
    virtual std::string AskSaveFileName(const std::string& filter, const std::string& defaultName) = 0;
    // Makes the file's bytes with `encode` and writes them away from the GUI thread, which must
    // not wait on a disk; a failure is shown to the user.
    virtual void WriteFileInBackground(const std::string& fileName, std::function<std::string()> encode) = 0;

    // ---- Printing. Ends a job still in progress, sets the job up and shows the print dialog
    // when asked; false when the user cancelled it. Failures throw with the printer's message.
    virtual bool BeginPrintJob(const TPlotPrintJob& job) = 0;
    // Plays the picture onto the page inside the job's margins, scaled by one factor that fits
    // both ways, and ends the job.
    virtual void PrintPage(const TPlotMetafile& picture) = 0;
    // A modal preview of the job's page; `paint` makes the picture whenever the preview draws.
    virtual void ShowPrintPreview(const TPlotPrintJob& job, const TPlotPagePainter& paint) = 0;

    // ---- A failed export the user started (a toolbar button) is told, not swallowed.
    virtual void ShowError(const std::string& message) = 0;
};

// Where a picture of `width` x `height` lands in the page area: one scale factor for both
// directions, the largest that fits, at the area's top-left corner.
TPlotRect FitPictureIntoPage(int width, int height, const TPlotRect& area);

}  // namespace ondrix
