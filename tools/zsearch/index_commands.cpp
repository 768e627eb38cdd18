#include "index_commands.h"

#include "core/shared_index.h"
#include "index/records.h"
#include "index/search.h"
#include "output.h"
#include "support/utf.h"

namespace zsearch {
namespace {

using engine_index::Document;
using Json = nlohmann::ordered_json;

// A missing index is an empty one; an index folder that is a file, or a log that is a folder,
// is no index at all and must not read as one without documents.
bool IndexReadable() {
    const engine_index::IndexLog& log = engine_core::CurrentIndexLog();
    for (const auto& [path, folder] :
         {std::pair{log.folder(), true}, std::pair{log.path(), false}}) {
        const DWORD attributes = GetFileAttributesW(path.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES ||
            bool(attributes & FILE_ATTRIBUTE_DIRECTORY) == folder)
            continue;
        PrintError("cannot read the index: " + engine_support::ToUtf8(path) +
                   (folder ? " is not a folder\n" : " is a folder\n"));
        return false;
    }
    return true;
}

std::vector<Document> LoadDocuments() {
    return engine_index::LiveDocuments(engine_core::CurrentIndexLog().ReadWholeLines());
}

std::string Field(const Document& document, const char* name) {
    const auto found = document.properties.find(name);
    if (found == document.properties.end())
        return "";
    return std::string(name) == "time" ? engine_index::TimeText(*found)
                                       : engine_index::PropertyText(*found);
}

Json Summary(const Document& document) {
    return Json{{"url", document.url},
                {"subject", Field(document, "subject")},
                {"from", Field(document, "from")},
                {"time", Field(document, "time")},
                {"folder", Field(document, "folder_name")}};
}

void PrintJson(const Json& value) {
    Print(value.dump(2, ' ', false, Json::error_handler_t::replace) + "\n");
}

} // namespace

int Query(const std::vector<std::wstring>& words, bool json) {
    if (!IndexReadable())
        return 1;
    std::wstring text;
    for (const auto& word : words)
        text += word + L" ";
    const std::vector<Document> documents =
        engine_index::Candidates(engine_core::CurrentIndexLog().ReadWholeLines(), text);
    const auto hits = engine_index::Search(documents, text);
    if (json) {
        Json result = Json::array();
        for (const auto& hit : hits) {
            Json entry = Summary(*hit.document);
            entry["score"] = hit.score;
            entry["snippet"] = hit.snippet;
            result.push_back(std::move(entry));
        }
        PrintJson(result);
        return 0;
    }
    std::string out;
    int rank = 0;
    for (const auto& hit : hits) {
        const Document& d = *hit.document;
        out += std::to_string(++rank) + ". " + Field(d, "subject") +
               "\n   From: " + Field(d, "from") + "  Time: " + Field(d, "time") +
               "  Folder: " + Field(d, "folder_name") + "\n   URL: " + d.url + "\n   " +
               hit.snippet + "\n";
    }
    out += std::to_string(hits.size()) + " found\n";
    Print(out);
    return 0;
}

int Show(const std::wstring& url, bool json) {
    if (!IndexReadable())
        return 1;
    const std::string wanted = engine_support::ToUtf8(url);
    for (const Document& document : LoadDocuments()) {
        if (document.url != wanted)
            continue;
        if (json) {
            PrintJson(Json{{"url", document.url},
                           {"engine", document.engine},
                           {"schema", document.schema},
                           {"component", document.component},
                           {"properties", document.properties}});
            return 0;
        }
        std::string out = "url: " + document.url + "\nschema: " + document.schema +
                          "\ncomponent: " + document.component + "\n";
        for (const auto& [name, value] : document.properties.items())
            out += name + ": " + Field(document, name.c_str()) + "\n";
        Print(out);
        return 0;
    }
    PrintError("no document at " + wanted + "\n");
    return 1;
}

int List(bool json) {
    if (!IndexReadable())
        return 1;
    const std::vector<Document> documents = LoadDocuments();
    if (json) {
        Json result = Json::array();
        for (const Document& document : documents)
            result.push_back(Summary(document));
        PrintJson(result);
        return 0;
    }
    std::string out;
    for (const Document& document : documents)
        out += document.url + "\t" + Field(document, "subject") + "\n";
    Print(out);
    return 0;
}

int Count(bool json) {
    if (!IndexReadable())
        return 1;
    const size_t count =
        engine_index::LiveAddRecords(engine_core::CurrentIndexLog().ReadWholeLines()).lines.size();
    Print(json ? Json{{"count", count}}.dump() + "\n" : std::to_string(count) + "\n");
    return 0;
}

} // namespace zsearch
