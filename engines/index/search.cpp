#include "search.h"

#include "ole_date.h"
#include "support/utf.h"

#include <windows.h>

#include <algorithm>
#include <cwctype>

namespace engine_index {
namespace {

using engine_support::FromUtf8;
using engine_support::ToUtf8;

constexpr size_t kSnippetBefore = 40;
constexpr size_t kSnippetLength = 160;

int FieldWeight(const std::string& name) {
    if (name == "subject")
        return 8;
    if (name == "from" || name == "to" || name == "cc")
        return 4;
    if (name == "folder_name" || name == "url")
        return 2;
    return 1;
}

size_t CountOccurrences(std::wstring_view text, std::wstring_view word) {
    size_t count = 0;
    for (size_t at = text.find(word); at != std::wstring_view::npos; at = text.find(word, at + 1))
        ++count;
    return count;
}

std::string MakeSnippet(const std::wstring& content, const std::wstring& folded,
                        const std::vector<std::wstring>& words) {
    size_t first = std::wstring::npos;
    for (const auto& word : words)
        first = std::min(first, folded.find(word));
    const size_t start =
        first == std::wstring::npos || first < kSnippetBefore ? 0 : first - kSnippetBefore;
    std::wstring piece = content.substr(start, kSnippetLength);
    std::replace_if(
        piece.begin(), piece.end(), [](wchar_t c) { return c == L'\r' || c == L'\n'; }, L' ');
    return (start > 0 ? "..." : "") + ToUtf8(piece) +
           (start + kSnippetLength < content.size() ? "..." : "");
}

} // namespace

std::wstring Fold(std::wstring_view text) {
    if (text.empty())
        return {};
    std::wstring folded(text.size(), L'\0');
    const int length =
        LCMapStringW(LOCALE_INVARIANT, LCMAP_LOWERCASE, text.data(), static_cast<int>(text.size()),
                     folded.data(), static_cast<int>(folded.size()));
    folded.resize(length > 0 ? length : 0);
    return folded;
}

std::vector<std::wstring> QueryWords(std::wstring_view query) {
    std::vector<std::wstring> words;
    const std::wstring folded = Fold(query);
    size_t start = 0;
    while (start < folded.size()) {
        while (start < folded.size() && std::iswspace(folded[start]))
            ++start;
        size_t end = start;
        while (end < folded.size() && !std::iswspace(folded[end]))
            ++end;
        if (end > start)
            words.emplace_back(folded.substr(start, end - start));
        start = end;
    }
    return words;
}

std::vector<Hit> Search(const std::vector<Document>& documents, std::wstring_view query) {
    const std::vector<std::wstring> words = QueryWords(query);
    std::vector<Hit> hits;
    if (words.empty())
        return hits;
    for (const Document& document : documents) {
        std::vector<bool> found(words.size(), false);
        int score = 0;
        std::wstring content, foldedContent;
        auto weigh = [&](const std::string& name, const std::wstring& text) {
            const std::wstring folded = Fold(text);
            for (size_t i = 0; i < words.size(); ++i) {
                const size_t count = CountOccurrences(folded, words[i]);
                found[i] = found[i] || count > 0;
                score += static_cast<int>(std::min<size_t>(count, 10)) * FieldWeight(name);
            }
            if (name == "content") {
                content = text;
                foldedContent = folded;
            }
        };
        weigh("url", FromUtf8(document.url));
        for (const auto& [name, value] : document.properties.items())
            if (value.is_string())
                weigh(name, FromUtf8(value.get_ref<const std::string&>()));
        if (std::find(found.begin(), found.end(), false) != found.end())
            continue;
        hits.push_back({&document, score, MakeSnippet(content, foldedContent, words)});
    }
    std::stable_sort(hits.begin(), hits.end(), [](const Hit& a, const Hit& b) {
        if (a.score != b.score)
            return a.score > b.score;
        return a.document->sequence > b.document->sequence;
    });
    return hits;
}

std::string TimeText(const Properties& value) {
    if (!value.is_number_integer())
        return PropertyText(value);
    // Seconds since 1970 as an OLE date, so that both forms print alike.
    const double oleDate = ole_date::FromUnixSeconds(static_cast<double>(value.get<long long>()));
    return PropertyText(Properties{{"date", oleDate}});
}

} // namespace engine_index
