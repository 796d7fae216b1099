#pragma once
// The published properties of every plot class: name, type, default, and how each is read and
// written as text. The stored configuration and the channel property files go through this one
// table, so a property is named, typed and defaulted in exactly one place.
//
// Value texts: booleans True/False; integers in decimal; reals in the shortest decimal text that
// reads back to the same double; colours #RRGGBB or a system colour name (clBtnFace, ...);
// enumerations by their value names (ipmsCircle); strings as they are.
//
// Fonts are published as four properties, the font property's name with a dotted suffix:
//   TitleFont.Name  = "Arial"        the face name, a text
//   TitleFont.Size  = 10             points, a whole number; stored clamped to 1..1000
//   TitleFont.Color = #FFFFFF        a colour
//   TitleFont.Style = Bold,Italic    a font style text: the set styles among Bold, Italic,
//                                    Underline and StrikeOut, comma-separated, in any order and
//                                    letter case; empty for none (written in that order)
// Each part is read and written on its own, so a configuration names only the parts that differ
// from the object's starting font. Every font property of every class has exactly these four.
//
// Errors: EPlotError with a message naming the property and the offending text.

#include <functional>
#include <string>
#include <vector>

#include "plot/core/PlotNumberText.h"
#include "plot/objects/PlotObjects.h"

namespace ondrix {

class TPlotComponent;

enum class TPlotPropertyType { Bool, Integer, Double, String, Color, Enumeration, FontStyle };

// One published property of objects of type Target.
template <class Target>
struct TPropertyOf {
    std::string Name;
    TPlotPropertyType Type = TPlotPropertyType::String;
    std::vector<std::string> EnumNames;  // Enumeration only, in ordinal order
    std::function<std::string(const Target&)> Read;  // empty for a second name that is only read
    // Takes text that CheckPropertyText accepted.
    std::function<void(Target&, const std::string&)> Write;
};

using TPlotProperty = TPropertyOf<TPlotObject>;
using TPlotComponentProperty = TPropertyOf<TPlotComponent>;

// Throws EPlotError when `text` is no value of the property's type.
void CheckPropertyText(const std::string& name, TPlotPropertyType type, const std::vector<std::string>& enumNames,
                       const std::string& text);
template <class Target>
void CheckPropertyText(const TPropertyOf<Target>& property, const std::string& text) {
    CheckPropertyText(property.Name, property.Type, property.EnumNames, text);
}

// The plot-wide properties stored with a configuration, besides the managers' objects.
const std::vector<TPlotComponentProperty>& PlotComponentProperties();

// Properties of an object's class and of all its bases, the bases' first.
std::vector<const TPlotProperty*> PlotPropertiesOf(const TPlotObject& object);
// Case-insensitive; null when the object's class publishes no such property.
const TPlotProperty* FindPlotProperty(const TPlotObject& object, const std::string& name);

// Checks the text, then writes it. Throws EPlotError for an unknown name or a bad value.
void SetPlotProperty(TPlotObject& object, const std::string& name, const std::string& text);

std::string ColorToText(TColor value);

}  // namespace ondrix
