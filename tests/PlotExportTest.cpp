// The plot's pictures on the desktop: the clipboard, picture files chosen in the save dialog,
// the printout and its preview, each reached from the toolbar as a user would.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QImage>
#include <QMimeData>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "Bytes.h"
#include "TemporaryFolder.h"
#include "plot/axes/PlotAxis.h"
#include "plot/component/Plot.h"
#include "plot/qt/PlotWidget.h"
#include "plot/qt/QtCanvas.h"
#include "plot/views/PlotToolBar.h"

using namespace ondrix;

namespace {

using test::ReadText;

// A plot of two traces in a shown window, with the desktop parts answered by the test.
struct ExportTest : ::testing::Test {
    TPlot plot;
    std::unique_ptr<TPlotWidget> window;
    test::TemporaryFolder folder;
    std::vector<std::string> errors;
    std::string chosenFile;  // what the save dialog answers; empty cancels it
    QString askedFilter;

    void SetUp() override {
        plot.AddChannel();
        for (int i = 0; i < 200; ++i) {
            plot.GetChannel(0)->AddXY(i, (i % 40) - 20);
            plot.GetChannel(1)->AddXY(i, 10 - (i % 25));
        }
        window = std::make_unique<TPlotWidget>(plot);
        window->resize(400, 260);
        window->show();
        TQtPlotExportHost& host = *window->ExportHost();
        host.OnShowError = [this](const std::string& message) { errors.push_back(message); };
        host.OnAskSaveFileName = [this](const QString& filter, const QString&) {
            askedFilter = filter;
            return chosenFile;
        };
    }

    TPlotToolBar& ToolBar() { return *plot.GetToolBar(0); }

    // The Save button, and the wait for its file to be written.
    void ClickSave() {
        ToolBar().DoButtonClickSave();
        ASSERT_TRUE(QTest::qWaitFor([&] { return window->ExportHost()->PendingWrites() == 0; }, 10000));
    }

