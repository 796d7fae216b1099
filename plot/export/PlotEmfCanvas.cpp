#include "plot/export/PlotEmfCanvas.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <unordered_map>
#include <vector>

#include "plot/core/PlotScopeExit.h"
#include "plot/export/PlotEmfRecords.h"
#include "plot/export/PlotTextLayout.h"

namespace ondrix {

namespace {

// Values the file format gives these settings.
constexpr uint32_t kMapModeText = 1;
constexpr uint32_t kBkModeTransparent = 1;
constexpr uint32_t kFillAlternate = 1;
constexpr uint32_t kAlignTopLeft = 0;
constexpr uint32_t kRopNot = 6;
constexpr uint32_t kRopCopyPen = 13;
constexpr uint32_t kPenGeometric = 0x00010000;  // end caps and joins round: both flags are 0
constexpr uint32_t kPenAlternate = 8;           // every other pixel, cosmetic pens only
constexpr uint32_t kBrushSolid = 0;
constexpr uint32_t kBrushHatched = 2;
constexpr uint32_t kGraphicsModeCompatible = 1;
constexpr uint32_t kTextClipped = 4;
constexpr uint32_t kDibRgbColors = 0;
constexpr uint32_t kSourceCopy = 0x00CC0020;
constexpr uint8_t kDefaultCharset = 1;
constexpr size_t kFaceNameUnits = 32;
// The font record's font as the format's own writers make it: the 92-byte logical font followed
// by full name, style, version and panose, 320 bytes in all.
constexpr size_t kLogFontSize = 92;
constexpr size_t kLogFontPanoseSize = 320;
// Hundredths of a millimetre per pixel at 96 per inch, the text record's page scale.
constexpr float kHundredthsOfMmPerPixel = 2540.0f / 96.0f;

// Long traces are cut into records of this many points, so that no player meets a record of
// megabytes; a polyline's pieces share their joint, which the earlier piece leaves unset.
constexpr size_t kPointsPerRecord = 8192;
// Distinct pens, brushes and fonts kept at once; beyond it the least recently used go. The
// handle table's size is a 16-bit figure.
constexpr size_t kObjectsKept = 1024;

constexpr uint32_t kNoObject = 0;  // handle 0 is the metafile itself: nothing selected yet

uint32_t PenStyleCode(TPenStyle style) {
    switch (style) {
        case psSolid: return 0;
        case psDash: return 1;
        case psDot: return 2;
        case psDashDot: return 3;
        case psDashDotDot: return 4;
        case psClear: return 5;
    }
    return 0;
}

// Hatch patterns by the format's numbers; -1 for a brush that is not hatched.
int HatchCode(TBrushStyle style) {
    switch (style) {
        case bsHorizontal: return 0;
        case bsVertical: return 1;
        case bsFDiagonal: return 2;
        case bsBDiagonal: return 3;
        case bsCross: return 4;
        case bsDiagCross: return 5;
        case bsSolid:
        case bsClear: return -1;
    }
    return -1;
}

int32_t ClampToInt32(int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

bool FitsInt16(int32_t value) { return value >= -32768 && value <= 32767; }

// Inclusive bounds of device points, as drawing records carry them.
TEmfRect BoundsOf(const std::vector<TPlotPoint>& points, size_t begin, size_t end) {
    TEmfRect bounds{points[begin].X, points[begin].Y, points[begin].X, points[begin].Y};
    for (size_t i = begin; i < end; ++i) {
        bounds.Left = std::min(bounds.Left, points[i].X);
        bounds.Top = std::min(bounds.Top, points[i].Y);
        bounds.Right = std::max(bounds.Right, points[i].X);
        bounds.Bottom = std::max(bounds.Bottom, points[i].Y);
    }
    return bounds;
}

}  // namespace

// ---- The recording canvas

class TPlotEmfCanvas final : public TCanvas {
public:
    TPlotEmfCanvas(int width, int height, TCanvas& measure, const std::string& creator, const std::string& title);

    void SetPen(const TPlotPen& pen) override { state_.pen = pen; }
    const TPlotPen& GetPen() const override { return state_.pen; }
    void SetBrush(const TPlotBrush& brush) override { state_.brush = brush; }
    const TPlotBrush& GetBrush() const override { return state_.brush; }
    void SetFont(const TPlotFont& font) override { state_.font = font; }
    const TPlotFont& GetFont() const override { return state_.font; }

    int TextWidth(const std::string& text) override { return TCanvasTextMeasure(measure_).TextWidth(text, state_.font); }
    int TextHeight(const std::string& text) override {
        return TCanvasTextMeasure(measure_).TextHeight(text, state_.font);
    }

