#include "records.h"

#include "search.h"
#include "support/utf.h"

#include <windows.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <iterator>
#include <thread>
#include <unordered_map>

namespace engine_index {
namespace {

using Json = nlohmann::ordered_json;

// Our writer puts "op" and "url" first; other lines take the slow road.
constexpr std::string_view kAddPrefix = R"({"op":"add","url":")";
constexpr std::string_view kRemovePrefix = R"({"op":"remove","url":")";
constexpr std::string_view kPropsKey = R"("props":{)";

struct OpAndUrl {
    bool add;
    std::string_view url; // into the line, or into decoded when the url needed decoding
};

std::optional<OpAndUrl> ReadOpAndUrl(std::string_view line, std::deque<std::string>& decoded) {
    for (const auto& [prefix, add] :
         {std::pair{kAddPrefix, true}, std::pair{kRemovePrefix, false}}) {
        // A line cut short by a crash does not end its object.
        if (!line.starts_with(prefix) || !line.ends_with('}'))
            continue;
        size_t end = prefix.size();
        while (end < line.size() && line[end] != '"' && line[end] != '\\')
            ++end;
        if (end < line.size() && line[end] == '"')
            return OpAndUrl{add, line.substr(prefix.size(), end - prefix.size())};
    }
    const Json record = Json::parse(line, nullptr, false);
    if (record.is_discarded() || !record.is_object() || !record.contains("url") ||
        !record["url"].is_string())
        return std::nullopt;
    decoded.push_back(record["url"].get<std::string>());
    return OpAndUrl{record.value("op", "") == "add", decoded.back()};
}

const wchar_t* LowerTable() {
    static const std::wstring table = [] {
        std::wstring all(0x10000, L'\0');
        for (size_t c = 0; c < all.size(); ++c)
            all[c] = static_cast<wchar_t>(c);
        std::wstring lower(all.size(), L'\0');
        // Surrogate halves map to themselves, one by one, like every other code unit.
        LCMapStringW(LOCALE_INVARIANT, LCMAP_LOWERCASE, all.data(), static_cast<int>(all.size()),
                     lower.data(), static_cast<int>(lower.size()));
        return lower;
    }();
    return table.data();
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Appends the folded form of one UTF-8 character at text[i]; returns its length.
size_t FoldCharacter(std::string_view text, size_t i, std::string& out) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte < 0x80) {
        out += static_cast<char>(byte >= 'A' && byte <= 'Z' ? byte + 32 : byte);
        return 1;
    }
    const size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
    if (length == 1 || i + length > text.size()) {
        out += static_cast<char>(byte);
        return 1;
    }
    char32_t c = byte & (0x7F >> length);
    for (size_t k = 1; k < length; ++k)
        c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    AppendUtf8(out, c < 0x10000 ? LowerTable()[c] : c);
    return length;
}

// Appends the record's text values from its "props" object on, folded, one per line;
// names and numbers are left out. Runs over every record of a query: no allocations.
void AppendFoldedValues(std::string_view record, std::string& out) {
    size_t i = record.find(kPropsKey);
    if (i == std::string_view::npos)
        return;
    for (i += kPropsKey.size(); i < record.size(); ++i) {
        if (record[i] != '"')
            continue;
        const size_t start = out.size();
        for (++i; i < record.size() && record[i] != '"';) {
            const char c = record[i];
            if (c == '\\' && i + 1 < record.size()) {
                const char escaped = record[i + 1];
                out += escaped == '"' || escaped == '\\' || escaped == '/' ? escaped : ' ';
                i += escaped == 'u' ? 6 : 2;
            } else if (static_cast<unsigned char>(c) < 0x80) {
                // Plain ASCII runs are most of the text: copy them whole, lower in place.
                size_t end = i + 1;
                while (end < record.size() && static_cast<unsigned char>(record[end]) < 0x80 &&
                       record[end] != '"' && record[end] != '\\')
                    ++end;
                const size_t from = out.size();
                out.append(record.substr(i, end - i));
                for (char* p = out.data() + from; p != out.data() + out.size(); ++p)
                    *p = static_cast<char>(*p + ((*p >= 'A' && *p <= 'Z') ? 32 : 0));
                i = end;
            } else {
                i += FoldCharacter(record, i, out);
            }
        }
        size_t next = i + 1;
        while (next < record.size() && record[next] == ' ')
            ++next;
        if (next < record.size() && record[next] == ':')
            out.resize(start); // a name, not a value
        else
            out += '\n';
    }
}

} // namespace

LiveRecords LiveAddRecords(std::string_view logText) {
    LiveRecords live;
    std::vector<RecordLine> lines;
    std::vector<bool> inForce;
    std::unordered_map<std::string_view, size_t> byUrl;
    // Growing these step by step costs more than the replay itself on a large index.
    const size_t expected = logText.size() / 256 + 16;
    lines.reserve(expected);
    byUrl.reserve(expected);
    std::uint64_t sequence = 0;
    for (size_t start = 0; start < logText.size();) {
        const size_t end = logText.find('\n', start);
        if (end == std::string_view::npos)
            break;
        const std::string_view line = logText.substr(start, end - start);
        start = end + 1;
        ++sequence;
        const auto record = ReadOpAndUrl(line, live.decodedUrls);
        if (!record)
            continue;
        auto [known, added] = byUrl.try_emplace(record->url, lines.size());
        if (!added)
            inForce[known->second] = false;
        if (!record->add)
            continue;
        known->second = lines.size();
        lines.push_back({line, sequence, record->url});
        inForce.push_back(true);
    }
    live.lines.reserve(lines.size());
    for (size_t i = 0; i < lines.size(); ++i)
        if (inForce[i])
            live.lines.push_back(lines[i]);
    return live;
}