    // The plot as the clipboard should show it: no toolbar, no selection.
    QImage PaintedWithoutToolBar() {
        ToolBar().SetVisible(false);
        plot.ReCalcLayout();
        QtBitmap bitmap(plot.GetWidth(), plot.GetHeight());
        plot.iPaintToDC(bitmap.Canvas(), 0, 0, false);
        ToolBar().SetVisible(true);
        return bitmap.Image().copy();
    }
};

TEST_F(ExportTest, TheWindowGivesThePlotItsDesktop) {
    EXPECT_EQ(plot.GetExportHost(), window->ExportHost());
    window.reset();
    EXPECT_EQ(plot.GetExportHost(), nullptr);
}

TEST_F(ExportTest, CopyShowsNoToolBarOrSelectionAndKeepsTheToolBarShown) {
    plot.SetCopyToClipBoardFormat(ipefBitmap);
    const QImage expected = PaintedWithoutToolBar();
    plot.GetXAxis(0)->SetUserSelected(true);

    ToolBar().DoButtonClickCopy();

    EXPECT_TRUE(errors.empty()) << errors.front();
    EXPECT_TRUE(ToolBar().GetVisible());
    EXPECT_FALSE(plot.GetXAxis(0)->GetUserSelected());
    const QImage copied = QApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(copied.size(), expected.size());
    EXPECT_TRUE(copied == expected) << "the copied picture differs from the plot without its toolbar";
}

TEST_F(ExportTest, CopyPutsEachFormatUnderItsType) {
    struct Case {
        TPlotExportFormat format;
        const char* mimeType;
        std::string leading;  // the format's signature
    } const cases[] = {
        {ipefJPEG, "image/jpeg", "\xFF\xD8\xFF"},
        {ipefMetaFile, "image/emf", std::string("\x01\x00\x00\x00", 4)},
        {ipefMetaFile, "image/x-emf", std::string("\x01\x00\x00\x00", 4)},
    };
    for (const Case& c : cases) {
        plot.SetCopyToClipBoardFormat(c.format);
        ToolBar().DoButtonClickCopy();
        const QByteArray data = QApplication::clipboard()->mimeData()->data(c.mimeType);
        ASSERT_GT(data.size(), 100) << c.mimeType;
        EXPECT_EQ(data.left(static_cast<qsizetype>(c.leading.size())).toStdString(), c.leading) << c.mimeType;
    }
    plot.SetCopyToClipBoardFormat(ipefJPEG);
    ToolBar().DoButtonClickCopy();
    const QImage decoded =
        QImage::fromData(QApplication::clipboard()->mimeData()->data("image/jpeg"), "JPEG");
    EXPECT_EQ(decoded.size(), QSize(plot.GetWidth(), plot.GetHeight()));
}

// A host whose clipboard fails: the toolbars and the repaints must come back all the same.
class FailingClipboard final : public TPlotExportHost {
public:
    void CopyBitmapToClipboard(const TPlotBitmap&) override { throw EPlotError("clipboard busy"); }
    void CopyDataToClipboard(const std::string&, const std::string&) override { throw EPlotError("clipboard busy"); }
    std::string AskSaveFileName(const std::string&, const std::string&) override { return {}; }
    void WriteFileInBackground(const std::string&, std::function<std::string()>) override {}
    bool BeginPrintJob(const TPlotPrintJob&) override { return false; }
    void PrintPage(const TPlotMetafile&) override {}
    void ShowPrintPreview(const TPlotPrintJob&, const TPlotPagePainter&) override {}
    void ShowError(const std::string& message) override { shown.push_back(message); }
    std::vector<std::string> shown;
};

TEST_F(ExportTest, AFailedCopyRestoresTheToolBarsAndTellsTheUser) {
    FailingClipboard failing;
    plot.SetExportHost(&failing);
    for (TPlotExportFormat format : {ipefMetaFile, ipefBitmap, ipefJPEG}) {
        plot.SetCopyToClipBoardFormat(format);
        EXPECT_THROW(plot.CopyToClipBoard(), EPlotError);
        EXPECT_TRUE(ToolBar().GetVisible());
        EXPECT_FALSE(plot.GetUpdateLocked());
    }
    ToolBar().DoButtonClickCopy();
    EXPECT_EQ(failing.shown, std::vector<std::string>{"clipboard busy"});
    plot.SetExportHost(window->ExportHost());
}

TEST_F(ExportTest, SaveWritesThePictureTheEndingNamesInAnyCase) {
    struct Case {
        const char* name;
        std::string signature;
    } const cases[] = {
        {"plot.bmp", "BM"},
        {"plot.BMP", "BM"},
        {"plot.emf", std::string("\x01\x00\x00\x00", 4)},
        {"plot.jpg", "\xFF\xD8\xFF"},
        {"plot.JPG", "\xFF\xD8\xFF"},
        {"plot.png", "\x89PNG"},
        {"plot.Png", "\x89PNG"},
    };
    for (const Case& c : cases) {
        chosenFile = (folder.Path() / c.name).string();
        std::filesystem::remove(chosenFile);
        ClickSave();
        EXPECT_TRUE(errors.empty()) << c.name << ": " << (errors.empty() ? "" : errors.front());
        EXPECT_EQ(ReadText(chosenFile).substr(0, c.signature.size()), c.signature) << c.name;
    }
    EXPECT_EQ(askedFilter.toStdString(),
              "Bitmap (*.bmp);;Enhanced Metafile (*.emf);;JPEG File (*.jpg);;PNG (*.png)");
}

TEST_F(ExportTest, SavedPngHoldsThePlotsPixels) {
    chosenFile = (folder.Path() / "plot.png").string();
    plot.GetXAxis(0)->SetUserSelected(true);
    ClickSave();
    // Saving clears the selection first, so the file shows what the screen now shows.
    EXPECT_FALSE(plot.GetXAxis(0)->GetUserSelected());
    QtBitmap screen(plot.GetWidth(), plot.GetHeight());
    plot.iPaintToDC(screen.Canvas(), 0, 0, false);
    const QImage saved = QImage(QString::fromStdString(chosenFile)).convertToFormat(QImage::Format_RGB32);
    EXPECT_TRUE(saved == screen.Image());
}

TEST_F(ExportTest, AnUnknownEndingWritesNothingAndSaysWhy) {
    for (const char* name : {"plot.gif", "plot", "plot.jpeg.txt"}) {
        errors.clear();
        chosenFile = (folder.Path() / name).string();
        ClickSave();
        EXPECT_FALSE(std::filesystem::exists(chosenFile)) << name;
        ASSERT_EQ(errors.size(), 1u) << name;
        EXPECT_NE(errors.front().find("Unknown picture file type"), std::string::npos) << errors.front();
    }
    chosenFile.clear();
    ClickSave();
    EXPECT_EQ(errors.size(), 1u) << "a cancelled dialog is no error";
}

TEST_F(ExportTest, AFileThatCannotBeWrittenIsToldAfterTheWrite) {
    chosenFile = (folder.Path() / "no such folder" / "plot.png").string();
    ClickSave();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors.front().find("Cannot create file"), std::string::npos) << errors.front();
}

