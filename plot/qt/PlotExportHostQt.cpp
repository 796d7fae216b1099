#include "plot/qt/PlotExportHostQt.h"

#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QMessageBox>
#include <QMimeData>
#include <QPageLayout>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <stdexcept>

#include "plot/core/PlotFiles.h"
#include "plot/qt/QtCanvas.h"

namespace ondrix {

namespace {

// The page at the screen's resolution: the plot's one-pixel lines are drawn one device pixel
// wide, which on a page of 1200 dots per inch would be hairlines too thin to see. Text and
// shapes stay vectors in the printout either way.
constexpr QPrinter::PrinterMode kPageResolution = QPrinter::ScreenResolution;

// Every pixel through the bitmap's own rows, so a bitmap of any backend can be copied.
QImage ImageOf(const TPlotBitmap& bitmap) {
    QImage image(bitmap.Width(), bitmap.Height(), QImage::Format_RGB32);
    for (int y = 0; y < bitmap.Height(); ++y)
        std::copy_n(bitmap.ScanLine(y), bitmap.Width(), reinterpret_cast<uint32_t*>(image.scanLine(y)));
    return image;
}

// The MIME types a picture goes under: desktop programs ask for metafiles by either name.
QStringList MimeTypesOf(const std::string& mimeType) {
    if (mimeType == "image/emf") return {"image/emf", "image/x-emf"};
    return {QString::fromStdString(mimeType)};
}

// The ending a Qt filter such as "PNG (*.png)" stands for: "png".
QString SuffixOfFilter(const QString& filter) {
    const int star = filter.indexOf("*.");
    if (star < 0) return {};
    QString suffix = filter.mid(star + 2);
    const int end = suffix.indexOf(QRegularExpression("[^A-Za-z0-9]"));
    return end < 0 ? suffix : suffix.left(end);
}

}  // namespace

QString QtFileFilter(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split('|');
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString& caption = parts[i];
        const QString& patterns = parts[i + 1];
        filters << (caption.contains(patterns) ? caption : caption + " (" + patterns + ")");
    }
    return filters.join(";;");
}

void PaintPictureOnPage(QPainter& painter, const QRect& pageArea, const TPlotMetafile& picture) {
    const auto* recording = dynamic_cast<const QtMetafile*>(&picture);
    if (recording == nullptr) throw std::invalid_argument("metafile of another drawing backend");
    if (picture.Width() <= 0 || picture.Height() <= 0) return;
    const TPlotRect area{pageArea.left(), pageArea.top(), pageArea.left() + pageArea.width(),
                         pageArea.top() + pageArea.height()};
    const TPlotRect target = FitPictureIntoPage(picture.Width(), picture.Height(), area);
    // A picture plays at its device's resolution: on a page of 1200 dots per inch, a recording
    // made at 96 would come out 12.5 times as large before any scaling of ours.
    const QPicture& recorded = recording->Picture();
    const double resolutionX = static_cast<double>(painter.device()->logicalDpiX()) / recorded.logicalDpiX();
    const double resolutionY = static_cast<double>(painter.device()->logicalDpiY()) / recorded.logicalDpiY();
    painter.save();
    painter.translate(target.Left, target.Top);
    painter.scale(static_cast<double>(target.Right - target.Left) / picture.Width() / resolutionX,
                  static_cast<double>(target.Bottom - target.Top) / picture.Height() / resolutionY);
    painter.setClipRect(QRect(0, 0, picture.Width(), picture.Height()));
    painter.drawPicture(0, 0, recorded);
    painter.restore();
}

// With margins set, the painter's origin is the printable area's top-left corner.
QRect PageArea(const QPrinter& printer) {
    return QRect(QPoint(0, 0), printer.pageLayout().paintRectPixels(printer.resolution()).size());
}

TQtPlotExportHost::TQtPlotExportHost(QWidget& window) : window_(window) {
    writers_.OnUnexpectedError = [this](const std::string& job, const std::string& error) {
        ShowError("Unexpected error while " + job + ": " + error);
    };
}

TQtPlotExportHost::~TQtPlotExportHost() = default;

// ---- Clipboard ----------------------------------------------------------------------------

void TQtPlotExportHost::CopyBitmapToClipboard(const TPlotBitmap& bitmap) {
    QGuiApplication::clipboard()->setImage(ImageOf(bitmap));
}

