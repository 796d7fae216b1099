#pragma once
// plot/config holds the property table and the stored configuration, which read and write
// every kind and the component, and so sit above them all.
//
// A plot's stored configuration, and the property files of single objects, as text:
//
//   # a comment
//   DataViewZHorz = 1            plot-wide properties come first
//   [XAxisManager]               a section per manager that holds objects
//   item                         one object, made by that manager
//     Name = "X-Axis 1"          a text value, in double quotes (\" and \\ inside)
//     Span = 50000               any other value, bare
//   item
//     ...
//
// A property file of one object has a "File Type = ..." line and one section whose properties
// follow its header directly. Value texts are those of PlotProperties.h.
//
// Loading follows the stored order: per section the manager is cleared, then for each item an
// object is created, its properties are set in file order and it is completed (Loaded). The
// managers a file leaves out keep their objects. Errors are EPlotError naming the line.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "plot/objects/PlotObjects.h"

namespace ondrix {

struct TPlotConfigAssignment {
    std::string Name;
    std::string Value;
    bool Quoted = false;
    int Line = 0;
};

struct TPlotConfigItem {
    std::vector<TPlotConfigAssignment> Properties;
    int Line = 0;
};

struct TPlotConfigSection {
    std::string Name;
    std::vector<TPlotConfigAssignment> Properties;  // property files: directly under the header
    std::vector<TPlotConfigItem> Items;             // configurations: one per object
    int Line = 0;
};

struct TPlotConfiguration {
    std::vector<TPlotConfigAssignment> Properties;  // before the first section
    std::vector<TPlotConfigSection> Sections;
};

TPlotConfiguration ParsePlotConfiguration(const std::string& text);

// Every plot-wide property, then every manager that holds objects, each object with all its
// published properties.
std::string WritePlotConfiguration(const TPlotComponent& plot);

// Applies a configuration. It is first applied in full to a scratch plot from `makeScratch`
// (built as `plot` was), so that a configuration with any error changes nothing in `plot`.
using TPlotFactory = std::function<std::unique_ptr<TPlotComponent>()>;
void LoadPlotConfiguration(TPlotComponent& plot, const TPlotConfiguration& configuration,
                           const TPlotFactory& makeScratch);

// Property files of one object.
std::string WriteObjectPropertiesFile(const TPlotObject& object, const std::string& fileType,
                                      const std::string& section);
// Throws EPlotError(`incompatibleMessage`) when the file's type is not `fileType` (compared
// without regard to case).
void ReadObjectPropertiesFile(TPlotObject& object, const std::string& text, const std::string& fileType,
                              const std::string& section, const std::string& incompatibleMessage);

}  // namespace ondrix