TEST_F(ExportTest, PictureSettingsOutOfRangeAreRefused) {
    const std::string file = (folder.Path() / "refused").string();
    const struct {
        std::function<void()> save;
        const char* message;
    } cases[] = {
        {[&] { plot.SaveImageToPNG(file, -1); }, "Compression must be in the range of 0-9"},
        {[&] { plot.SaveImageToPNG(file, 10); }, "Compression must be in the range of 0-9"},
        {[&] { plot.SaveImageToJPEG(file, 0, false); }, "Compression must be in the range of 1-100"},
        {[&] { plot.SaveImageToJPEG(file, 101, true); }, "Compression must be in the range of 1-100"},
    };
    for (const auto& c : cases) {
        try {
            c.save();
            ADD_FAILURE() << "accepted; expected " << c.message;
        } catch (const EPlotError& error) {
            EXPECT_STREQ(error.what(), c.message);
        }
        EXPECT_FALSE(std::filesystem::exists(file));
    }
}

TEST_F(ExportTest, SnapShotIsTheWholePlotAsItStands) {
    const TPlotMetafile& picture = plot.GetSnapShotPicture();
    EXPECT_EQ(picture.Width(), plot.GetWidth());
    EXPECT_EQ(picture.Height(), plot.GetHeight());
    EXPECT_FALSE(picture.IsRecording());
    EXPECT_TRUE(ToolBar().GetVisible());
}

// ---- Printing -----------------------------------------------------------------------------

int PageCount(const std::string& pdf) {
    int pages = 0;
    for (size_t at = pdf.find("/Type /Page"); at != std::string::npos; at = pdf.find("/Type /Page", at + 1))
        if (pdf.compare(at, 12, "/Type /Pages") != 0) ++pages;
    return pages;
}

TEST_F(ExportTest, PrintingToAPdfFileGivesOnePageAndTheEvents) {
    const std::string pdf = (folder.Path() / "plot.pdf").string();
    window->ExportHost()->SetPdfOutputFile(QString::fromStdString(pdf));
    plot.SetPrintShowDialog(false);
    std::vector<std::string> events;
    plot.OnBeforePrint = [&] { events.push_back("before " + std::to_string(ToolBar().GetVisible())); };
    plot.OnAfterPrint = [&] { events.push_back("after"); };

    ToolBar().DoButtonClickPrint();

    EXPECT_TRUE(errors.empty()) << errors.front();
    const std::string printed = ReadText(pdf);
    ASSERT_EQ(printed.substr(0, 5), "%PDF-");
    EXPECT_EQ(PageCount(printed), 1);
    EXPECT_NE(printed.find("/MediaBox [0 0 842.000000 595.000000]"), std::string::npos) << "an A4 page, landscape";
    EXPECT_EQ(events, (std::vector<std::string>{"before 1", "after"}));
    EXPECT_TRUE(ToolBar().GetVisible());
    EXPECT_FALSE(plot.GetUpdateLocked());
}

TEST_F(ExportTest, APortraitPrintoutStandsUpright) {
    const std::string pdf = (folder.Path() / "portrait.pdf").string();
    window->ExportHost()->SetPdfOutputFile(QString::fromStdString(pdf));
    plot.SetPrintShowDialog(false);
    plot.SetPrintOrientation(ippoPortrait);
    plot.SetPrintDocumentName("Trace of the day");
    plot.PrintChart();
    const std::string printed = ReadText(pdf);
    EXPECT_NE(printed.find("/MediaBox [0 0 595.000000 842.000000]"), std::string::npos);
    // The document's title, in the UTF-16 the file keeps it in.
    std::string title("\xFE\xFF");
    for (char c : std::string("Trace of the day")) title += std::string{'\0', c};
    EXPECT_NE(printed.find(title), std::string::npos) << "the job's title names the document";
}

