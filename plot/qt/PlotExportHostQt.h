#pragma once
// The plot's exports on the desktop: the system clipboard, Qt's save dialog, printers through
// Qt's print support, its print preview window and message boxes, modal over the plot's window.
//
// A host program may answer the save dialog and the error messages itself (tests do), and may
// send printouts to a PDF file instead of a printer.
//
// Threads: the GUI thread; picture files are encoded and written on a thread of the host's own.

#include <QRect>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>

#include "platform/qt/FileJobs.h"
#include "plot/component/PlotExportHost.h"

class QPainter;
class QPrinter;

namespace ondrix {

class TQtPlotExportHost final : public TPlotExportHost {
public:
    explicit TQtPlotExportHost(QWidget& window);
    ~TQtPlotExportHost() override;
    TQtPlotExportHost(const TQtPlotExportHost&) = delete;
    TQtPlotExportHost& operator=(const TQtPlotExportHost&) = delete;

    void CopyBitmapToClipboard(const TPlotBitmap& bitmap) override;
    void CopyDataToClipboard(const std::string& mimeType, const std::string& bytes) override;
    std::string AskSaveFileName(const std::string& filter, const std::string& defaultName) override;
    void WriteFileInBackground(const std::string& fileName, std::function<std::string()> encode) override;
    bool BeginPrintJob(const TPlotPrintJob& job) override;
    void PrintPage(const TPlotMetafile& picture) override;
    void ShowPrintPreview(const TPlotPrintJob& job, const TPlotPagePainter& paint) override;
    void ShowError(const std::string& message) override;

    // Replace the desktop's save dialog and message box; unset, the desktop's are shown.
    // The dialog hook gets Qt's filter ("Bitmap (*.bmp);;...") and the default name, and answers
    // the chosen file or an empty text.
    std::function<std::string(const QString& filter, const QString& defaultName)> OnAskSaveFileName;
    std::function<void(const std::string& message)> OnShowError;
    // Files given to WriteFileInBackground and not yet written (or failed).
    int PendingWrites() const { return writers_.Pending(); }
    // Printouts go to this PDF file instead of a printer; empty for the printer.
    void SetPdfOutputFile(const QString& fileName) { pdfOutputFile_ = fileName; }

private:
    void SetUpPrinter(QPrinter& printer, const TPlotPrintJob& job) const;

    QWidget& window_;
    // Its thread writes the files; the destructor waits for them, so nothing is cut short.
    TFileJobs writers_;
    QString pdfOutputFile_;
    QString saveFolder_;
    std::unique_ptr<QPrinter> printer_;  // the job in progress, between Begin and PrintPage
};

// Plays the picture onto the painter's page area (the printable area inside the margins),
// scaled by one factor that fits both ways, at its top-left corner.
void PaintPictureOnPage(QPainter& painter, const QRect& pageArea, const TPlotMetafile& picture);

// "Caption|*.ext|Caption|*.ext" as Qt's "Caption (*.ext);;..." filter; a caption that shows its
// pattern already keeps it as it is.
QString QtFileFilter(const std::string& filter);

}  // namespace ondrix