void TQtPlotExportHost::CopyDataToClipboard(const std::string& mimeType, const std::string& bytes) {
    auto data = std::make_unique<QMimeData>();
    const QByteArray content(bytes.data(), static_cast<qsizetype>(bytes.size()));
    for (const QString& type : MimeTypesOf(mimeType)) data->setData(type, content);
    QGuiApplication::clipboard()->setMimeData(data.release());  // the clipboard owns it from now on
}

// ---- Save dialog --------------------------------------------------------------------------

std::string TQtPlotExportHost::AskSaveFileName(const std::string& filter, const std::string& defaultName) {
    const QString qtFilter = QtFileFilter(filter);
    if (OnAskSaveFileName) return OnAskSaveFileName(qtFilter, QString::fromStdString(defaultName));

    QFileDialog dialog(&window_, QString(), saveFolder_, qtFilter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.selectFile(QString::fromStdString(defaultName));
    // A name typed without an ending gets the one of the chosen file type, so "Untitled" with
    // "PNG" chosen saves "Untitled.png" instead of an unknown type.
    dialog.setDefaultSuffix(SuffixOfFilter(dialog.selectedNameFilter()));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog](const QString& chosen) { dialog.setDefaultSuffix(SuffixOfFilter(chosen)); });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    const QString chosen = dialog.selectedFiles().constFirst();
    saveFolder_ = QFileInfo(chosen).absolutePath();
    return chosen.toStdString();
}

void TQtPlotExportHost::WriteFileInBackground(const std::string& fileName, std::function<std::string()> encode) {
    // A file that cannot be made or written is the plot's own error, told to the user like any
    // other failed export; anything else reaches OnUnexpectedError.
    writers_.Run<std::string>(
        "writing " + fileName,
        [fileName, encode = std::move(encode)] {
            try {
                WriteText(fileName, encode(), std::ios::out | std::ios::trunc);
                return std::string();
            } catch (const EPlotError& error) {
                return std::string(error.what());
            }
        },
        [this](const std::string& failure) {
            if (!failure.empty()) ShowError(failure);
        });
}

// ---- Printing -----------------------------------------------------------------------------

void TQtPlotExportHost::SetUpPrinter(QPrinter& printer, const TPlotPrintJob& job) const {
    if (!job.PrinterName.empty() && QPrinterInfo::availablePrinterNames().contains(QString::fromStdString(job.PrinterName)))
        printer.setPrinterName(QString::fromStdString(job.PrinterName));
    if (!pdfOutputFile_.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdfOutputFile_);
    }
    printer.setDocName(QString::fromStdString(job.DocumentName));
    printer.setPageOrientation(job.Orientation == ippoLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer.setFullPage(false);
    printer.setPageMargins(QMarginsF(job.MarginLeft, job.MarginTop, job.MarginRight, job.MarginBottom),
                           QPageLayout::Inch);
}

bool TQtPlotExportHost::BeginPrintJob(const TPlotPrintJob& job) {
    printer_.reset();
    auto printer = std::make_unique<QPrinter>(kPageResolution);
    SetUpPrinter(*printer, job);
    if (job.ShowDialog) {
        QPrintDialog dialog(printer.get(), &window_);
        if (dialog.exec() != QDialog::Accepted) return false;
    }
    if (!printer->isValid()) throw std::runtime_error("No printer is available");
    printer_ = std::move(printer);
    return true;
}

void TQtPlotExportHost::PrintPage(const TPlotMetafile& picture) {
    if (!printer_) throw std::logic_error("No print job was begun");
    const std::unique_ptr<QPrinter> printer = std::move(printer_);
    QPainter painter;
    if (!painter.begin(printer.get())) throw std::runtime_error("The printer refused to start the job");
    PaintPictureOnPage(painter, PageArea(*printer), picture);
    if (!painter.end()) throw std::runtime_error("The printer failed to finish the job");
}

void TQtPlotExportHost::ShowPrintPreview(const TPlotPrintJob& job, const TPlotPagePainter& paint) {
    QPrinter printer(kPageResolution);
    SetUpPrinter(printer, job);
    QPrintPreviewDialog preview(&printer, &window_);
    preview.setWindowTitle(QString::fromStdString(job.DocumentName));
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview, [&paint](QPrinter* page) {
        QPainter painter(page);
        PaintPictureOnPage(painter, PageArea(*page), *paint());
    });
    preview.exec();
}

void TQtPlotExportHost::ShowError(const std::string& message) {
    if (OnShowError) {
        OnShowError(message);
        return;
    }
    QMessageBox::warning(&window_, window_.window()->windowTitle(), QString::fromStdString(message));
}

}  // namespace ondrix
