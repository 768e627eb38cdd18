// What an immediate step hands to the deferred steps that carry it out ("CustomActionData"): the
// client's data directory and, one per line, the settings to write. The plan is made while
// nothing is changed yet, so that the same form also carries what restores the settings.
#pragma once
#include <string>
#include <vector>

namespace setup {

// One variable of the client's settings and its new text; empty text removes the variable.
struct SettingChange {
    std::string name;
    std::string value;

    bool operator==(const SettingChange&) const = default;
};

struct ActionData {
    std::string dataDirectory;
    std::string module; // the plug-in's full path, for the steps that register it
    std::vector<SettingChange> changes;

    bool operator==(const ActionData&) const = default;
};

// Texts hold no line breaks (the settings file is made of lines); Encode refuses them.
std::string Encode(const ActionData& data);
ActionData Decode(const std::string& text);

} // namespace setup