TEST_F(ExportTest, APrintFailureSaysErrorPrinting) {
    window->ExportHost()->SetPdfOutputFile(QString::fromStdString((folder.Path() / "no" / "such" / "x.pdf").string()));
    plot.SetPrintShowDialog(false);
    ToolBar().DoButtonClickPrint();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors.front().rfind("Error Printing : ", 0), 0u) << errors.front();
    EXPECT_TRUE(ToolBar().GetVisible());
    EXPECT_FALSE(plot.GetUpdateLocked());
}

TEST_F(ExportTest, PreviewOpensModallyAndPaintsThePage) {
    bool previewShown = false;
    QTimer closer;
    closer.setInterval(20);
    QObject::connect(&closer, &QTimer::timeout, [&] {
        auto* preview = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
        if (preview == nullptr) return;
        previewShown = true;
        preview->reject();
    });
    closer.start();
    ToolBar().SetShowPreviewButton(true);
    ToolBar().DoButtonClickPreview();
    EXPECT_TRUE(previewShown);
    EXPECT_TRUE(errors.empty()) << errors.front();
    EXPECT_TRUE(ToolBar().GetVisible());
}

TEST(PlotPageLayout, OneScaleFactorFitsBothWays) {
    struct Case {
        int width, height;
        TPlotRect area;
        TPlotRect expected;
    } const cases[] = {
        {100, 50, {0, 0, 1000, 1000}, {0, 0, 1000, 500}},      // width limits
        {50, 100, {0, 0, 1000, 1000}, {0, 0, 500, 1000}},      // height limits
        {400, 300, {10, 20, 810, 620}, {10, 20, 810, 620}},    // exactly twice
        {400, 300, {10, 20, 10, 20}, {10, 20, 10, 20}},        // no room
        {0, 300, {0, 0, 100, 100}, {0, 0, 0, 0}},              // nothing to print
    };
    for (const Case& c : cases) {
        const TPlotRect fitted = FitPictureIntoPage(c.width, c.height, c.area);
        EXPECT_EQ(fitted.Left, c.expected.Left);
        EXPECT_EQ(fitted.Top, c.expected.Top);
        EXPECT_EQ(fitted.Right, c.expected.Right) << c.width << "x" << c.height;
        EXPECT_EQ(fitted.Bottom, c.expected.Bottom) << c.width << "x" << c.height;
    }
}

// A page has many more dots per inch than the screen the plot was recorded for; the picture
// must still fill exactly the fitted part of the page.
TEST(PlotPageLayout, APictureFillsItsPlaceOnAFineResolutionPage) {
    QtMetafile picture(100, 50);
    TCanvas& recording = picture.BeginRecording();
    recording.SetBrush(TPlotBrush{clRed, bsSolid});
    recording.FillRect({0, 0, 100, 50});
    picture.EndRecording();

    QImage page(1000, 1000, QImage::Format_RGB32);
    page.fill(Qt::white);
    const int dotsPerMeter = static_cast<int>(1200 / 0.0254);
    page.setDotsPerMeterX(dotsPerMeter);
    page.setDotsPerMeterY(dotsPerMeter);
    QPainter painter(&page);
    PaintPictureOnPage(painter, QRect(100, 200, 800, 800), picture);
    painter.end();

    // Fitted: 800 x 400 from (100, 200).
    const QRgb red = qRgb(255, 0, 0);
    EXPECT_EQ(page.pixel(100, 200), red);
    EXPECT_EQ(page.pixel(899, 599), red);
    EXPECT_NE(page.pixel(899, 601), red);
    EXPECT_NE(page.pixel(901, 599), red);
    EXPECT_NE(page.pixel(99, 199), red);
}

TEST(PlotSaveDialogFilter, PairsBecomeQtFilters) {
    EXPECT_EQ(QtFileFilter("Bitmap (*.bmp)|*.bmp|PNG (*.png)|*.png").toStdString(), "Bitmap (*.bmp);;PNG (*.png)");
    EXPECT_EQ(QtFileFilter("Text|*.txt").toStdString(), "Text (*.txt)");
}

}  // namespace
