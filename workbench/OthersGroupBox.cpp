#include "workbench/OthersGroupBox.h"

#include <QString>

#include "workbench/ControlHint.h"
#include "workbench/GroupFace.h"
#include "workbench/ScopePlotConfiguration.h"

namespace ondrix {

namespace {

// Two rows of label and box inside the group's 81 pixels, as in the channel groups.
constexpr int kRowTops[] = {20, 48};
constexpr int kRowHeight = 21;
constexpr int kLabelLeft = 8;
constexpr int kLabelWidth = 78;
constexpr int kBoxLeft = 88;
constexpr int kBoxWidth = 76;

}  // namespace

std::optional<uint32_t> ParseScreenWidth(const std::string& text) {
    const size_t first = !text.empty() && text[0] == '+' ? 1 : 0;
    if (first == text.size()) return std::nullopt;
    const auto widest = static_cast<uint32_t>(kScopeRingBufferSize);
    uint32_t width = 0;
    for (size_t i = first; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        width = width * 10 + static_cast<uint32_t>(text[i] - '0');
        if (width > widest) return std::nullopt;
    }
    if (width == 0) return std::nullopt;
    return width;
}

TOthersGroupBox::TOthersGroupBox(QWidget* parent)
    : QGroupBox(QStringLiteral("Others"), parent),
      TimeIntervalLabel(QStringLiteral("Time Intervals"), this),
      TimeIntervalEdit(QStringLiteral("0"), this),
      ScreenWidthLabel(QStringLiteral("Screen Width"), this),
      Edit5(QStringLiteral("50000"), this),
      screenWidthExit_(Edit5) {
    PutOnGroupFace(*this, Qt::black);
    TimeIntervalLabel.setGeometry(kLabelLeft, kRowTops[0], kLabelWidth, kRowHeight);
    TimeIntervalEdit.setGeometry(kBoxLeft, kRowTops[0], kBoxWidth, kRowHeight);
    ScreenWidthLabel.setGeometry(kLabelLeft, kRowTops[1], kLabelWidth, kRowHeight);
    Edit5.setGeometry(kBoxLeft, kRowTops[1], kBoxWidth, kRowHeight);

    TimeIntervalEdit.setReadOnly(true);
    SetHint(TimeIntervalEdit, QStringLiteral("double click twice to acquire time interval when curson on"));
    screenWidthExit_.OnExit = [this] {
        if (OnScreenWidthExit) OnScreenWidthExit();
    };

    setAccessibleName(QStringLiteral("Others"));
    TimeIntervalEdit.setAccessibleName(QStringLiteral("Time interval"));
    Edit5.setAccessibleName(QStringLiteral("Screen width"));
}

}  // namespace ondrix
