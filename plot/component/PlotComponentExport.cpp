// The plot's pictures: clipboard, picture files, the snapshot and the printed page. Each is the
// normal paint pass (iPaintToDC) into an off-screen canvas of the component's size; the host
// moves the result to the window system.

#include <algorithm>
#include <cctype>
#include <exception>
#include <functional>
#include <memory>
#include <vector>

#include "plot/component/PlotComponent.h"
#include "plot/core/PlotFiles.h"
#include "plot/core/PlotScopeExit.h"
#include "plot/export/PlotEmfCanvas.h"
#include "plot/export/PlotImageFiles.h"
#include "plot/views/PlotToolBar.h"

namespace ondrix {

namespace {

constexpr const char* kPictureFilter =
    "Bitmap (*.bmp)|*.bmp|Enhanced Metafile (*.emf)|*.emf|JPEG File (*.jpg)|*.jpg|PNG (*.png)|*.png";
constexpr const char* kMetafileCreator = "Ondrix";
constexpr const char* kClipboardTitle = "Strip Chart";

// The ending after the last dot, in lower case: "PNG" and "png" name the same kind of file.
std::string LowerCaseEnding(const std::string& fileName) {
    const size_t slash = fileName.find_last_of('/');
    const size_t dot = fileName.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
    std::string ending = fileName.substr(dot + 1);
    std::transform(ending.begin(), ending.end(), ending.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ending;
}

void WriteBinary(const std::string& fileName, const std::string& bytes) {
    WriteText(fileName, bytes, std::ios::out | std::ios::trunc);
}

}  // namespace

// ---- Painting into pictures ---------------------------------------------------------------

TPlotExportHost& TPlotComponent::ExportHost() const {
    if (exportHost_ == nullptr) throw EPlotError("No window system to export through");
    return *exportHost_;
}

TPlotSurfaceFactory& TPlotComponent::Surfaces() const {
    if (GetSurfaceFactory() == nullptr) throw EPlotError("No drawing surface to paint the picture on");
    return *GetSurfaceFactory();
}

// The axes size themselves by the labels of the pass before, so a picture painted right after
// a change (the toolbars hidden, a plot never shown) gets a settling pass first.
void TPlotComponent::PaintPicture(TCanvas& canvas) {
    ReCalcLayout();
    iPaintToDC(canvas, 0, 0, false);
}

std::unique_ptr<TPlotBitmap> TPlotComponent::PaintBitmap() {
    std::unique_ptr<TPlotBitmap> bitmap = Surfaces().CreateBitmap(GetWidth(), GetHeight());
    PaintPicture(bitmap->Canvas());
    return bitmap;
}

std::unique_ptr<TPlotMetafile> TPlotComponent::PaintMetafile() {
    std::unique_ptr<TPlotMetafile> metafile = Surfaces().CreateMetafile(GetWidth(), GetHeight());
    TCanvas& canvas = metafile->BeginRecording();
    TScopeExit end([&metafile] {
        if (metafile->IsRecording()) metafile->EndRecording();
    });
    PaintPicture(canvas);
    metafile->EndRecording();
    return metafile;
}

std::string TPlotComponent::PaintEmf(const std::string& title) {
    // Texts are measured on a canvas of the screen's kind, so the file lays out as the screen does.
    std::unique_ptr<TPlotBitmap> measure = Surfaces().CreateBitmap(1, 1);
    TPlotEmfRecorder recorder(GetWidth(), GetHeight(), measure->Canvas(), kMetafileCreator, title);
    PaintPicture(recorder.Canvas());
    return recorder.Finish();
}

template <class Painter>
auto TPlotComponent::PaintWithoutToolBars(Painter paint) {
    BeginUpdate();
    const bool toolBarsVisible = ToolBarCount() > 0 && GetToolBar(0)->GetVisible();
    // Every toolbar takes toolbar 0's state back, as the toolbars of a plot go together.
    TScopeExit restore([this, toolBarsVisible] {
        for (int i = 0; i < ToolBarCount(); ++i) GetToolBar(i)->SetVisible(toolBarsVisible);
        EndUpdate();
    });
    for (int i = 0; i < ToolBarCount(); ++i) GetToolBar(i)->SetVisible(false);
    ClearAllUserSelections();
    return paint();
}

// ---- Clipboard and snapshot ---------------------------------------------------------------

void TPlotComponent::CopyToClipBoard() {
    TPlotExportHost& host = ExportHost();
    switch (copyToClipBoardFormat_) {
        case ipefMetaFile:
            host.CopyDataToClipboard("image/emf", PaintWithoutToolBars([this] { return PaintEmf(kClipboardTitle); }));
            break;
        case ipefBitmap:
            host.CopyBitmapToClipboard(*PaintWithoutToolBars([this] { return PaintBitmap(); }));
            break;
        case ipefJPEG:
            host.CopyDataToClipboard("image/jpeg", PaintWithoutToolBars([this] { return GetJPEG(100, false); }));
            break;
    }
}

const TPlotMetafile& TPlotComponent::GetSnapShotPicture() {
    snapShot_ = PaintMetafile();
    return *snapShot_;
}

// ---- Picture files ------------------------------------------------------------------------

void TPlotComponent::Save() {
    TPlotExportHost& host = ExportHost();
    const std::string fileName = host.AskSaveFileName(kPictureFilter, "Untitled");
    if (fileName.empty()) return;
    ClearAllUserSelections();
    host.WriteFileInBackground(fileName, PictureFileEncoder(fileName));
}

void TPlotComponent::SaveImageToFile(const std::string& fileName) { WriteBinary(fileName, PictureFileEncoder(fileName)()); }

std::function<std::string()> TPlotComponent::PictureFileEncoder(const std::string& fileName) {
    const std::string ending = LowerCaseEnding(fileName);
    if (ending == "emf") return [bytes = PaintEmf(GetPrintDocumentName())] { return bytes; };
    if (ending != "bmp" && ending != "jpg" && ending != "png")
        throw EPlotError("Unknown picture file type \"" + fileName + "\": use .bmp, .emf, .jpg or .png");
    // Shared, as a std::function must be copyable; the encoder is the bitmap's only user later.
    const std::shared_ptr<const TPlotBitmap> bitmap = PaintBitmap();
    if (ending == "bmp") return [bitmap] { return EncodeBmp(*bitmap); };
    if (ending == "jpg") return [bitmap] { return EncodeJpeg(*bitmap, 100, true); };
    return [bitmap] { return EncodePng(*bitmap, 9); };
}

void TPlotComponent::SaveImageToBitmap(const std::string& fileName) { WriteBinary(fileName, EncodeBmp(*PaintBitmap())); }

void TPlotComponent::SaveImageToMetaFile(const std::string& fileName) {
    WriteBinary(fileName, PaintEmf(GetPrintDocumentName()));
}

void TPlotComponent::SaveImageToJPEG(const std::string& fileName, int quality, bool progressive) {
    WriteBinary(fileName, GetJPEG(quality, progressive));
}

void TPlotComponent::SaveImageToPNG(const std::string& fileName, int compression) {
    if (compression < 0 || compression > 9) throw EPlotError("Compression must be in the range of 0-9");
    WriteBinary(fileName, EncodePng(*PaintBitmap(), compression));
}

std::string TPlotComponent::GetJPEG(int quality, bool progressive) {
    if (quality < 1 || quality > 100) throw EPlotError("Compression must be in the range of 1-100");
    return EncodeJpeg(*PaintBitmap(), quality, progressive);
}

// ---- Printing -----------------------------------------------------------------------------

TPlotPrintJob TPlotComponent::PrintJob() const {
    return {printOrientation_, printDocumentName_, printMarginLeft_, printMarginTop_,
            printMarginRight_, printMarginBottom_, printerName_, printShowDialog_};
}

void TPlotComponent::PrintChart() {
    try {
        TPlotExportHost& host = ExportHost();
        if (!host.BeginPrintJob(PrintJob())) return;
        BeginUpdate();
        TScopeExit resume([this] { EndUpdate(); });
        if (OnBeforePrint) OnBeforePrint();
        host.PrintPage(*PaintWithoutToolBars([this] { return PaintMetafile(); }));
        if (OnAfterPrint) OnAfterPrint();
    } catch (const std::exception& error) {
        throw EPlotError(std::string("Error Printing : ") + error.what());
    }
}

void TPlotComponent::PreviewChart() {
    TPlotPrintJob job = PrintJob();
    job.ShowDialog = false;
    ExportHost().ShowPrintPreview(job, [this] { return PaintWithoutToolBars([this] { return PaintMetafile(); }); });
}

void TPlotComponent::ExportForUser(void (TPlotComponent::*operation)()) {
    if (exportHost_ == nullptr) return;
    try {
        (this->*operation)();
    } catch (const EPlotError& error) {
        exportHost_->ShowError(error.what());
    } catch (const std::exception& error) {
        ReportUnexpectedError("an export", error);
        exportHost_->ShowError(error.what());
    }
}

// ---- Page layout --------------------------------------------------------------------------

TPlotRect FitPictureIntoPage(int width, int height, const TPlotRect& area) {
    const int areaWidth = std::max(0, area.Right - area.Left);
    const int areaHeight = std::max(0, area.Bottom - area.Top);
    if (width <= 0 || height <= 0) return {area.Left, area.Top, area.Left, area.Top};
    const double scale = std::min(static_cast<double>(areaWidth) / width, static_cast<double>(areaHeight) / height);
    const int scaledWidth = static_cast<int>(width * scale);
    const int scaledHeight = static_cast<int>(height * scale);
    return {area.Left, area.Top, area.Left + scaledWidth, area.Top + scaledHeight};
}

}  // namespace ondrix
