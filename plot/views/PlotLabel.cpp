#include "plot/views/PlotLabel.h"

#include <cmath>
#include <utility>

namespace ondrix {

TPlotLabel::TPlotLabel(TPlotComponent* owner, TPlotObjectEvents events) : TPlotLayoutObject(owner, std::move(events)) {
    SetHorizontal(true);
}

void TPlotLabel::SetCaption(const std::string& value) { SetField(caption_, value); }
void TPlotLabel::SetMarginLeft(double value) { SetField(marginLeft_, value); }
void TPlotLabel::SetMarginTop(double value) { SetField(marginTop_, value); }
void TPlotLabel::SetMarginRight(double value) { SetField(marginRight_, value); }
void TPlotLabel::SetMarginBottom(double value) { SetField(marginBottom_, value); }
void TPlotLabel::SetAlignment(TAlignmentHorizontal value) { SetField(alignment_, value); }
void TPlotLabel::SetFont(const TPlotFont& value) { SetField(font_, ClampedFont(value)); }

// ---- Measuring and drawing -----------------------------------------------------------------

TPlotLabel::Margins TPlotLabel::PixelMargins(const TPlotTextMeasure& measure) const {
    const double charHeight = measure.TextHeight("0", font_);
    const double charWidth = measure.TextWidth("0", font_);
    return {RoundToInt(charWidth * marginLeft_), RoundToInt(charHeight * marginTop_),
            RoundToInt(charWidth * marginRight_), RoundToInt(charHeight * marginBottom_)};
}

int TPlotLabel::GetRequiredWidth(const TPlotTextMeasure& measure) {
    const Margins margins = PixelMargins(measure);
    return measure.TextHeight(caption_, font_) + margins.top + margins.bottom;
}

void TPlotLabel::Draw(TCanvas& canvas) {
    if (!GetVisible()) return;
    const Margins margins = PixelMargins(TCanvasTextMeasure(canvas));
    canvas.SetFont(font_);
    canvas.SetBrush(TPlotBrush{canvas.GetBrush().Color, bsClear});
    const TPlotRect& rect = GetDrawRect();
    if (GetHorizontal()) {
        const TTextFormat align = alignment_ == iahCenter ? tfCenter : alignment_ == iahLeft ? tfLeft : tfRight;
        canvas.DrawText(caption_,
                        {rect.Left + margins.left, rect.Top + margins.top, rect.Right - margins.right,
                         rect.Bottom - margins.bottom},
                        align | tfVerticalCenter | tfNoPrefix);
        return;
    }
    // Read from bottom to top: "left" is toward the bottom end, "right" toward the top end.
    const int across = (rect.Left + margins.top + rect.Right - margins.bottom) / 2;
    const int halfLength = canvas.TextWidth(caption_) / 2;
    int along = (rect.Top + rect.Bottom) / 2;
    if (alignment_ == iahLeft) along = rect.Bottom - margins.left - halfLength;
    if (alignment_ == iahRight) along = rect.Top + margins.right + halfLength;
    canvas.DrawRotatedText({across, along}, 90, caption_);
}

}  // namespace ondrix