    void Polyline(const TPlotPoint* points, size_t count) override;
    void Lines(const TPlotPoint* pairs, size_t count) override;
    void Rectangle(const TPlotRect& box) override;
    void Ellipse(const TPlotRect& box) override;
    void Polygon(const TPlotPoint* points, size_t count) override;
    void FillRect(const TPlotRect& box) override;

    void TextOut(int x, int y, const std::string& text) override;
    int DrawText(const std::string& text, const TPlotRect& box, TTextFormat format) override;
    void DrawRotatedText(TPlotPoint centre, int angle, const std::string& text) override;

    void SetClipRect(const TPlotRect& box) override;
    void RemoveClip() override;
    void Save() override;
    void Restore() override;
    void SetOrigin(TPlotPoint devicePosition) override { state_.origin = devicePosition; }
    TPlotPoint GetOrigin() const override { return state_.origin; }

    void DrawEdge(const TPlotRect& box, TEdgeStyle style) override;
    void DrawFocusRect(const TPlotRect& box) override;

    void DrawBitmap(TPlotPoint topLeft, const TPlotBitmap& bitmap) override;
    void DrawBitmapTransparent(TPlotPoint topLeft, const TPlotBitmap& bitmap, TColor transparent) override;
    void DrawMetafile(const TPlotMetafile& metafile, const TPlotRect& box) override;

    TColor GetSystemColor(SystemColorRole role) const override { return measure_.GetSystemColor(role); }

    std::string Finish();

private:
    // What TCanvas saves and restores. The clip itself lives in the recording's own saved
    // states: each Save is a saved state whose clip is the one in force, and a clip is set by
    // going back to it and intersecting.
    struct State {
        TPlotPen pen;
        TPlotBrush brush;
        TPlotFont font;
        TPlotPoint origin;
        bool clipped = false;  // a clip was intersected since the innermost Save
    };
    // What the player's device context holds, as far as the records so far set it; it is saved
    // and restored with the device context.
    struct DeviceState {
        uint32_t pen = kNoObject;
        uint32_t brush = kNoObject;
        uint32_t font = kNoObject;
        uint32_t textColor = std::numeric_limits<uint32_t>::max();
    };
    struct CachedObject {
        uint32_t handle;
        uint64_t lastUse;
    };

    TEmfRecordWriter& Out();
    TPlotPoint ToDevice(TPlotPoint point) const;
    TEmfRect ToDevice(const TPlotRect& box) const;
    uint32_t ColorRef(TColor color) const { return ResolveColor(color) & 0xFFFFFF; }

    // Objects by value: the same pen, brush or font is created once and selected again.
    uint32_t ObjectFor(const std::string& key, TEmfRecordType type);
    uint32_t NewHandle();
    void EvictOneObject();
    bool Selected(uint32_t handle) const;
    void Select(uint32_t DeviceState::*slot, uint32_t handle);
    void UsePen(const TPlotPen& pen);
    void UseNullPen() { Select(&DeviceState::pen, kEmfStockNullPen); }
    void UseBrush(const TPlotBrush& brush);
    void UseFont(const TPlotFont& font, int escapement);
    void UseTextColor(TColor color);

    // Device-context saves: every Save, plus one for the whole recording so that the first clip
    // can be undone as well.
    void SaveDc();
    void RestoreDc();
    void BackToSavedClip();

    void PutPolyRecord(TEmfRecordType type16, TEmfRecordType type32, const std::vector<TPlotPoint>& points,
                       size_t begin, size_t end);
    void PutBox(TEmfRecordType type, TEmfRect box);
    void FillSolid(const TPlotRect& box, TColor color);
    // How far apart the measuring canvas stacks the lines of a text in the current font.
    int LinePitch() { return TextHeight("X\nX") - TextHeight("X"); }
    // One run of text in one font with its top-left (turned by the escapement) at a device point.
    void PutText(TPlotPoint devicePoint, const std::string& text, const TPlotFont& font, int escapement,
                 const TEmfRect* clip);

