// Word search over the live documents: every word must occur (case-insensitive, Unicode
// aware); hits rank by where and how often the words occur, newer first on a tie.
#pragma once
#include "document.h"

#include <string>
#include <string_view>
#include <vector>

namespace engine_index {

struct Hit {
    const Document* document;
    int score;
    std::string snippet; // UTF-8, around the first match in the content
};

std::vector<std::wstring> QueryWords(std::wstring_view query);
std::wstring Fold(std::wstring_view text);
std::vector<Hit> Search(const std::vector<Document>& documents, std::wstring_view query);

// "time" as display text: an integer counts seconds since 1970, a date is an OLE date.
std::string TimeText(const Properties& value);

} // namespace engine_index
