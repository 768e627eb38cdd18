// Notes as the tool reads them from its input and writes them in dumps.
//
// Input: {"class": 1, "items": {"Subject": "Hello", "SendTo": ["a", "b"], "Size": 3,
//         "PostedDate": {"time": "2026-12-08 18:00"}, "Body": {"richtext": "line\nline"},
//         "Secret": {"type": 1280, "value": "...", "sealed": true}}}
// A string is a text, an array of strings a text list, a number a number, an array of numbers
// a number range; {"time": t} or {"time": [t, ...]} a time or time range; {"richtext": text or
// paragraphs}; {"attachment": name, "size": n}; {"formula": source}; otherwise
// {"type": n, "value": v} gives the type outright. "sealed": true encrypts the item. An array
// of such objects gives several items of the one name ("$FILE": [{"attachment": ...}, ...]).
#pragma once
#include "note.h"

#include <nlohmann/json.hpp>

namespace zrb {

// Throws std::runtime_error naming the item that cannot be read.
store::Note NoteFromInput(const nlohmann::json& input, uint64_t sealKey);
nlohmann::json NoteToOutput(const store::Note& note);

} // namespace zrb