    TCanvas& measure_;
    std::unique_ptr<TEmfRecordWriter> out_;
    State state_;
    std::vector<State> saved_;
    DeviceState device_;
    std::vector<DeviceState> savedDevices_;
    std::unordered_map<std::string, CachedObject> objects_;
    std::vector<uint32_t> freeHandles_;
    uint32_t nextHandle_ = 1;
    uint64_t uses_ = 0;
    std::vector<TPlotPoint> points_;  // reused: device points of the call at hand
};

TPlotEmfCanvas::TPlotEmfCanvas(int width, int height, TCanvas& measure, const std::string& creator,
                               const std::string& title)
    : measure_(measure), out_(std::make_unique<TEmfRecordWriter>(width, height, creator, title)) {
    out_->Simple(emrSetMapMode, kMapModeText);
    out_->Simple(emrSetBkMode, kBkModeTransparent);  // text and hatches leave the background
    out_->Simple(emrSetPolyFillMode, kFillAlternate);
    out_->Simple(emrSetTextAlign, kAlignTopLeft);
    out_->Simple(emrSetRop2, kRopCopyPen);
    SaveDc();
}

TEmfRecordWriter& TPlotEmfCanvas::Out() {
    if (!out_) throw std::logic_error("metafile recording already finished");
    return *out_;
}

TPlotPoint TPlotEmfCanvas::ToDevice(TPlotPoint point) const {
    return {ClampToInt32(int64_t{point.X} + state_.origin.X), ClampToInt32(int64_t{point.Y} + state_.origin.Y)};
}

TEmfRect TPlotEmfCanvas::ToDevice(const TPlotRect& box) const {
    const TPlotPoint topLeft = ToDevice(TPlotPoint{box.Left, box.Top});
    const TPlotPoint bottomRight = ToDevice(TPlotPoint{box.Right, box.Bottom});
    return {topLeft.X, topLeft.Y, bottomRight.X, bottomRight.Y};
}

// ---- Objects

uint32_t TPlotEmfCanvas::NewHandle() {
    if (objects_.size() >= kObjectsKept) EvictOneObject();
    if (!freeHandles_.empty()) {
        const uint32_t handle = freeHandles_.back();
        freeHandles_.pop_back();
        return handle;
    }
    Out().UseHandle(nextHandle_);
    return nextHandle_++;
}

bool TPlotEmfCanvas::Selected(uint32_t handle) const {
    const auto holds = [handle](const DeviceState& dc) {
        return dc.pen == handle || dc.brush == handle || dc.font == handle;
    };
    return holds(device_) || std::any_of(savedDevices_.begin(), savedDevices_.end(), holds);
}

// An object selected now or in a saved state stays: a restore would select it again.
void TPlotEmfCanvas::EvictOneObject() {
    auto oldest = objects_.end();
    for (auto it = objects_.begin(); it != objects_.end(); ++it)
        if (!Selected(it->second.handle) && (oldest == objects_.end() || it->second.lastUse < oldest->second.lastUse))
            oldest = it;
    if (oldest == objects_.end()) return;
    Out().Simple(emrDeleteObject, oldest->second.handle);
    freeHandles_.push_back(oldest->second.handle);
    objects_.erase(oldest);
}

uint32_t TPlotEmfCanvas::ObjectFor(const std::string& key, TEmfRecordType type) {
    const auto known = objects_.find(key);
    if (known != objects_.end()) {
        known->second.lastUse = ++uses_;
        return known->second.handle;
    }
    const uint32_t handle = NewHandle();
    objects_.emplace(key, CachedObject{handle, ++uses_});
    Out().Begin(type);
    Out().PutU32(handle);
    return handle;  // the caller writes the object's fields and ends the record
}

void TPlotEmfCanvas::Select(uint32_t DeviceState::*slot, uint32_t handle) {
    if (device_.*slot == handle) return;
    Out().Simple(emrSelectObject, handle);
    device_.*slot = handle;
}

void TPlotEmfCanvas::UsePen(const TPlotPen& pen) {
    if (pen.Style == psClear) return UseNullPen();
    const uint32_t color = ColorRef(pen.Color);
    const bool thin = pen.Width <= 1;
    const std::string key = "pen " + std::to_string(color) + ' ' + std::to_string(thin ? 0 : pen.Width) + ' ' +
                            std::to_string(pen.Style);
    const bool known = objects_.count(key) != 0;
    const uint32_t handle = ObjectFor(key, thin ? emrCreatePen : emrExtCreatePen);
    if (!known) {
        TEmfRecordWriter& out = Out();
        if (thin) {
            // Width 0: one pixel at any playback size.
            out.PutU32(PenStyleCode(pen.Style));
            out.PutI32(0);
            out.PutI32(0);
            out.PutU32(color);
        } else {
            // Styles of wide pens need the extended record; ends and joins round, as on screen.
            out.PutU32(0);  // no pattern bitmap
            out.PutU32(0);
            out.PutU32(0);
            out.PutU32(0);
            out.PutU32(kPenGeometric | PenStyleCode(pen.Style));
            out.PutU32(static_cast<uint32_t>(pen.Width));
            out.PutU32(kBrushSolid);
            out.PutU32(color);
            out.PutU32(0);  // hatch
            out.PutU32(0);  // no style entries
        }
        out.End();
    }
    Select(&DeviceState::pen, handle);
}

void TPlotEmfCanvas::UseBrush(const TPlotBrush& brush) {
    if (brush.Style == bsClear) return Select(&DeviceState::brush, kEmfStockNullBrush);
    const uint32_t color = ColorRef(brush.Color);
    const std::string key = "brush " + std::to_string(color) + ' ' + std::to_string(brush.Style);
    const bool known = objects_.count(key) != 0;
    const uint32_t handle = ObjectFor(key, emrCreateBrushIndirect);
    if (!known) {
        const int hatch = HatchCode(brush.Style);
        Out().PutU32(hatch < 0 ? kBrushSolid : kBrushHatched);
        Out().PutU32(color);
        Out().PutU32(hatch < 0 ? 0 : static_cast<uint32_t>(hatch));
        Out().End();
    }
    Select(&DeviceState::brush, handle);
}

void TPlotEmfCanvas::UseFont(const TPlotFont& font, int escapement) {
    const int32_t height = -std::max(1, static_cast<int>(std::lround(font.Size * 96.0 / 72.0)));
    const std::string key = "font " + font.Name + '\0' + std::to_string(height) + ' ' + std::to_string(font.Bold) +
                            std::to_string(font.Italic) + std::to_string(font.Underline) +
                            std::to_string(font.StrikeOut) + ' ' + std::to_string(escapement);
    const bool known = objects_.count(key) != 0;
    const uint32_t handle = ObjectFor(key, emrExtCreateFontIndirectW);
    if (!known) {
        TEmfRecordWriter& out = Out();
        out.PutI32(height);  // negative: the em height, as the screen's fonts are sized
        out.PutI32(0);       // width: the face's own
        out.PutI32(escapement);
        out.PutI32(escapement);  // orientation
        out.PutI32(font.Bold ? 700 : 400);
        out.PutU8(font.Italic ? 1 : 0);
        out.PutU8(font.Underline ? 1 : 0);
        out.PutU8(font.StrikeOut ? 1 : 0);
        out.PutU8(kDefaultCharset);
        out.PutU8(0);  // precisions, quality, pitch and family: the player's defaults
        out.PutU8(0);
        out.PutU8(0);
        out.PutU8(0);
        std::u16string face = Utf8ToUtf16(font.Name);
        face.resize(kFaceNameUnits - 1);
        face.push_back(u'\0');
        out.PutUtf16(face);
        out.PutZeros(kLogFontPanoseSize - kLogFontSize);  // zeros: not given
        out.End();
    }
    Select(&DeviceState::font, handle);
}

void TPlotEmfCanvas::UseTextColor(TColor color) {
    const uint32_t colorRef = ColorRef(color);
    if (device_.textColor == colorRef) return;
    Out().Simple(emrSetTextColor, colorRef);
    device_.textColor = colorRef;
}

// ---- Device-context saves and the clip

void TPlotEmfCanvas::SaveDc() {
    Out().Simple(emrSaveDc);
    savedDevices_.push_back(device_);
}

void TPlotEmfCanvas::RestoreDc() {
    Out().Simple(emrRestoreDc, static_cast<uint32_t>(-1));
    device_ = savedDevices_.back();
    savedDevices_.pop_back();
}

// Clips only ever narrow; going back to the innermost saved state widens it again.
void TPlotEmfCanvas::BackToSavedClip() {
    if (!state_.clipped) return;
    RestoreDc();
    SaveDc();
    state_.clipped = false;
}

void TPlotEmfCanvas::SetClipRect(const TPlotRect& box) {
    BackToSavedClip();
    TEmfRect clip = ToDevice(box);
    clip.Right = std::max(clip.Right, clip.Left);
    clip.Bottom = std::max(clip.Bottom, clip.Top);
    Out().Begin(emrIntersectClipRect);
    Out().PutRect(clip);
    Out().End();
    state_.clipped = true;
}

void TPlotEmfCanvas::RemoveClip() { BackToSavedClip(); }

void TPlotEmfCanvas::Save() {
    saved_.push_back(state_);
    SaveDc();
    state_.clipped = false;
}

void TPlotEmfCanvas::Restore() {
    if (saved_.empty()) throw std::logic_error("canvas Restore without a matching Save");
    RestoreDc();
    state_ = saved_.back();
    saved_.pop_back();
}

// ---- Lines and shapes

void TPlotEmfCanvas::PutPolyRecord(TEmfRecordType type16, TEmfRecordType type32,
                                   const std::vector<TPlotPoint>& points, size_t begin, size_t end) {
    const TEmfRect bounds = BoundsOf(points, begin, end);
    const bool small = FitsInt16(bounds.Left) && FitsInt16(bounds.Top) && FitsInt16(bounds.Right) &&
                       FitsInt16(bounds.Bottom);
    TEmfRecordWriter& out = Out();
    out.Begin(small ? type16 : type32);
    out.PutRect(bounds);
    out.PutU32(static_cast<uint32_t>(end - begin));
    for (size_t i = begin; i < end; ++i) {
        if (small) {
            out.PutI16(static_cast<int16_t>(points[i].X));
            out.PutI16(static_cast<int16_t>(points[i].Y));
        } else {
            out.PutI32(points[i].X);
            out.PutI32(points[i].Y);
        }
    }
    out.End();
}

void TPlotEmfCanvas::Polyline(const TPlotPoint* points, size_t count) {
    if (count < 2 || state_.pen.Style == psClear) return;
    UsePen(state_.pen);
    points_.resize(count);
    for (size_t i = 0; i < count; ++i) points_[i] = ToDevice(points[i]);
    // Pieces overlap by their joint: the earlier piece leaves it unset, the later one sets it.
    for (size_t begin = 0; begin + 1 < count; begin += kPointsPerRecord - 1)
        PutPolyRecord(emrPolyline16, emrPolyline, points_, begin, std::min(count, begin + kPointsPerRecord));
}

void TPlotEmfCanvas::Lines(const TPlotPoint* pairs, size_t count) {
    if (count < 2 || state_.pen.Style == psClear) return;
    points_.clear();
    for (size_t i = 0; i + 1 < count; i += 2) {
        if (pairs[i] == pairs[i + 1]) continue;  // sets nothing
        points_.push_back(ToDevice(pairs[i]));
        points_.push_back(ToDevice(pairs[i + 1]));
    }
    if (points_.empty()) return;
    UsePen(state_.pen);
    for (size_t begin = 0; begin < points_.size(); begin += kPointsPerRecord) {
        const size_t end = std::min(points_.size(), begin + kPointsPerRecord);
        const TEmfRect bounds = BoundsOf(points_, begin, end);
        const bool small = FitsInt16(bounds.Left) && FitsInt16(bounds.Top) && FitsInt16(bounds.Right) &&
                           FitsInt16(bounds.Bottom);
        TEmfRecordWriter& out = Out();
        out.Begin(small ? emrPolyPolyline16 : emrPolyPolyline);
        out.PutRect(bounds);
        out.PutU32(static_cast<uint32_t>((end - begin) / 2));
        out.PutU32(static_cast<uint32_t>(end - begin));
        for (size_t i = begin; i < end; i += 2) out.PutU32(2);
        for (size_t i = begin; i < end; ++i) {
            if (small) {
                out.PutI16(static_cast<int16_t>(points_[i].X));
                out.PutI16(static_cast<int16_t>(points_[i].Y));
            } else {
                out.PutI32(points_[i].X);
                out.PutI32(points_[i].Y);
            }
        }
        out.End();
    }
}

void TPlotEmfCanvas::PutBox(TEmfRecordType type, TEmfRect box) {
    // Without a pen the format fills one pixel short on the right and at the bottom; the canvas
    // fills the whole box.
    if (device_.pen == kEmfStockNullPen) {
        ++box.Right;
        ++box.Bottom;
    }
    Out().Begin(type);
    Out().PutRect(box);
    Out().End();
}

void TPlotEmfCanvas::Rectangle(const TPlotRect& box) {
    if (box.Right <= box.Left || box.Bottom <= box.Top) return;
    if (state_.pen.Style == psClear && state_.brush.Style == bsClear) return;
    UsePen(state_.pen);
    UseBrush(state_.brush);
    PutBox(emrRectangle, ToDevice(box));
}

void TPlotEmfCanvas::Ellipse(const TPlotRect& box) {
    if (box.Right <= box.Left || box.Bottom <= box.Top) return;
    if (state_.pen.Style == psClear && state_.brush.Style == bsClear) return;
    UsePen(state_.pen);
    UseBrush(state_.brush);
    PutBox(emrEllipse, ToDevice(box));
}

void TPlotEmfCanvas::Polygon(const TPlotPoint* points, size_t count) {
    if (count < 2) return;
    if (state_.pen.Style == psClear && state_.brush.Style == bsClear) return;
    UsePen(state_.pen);
    UseBrush(state_.brush);
    points_.resize(count);
    for (size_t i = 0; i < count; ++i) points_[i] = ToDevice(points[i]);
    PutPolyRecord(emrPolygon16, emrPolygon, points_, 0, count);
}

void TPlotEmfCanvas::FillRect(const TPlotRect& box) {
    if (box.Right <= box.Left || box.Bottom <= box.Top || state_.brush.Style == bsClear) return;
    UseNullPen();
    UseBrush(state_.brush);
    PutBox(emrRectangle, ToDevice(box));
}

void TPlotEmfCanvas::FillSolid(const TPlotRect& box, TColor color) {
    const TPlotBrush brush = state_.brush;
    state_.brush = TPlotBrush{color, bsSolid};
    FillRect(box);
    state_.brush = brush;
}

// ---- Text

void TPlotEmfCanvas::PutText(TPlotPoint devicePoint, const std::string& text, const TPlotFont& font,
                             int escapement, const TEmfRect* clip) {
    if (text.empty()) return;
    // Each character's advance as the measuring canvas sets it: the width of the text up to and
    // including it, less the width before it. The second half of a surrogate pair advances 0.
    const std::u16string units = Utf8ToUtf16(text);
    std::vector<uint32_t> advances;
    advances.reserve(units.size());
    const TCanvasTextMeasure measure(measure_);
    int before = 0;
    for (size_t i = 0; i < text.size();) {
        size_t length = 1;
        while (i + length < text.size() && (static_cast<unsigned char>(text[i + length]) & 0xC0) == 0x80) ++length;
        i += length;
        const int upTo = measure.TextWidth(text.substr(0, i), font);
        advances.push_back(static_cast<uint32_t>(std::max(0, upTo - before)));
        if (length == 4) advances.push_back(0);
        before = upTo;
    }
    advances.resize(units.size(), 0);

    UseFont(font, escapement);
    UseTextColor(font.Color);
    const int width = before;
    const int height = measure.TextHeight(text, font);
    constexpr uint32_t kStringAt = 76;  // after the record's fixed part
    const uint32_t stringBytes = static_cast<uint32_t>(units.size() * 2 + 3) / 4 * 4;
    TEmfRecordWriter& out = Out();
    out.Begin(emrExtTextOutW);
    const int reach = escapement == 0 ? 0 : std::max(width, height);  // turned text: a generous box
    out.PutRect({devicePoint.X - reach, devicePoint.Y - reach, devicePoint.X + std::max(width, reach) - 1,
                 devicePoint.Y + std::max(height, reach) - 1});
    out.PutU32(kGraphicsModeCompatible);
    out.PutF32(kHundredthsOfMmPerPixel);
    out.PutF32(kHundredthsOfMmPerPixel);
    out.PutI32(devicePoint.X);
    out.PutI32(devicePoint.Y);
    out.PutU32(static_cast<uint32_t>(units.size()));
    out.PutU32(kStringAt);
    out.PutU32(clip != nullptr ? kTextClipped : 0);
    out.PutRect(clip != nullptr ? *clip : TEmfRect{0, 0, -1, -1});
    out.PutU32(kStringAt + stringBytes);
    out.PutUtf16(units);
    out.PutZeros(stringBytes - units.size() * 2);
    for (uint32_t advance : advances) out.PutU32(advance);
    out.End();
}

void TPlotEmfCanvas::TextOut(int x, int y, const std::string& text) {
    if (text.empty()) return;
    const int pitch = LinePitch();
    const std::vector<std::string> lines = TextLines(text);
    for (size_t i = 0; i < lines.size(); ++i)
        PutText(ToDevice(TPlotPoint{x, y + pitch * static_cast<int>(i)}), lines[i], state_.font, 0, nullptr);
}

int TPlotEmfCanvas::DrawText(const std::string& text, const TPlotRect& box, TTextFormat format) {
    const TTextLayout layout = [&] {
        const TPlotFont previous = measure_.GetFont();
        measure_.SetFont(state_.font);
        TScopeExit restore([&] { measure_.SetFont(previous); });
        return LayOutText(measure_, text, box, format);
    }();
    if (format & tfMeasureOnly) return layout.Height;
    const TEmfRect clip = ToDevice(box);
    for (const TTextLine& line : layout.Lines)
        for (const TTextRun& run : line.Runs) {
            TPlotFont font = state_.font;
            font.Underline = font.Underline || run.Underlined;
            PutText(ToDevice(TPlotPoint{run.X, line.Y}), run.Text, font, 0, &clip);
        }
    return layout.Height;
}

void TPlotEmfCanvas::DrawRotatedText(TPlotPoint centre, int angle, const std::string& text) {
    if (text.empty()) return;
    const int width = TextWidth(text);
    const int height = TextHeight(text);
    const int pitch = LinePitch();
    const int turn = ((angle % 360) + 360) % 360;
    const double radians = turn * 3.14159265358979323846 / 180.0;
    const double cosine = std::cos(radians);
    const double sine = std::sin(radians);
    const TPlotPoint origin = ToDevice(centre);
    const std::vector<std::string> lines = TextLines(text);
    for (size_t i = 0; i < lines.size(); ++i) {
        // The line's top-left in the unturned box centred on (0, 0), each line centred in it,
        // then turned counter-clockwise as the screen shows it (y grows downwards).
        const double dx = -width / 2 + (width - TextWidth(lines[i])) / 2;
        const double dy = -height / 2 + pitch * static_cast<int>(i);
        const TPlotPoint at{origin.X + static_cast<int32_t>(std::lround(dx * cosine + dy * sine)),
                            origin.Y + static_cast<int32_t>(std::lround(-dx * sine + dy * cosine))};
        PutText(at, lines[i], state_.font, turn * 10, nullptr);
    }
}

// ---- Desktop decorations

void TPlotEmfCanvas::DrawEdge(const TPlotRect& box, TEdgeStyle style) {
    TColor light = GetSystemColor(SystemColorRole::Highlight);
    TColor dark = GetSystemColor(SystemColorRole::Shadow);
    if (style == esSunken) std::swap(light, dark);
    for (int ring = 0; ring < 2; ++ring) {
        const TPlotRect r{box.Left + ring, box.Top + ring, box.Right - ring, box.Bottom - ring};
        if (r.Right <= r.Left || r.Bottom <= r.Top) return;
        FillSolid({r.Left, r.Top, r.Right - 1, r.Top + 1}, light);
        FillSolid({r.Left, r.Top + 1, r.Left + 1, r.Bottom - 1}, light);
        FillSolid({r.Right - 1, r.Top, r.Right, r.Bottom}, dark);
        FillSolid({r.Left, r.Bottom - 1, r.Right, r.Bottom}, dark);
    }
}

void TPlotEmfCanvas::DrawFocusRect(const TPlotRect& box) {
    if (box.Right <= box.Left || box.Bottom <= box.Top) return;
    // A one-pixel pen of every other pixel, inverting: the ring drawn as one closed polyline sets
    // each of its pixels once, so a second drawing restores the picture. Players that know no
    // inverting or no such pen draw a plain outline, the closest the format then does.
    const std::string key = "focus pen";
    const bool known = objects_.count(key) != 0;
    const uint32_t handle = ObjectFor(key, emrExtCreatePen);
    if (!known) {
        TEmfRecordWriter& out = Out();
        for (int i = 0; i < 4; ++i) out.PutU32(0);  // no pattern bitmap
        out.PutU32(kPenAlternate);
        out.PutU32(1);
        out.PutU32(kBrushSolid);
        out.PutU32(0);  // black; inverting ignores it
        out.PutU32(0);
        out.PutU32(0);
        out.End();
    }
    Select(&DeviceState::pen, handle);
    const TEmfRect r = ToDevice(box);
    points_.clear();
    if (r.Right - r.Left == 1 || r.Bottom - r.Top == 1) {
        // A ring one pixel thin is a single line, its end just past the box.
        points_.push_back({r.Left, r.Top});
        points_.push_back(r.Bottom - r.Top == 1 ? TPlotPoint{r.Right, r.Top} : TPlotPoint{r.Left, r.Bottom});
    } else {
        points_ = {{r.Left, r.Top}, {r.Right - 1, r.Top}, {r.Right - 1, r.Bottom - 1}, {r.Left, r.Bottom - 1},
                   {r.Left, r.Top}};
    }
    Out().Simple(emrSetRop2, kRopNot);
    PutPolyRecord(emrPolyline16, emrPolyline, points_, 0, points_.size());
    Out().Simple(emrSetRop2, kRopCopyPen);
}

// ---- Pictures

void TPlotEmfCanvas::DrawBitmap(TPlotPoint topLeft, const TPlotBitmap& bitmap) {
    const int width = bitmap.Width();
    const int height = bitmap.Height();
    if (width <= 0 || height <= 0) return;
    const TPlotPoint at = ToDevice(topLeft);
    const uint64_t rowSize = (static_cast<uint64_t>(width) * 3 + 3) / 4 * 4;
    const uint64_t bitsSize = rowSize * static_cast<uint64_t>(height);
    if (bitsSize > std::numeric_limits<uint32_t>::max() / 2) throw EPlotError("Bitmap too large for a metafile");
    constexpr uint32_t kInfoAt = 80;  // after the record's fixed part
    constexpr uint32_t kInfoSize = 40;
    TEmfRecordWriter& out = Out();
    out.Begin(emrStretchDiBits);
    out.PutRect({at.X, at.Y, at.X + width - 1, at.Y + height - 1});
    out.PutI32(at.X);
    out.PutI32(at.Y);
    out.PutI32(0);  // the whole bitmap
    out.PutI32(0);
    out.PutI32(width);
    out.PutI32(height);
    out.PutU32(kInfoAt);
    out.PutU32(kInfoSize);
    out.PutU32(kInfoAt + kInfoSize);
    out.PutU32(static_cast<uint32_t>(bitsSize));
    out.PutU32(kDibRgbColors);
    out.PutU32(kSourceCopy);
    out.PutI32(width);
    out.PutI32(height);
    // The bitmap's header: 24-bit rows, bottom-up, 96 per inch.
    out.PutU32(kInfoSize);
    out.PutI32(width);
    out.PutI32(height);
    out.PutU16(1);
    out.PutU16(24);
    out.PutU32(0);
    out.PutU32(static_cast<uint32_t>(bitsSize));
    out.PutI32(3780);
    out.PutI32(3780);
    out.PutU32(0);
    out.PutU32(0);
    std::vector<unsigned char> row(static_cast<size_t>(rowSize), 0);
    for (int y = height - 1; y >= 0; --y) {
        const uint32_t* pixels = bitmap.ScanLine(y);
        for (int x = 0; x < width; ++x) {
            row[3 * x] = static_cast<unsigned char>(pixels[x]);
            row[3 * x + 1] = static_cast<unsigned char>(pixels[x] >> 8);
            row[3 * x + 2] = static_cast<unsigned char>(pixels[x] >> 16);
        }
        out.PutBytes(row.data(), row.size());
    }
    out.End();
}

void TPlotEmfCanvas::DrawBitmapTransparent(TPlotPoint topLeft, const TPlotBitmap& bitmap, TColor transparent) {
    // The format's transparent blits are not played alike everywhere; runs of one colour drawn as
    // filled boxes are.
    const TColor key = ResolveColor(transparent);
    for (int y = 0; y < bitmap.Height(); ++y) {
        const uint32_t* pixels = bitmap.ScanLine(y);
        for (int x = 0; x < bitmap.Width();) {
            const TColor color = ColorFromRgb(pixels[x] & 0xFFFFFF);
            int end = x + 1;
            while (end < bitmap.Width() && ColorFromRgb(pixels[end] & 0xFFFFFF) == color) ++end;
            if (color != key)
                FillSolid({topLeft.X + x, topLeft.Y + y, topLeft.X + end, topLeft.Y + y + 1}, color);
            x = end;
        }
    }
}

void TPlotEmfCanvas::DrawMetafile(const TPlotMetafile&, const TPlotRect&) {
    throw std::invalid_argument("a metafile recording cannot play another metafile");
}

// ---- Finishing

std::string TPlotEmfCanvas::Finish() {
    TEmfRecordWriter& out = Out();
    // Back to the device context as it began, which holds no object of ours, so that every
    // object can be deleted.
    out.Simple(emrRestoreDc, static_cast<uint32_t>(-static_cast<int32_t>(savedDevices_.size())));
    savedDevices_.clear();
    device_ = DeviceState{};
    for (const auto& entry : objects_) out.Simple(emrDeleteObject, entry.second.handle);
    objects_.clear();
    std::string bytes = out.Finish();
    out_.reset();
    return bytes;
}

// ---- The recorder

TPlotEmfRecorder::TPlotEmfRecorder(int width, int height, TCanvas& measure, const std::string& creator,
                                   const std::string& title)
    : canvas_(std::make_unique<TPlotEmfCanvas>(width, height, measure, creator, title)) {}

TPlotEmfRecorder::~TPlotEmfRecorder() = default;

TCanvas& TPlotEmfRecorder::Canvas() { return *canvas_; }

std::string TPlotEmfRecorder::Finish() { return canvas_->Finish(); }

}  // namespace ondrix
