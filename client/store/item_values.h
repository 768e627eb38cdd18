// Reading an item's value as the caller wants it. Sealed items read as nothing until the note
// has been decrypted.
#pragma once
#include "note.h"
#include "rich_text.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace store {

// Every value as text: list entries joined by `separator`, numbers in their shortest exact
// form, times in their text form, rich text as plain lines, attachments by file name.
std::string ItemToText(const Item& item, std::string_view separator);
std::vector<std::string> ItemTextList(const Item& item);
std::optional<double> ItemNumber(const Item& item);  // first number of a range
std::optional<TimeValue> ItemTime(const Item& item); // first time of a range
size_t ItemValueCount(const Item& item);
std::string NumberToText(double value);
// An item as plain lines: rich text (raw or parsed) paragraph by paragraph, other items as
// their text.
std::string RenderItem(const Item& item, const RenderOptions& options);

// Sealing: what a sealed item stores, and its value back with the database's key.
std::string SealValue(const nlohmann::json& value, uint64_t key);
std::optional<nlohmann::json> UnsealValue(const std::string& sealed, uint64_t key);
// Decrypts every sealed item of the note; false when one cannot be decrypted.
bool DecryptNote(Note& note, uint64_t key);

} // namespace store