std::optional<Document> ParseAddRecord(const RecordLine& line) {
    Json record = Json::parse(line.text, nullptr, false);
    if (record.is_discarded() || !record.is_object() || !record.contains("url") ||
        !record["url"].is_string())
        return std::nullopt;
    Document document;
    document.url = record["url"].get<std::string>();
    document.engine = record.value("engine", "");
    document.schema = record.value("schema", "");
    document.component = record.value("component", "");
    if (auto props = record.find("props"); props != record.end() && props->is_object())
        document.properties = std::move(*props);
    document.sequence = line.sequence;
    if (auto stored = record.find("stored"); stored != record.end() && stored->is_number())
        document.stored = stored->get<double>();
    return document;
}

std::vector<Document> LiveDocuments(std::string_view logText) {
    std::vector<Document> documents;
    const LiveRecords live = LiveAddRecords(logText);
    for (const RecordLine& line : live.lines)
        if (auto document = ParseAddRecord(line))
            documents.push_back(std::move(*document));
    return documents;
}

std::string FoldUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();)
        i += FoldCharacter(text, i, out);
    return out;
}

namespace {

unsigned char LowerAscii(unsigned char c) {
    return c >= 'A' && c <= 'Z' ? c + 32 : c;
}

struct CaselessHash {
    size_t operator()(char c) const { return LowerAscii(static_cast<unsigned char>(c)); }
};
struct CaselessEqual {
    bool operator()(char a, char b) const {
        return LowerAscii(static_cast<unsigned char>(a)) ==
               LowerAscii(static_cast<unsigned char>(b));
    }
};

// Characters outside ASCII whose lower case is ASCII: U+0130 and U+212A. A record holding
// one may match a word that its raw text does not show.
bool HasAsciiLowering(std::string_view text) {
    return text.find("\xC4\xB0") != std::string_view::npos ||
           text.find("\xE2\x84\xAA") != std::string_view::npos;
}

// Quotes, backslashes and slashes may stand escaped in the raw text.
bool RawSearchable(const std::string& word) {
    return std::all_of(word.begin(), word.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x80 && c != '"' && c != '\\' && c != '/';
    });
}

} // namespace

struct Prefilter::RawSearch {
    explicit RawSearch(const std::string& word)
        : text(word), searcher(text.begin(), text.end(), CaselessHash(), CaselessEqual()) {}
    std::string text;
    std::boyer_moore_horspool_searcher<std::string::const_iterator, CaselessHash, CaselessEqual>
        searcher;
};

Prefilter::Prefilter(std::vector<std::string> foldedWords) : words_(std::move(foldedWords)) {
    raw_.reserve(words_.size());
    for (const std::string& word : words_)
        if (RawSearchable(word))
            raw_.emplace_back(word);
}

Prefilter::~Prefilter() = default;

bool Prefilter::MayMatch(const RecordLine& line, std::string& scratch) const {
    for (const RawSearch& raw : raw_)
        if (std::search(line.text.begin(), line.text.end(), raw.searcher) == line.text.end() &&
            !HasAsciiLowering(line.text))
            return false;
    scratch.clear();
    for (size_t i = 0; i < line.url.size();)
        i += FoldCharacter(line.url, i, scratch);
    scratch += '\n';
    AppendFoldedValues(line.text, scratch);
    for (const std::string& word : words_)
        if (scratch.find(word) == std::string::npos)
            return false;
    return true;
}

std::vector<Document> Candidates(std::string_view logText, std::wstring_view query) {
    std::vector<std::string> words;
    for (const std::wstring& word : QueryWords(query))
        words.push_back(FoldUtf8(engine_support::ToUtf8(word)));
    std::vector<Document> documents;
    if (words.empty())
        return documents;
    const LiveRecords live = LiveAddRecords(logText);
    const std::vector<RecordLine>& lines = live.lines;
    const Prefilter prefilter(std::move(words));
    // The prefilter reads every byte of the index: share it out among the processors.
    const size_t parts = std::clamp<size_t>(std::thread::hardware_concurrency(), 1, 8);
    std::vector<std::vector<Document>> found(parts);
    std::vector<std::thread> workers;
    for (size_t part = 0; part < parts; ++part)
        workers.emplace_back([&, part] {
            std::string scratch;
            for (size_t i = part * lines.size() / parts; i < (part + 1) * lines.size() / parts; ++i)
                if (prefilter.MayMatch(lines[i], scratch))
                    if (auto document = ParseAddRecord(lines[i]))
                        found[part].push_back(std::move(*document));
        });
    for (auto& worker : workers)
        worker.join();
    for (auto& part : found)
        std::move(part.begin(), part.end(), std::back_inserter(documents));
    return documents;
}

} // namespace engine_index
