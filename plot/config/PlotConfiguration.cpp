#include "plot/config/PlotConfiguration.h"

#include <sstream>

#include "plot/component/PlotComponent.h"
#include "plot/component/PlotManagers.h"
#include "plot/config/PlotProperties.h"
#include "plot/views/PlotLabel.h"
#include "plot/views/PlotToolBar.h"

namespace ondrix {

namespace {

[[noreturn]] void Fail(int line, const std::string& message) {
    throw EPlotError("line " + std::to_string(line) + ": " + message);
}

std::string Trim(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// ---- reading ---------------------------------------------------------------------------------

TPlotConfigAssignment ParseAssignment(const std::string& line, int number) {
    const size_t equals = line.find('=');
    if (equals == std::string::npos) Fail(number, "expected 'Name = value', not '" + line + "'");
    TPlotConfigAssignment assignment;
    assignment.Name = Trim(line.substr(0, equals));
    assignment.Line = number;
    if (assignment.Name.empty()) Fail(number, "a property name is missing");
    const std::string value = Trim(line.substr(equals + 1));
    if (value.empty() || value[0] != '"') {
        assignment.Value = value;
        return assignment;
    }
    assignment.Quoted = true;
    size_t i = 1;
    for (; i < value.size() && value[i] != '"'; ++i) {
        if (value[i] == '\\' && i + 1 < value.size()) ++i;
        assignment.Value += value[i];
    }
    if (i != value.size() - 1) Fail(number, "a text must end with its closing quote: " + value);
    return assignment;
}

std::string Quote(const std::string& text) {
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') quoted += '\\';
        quoted += c;
    }
    return quoted + '"';
}

// ---- writing ---------------------------------------------------------------------------------

template <class Target>
void WriteProperty(std::ostream& out, const char* indent, const TPropertyOf<Target>& property, const Target& target) {
    const std::string value = property.Read(target);
    out << indent << property.Name << " =";
    if (property.Type == TPlotPropertyType::String) {
        out << ' ' << Quote(value);
    } else if (!value.empty()) {
        out << ' ' << value;
    }
    out << '\n';
}

void WriteObjectProperties(std::ostream& out, const char* indent, const TPlotObject& object) {
    for (const TPlotProperty* property : PlotPropertiesOf(object))
        if (property->Read) WriteProperty(out, indent, *property, object);
}

// ---- applying --------------------------------------------------------------------------------

// Text properties take quoted values and the others bare ones, so that a missing quote is
// caught rather than read as part of the value.
template <class Target>
void Check(const TPropertyOf<Target>& property, const TPlotConfigAssignment& assignment) {
    if (assignment.Quoted != (property.Type == TPlotPropertyType::String))
        Fail(assignment.Line, property.Type == TPlotPropertyType::String ? assignment.Name + " takes a quoted text"
                                                                         : assignment.Name + " takes a bare value");
    try {
        CheckPropertyText(property, assignment.Value);
    } catch (const EPlotError& error) {
        Fail(assignment.Line, error.what());
    }
}

const TPlotProperty& CheckedProperty(const TPlotObject& object, const TPlotConfigAssignment& assignment) {
    const TPlotProperty* property = FindPlotProperty(object, assignment.Name);
    if (!property) Fail(assignment.Line, "unknown property " + assignment.Name);
    Check(*property, assignment);
    return *property;
}

// Every assignment is checked before the first is written, so a bad one changes nothing.
void ApplyObjectProperties(TPlotObject& object, const std::vector<TPlotConfigAssignment>& assignments) {
    for (const TPlotConfigAssignment& assignment : assignments) CheckedProperty(object, assignment);
    for (const TPlotConfigAssignment& assignment : assignments)
        CheckedProperty(object, assignment).Write(object, assignment.Value);
}

// The managers a configuration stores, by the names it stores them under, in stored order.
struct StoredManager {
    const char* name;
    TPlotObjectOwnedManager* (*get)(const TPlotComponent&);
};
const StoredManager kStoredManagers[] = {
    {"ToolBarManager", [](const TPlotComponent& p) -> TPlotObjectOwnedManager* { return p.GetToolBarManager(); }},
    {"LegendManager", [](const TPlotComponent& p) -> TPlotObjectOwnedManager* { return p.GetLegendManager(); }},
    {"TableManager", [](const TPlotComponent& p) -> TPlotObjectOwnedManager* { return p.GetTableManager(); }},
    {"XAxisManager", [](const TPlotComponent& p) -> TPlotObjectOwnedManager* { return p.GetXAxisManager(); }},
    {"YAxisManager", [](const TPlotComponent& p) -> TPlotObjectOwnedManager* { return p.GetYAxisManager(); }},
    {"ChannelManager", [](const TPlotComponent& p) -> TPlotObjectOwnedManager* { return p.GetChannelManager(); }},
    {"DataViewManager", [](const TPlotComponent& p) -> TPlotObjectOwnedManager* { return p.GetDataViewManager(); }},
    {"DataCursorManager",
     [](const TPlotComponent& p) -> TPlotObjectOwnedManager* { return p.GetDataCursorManager(); }},
    {"LimitManager", [](const TPlotComponent& p) -> TPlotObjectOwnedManager* { return p.GetLimitManager(); }},
    {"LabelManager", [](const TPlotComponent& p) -> TPlotObjectOwnedManager* { return p.GetLabelManager(); }},
};

TPlotObjectOwnedManager* StoredManagerByName(const TPlotComponent& plot, const std::string& name) {
    for (const StoredManager& stored : kStoredManagers)
        if (SameText(stored.name, name)) return stored.get(plot);
    return nullptr;
}

// A toolbar sharing the title's band and position would be drawn over it: it moves one on.
void SeparateToolBarFromTitle(TPlotComponent& plot) {
    if (plot.ToolBarCount() == 0 || plot.LabelCount() == 0) return;
    TPlotToolBar& toolBar = *plot.GetToolBar(0);
    const TPlotLabel& title = *plot.GetLabel(0);
    if (toolBar.GetHorizontal() == title.GetHorizontal() && toolBar.GetZOrder() == title.GetZOrder())
        toolBar.SetZOrder(toolBar.GetZOrder() + 1);
}

void Apply(TPlotComponent& plot, const TPlotConfiguration& configuration) {
    for (const TPlotConfigAssignment& assignment : configuration.Properties) {
        const TPlotComponentProperty* found = nullptr;
        for (const TPlotComponentProperty& property : PlotComponentProperties())
            if (SameText(property.Name, assignment.Name)) found = &property;
        if (!found) Fail(assignment.Line, "unknown plot property " + assignment.Name);
        Check(*found, assignment);
        found->Write(plot, assignment.Value);
    }
    for (const TPlotConfigSection& section : configuration.Sections) {
        TPlotObjectOwnedManager* manager = StoredManagerByName(plot, section.Name);
        if (!manager) Fail(section.Line, "unknown manager [" + section.Name + "]");
        if (!section.Properties.empty()) Fail(section.Properties.front().Line, "a property outside an item");
        manager->Clear();
        for (const TPlotConfigItem& item : section.Items) {
            TPlotObject& object = manager->CreateObject();
            ApplyObjectProperties(object, item.Properties);
            object.Loaded();
        }
    }
    SeparateToolBarFromTitle(plot);
}

// Brackets a load as the plot expects: no layout, no repaint and no change events until the
// whole is read.
void ApplyWhileLoading(TPlotComponent& plot, const TPlotConfiguration& configuration) {
    plot.SetLoading(true);
    plot.DisableLayoutManager();
    plot.BeginUpdate();
    const auto finish = [&plot] {
        plot.SetLoading(false);
        plot.EnableLayoutManager();
        plot.EndUpdate();
    };
    try {
        Apply(plot, configuration);
    } catch (...) {
        finish();
        throw;
    }
    finish();
}

}  // namespace

TPlotConfiguration ParsePlotConfiguration(const std::string& text) {
    TPlotConfiguration configuration;
    std::istringstream in(text);
    std::string raw;
    for (int number = 1; std::getline(in, raw); ++number) {
        const std::string line = Trim(raw);
        if (line.empty() || line[0] == '#') continue;
        if (line.front() == '[') {
            if (line.back() != ']' || line.size() < 3) Fail(number, "a section header looks like [Name]");
            configuration.Sections.push_back({Trim(line.substr(1, line.size() - 2)), {}, {}, number});
        } else if (line == "item") {
            if (configuration.Sections.empty()) Fail(number, "an item outside a section");
            configuration.Sections.back().Items.push_back({{}, number});
        } else if (configuration.Sections.empty()) {
            configuration.Properties.push_back(ParseAssignment(line, number));
        } else if (configuration.Sections.back().Items.empty()) {
            configuration.Sections.back().Properties.push_back(ParseAssignment(line, number));
        } else {
            configuration.Sections.back().Items.back().Properties.push_back(ParseAssignment(line, number));
        }
    }
    return configuration;
}

std::string WritePlotConfiguration(const TPlotComponent& plot) {
    std::ostringstream out;
    for (const TPlotComponentProperty& property : PlotComponentProperties()) WriteProperty(out, "", property, plot);
    for (const StoredManager& stored : kStoredManagers) {
        const TPlotObjectOwnedManager& manager = *stored.get(plot);
        if (manager.GetCount() == 0) continue;
        out << '[' << stored.name << "]\n";
        for (int i = 0; i < manager.GetCount(); ++i) {
            out << "item\n";
            WriteObjectProperties(out, "  ", *manager.GetObject(i));
        }
    }
    return out.str();
}

void LoadPlotConfiguration(TPlotComponent& plot, const TPlotConfiguration& configuration,
                           const TPlotFactory& makeScratch) {
    ApplyWhileLoading(*makeScratch(), configuration);
    ApplyWhileLoading(plot, configuration);
}

std::string WriteObjectPropertiesFile(const TPlotObject& object, const std::string& fileType,
                                      const std::string& section) {
    std::ostringstream out;
    out << "File Type = " << fileType << "\n[" << section << "]\n";
    WriteObjectProperties(out, "", object);
    return out.str();
}

void ReadObjectPropertiesFile(TPlotObject& object, const std::string& text, const std::string& fileType,
                              const std::string& section, const std::string& incompatibleMessage) {
    const TPlotConfiguration file = ParsePlotConfiguration(text);
    const bool typeMatches = file.Properties.size() == 1 && SameText(file.Properties[0].Name, "File Type") &&
                             SameText(file.Properties[0].Value, fileType);
    if (!typeMatches) throw EPlotError(incompatibleMessage);
    for (const TPlotConfigSection& found : file.Sections) {
        if (!SameText(found.Name, section)) Fail(found.Line, "unknown section [" + found.Name + "]");
        if (!found.Items.empty()) Fail(found.Items.front().Line, "a property file holds no items");
        ApplyObjectProperties(object, found.Properties);
    }
}

}  // namespace ondrix
