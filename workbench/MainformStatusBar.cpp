#include "workbench/MainformStatusBar.h"

#include <QPalette>
#include <QString>

#include <utility>

namespace ondrix {

namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

std::string StatisticsDetails(const LinkStatistics& statistics) {
    std::string details = LinkStatisticsText(statistics);
    if (statistics.request == RequestOutcome::Unsure)
        details += "\nThe MPU may still report the addresses it had: frames arrived, and the request went out before "
                   "the line had been quiet for 500 of their periods, or not all of its bytes left.";
    return details;
}

}  // namespace

// ---- TFittingLabel ------------------------------------------------------------------------------

void TFittingLabel::SetTexts(QStringList texts) {
    texts_ = std::move(texts);
    Fit();
}

void TFittingLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    Fit();
}

// The room QLabel gives its text: the contents less the margins and the indent on the side the
// text is aligned to, which a framed label without an indent of its own takes as half an 'x'.
void TFittingLabel::Fit() {
    if (texts_.isEmpty()) return;
    int ownIndent = indent();
    if (ownIndent < 0) ownIndent = frameWidth() > 0 ? fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2 : 0;
    const int room = contentsRect().width() - 2 * margin() - ownIndent;
    for (const QString& text : texts_) {
        if (fontMetrics().horizontalAdvance(text) <= room) {
            setText(text);
            return;
        }
    }
    setText(texts_.back());
}

// ---- TMainStatusBar ------------------------------------------------------------------------------

TMainStatusBar::TMainStatusBar(QWidget* parent) : QStatusBar(parent) {
    setFixedHeight(kHeight);
    setSizeGripEnabled(false);
    HintPanel.setFixedWidth(kHintPanelWidth);
    // No accessible names: a name would be read in place of the text, which is what matters.
    // The descriptions say what each panel is.
    HintPanel.setAccessibleDescription(QStringLiteral("Hint"));
    SettingsPanel.setAccessibleDescription(QStringLiteral("Port settings; a click opens Communication Setup"));
    LinkPanel.setAutoFillBackground(true);
    // The panel takes what room panels 0 and 1 leave; it never widens the window.
    LinkPanel.setMinimumWidth(0);
    LinkPanel.setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    addWidget(&HintPanel);
    addWidget(&SettingsPanel);
    addWidget(&LinkPanel, 1);
    ShowLinkStatistics(LinkStatistics{});
}

// Where there is no room for every figure, the counts of trouble go first (an ellipsis says so)
// and the request's doubt last; the tool tip always has the whole line.
void TMainStatusBar::ShowLinkStatistics(const LinkStatistics& statistics) {
    deviceLost_ = false;
    const std::string port = "COM" + std::to_string(statistics.portNumber);
    if (statistics.noData) {
        ShowLink({Text("no data from " + port)},
                 Text(port + " is open, but no frame has come for a second: look at the MPU's firmware, the addresses, "
                             "the device and the baud rate.\n" +
                      LinkStatisticsText(statistics)),
                 true);
        return;
    }
    const bool unsure = statistics.request == RequestOutcome::Unsure;
    const std::string frames = "frames=" + std::to_string(statistics.assembler.frames);
    QStringList texts{Text(LinkStatisticsBrief(statistics))};
    if (unsure) {
        texts << Text(frames + " request=unsure") << QStringLiteral("request=unsure");
    } else if (texts.front() != Text(frames)) {
        texts << Text(frames + " …");
    }
    ShowLink(texts, Text(StatisticsDetails(statistics)), unsure);
}

void TMainStatusBar::ShowDeviceLost(int portNumber, const std::string& reason, const std::string& awaitedDevice) {
    deviceLost_ = true;
    std::string details = "COM" + std::to_string(portNumber) + " lost";
    if (!reason.empty()) details += ": " + reason;
    details += ".\nWaiting for " + (awaitedDevice.empty() ? std::string("the device") : awaitedDevice) +
               " to come back; STOP ends the wait.";
    const std::string lost = "COM" + std::to_string(portNumber) + " lost — waiting";
    ShowLink({Text(lost + " for the device"), Text(lost)}, Text(details), true);
}

void TMainStatusBar::ShowLink(const QStringList& texts, const QString& details, bool trouble) {
    LinkPanel.SetTexts(texts);
    LinkPanel.setToolTip(details);
    LinkPanel.setAccessibleDescription(details);
    if (trouble == troubleShown_) return;
    troubleShown_ = trouble;
    QPalette colours = LinkPanel.palette();
    colours.setColor(QPalette::Window, trouble ? QColor::fromRgb(kLostColour) : palette().color(QPalette::Window));
    LinkPanel.setPalette(colours);
}

void TMainStatusBar::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && OnClick) OnClick();
}

}  // namespace ondrix
