// The administrator's presets: public properties of the package (INDEXING=1, DATABASES="a;b",
// LOCK=1 ...) turned into the plug-in's settings variables. A property that is not given
// changes nothing, so that a repair or an upgrade keeps what the user set since.
#pragma once
#include "action_data.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace setup {

// A property's value as given ("" when not given), in UTF-8.
using PropertyReader = std::function<std::string(const char* property)>;
// A variable of the client's settings, or nothing when it is not set.
using SettingReader = std::function<std::optional<std::string>(const std::string& name)>;

// The variables the given presets write. The databases are added to free slots, each once (a
// relative path is the data directory's, as the client reads it). A value out of its range
// stops the install with a SetupError that names the property.
std::vector<SettingChange> PresetChanges(const PropertyReader& property,
                                         const std::string& dataDirectory,
                                         const SettingReader& setting);

// Every preset property, for the help and the list of properties passed to the installer's
// service.
std::vector<std::string> PresetProperties();

} // namespace setup
