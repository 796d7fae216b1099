#include "plot/config/PlotProperties.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <type_traits>
#include <utility>

#include "plot/axes/PlotAxis.h"
#include "plot/channels/PlotChannel.h"
#include "plot/channels/PlotChannelCustom.h"
#include "plot/component/PlotComponent.h"
#include "plot/core/PlotFont.h"
#include "plot/views/PlotDataCursor.h"
#include "plot/views/PlotDataView.h"
#include "plot/views/PlotExtras.h"
#include "plot/views/PlotLabel.h"
#include "plot/views/PlotLegend.h"
#include "plot/views/PlotToolBar.h"

namespace ondrix {

namespace {

// ---- value texts ---------------------------------------------------------------------------

struct NamedColor {
    const char* name;
    TColor color;
};
constexpr NamedColor kSystemColorNames[] = {
    {"clBtnFace", clBtnFace}, {"clBtnHighlight", clBtnHighlight}, {"clBtnShadow", clBtnShadow},
    {"clInfoBk", clInfoBk},   {"clInfoText", clInfoText},         {"clWindowText", clWindowText},
    {"clWindow", clWindow},
};

[[noreturn]] void Refuse(const std::string& name, const std::string& text, const char* expected) {
    throw EPlotError("Property " + name + ": '" + text + "' is not " + expected);
}

bool ParseBool(const std::string& text, bool& value) {
    if (SameText(text, "True")) return value = true, true;
    if (SameText(text, "False")) return value = false, true;
    return false;
}

bool ParseInteger(const std::string& text, int64_t& value) {
    if (text.empty() || text.size() > 11) return false;
    char* end = nullptr;
    const long long parsed = std::strtoll(text.c_str(), &end, 10);
    if (*end != '\0' || text[0] == ' ' || parsed < INT32_MIN || parsed > UINT32_MAX) return false;
    value = parsed;
    return true;
}

bool ParseDouble(const std::string& text, double& value) {
    return !text.empty() && text[0] != ' ' && TextToDouble(text, value) && std::isfinite(value);
}

bool ParseColor(const std::string& text, TColor& value) {
    if (text.size() == 7 && text[0] == '#') {
        char* end = nullptr;
        const unsigned long rgb = std::strtoul(text.c_str() + 1, &end, 16);
        if (*end != '\0') return false;
        value = ColorFromRgb(static_cast<uint32_t>(rgb));
        return true;
    }
    for (const NamedColor& named : kSystemColorNames)
        if (SameText(text, named.name)) return value = named.color, true;
    return false;
}

int EnumIndex(const std::vector<std::string>& names, const std::string& text) {
    for (size_t i = 0; i < names.size(); ++i)
        if (SameText(names[i], text)) return static_cast<int>(i);
    return -1;
}

// ---- typed properties from member functions -------------------------------------------------

template <class V>
std::string ToText(TPlotPropertyType type, const V& value, const std::vector<std::string>& names) {
    if constexpr (std::is_same_v<V, bool>) {
        return value ? "True" : "False";
    } else if constexpr (std::is_same_v<V, std::string>) {
        return value;
    } else if constexpr (std::is_enum_v<V>) {
        return names.at(static_cast<size_t>(value));
    } else if constexpr (std::is_floating_point_v<V>) {
        return DoubleToText(value);
    } else {
        return type == TPlotPropertyType::Color ? ColorToText(static_cast<TColor>(value)) : std::to_string(value);
    }
}

template <class V>
V FromText(TPlotPropertyType type, const std::string& text, const std::vector<std::string>& names) {
    if constexpr (std::is_same_v<V, bool>) {
        bool value = false;
        ParseBool(text, value);
        return value;
    } else if constexpr (std::is_same_v<V, std::string>) {
        return text;
    } else if constexpr (std::is_enum_v<V>) {
        return static_cast<V>(EnumIndex(names, text));
    } else if constexpr (std::is_floating_point_v<V>) {
        double value = 0;
        ParseDouble(text, value);
        return static_cast<V>(value);
    } else {
        if (type == TPlotPropertyType::Color) {
            TColor value = 0;
            ParseColor(text, value);
            return static_cast<V>(value);
        }
        int64_t value = 0;
        ParseInteger(text, value);
        return static_cast<V>(value);
    }
}

// `enumNames`: an enumeration's value names as its header declares them; none for other types.
template <class Target, class T, class R, class A, std::size_t N = 0>
TPropertyOf<Target> Make(const char* name, TPlotPropertyType type, R (T::*get)() const, void (T::*set)(A),
                         const std::array<const char*, N>& enumNames = {}) {
    using V = std::decay_t<A>;
    static_assert(N == 0 || std::is_enum_v<V>, "value names belong to an enumeration property");
    TPropertyOf<Target> property;
    property.Name = name;
    property.Type = type;
    property.EnumNames.assign(enumNames.begin(), enumNames.end());
    property.Read = [get, type, names = property.EnumNames](const Target& target) {
        return ToText<V>(type, (static_cast<const T&>(target).*get)(), names);
    };
    property.Write = [set, type, names = property.EnumNames](Target& target, const std::string& text) {
        (static_cast<T&>(target).*set)(FromText<V>(type, text, names));
    };
    return property;
}

template <class T, class R, class A, std::size_t N = 0>
TPlotProperty Prop(const char* name, TPlotPropertyType type, R (T::*get)() const, void (T::*set)(A),
                   const std::array<const char*, N>& enumNames = {}) {
    return Make<TPlotObject>(name, type, get, set, enumNames);
}

// A second stored name of a property: read from stored files, never written to them.
TPlotProperty WriteOnly(TPlotProperty property) {
    property.Read = nullptr;
    return property;
}

// ---- font properties ---------------------------------------------------------------------------

// One of the four stored parts of a font: its name suffix, its type, and how it is read from and
// written into a font (the text already checked).
struct FontPart {
    const char* suffix;
    TPlotPropertyType type;
    std::string (*read)(const TPlotFont&);
    void (*write)(TPlotFont&, const std::string&);
};

const FontPart kFontParts[] = {
    {".Name", TPlotPropertyType::String, [](const TPlotFont& font) { return font.Name; },
     [](TPlotFont& font, const std::string& text) { font.Name = text; }},
    {".Size", TPlotPropertyType::Integer, [](const TPlotFont& font) { return std::to_string(font.Size); },
     [](TPlotFont& font, const std::string& text) {
         int64_t size = 0;
         ParseInteger(text, size);
         font.Size = static_cast<int32_t>(size);
     }},
    {".Color", TPlotPropertyType::Color, [](const TPlotFont& font) { return ColorToText(font.Color); },
     [](TPlotFont& font, const std::string& text) { ParseColor(text, font.Color); }},
    {".Style", TPlotPropertyType::FontStyle, [](const TPlotFont& font) { return FontStyleToText(font); },
     [](TPlotFont& font, const std::string& text) { ParseFontStyle(text, font); }},
};

// The four properties of the font property `name`. A part is written by reading the whole font,
// changing that part and setting the font again, so the object's setter sees every change.
template <class Target, class T, class R>
std::vector<TPropertyOf<Target>> FontProperties(const std::string& name, R (T::*get)() const,
                                                void (T::*set)(const TPlotFont&)) {
    std::vector<TPropertyOf<Target>> properties;
    for (const FontPart& part : kFontParts) {
        TPropertyOf<Target> property;
        property.Name = name + part.suffix;
        property.Type = part.type;
        property.Read = [get, read = part.read](const Target& target) {
            return read((static_cast<const T&>(target).*get)());
        };
        property.Write = [get, set, write = part.write](Target& target, const std::string& text) {
            T& object = static_cast<T&>(target);
            TPlotFont font = (object.*get)();
            write(font, text);
            (object.*set)(font);
        };
        properties.push_back(std::move(property));
    }
    return properties;
}

// Font properties of an object class, as Prop is to Make.
template <class T, class R>
std::vector<TPlotProperty> FontProps(const std::string& name, R (T::*get)() const, void (T::*set)(const TPlotFont&)) {
    return FontProperties<TPlotObject>(name, get, set);
}

// A class's properties from several runs, in the order given: plain properties between fonts.
template <class P>
std::vector<P> Joined(std::initializer_list<std::vector<P>> runs) {
    std::vector<P> joined;
    for (const std::vector<P>& run : runs) joined.insert(joined.end(), run.begin(), run.end());
    return joined;
}

// The properties one class adds to those of its bases.
struct ClassProperties {
    bool (*is)(const TPlotObject&);
    std::vector<TPlotProperty> properties;
};

template <class T>
bool Is(const TPlotObject& object) {
    return dynamic_cast<const T*>(&object) != nullptr;
}

using Type = TPlotPropertyType;

// ---- the properties each class adds ----------------------------------------------------------
// A stored configuration lists an object's properties in this order, so reordering one changes
// the stored text.

std::vector<TPlotProperty> ObjectProperties() {
    return {
        Prop("Name", Type::String, &TPlotObject::GetName, &TPlotObject::SetName),
        Prop("Visible", Type::Bool, &TPlotObject::GetVisible, &TPlotObject::SetVisible),
        Prop("Enabled", Type::Bool, &TPlotObject::GetEnabled, &TPlotObject::SetEnabled),
        Prop("Layer", Type::Integer, &TPlotObject::GetLayer, &TPlotObject::SetLayer),
        Prop("PopupEnabled", Type::Bool, &TPlotObject::GetPopupEnabled, &TPlotObject::SetPopupEnabled),
    };
}

std::vector<TPlotProperty> LayoutObjectProperties() {
    return {
        Prop("StopPercent", Type::Double, &TPlotLayoutObject::GetStopPercent, &TPlotLayoutObject::SetStopPercent),
        Prop("StartPercent", Type::Double, &TPlotLayoutObject::GetStartPercent, &TPlotLayoutObject::SetStartPercent),
        Prop("ZOrder", Type::Integer, &TPlotLayoutObject::GetZOrder, &TPlotLayoutObject::SetZOrder),
        Prop("Horizontal", Type::Bool, &TPlotLayoutObject::GetHorizontal, &TPlotLayoutObject::SetHorizontal),
        Prop("ForceStacking", Type::Bool, &TPlotLayoutObject::GetForceStacking, &TPlotLayoutObject::SetForceStacking),
    };
}

std::vector<TPlotProperty> AxisProperties() {
    return Joined<TPlotProperty>({
        {Prop("Title", Type::String, &TPlotAxis::GetTitle, &TPlotAxis::SetTitle),
         Prop("TitleShow", Type::Bool, &TPlotAxis::GetTitleShow, &TPlotAxis::SetTitleShow),
         Prop("Min", Type::Double, &TPlotAxis::GetMin, &TPlotAxis::SetMin),
         // Stored spans are taken as they are: no clamping, no change report.
         Prop("Span", Type::Double, &TPlotAxis::GetSpan, &TPlotAxis::LoadSpanRaw),
         WriteOnly(Prop("Span_2", Type::Double, &TPlotAxis::GetSpan, &TPlotAxis::LoadSpanRaw)),
         Prop("ReverseScale", Type::Bool, &TPlotAxis::GetReverseScale, &TPlotAxis::SetReverseScale),
         Prop("ScaleType", Type::Enumeration, &TPlotAxis::GetScaleType, &TPlotAxis::SetScaleType, kPlotScaleTypeNames),
         Prop("TrackingEnabled", Type::Bool, &TPlotAxis::GetTrackingEnabled, &TPlotAxis::SetTrackingEnabled),
         Prop("TrackingStyle", Type::Enumeration, &TPlotAxis::GetTrackingStyle, &TPlotAxis::SetTrackingStyle,
              kPlotTrackingStyleNames),
         Prop("TrackingAlignFirstStyle", Type::Enumeration, &TPlotAxis::GetTrackingAlignFirstStyle,
              &TPlotAxis::SetTrackingAlignFirstStyle, kPlotAlignFirstStyleNames),
         Prop("TrackingScrollCompressMax", Type::Double, &TPlotAxis::GetTrackingScrollCompressMax,
              &TPlotAxis::SetTrackingScrollCompressMax),
         Prop("RestoreValuesOnResume", Type::Bool, &TPlotAxis::GetRestoreValuesOnResume,
              &TPlotAxis::SetRestoreValuesOnResume),
         Prop("ScrollMinMaxEnabled", Type::Bool, &TPlotAxis::GetScrollMinMaxEnabled,
              &TPlotAxis::SetScrollMinMaxEnabled),
         Prop("ScrollMin", Type::Double, &TPlotAxis::GetScrollMin, &TPlotAxis::SetScrollMin),
         Prop("ScrollMax", Type::Double, &TPlotAxis::GetScrollMax, &TPlotAxis::SetScrollMax),
         Prop("MasterUIInput", Type::Bool, &TPlotAxis::GetMasterUIInput, &TPlotAxis::SetMasterUIInput),
         Prop("CursorScaler", Type::Double, &TPlotAxis::GetCursorScaler, &TPlotAxis::SetCursorScaler),
         Prop("LabelsMinLength", Type::Double, &TPlotAxis::GetLabelsMinLength, &TPlotAxis::SetLabelsMinLength),
         Prop("StackingEndsMargin", Type::Double, &TPlotAxis::GetStackingEndsMargin, &TPlotAxis::SetStackingEndsMargin),
         Prop("LabelSeparation", Type::Double, &TPlotAxis::GetLabelSeparation, &TPlotAxis::LoadLabelSeparationRaw),
         Prop("TitleMargin", Type::Double, &TPlotAxis::GetTitleMargin, &TPlotAxis::LoadTitleMarginRaw)},
        FontProps("TitleFont", &TPlotAxis::GetTitleFont, &TPlotAxis::SetTitleFont),
        FontProps("LabelsFont", &TPlotAxis::GetLabelsFont, &TPlotAxis::SetLabelsFont),
        {Prop("ScaleLinesColor", Type::Color, &TPlotAxis::GetScaleLinesColor, &TPlotAxis::SetScaleLinesColor),
         Prop("LabelsPrecision", Type::Integer, &TPlotAxis::GetLabelsPrecision, &TPlotAxis::SetLabelsPrecision),
         Prop("DateTimeFormat", Type::String, &TPlotAxis::GetDateTimeFormat, &TPlotAxis::SetDateTimeFormat),
         Prop("CursorPrecision", Type::Integer, &TPlotAxis::GetCursorPrecision, &TPlotAxis::SetCursorPrecision),
         Prop("GridLinesVisible", Type::Bool, &TPlotAxis::GetGridLinesVisible, &TPlotAxis::SetGridLinesVisible),
         Prop("TitleRotated", Type::Bool, &TPlotAxis::GetTitleRotated, &TPlotAxis::SetTitleRotated),
         Prop("MajorLength", Type::Integer, &TPlotAxis::GetMajorLength, &TPlotAxis::SetMajorLength),
         Prop("MinorLength", Type::Integer, &TPlotAxis::GetMinorLength, &TPlotAxis::SetMinorLength),
         Prop("MinorCount", Type::Integer, &TPlotAxis::GetMinorCount, &TPlotAxis::SetMinorCount),
         Prop("InnerMargin", Type::Integer, &TPlotAxis::GetInnerMargin, &TPlotAxis::SetInnerMargin),
         Prop("OuterMargin", Type::Integer, &TPlotAxis::GetOuterMargin, &TPlotAxis::SetOuterMargin),
         Prop("LabelsVisible", Type::Bool, &TPlotAxis::GetLabelsVisible, &TPlotAxis::SetLabelsVisible),
         Prop("LabelsMargin", Type::Double, &TPlotAxis::GetLabelsMargin, &TPlotAxis::SetLabelsMargin),
         Prop("LabelsRotation", Type::Enumeration, &TPlotAxis::GetLabelsRotation, &TPlotAxis::SetLabelsRotation,
              kRotationAngleNames),
         Prop("LabelsFormatStyle", Type::Enumeration, &TPlotAxis::GetLabelsFormatStyle,
              &TPlotAxis::SetLabelsFormatStyle, kPlotTextFormatNames),
         Prop("LabelsPrecisionStyle", Type::Enumeration, &TPlotAxis::GetLabelsPrecisionStyle,
              &TPlotAxis::SetLabelsPrecisionStyle, kPrecisionStyleNames),
         Prop("LabelsMinLengthAutoAdjust", Type::Bool, &TPlotAxis::GetLabelsMinLengthAutoAdjust,
              &TPlotAxis::SetLabelsMinLengthAutoAdjust),
         Prop("ScaleLinesShow", Type::Bool, &TPlotAxis::GetScaleLinesShow, &TPlotAxis::SetScaleLinesShow),
         Prop("ScaleLineShow", Type::Bool, &TPlotAxis::GetScaleLineShow, &TPlotAxis::SetScaleLineShow),
         Prop("DesiredStart", Type::Double, &TPlotAxis::GetDesiredStart, &TPlotAxis::SetDesiredStart),
         Prop("DesiredIncrement", Type::Double, &TPlotAxis::GetDesiredIncrement, &TPlotAxis::SetDesiredIncrement),
         Prop("CursorUseDefaultFormat", Type::Bool, &TPlotAxis::GetCursorUseDefaultFormat,
              &TPlotAxis::SetCursorUseDefaultFormat),
         Prop("CursorFormatStyle", Type::Enumeration, &TPlotAxis::GetCursorFormatStyle,
              &TPlotAxis::SetCursorFormatStyle, kPlotTextFormatNames),
         Prop("CursorDateTimeFormat", Type::String, &TPlotAxis::GetCursorDateTimeFormat,
              &TPlotAxis::SetCursorDateTimeFormat),
         Prop("CursorPrecisionStyle", Type::Enumeration, &TPlotAxis::GetCursorPrecisionStyle,
              &TPlotAxis::SetCursorPrecisionStyle, kPrecisionStyleNames),
         Prop("CursorMinLength", Type::Double, &TPlotAxis::GetCursorMinLength, &TPlotAxis::SetCursorMinLength),
         Prop("CursorMinLengthAutoAdjust", Type::Bool, &TPlotAxis::GetCursorMinLengthAutoAdjust,
              &TPlotAxis::SetCursorMinLengthAutoAdjust),
         Prop("LegendUseDefaultFormat", Type::Bool, &TPlotAxis::GetLegendUseDefaultFormat,
              &TPlotAxis::SetLegendUseDefaultFormat),
         Prop("LegendFormatStyle", Type::Enumeration, &TPlotAxis::GetLegendFormatStyle,
              &TPlotAxis::SetLegendFormatStyle, kPlotTextFormatNames),
         Prop("LegendDateTimeFormat", Type::String, &TPlotAxis::GetLegendDateTimeFormat,
              &TPlotAxis::SetLegendDateTimeFormat),
         Prop("LegendPrecisionStyle", Type::Enumeration, &TPlotAxis::GetLegendPrecisionStyle,
              &TPlotAxis::SetLegendPrecisionStyle, kPrecisionStyleNames),
         Prop("LegendPrecision", Type::Integer, &TPlotAxis::GetLegendPrecision, &TPlotAxis::SetLegendPrecision),
         Prop("LegendMinLength", Type::Double, &TPlotAxis::GetLegendMinLength, &TPlotAxis::SetLegendMinLength),
         Prop("LegendMinLengthAutoAdjust", Type::Bool, &TPlotAxis::GetLegendMinLengthAutoAdjust,
              &TPlotAxis::SetLegendMinLengthAutoAdjust),
         Prop("CartesianStyle", Type::Enumeration, &TPlotAxis::GetCartesianStyle, &TPlotAxis::SetCartesianStyle,
              kPlotCartesianStyleNames),
         Prop("CartesianChildRefAxisName", Type::String, &TPlotAxis::GetCartesianChildRefAxisName,
              &TPlotAxis::SetCartesianChildRefAxisName),
         Prop("CartesianChildRefValue", Type::Double, &TPlotAxis::GetCartesianChildRefValue,
              &TPlotAxis::SetCartesianChildRefValue),
         Prop("AlignRefAxisName", Type::String, &TPlotAxis::GetAlignRefAxisName, &TPlotAxis::SetAlignRefAxisName)},
    });
}

std::vector<TPlotProperty> ChannelCustomProperties() {
    return Joined<TPlotProperty>({
        {Prop("TitleText", Type::String, &TPlotChannelCustom::GetTitleText, &TPlotChannelCustom::SetTitleText),
         Prop("VisibleInLegend", Type::Bool, &TPlotChannelCustom::GetVisibleInLegend,
              &TPlotChannelCustom::SetVisibleInLegend),
         Prop("DataStyle", Type::Enumeration, &TPlotChannelCustom::GetDataStyle, &TPlotChannelCustom::SetDataStyle,
              kPlotDataStyleNames),
         Prop("RingBufferSize", Type::Integer, &TPlotChannelCustom::GetRingBufferSize,
              &TPlotChannelCustom::SetRingBufferSize),
         Prop("TraceVisible", Type::Bool, &TPlotChannelCustom::GetTraceVisible, &TPlotChannelCustom::SetTraceVisible),
         Prop("Color", Type::Color, &TPlotChannelCustom::GetColor, &TPlotChannelCustom::SetColor),
         Prop("TraceLineStyle", Type::Enumeration, &TPlotChannelCustom::GetTraceLineStyle,
              &TPlotChannelCustom::SetTraceLineStyle, kPlotLineStyleNames),
         Prop("TraceLineWidth", Type::Integer, &TPlotChannelCustom::GetTraceLineWidth,
              &TPlotChannelCustom::SetTraceLineWidth),
         Prop("MarkersAllowIndividual", Type::Bool, &TPlotChannelCustom::GetMarkersAllowIndividual,
              &TPlotChannelCustom::SetMarkersAllowIndividual),
         Prop("MarkersPenUseChannelColor", Type::Bool, &TPlotChannelCustom::GetMarkersPenUseChannelColor,
              &TPlotChannelCustom::SetMarkersPenUseChannelColor),
         Prop("MarkersBrushUseChannelColor", Type::Bool, &TPlotChannelCustom::GetMarkersBrushUseChannelColor,
              &TPlotChannelCustom::SetMarkersBrushUseChannelColor),
         Prop("MarkersTurnOffLimit", Type::Integer, &TPlotChannelCustom::GetMarkersTurnOffLimit,
              &TPlotChannelCustom::SetMarkersTurnOffLimit),
         Prop("MarkersVisible", Type::Bool, &TPlotChannelCustom::GetMarkersVisible,
              &TPlotChannelCustom::SetMarkersVisible),
         Prop("MarkersSize", Type::Integer, &TPlotChannelCustom::GetMarkersSize, &TPlotChannelCustom::SetMarkersSize),
         Prop("MarkersStyle", Type::Enumeration, &TPlotChannelCustom::GetMarkersStyle,
              &TPlotChannelCustom::SetMarkersStyle, kPlotMarkerStyleNames),
         Prop("MarkersPenColor", Type::Color, &TPlotChannelCustom::GetMarkersPenColor,
              &TPlotChannelCustom::SetMarkersPenColor),
         Prop("MarkersPenStyle", Type::Enumeration, &TPlotChannelCustom::GetMarkersPenStyle,
              &TPlotChannelCustom::SetMarkersPenStyle, kPenStyleNames),
         Prop("MarkersPenWidth", Type::Integer, &TPlotChannelCustom::GetMarkersPenWidth,
              &TPlotChannelCustom::SetMarkersPenWidth),
         Prop("MarkersBrushColor", Type::Color, &TPlotChannelCustom::GetMarkersBrushColor,
              &TPlotChannelCustom::SetMarkersBrushColor),
         Prop("MarkersBrushStyle", Type::Enumeration, &TPlotChannelCustom::GetMarkersBrushStyle,
              &TPlotChannelCustom::SetMarkersBrushStyle, kBrushStyleNames)},
        FontProps("MarkersFont", &TPlotChannelCustom::GetMarkersFont, &TPlotChannelCustom::SetMarkersFont),
        {Prop("XAxisName", Type::String, &TPlotChannelCustom::GetXAxisName, &TPlotChannelCustom::SetXAxisName),
         Prop("YAxisName", Type::String, &TPlotChannelCustom::GetYAxisName, &TPlotChannelCustom::SetYAxisName),
         Prop("XAxisTrackingEnabled", Type::Bool, &TPlotChannelCustom::GetXAxisTrackingEnabled,
              &TPlotChannelCustom::SetXAxisTrackingEnabled),
         Prop("YAxisTrackingEnabled", Type::Bool, &TPlotChannelCustom::GetYAxisTrackingEnabled,
              &TPlotChannelCustom::SetYAxisTrackingEnabled),
         Prop("LogFileName", Type::String, &TPlotChannelCustom::GetLogFileName, &TPlotChannelCustom::SetLogFileName),
         Prop("LogBufferSize", Type::Integer, &TPlotChannelCustom::GetLogBufferSize,
              &TPlotChannelCustom::SetLogBufferSize)},
    });
}

std::vector<TPlotProperty> ChannelProperties() {
    return {
        Prop("FastDrawEnabled", Type::Bool, &TPlotChannel::GetFastDrawEnabled, &TPlotChannel::SetFastDrawEnabled),
        Prop("InterpolationStyle", Type::Enumeration, &TPlotChannel::GetInterpolationStyle,
             &TPlotChannel::SetInterpolationStyle, kPlotInterpolationStyleNames),
        Prop("FillEnabled", Type::Bool, &TPlotChannel::GetFillEnabled, &TPlotChannel::SetFillEnabled),
        Prop("FillReference", Type::Double, &TPlotChannel::GetFillReference, &TPlotChannel::SetFillReference),
        Prop("FillStyle", Type::Enumeration, &TPlotChannel::GetFillStyle, &TPlotChannel::SetFillStyle,
             kBrushStyleNames),
        Prop("FillColor", Type::Color, &TPlotChannel::GetFillColor, &TPlotChannel::SetFillColor),
        Prop("FillUseChannelColor", Type::Bool, &TPlotChannel::GetFillUseChannelColor,
             &TPlotChannel::SetFillUseChannelColor),
        Prop("DigitalEnabled", Type::Bool, &TPlotChannel::GetDigitalEnabled, &TPlotChannel::SetDigitalEnabled),
        Prop("DigitalReferenceStyle", Type::Enumeration, &TPlotChannel::GetDigitalReferenceStyle,
             &TPlotChannel::SetDigitalReferenceStyle, kPlotDigitalReferenceStyleNames),
        Prop("DigitalReferenceLow", Type::Double, &TPlotChannel::GetDigitalReferenceLow,
             &TPlotChannel::SetDigitalReferenceLow),
        Prop("DigitalReferenceHigh", Type::Double, &TPlotChannel::GetDigitalReferenceHigh,
             &TPlotChannel::SetDigitalReferenceHigh),
        Prop("HighLowStyle", Type::Enumeration, &TPlotChannel::GetHighLowStyle, &TPlotChannel::SetHighLowStyle,
             kPlotHighLowStyleNames),
        Prop("HighLowEnabled", Type::Bool, &TPlotChannel::GetHighLowEnabled, &TPlotChannel::SetHighLowEnabled),
        Prop("HighLowBarColor", Type::Color, &TPlotChannel::GetHighLowBarColor, &TPlotChannel::SetHighLowBarColor),
        Prop("HighLowBarWidth", Type::Double, &TPlotChannel::GetHighLowBarWidth, &TPlotChannel::SetHighLowBarWidth),
        Prop("HighLowOpenShow", Type::Bool, &TPlotChannel::GetHighLowOpenShow, &TPlotChannel::SetHighLowOpenShow),
        Prop("HighLowOpenColor", Type::Color, &TPlotChannel::GetHighLowOpenColor, &TPlotChannel::SetHighLowOpenColor),
        Prop("HighLowOpenWidth", Type::Double, &TPlotChannel::GetHighLowOpenWidth, &TPlotChannel::SetHighLowOpenWidth),
        Prop("HighLowOpenHeight", Type::Double, &TPlotChannel::GetHighLowOpenHeight,
             &TPlotChannel::SetHighLowOpenHeight),
        Prop("HighLowCloseShow", Type::Bool, &TPlotChannel::GetHighLowCloseShow, &TPlotChannel::SetHighLowCloseShow),
        Prop("HighLowCloseColor", Type::Color, &TPlotChannel::GetHighLowCloseColor,
             &TPlotChannel::SetHighLowCloseColor),
        Prop("HighLowCloseWidth", Type::Double, &TPlotChannel::GetHighLowCloseWidth,
             &TPlotChannel::SetHighLowCloseWidth),
        Prop("HighLowCloseHeight", Type::Double, &TPlotChannel::GetHighLowCloseHeight,
             &TPlotChannel::SetHighLowCloseHeight),
        Prop("HighLowShadowColor", Type::Color, &TPlotChannel::GetHighLowShadowColor,
             &TPlotChannel::SetHighLowShadowColor),
        Prop("HighLowBullishColor", Type::Color, &TPlotChannel::GetHighLowBullishColor,
             &TPlotChannel::SetHighLowBullishColor),
        Prop("HighLowBearishColor", Type::Color, &TPlotChannel::GetHighLowBearishColor,
             &TPlotChannel::SetHighLowBearishColor),
        Prop("BarEnabled", Type::Bool, &TPlotChannel::GetBarEnabled, &TPlotChannel::SetBarEnabled),
        Prop("BarPenUseChannelColor", Type::Bool, &TPlotChannel::GetBarPenUseChannelColor,
             &TPlotChannel::SetBarPenUseChannelColor),
        Prop("BarBrushUseChannelColor", Type::Bool, &TPlotChannel::GetBarBrushUseChannelColor,
             &TPlotChannel::SetBarBrushUseChannelColor),
        Prop("BarReference", Type::Double, &TPlotChannel::GetBarReference, &TPlotChannel::SetBarReference),
        Prop("BarWidth", Type::Double, &TPlotChannel::GetBarWidth, &TPlotChannel::SetBarWidth),
        Prop("BarPenColor", Type::Color, &TPlotChannel::GetBarPenColor, &TPlotChannel::SetBarPenColor),
        Prop("BarPenWidth", Type::Integer, &TPlotChannel::GetBarPenWidth, &TPlotChannel::SetBarPenWidth),
        Prop("BarPenStyle", Type::Enumeration, &TPlotChannel::GetBarPenStyle, &TPlotChannel::SetBarPenStyle,
             kPenStyleNames),
        Prop("BarBrushColor", Type::Color, &TPlotChannel::GetBarBrushColor, &TPlotChannel::SetBarBrushColor),
        Prop("BarBrushStyle", Type::Enumeration, &TPlotChannel::GetBarBrushStyle, &TPlotChannel::SetBarBrushStyle,
             kBrushStyleNames),
    };
}

std::vector<TPlotProperty> DataViewProperties() {
    return {
        Prop("Title", Type::String, &TPlotDataView::GetTitle, &TPlotDataView::SetTitle),
        Prop("GridXAxisName", Type::String, &TPlotDataView::GetGridXAxisName, &TPlotDataView::SetGridXAxisName),
        Prop("GridYAxisName", Type::String, &TPlotDataView::GetGridYAxisName, &TPlotDataView::SetGridYAxisName),
        Prop("BackgroundTransparent", Type::Bool, &TPlotDataView::GetBackgroundTransparent,
             &TPlotDataView::SetBackgroundTransparent),
        Prop("BackgroundColor", Type::Color, &TPlotDataView::GetBackgroundColor, &TPlotDataView::SetBackgroundColor),
        Prop("GridShow", Type::Bool, &TPlotDataView::GetGridShow, &TPlotDataView::SetGridShow),
        Prop("GridLineColor", Type::Color, &TPlotDataView::GetGridLineColor, &TPlotDataView::SetGridLineColor),
        Prop("GridLineShowLeft", Type::Bool, &TPlotDataView::GetGridLineShowLeft, &TPlotDataView::SetGridLineShowLeft),
        Prop("GridLineShowTop", Type::Bool, &TPlotDataView::GetGridLineShowTop, &TPlotDataView::SetGridLineShowTop),
        Prop("GridLineShowRight", Type::Bool, &TPlotDataView::GetGridLineShowRight,
             &TPlotDataView::SetGridLineShowRight),
        Prop("GridLineShowBottom", Type::Bool, &TPlotDataView::GetGridLineShowBottom,
             &TPlotDataView::SetGridLineShowBottom),
        Prop("GridLineShowXMajors", Type::Bool, &TPlotDataView::GetGridLineShowXMajors,
             &TPlotDataView::SetGridLineShowXMajors),
        Prop("GridLineShowXMinors", Type::Bool, &TPlotDataView::GetGridLineShowXMinors,
             &TPlotDataView::SetGridLineShowXMinors),
        Prop("GridLineShowYMajors", Type::Bool, &TPlotDataView::GetGridLineShowYMajors,
             &TPlotDataView::SetGridLineShowYMajors),
        Prop("GridLineShowYMinors", Type::Bool, &TPlotDataView::GetGridLineShowYMinors,
             &TPlotDataView::SetGridLineShowYMinors),
        Prop("GridLineMajorStyle", Type::Enumeration, &TPlotDataView::GetGridLineMajorStyle,
             &TPlotDataView::SetGridLineMajorStyle, kPlotGridLineStyleNames),
        Prop("GridLineMinorStyle", Type::Enumeration, &TPlotDataView::GetGridLineMinorStyle,
             &TPlotDataView::SetGridLineMinorStyle, kPlotGridLineStyleNames),
        Prop("GridLineXMajorCustom", Type::Bool, &TPlotDataView::GetGridLineXMajorCustom,
             &TPlotDataView::SetGridLineXMajorCustom),
        Prop("GridLineXMajorColor", Type::Color, &TPlotDataView::GetGridLineXMajorColor,
             &TPlotDataView::SetGridLineXMajorColor),
        Prop("GridLineXMajorStyle", Type::Enumeration, &TPlotDataView::GetGridLineXMajorStyle,
             &TPlotDataView::SetGridLineXMajorStyle, kPlotGridLineStyleNames),
        Prop("GridLineXMinorCustom", Type::Bool, &TPlotDataView::GetGridLineXMinorCustom,
             &TPlotDataView::SetGridLineXMinorCustom),
        Prop("GridLineXMinorColor", Type::Color, &TPlotDataView::GetGridLineXMinorColor,
             &TPlotDataView::SetGridLineXMinorColor),
        Prop("GridLineXMinorStyle", Type::Enumeration, &TPlotDataView::GetGridLineXMinorStyle,
             &TPlotDataView::SetGridLineXMinorStyle, kPlotGridLineStyleNames),
        Prop("GridLineYMajorCustom", Type::Bool, &TPlotDataView::GetGridLineYMajorCustom,
             &TPlotDataView::SetGridLineYMajorCustom),
        Prop("GridLineYMajorColor", Type::Color, &TPlotDataView::GetGridLineYMajorColor,
             &TPlotDataView::SetGridLineYMajorColor),
        Prop("GridLineYMajorStyle", Type::Enumeration, &TPlotDataView::GetGridLineYMajorStyle,
             &TPlotDataView::SetGridLineYMajorStyle, kPlotGridLineStyleNames),
        Prop("GridLineYMinorCustom", Type::Bool, &TPlotDataView::GetGridLineYMinorCustom,
             &TPlotDataView::SetGridLineYMinorCustom),
        Prop("GridLineYMinorColor", Type::Color, &TPlotDataView::GetGridLineYMinorColor,
             &TPlotDataView::SetGridLineYMinorColor),
        Prop("GridLineYMinorStyle", Type::Enumeration, &TPlotDataView::GetGridLineYMinorStyle,
             &TPlotDataView::SetGridLineYMinorStyle, kPlotGridLineStyleNames),
        Prop("GridLineXMajorWidth", Type::Integer, &TPlotDataView::GetGridLineXMajorWidth,
             &TPlotDataView::SetGridLineXMajorWidth),
        Prop("GridLineXMinorWidth", Type::Integer, &TPlotDataView::GetGridLineXMinorWidth,
             &TPlotDataView::SetGridLineXMinorWidth),
        Prop("GridLineYMajorWidth", Type::Integer, &TPlotDataView::GetGridLineYMajorWidth,
             &TPlotDataView::SetGridLineYMajorWidth),
        Prop("GridLineYMinorWidth", Type::Integer, &TPlotDataView::GetGridLineYMinorWidth,
             &TPlotDataView::SetGridLineYMinorWidth),
        Prop("AxesControlEnabled", Type::Bool, &TPlotDataView::GetAxesControlEnabled,
             &TPlotDataView::SetAxesControlEnabled),
        Prop("AxesControlMouseStyle", Type::Enumeration, &TPlotDataView::GetAxesControlMouseStyle,
             &TPlotDataView::SetAxesControlMouseStyle, kPlotAxesControlStyleNames),
        Prop("AxesControlWheelStyle", Type::Enumeration, &TPlotDataView::GetAxesControlWheelStyle,
             &TPlotDataView::SetAxesControlWheelStyle, kPlotAxesControlStyleNames),
    };
}

std::vector<TPlotProperty> DataCursorProperties() {
    return Joined<TPlotProperty>({
        {Prop("ChannelName", Type::String, &TPlotDataCursor::GetChannelName, &TPlotDataCursor::SetChannelName),
        Prop("ChannelAllowAll", Type::Bool, &TPlotDataCursor::GetChannelAllowAll, &TPlotDataCursor::SetChannelAllowAll),
        Prop("ChannelShowAllInLegend", Type::Bool, &TPlotDataCursor::GetChannelShowAllInLegend,
             &TPlotDataCursor::SetChannelShowAllInLegend),
        Prop("Style", Type::Enumeration, &TPlotDataCursor::GetStyle, &TPlotDataCursor::SetStyle,
             kPlotDataCursorStyleNames)},
        FontProps("Font", &TPlotDataCursor::GetFont, &TPlotDataCursor::SetFont),
        {Prop("Color", Type::Color, &TPlotDataCursor::GetColor, &TPlotDataCursor::SetColor),
        Prop("UseChannelColor", Type::Bool, &TPlotDataCursor::GetUseChannelColor, &TPlotDataCursor::SetUseChannelColor),
        Prop("HintShow", Type::Bool, &TPlotDataCursor::GetHintShow, &TPlotDataCursor::SetHintShow),
        Prop("HintHideOnRelease", Type::Bool, &TPlotDataCursor::GetHintHideOnRelease,
             &TPlotDataCursor::SetHintHideOnRelease),
        Prop("HintOrientationSide", Type::Enumeration, &TPlotDataCursor::GetHintOrientationSide,
             &TPlotDataCursor::SetHintOrientationSide, kOrientationSideNames),
        Prop("HintPosition", Type::Double, &TPlotDataCursor::GetHintPosition, &TPlotDataCursor::SetHintPosition),
        Prop("Pointer1Position", Type::Double, &TPlotDataCursor::GetPointer1Position,
             &TPlotDataCursor::SetPointer1Position),
        Prop("Pointer2Position", Type::Double, &TPlotDataCursor::GetPointer2Position,
             &TPlotDataCursor::SetPointer2Position),
        Prop("PointerPenWidth", Type::Integer, &TPlotDataCursor::GetPointerPenWidth,
             &TPlotDataCursor::SetPointerPenWidth),
        Prop("MenuUserCanChangeOptions", Type::Bool, &TPlotDataCursor::GetMenuUserCanChangeOptions,
             &TPlotDataCursor::SetMenuUserCanChangeOptions),
        Prop("MenuItemVisibleValueXY", Type::Bool, &TPlotDataCursor::GetMenuItemVisibleValueXY,
             &TPlotDataCursor::SetMenuItemVisibleValueXY),
        Prop("MenuItemVisibleValueX", Type::Bool, &TPlotDataCursor::GetMenuItemVisibleValueX,
             &TPlotDataCursor::SetMenuItemVisibleValueX),
        Prop("MenuItemVisibleValueY", Type::Bool, &TPlotDataCursor::GetMenuItemVisibleValueY,
             &TPlotDataCursor::SetMenuItemVisibleValueY),
        Prop("MenuItemVisibleDeltaX", Type::Bool, &TPlotDataCursor::GetMenuItemVisibleDeltaX,
             &TPlotDataCursor::SetMenuItemVisibleDeltaX),
        Prop("MenuItemVisibleDeltaY", Type::Bool, &TPlotDataCursor::GetMenuItemVisibleDeltaY,
             &TPlotDataCursor::SetMenuItemVisibleDeltaY),
        Prop("MenuItemVisibleInverseDeltaX", Type::Bool, &TPlotDataCursor::GetMenuItemVisibleInverseDeltaX,
             &TPlotDataCursor::SetMenuItemVisibleInverseDeltaX),
        Prop("MenuItemCaptionValueXY", Type::String, &TPlotDataCursor::GetMenuItemCaptionValueXY,
             &TPlotDataCursor::SetMenuItemCaptionValueXY),
        Prop("MenuItemCaptionValueX", Type::String, &TPlotDataCursor::GetMenuItemCaptionValueX,
             &TPlotDataCursor::SetMenuItemCaptionValueX),
        Prop("MenuItemCaptionValueY", Type::String, &TPlotDataCursor::GetMenuItemCaptionValueY,
             &TPlotDataCursor::SetMenuItemCaptionValueY),
        Prop("MenuItemCaptionDeltaX", Type::String, &TPlotDataCursor::GetMenuItemCaptionDeltaX,
             &TPlotDataCursor::SetMenuItemCaptionDeltaX),
        Prop("MenuItemCaptionDeltaY", Type::String, &TPlotDataCursor::GetMenuItemCaptionDeltaY,
             &TPlotDataCursor::SetMenuItemCaptionDeltaY),
        Prop("MenuItemCaptionInverseDeltaX", Type::String, &TPlotDataCursor::GetMenuItemCaptionInverseDeltaX,
             &TPlotDataCursor::SetMenuItemCaptionInverseDeltaX)},
    });
}

std::vector<TPlotProperty> ToolBarProperties() {
    return {
        Prop("ZoomInOutFactor", Type::Double, &TPlotToolBar::GetZoomInOutFactor, &TPlotToolBar::SetZoomInOutFactor),
        Prop("FlatBorder", Type::Bool, &TPlotToolBar::GetFlatBorder, &TPlotToolBar::SetFlatBorder),
        Prop("FlatButtons", Type::Bool, &TPlotToolBar::GetFlatButtons, &TPlotToolBar::SetFlatButtons),
        Prop("SmallButtons", Type::Bool, &TPlotToolBar::GetSmallButtons, &TPlotToolBar::SetSmallButtons),
        Prop("ShowResumeButton", Type::Bool, &TPlotToolBar::GetShowResumeButton, &TPlotToolBar::SetShowResumeButton),
        Prop("ShowPauseButton", Type::Bool, &TPlotToolBar::GetShowPauseButton, &TPlotToolBar::SetShowPauseButton),
        Prop("ShowAxesModeButtons", Type::Bool, &TPlotToolBar::GetShowAxesModeButtons,
             &TPlotToolBar::SetShowAxesModeButtons),
        Prop("ShowZoomInOutButtons", Type::Bool, &TPlotToolBar::GetShowZoomInOutButtons,
             &TPlotToolBar::SetShowZoomInOutButtons),
        Prop("ShowSelectButton", Type::Bool, &TPlotToolBar::GetShowSelectButton, &TPlotToolBar::SetShowSelectButton),
        Prop("ShowZoomBoxButton", Type::Bool, &TPlotToolBar::GetShowZoomBoxButton, &TPlotToolBar::SetShowZoomBoxButton),
        Prop("ShowCursorButton", Type::Bool, &TPlotToolBar::GetShowCursorButton, &TPlotToolBar::SetShowCursorButton),
        Prop("ShowEditButton", Type::Bool, &TPlotToolBar::GetShowEditButton, &TPlotToolBar::SetShowEditButton),
        Prop("ShowCopyButton", Type::Bool, &TPlotToolBar::GetShowCopyButton, &TPlotToolBar::SetShowCopyButton),
        Prop("ShowSaveButton", Type::Bool, &TPlotToolBar::GetShowSaveButton, &TPlotToolBar::SetShowSaveButton),
        Prop("ShowPrintButton", Type::Bool, &TPlotToolBar::GetShowPrintButton, &TPlotToolBar::SetShowPrintButton),
        Prop("ShowPreviewButton", Type::Bool, &TPlotToolBar::GetShowPreviewButton, &TPlotToolBar::SetShowPreviewButton),
    };
}

std::vector<TPlotProperty> LegendProperties() {
    using L = TPlotLegend;
    return Joined<TPlotProperty>({
        {Prop("MarginLeft", Type::Double, &L::GetMarginLeft, &L::SetMarginLeft),
         Prop("MarginTop", Type::Double, &L::GetMarginTop, &L::SetMarginTop),
         Prop("MarginRight", Type::Double, &L::GetMarginRight, &L::SetMarginRight),
         Prop("MarginBottom", Type::Double, &L::GetMarginBottom, &L::SetMarginBottom),
         Prop("BackGroundColor", Type::Color, &L::GetBackGroundColor, &L::SetBackGroundColor),
         Prop("BackGroundTransparent", Type::Bool, &L::GetBackGroundTransparent, &L::SetBackGroundTransparent),
         Prop("SelectedItemBackGroundColor", Type::Color, &L::GetSelectedItemBackGroundColor,
              &L::SetSelectedItemBackGroundColor)},
        FontProps("Font", &L::GetFont, &L::SetFont),
        FontProps("SelectedItemFont", &L::GetSelectedItemFont, &L::SetSelectedItemFont),
        FontProps("ColumnTitlesFont", &L::GetColumnTitlesFont, &L::SetColumnTitlesFont),
        {Prop("ShowColumnLine", Type::Bool, &L::GetShowColumnLine, &L::SetShowColumnLine),
         Prop("ShowColumnMarker", Type::Bool, &L::GetShowColumnMarker, &L::SetShowColumnMarker),
         Prop("ShowColumnXAxisTitle", Type::Bool, &L::GetShowColumnXAxisTitle, &L::SetShowColumnXAxisTitle),
         Prop("ShowColumnYAxisTitle", Type::Bool, &L::GetShowColumnYAxisTitle, &L::SetShowColumnYAxisTitle),
         Prop("ShowColumnXValue", Type::Bool, &L::GetShowColumnXValue, &L::SetShowColumnXValue),
         Prop("ShowColumnYValue", Type::Bool, &L::GetShowColumnYValue, &L::SetShowColumnYValue),
         Prop("ShowColumnYMax", Type::Bool, &L::GetShowColumnYMax, &L::SetShowColumnYMax),
         Prop("ShowColumnYMin", Type::Bool, &L::GetShowColumnYMin, &L::SetShowColumnYMin),
         Prop("ShowColumnYMean", Type::Bool, &L::GetShowColumnYMean, &L::SetShowColumnYMean),
         Prop("ColumnTitlesVisible", Type::Bool, &L::GetColumnTitlesVisible, &L::SetColumnTitlesVisible),
         Prop("CaptionColumnTitle", Type::String, &L::GetCaptionColumnTitle, &L::SetCaptionColumnTitle),
         Prop("CaptionColumnXAxisTitle", Type::String, &L::GetCaptionColumnXAxisTitle, &L::SetCaptionColumnXAxisTitle),
         Prop("CaptionColumnYAxisTitle", Type::String, &L::GetCaptionColumnYAxisTitle, &L::SetCaptionColumnYAxisTitle),
         Prop("CaptionColumnXValue", Type::String, &L::GetCaptionColumnXValue, &L::SetCaptionColumnXValue),
         Prop("CaptionColumnYValue", Type::String, &L::GetCaptionColumnYValue, &L::SetCaptionColumnYValue),
         Prop("CaptionColumnYMax", Type::String, &L::GetCaptionColumnYMax, &L::SetCaptionColumnYMax),
         Prop("CaptionColumnYMin", Type::String, &L::GetCaptionColumnYMin, &L::SetCaptionColumnYMin),
         Prop("CaptionColumnYMean", Type::String, &L::GetCaptionColumnYMean, &L::SetCaptionColumnYMean),
         Prop("ColumnSpacing", Type::Double, &L::GetColumnSpacing, &L::SetColumnSpacing),
         Prop("RowSpacing", Type::Double, &L::GetRowSpacing, &L::SetRowSpacing),
         Prop("WrapRowSpacingMin", Type::Double, &L::GetWrapRowSpacingMin, &L::SetWrapRowSpacingMin),
         Prop("WrapColSpacingMin", Type::Double, &L::GetWrapColSpacingMin, &L::SetWrapColSpacingMin),
         Prop("WrapColDesiredCount", Type::Integer, &L::GetWrapColDesiredCount, &L::SetWrapColDesiredCount),
         Prop("WrapRowDesiredCount", Type::Integer, &L::GetWrapRowDesiredCount, &L::SetWrapRowDesiredCount),
         Prop("WrapColAutoCountEnabled", Type::Bool, &L::GetWrapColAutoCountEnabled, &L::SetWrapColAutoCountEnabled),
         Prop("WrapRowAutoCountEnabled", Type::Bool, &L::GetWrapRowAutoCountEnabled, &L::SetWrapRowAutoCountEnabled),
         Prop("WrapColAutoCountMax", Type::Integer, &L::GetWrapColAutoCountMax, &L::SetWrapColAutoCountMax),
         Prop("WrapRowAutoCountMax", Type::Integer, &L::GetWrapRowAutoCountMax, &L::SetWrapRowAutoCountMax),
         Prop("WrapColSpacingAuto", Type::Bool, &L::GetWrapColSpacingAuto, &L::SetWrapColSpacingAuto),
         Prop("WrapRowSpacingAuto", Type::Bool, &L::GetWrapRowSpacingAuto, &L::SetWrapRowSpacingAuto),
         Prop("ChannelNameMaxWidth", Type::Double, &L::GetChannelNameMaxWidth, &L::SetChannelNameMaxWidth),
         Prop("ChannelNameColorStyle", Type::Enumeration, &L::GetChannelNameColorStyle, &L::SetChannelNameColorStyle,
              kPlotLegendChannelNameColorStyleNames)},
    });
}

std::vector<TPlotProperty> LabelProperties() {
    return Joined<TPlotProperty>({
        {Prop("Caption", Type::String, &TPlotLabel::GetCaption, &TPlotLabel::SetCaption),
         Prop("MarginLeft", Type::Double, &TPlotLabel::GetMarginLeft, &TPlotLabel::SetMarginLeft),
         Prop("MarginTop", Type::Double, &TPlotLabel::GetMarginTop, &TPlotLabel::SetMarginTop),
         Prop("MarginRight", Type::Double, &TPlotLabel::GetMarginRight, &TPlotLabel::SetMarginRight),
         Prop("MarginBottom", Type::Double, &TPlotLabel::GetMarginBottom, &TPlotLabel::SetMarginBottom),
         Prop("Alignment", Type::Enumeration, &TPlotLabel::GetAlignment, &TPlotLabel::SetAlignment,
              kAlignmentHorizontalNames)},
        FontProps("Font", &TPlotLabel::GetFont, &TPlotLabel::SetFont),
    });
}

std::vector<TPlotProperty> LimitProperties() {
    return {
        Prop("XAxisName", Type::String, &TPlotLimit::GetXAxisName, &TPlotLimit::SetXAxisName),
        Prop("YAxisName", Type::String, &TPlotLimit::GetYAxisName, &TPlotLimit::SetYAxisName),
        Prop("Style", Type::Enumeration, &TPlotLimit::GetStyle, &TPlotLimit::SetStyle, kPlotLimitStyleNames),
        Prop("Position", Type::Double, &TPlotLimit::GetPosition, &TPlotLimit::SetPosition),
        Prop("Color", Type::Color, &TPlotLimit::GetColor, &TPlotLimit::SetColor),
        Prop("LineStyle", Type::Enumeration, &TPlotLimit::GetLineStyle, &TPlotLimit::SetLineStyle, kPenStyleNames),
        Prop("LineWidth", Type::Integer, &TPlotLimit::GetLineWidth, &TPlotLimit::SetLineWidth),
    };
}

// Base classes before the classes derived from them, so that Name comes first and a stored
// object is named before anything else is set.
std::vector<ClassProperties> BuildTable() {
    return {
        {[](const TPlotObject&) { return true; }, ObjectProperties()},
        {Is<TPlotLayoutObject>, LayoutObjectProperties()},
        {Is<TPlotAxis>, AxisProperties()},
        {Is<TPlotChannelCustom>, ChannelCustomProperties()},
        {Is<TPlotChannel>, ChannelProperties()},
        {Is<TPlotDataView>, DataViewProperties()},
        {Is<TPlotDataCursor>, DataCursorProperties()},
        {Is<TPlotToolBar>, ToolBarProperties()},
        {Is<TPlotLegend>, LegendProperties()},
        {Is<TPlotLabel>, LabelProperties()},
        {Is<TPlotLimit>, LimitProperties()},
    };
}

const std::vector<ClassProperties>& Table() {
    static const std::vector<ClassProperties> table = BuildTable();
    return table;
}

}  // namespace

void CheckPropertyText(const std::string& name, TPlotPropertyType type, const std::vector<std::string>& enumNames,
                       const std::string& text) {
    switch (type) {
        case TPlotPropertyType::Bool: {
            bool value = false;
            if (!ParseBool(text, value)) Refuse(name, text, "True or False");
            break;
        }
        case TPlotPropertyType::Integer: {
            int64_t value = 0;
            if (!ParseInteger(text, value) || value > INT32_MAX) Refuse(name, text, "a whole number");
            break;
        }
        case TPlotPropertyType::Double: {
            double value = 0;
            if (!ParseDouble(text, value)) Refuse(name, text, "a number");
            break;
        }
        case TPlotPropertyType::Color: {
            TColor value = 0;
            if (!ParseColor(text, value)) Refuse(name, text, "a colour (#RRGGBB or a system colour name)");
            break;
        }
        case TPlotPropertyType::Enumeration:
            if (EnumIndex(enumNames, text) < 0) Refuse(name, text, "one of its values");
            break;
        case TPlotPropertyType::FontStyle: {
            TPlotFont font;
            if (!ParseFontStyle(text, font))
                Refuse(name, text, "a font style (Bold, Italic, Underline, StrikeOut, comma-separated)");
            break;
        }
        case TPlotPropertyType::String:
            break;
    }
}

const std::vector<TPlotComponentProperty>& PlotComponentProperties() {
    static const std::vector<TPlotComponentProperty> properties = Joined<TPlotComponentProperty>({
        {Make<TPlotComponent>("UpdateFrameRate", Type::Integer, &TPlotComponent::GetUpdateFrameRate,
                              &TPlotComponent::SetUpdateFrameRate),
         Make<TPlotComponent>("AutoFrameRate", Type::Bool, &TPlotComponent::GetAutoFrameRate,
                              &TPlotComponent::SetAutoFrameRate),
         Make<TPlotComponent>("BackGroundColor", Type::Color, &TPlotComponent::GetBackGroundColor,
                              &TPlotComponent::SetBackGroundColor),
         Make<TPlotComponent>("BorderStyle", Type::Enumeration, &TPlotComponent::GetBorderStyle,
                              &TPlotComponent::SetBorderStyle, kBevelStyleNames),
         Make<TPlotComponent>("OuterMarginLeft", Type::Integer, &TPlotComponent::GetOuterMarginLeft,
                              &TPlotComponent::SetOuterMarginLeft),
         Make<TPlotComponent>("OuterMarginTop", Type::Integer, &TPlotComponent::GetOuterMarginTop,
                              &TPlotComponent::SetOuterMarginTop),
         Make<TPlotComponent>("OuterMarginRight", Type::Integer, &TPlotComponent::GetOuterMarginRight,
                              &TPlotComponent::SetOuterMarginRight),
         Make<TPlotComponent>("OuterMarginBottom", Type::Integer, &TPlotComponent::GetOuterMarginBottom,
                              &TPlotComponent::SetOuterMarginBottom),
         Make<TPlotComponent>("BackGroundGradientDirection", Type::Enumeration,
                              &TPlotComponent::GetBackGroundGradientDirection,
                              &TPlotComponent::SetBackGroundGradientDirection, kFillDirectionNames),
         Make<TPlotComponent>("BackGroundGradientStartColor", Type::Color,
                              &TPlotComponent::GetBackGroundGradientStartColor,
                              &TPlotComponent::SetBackGroundGradientStartColor),
         Make<TPlotComponent>("BackGroundGradientStopColor", Type::Color,
                              &TPlotComponent::GetBackGroundGradientStopColor,
                              &TPlotComponent::SetBackGroundGradientStopColor),
         Make<TPlotComponent>("DataViewZHorz", Type::Integer, &TPlotComponent::GetDataViewZHorz,
                              &TPlotComponent::SetDataViewZHorz),
         Make<TPlotComponent>("DataViewZVert", Type::Integer, &TPlotComponent::GetDataViewZVert,
                              &TPlotComponent::SetDataViewZVert),
         Make<TPlotComponent>("UserCanEditObjects", Type::Bool, &TPlotComponent::GetUserCanEditObjects,
                              &TPlotComponent::SetUserCanEditObjects),
         Make<TPlotComponent>("XYAxesReverse", Type::Bool, &TPlotComponent::GetXYAxesReverse,
                              &TPlotComponent::SetXYAxesReverse),
         Make<TPlotComponent>("BackGroundGradientEnabled", Type::Bool, &TPlotComponent::GetBackGroundGradientEnabled,
                              &TPlotComponent::SetBackGroundGradientEnabled),
         Make<TPlotComponent>("ClipAnnotationsToAxes", Type::Bool, &TPlotComponent::GetClipAnnotationsToAxes,
                              &TPlotComponent::SetClipAnnotationsToAxes)},
        FontProperties<TPlotComponent>("HintsFont", &TPlotComponent::GetHintsFont, &TPlotComponent::SetHintsFont),
        {Make<TPlotComponent>("CopyToClipBoardFormat", Type::Enumeration, &TPlotComponent::GetCopyToClipBoardFormat,
                              &TPlotComponent::SetCopyToClipBoardFormat, kPlotExportFormatNames),
         Make<TPlotComponent>("DataFileFormat", Type::Enumeration, &TPlotComponent::GetDataFileFormat,
                              &TPlotComponent::SetDataFileFormat, kPlotDataFileFormatNames),
         Make<TPlotComponent>("DataFileColumnSeparator", Type::Enumeration, &TPlotComponent::GetDataFileColumnSeparator,
                              &TPlotComponent::SetDataFileColumnSeparator, kPlotDataFileColumnSeparatorNames),
         Make<TPlotComponent>("LogFileName", Type::String, &TPlotComponent::GetLogFileName,
                              &TPlotComponent::SetLogFileName),
         Make<TPlotComponent>("LogBufferSize", Type::Integer, &TPlotComponent::GetLogBufferSize,
                              &TPlotComponent::SetLogBufferSize),
         Make<TPlotComponent>("EditorFormStyle", Type::Enumeration, &TPlotComponent::GetEditorFormStyle,
                              &TPlotComponent::SetEditorFormStyle, kPlotEditorFormStyleNames),
         Make<TPlotComponent>("PrintMarginLeft", Type::Double, &TPlotComponent::GetPrintMarginLeft,
                              &TPlotComponent::SetPrintMarginLeft),
         Make<TPlotComponent>("PrintMarginTop", Type::Double, &TPlotComponent::GetPrintMarginTop,
                              &TPlotComponent::SetPrintMarginTop),
         Make<TPlotComponent>("PrintMarginRight", Type::Double, &TPlotComponent::GetPrintMarginRight,
                              &TPlotComponent::SetPrintMarginRight),
         Make<TPlotComponent>("PrintMarginBottom", Type::Double, &TPlotComponent::GetPrintMarginBottom,
                              &TPlotComponent::SetPrintMarginBottom),
         Make<TPlotComponent>("PrintDocumentName", Type::String, &TPlotComponent::GetPrintDocumentName,
                              &TPlotComponent::SetPrintDocumentName),
         Make<TPlotComponent>("PrintOrientation", Type::Enumeration, &TPlotComponent::GetPrintOrientation,
                              &TPlotComponent::SetPrintOrientation, kPlotPrintOrientationNames),
         Make<TPlotComponent>("PrintShowDialog", Type::Bool, &TPlotComponent::GetPrintShowDialog,
                              &TPlotComponent::SetPrintShowDialog),
         Make<TPlotComponent>("PrinterName", Type::String, &TPlotComponent::GetPrinterName,
                              &TPlotComponent::SetPrinterName)},
    });
    return properties;
}

std::vector<const TPlotProperty*> PlotPropertiesOf(const TPlotObject& object) {
    std::vector<const TPlotProperty*> properties;
    for (const ClassProperties& entry : Table())
        if (entry.is(object))
            for (const TPlotProperty& property : entry.properties) properties.push_back(&property);
    return properties;
}

const TPlotProperty* FindPlotProperty(const TPlotObject& object, const std::string& name) {
    // The most derived class wins, so a class may publish a name its base uses differently.
    const auto properties = PlotPropertiesOf(object);
    for (auto it = properties.rbegin(); it != properties.rend(); ++it)
        if (SameText((*it)->Name, name)) return *it;
    return nullptr;
}

void SetPlotProperty(TPlotObject& object, const std::string& name, const std::string& text) {
    const TPlotProperty* property = FindPlotProperty(object, name);
    if (!property) throw EPlotError("Unknown property " + name);
    CheckPropertyText(*property, text);
    property->Write(object, text);
}

std::string ColorToText(TColor value) {
    for (const NamedColor& named : kSystemColorNames)
        if (named.color == value) return named.name;
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", RedOf(value), GreenOf(value), BlueOf(value));
    return text;
}

}  // namespace ondrix
