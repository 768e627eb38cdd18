#include "verify_command.h"

#include "catalogue/catalogue.h"
#include "index/index_folder.h"
#include "ntamsel.h"
#include "output.h"
#include "support/utf.h"
#include "verify_repair.h"

#include <nlohmann/json.hpp>
#include <objbase.h>
#include <windows.h>

namespace zsearch {

const char kVerifyHelp[] =
    "  verify --data DIR [--repair]\n"
    "      the index against the databases the client in DIR indexes (its settings' slots and\n"
    "      time stamps), per database and in total: missing (a live note of an indexed kind,\n"
    "      changed at or before the time stamp, without a document), stale (the engine stored\n"
    "      the document before the note's last change, by the record's \"stored\" time),\n"
    "      ghosts (a document of a deleted note, of a kind the settings no longer index, or of\n"
    "      a database not indexed), duplicates (one note under two urls differing in case);\n"
    "      notes changed after the time stamp are pending, listed but no error. What one look\n"
    "      finds is looked at again; what changed meanwhile is left out and said. Exit 0 only\n"
    "      when everything matches. --repair removes ghosts and duplicates (the query object,\n"
    "      else the emptied event) and moves a database's time stamp back before its oldest\n"
    "      missing or stale note, so that the next pass sends them: run it while the client is\n"
    "      not indexing.\n";

namespace {

using Json = nlohmann::ordered_json;

constexpr Finding kKinds[] = {Finding::missing, Finding::stale, Finding::ghost, Finding::duplicate,
                              Finding::pending};

int Fail(const std::string& text, int status = 1) {
    PrintError("zsearch verify: " + text + "\n");
    return status;
}

struct Arguments {
    std::wstring data;
    bool repair = false;
};

std::optional<Arguments> Parse(const std::vector<std::wstring>& args) {
    Arguments parsed;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == L"--repair")
            parsed.repair = true;
        else if (args[i] == L"--data" && i + 1 < args.size() && parsed.data.empty())
            parsed.data = args[++i];
        else
            return std::nullopt;
    }
    if (parsed.data.empty())
        return std::nullopt;
    return parsed;
}

// A folder that exists, else why not.
std::string FolderProblem(const std::wstring& path, const char* what) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    const std::string name = engine_support::ToUtf8(path);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return std::string("no ") + what + " at " + name;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::string("the ") + what + " " + name + " is a file, not a folder";
    return {};
}

// Looks until two looks in a row agree, three at most.
Survey SettledSurvey(bool& changed) {
    Survey before = TakeSurvey();
    Survey confirmed;
    for (int look = 0; look < 2; ++look) {
        Survey now = TakeSurvey();
        confirmed = Confirmed(before, now, changed);
        if (!changed)
            break;
        before = std::move(now);
    }
    return confirmed;
}

bool HasErrors(const Survey& survey) {
    for (const DatabaseSurvey& database : survey.databases) {
        if (!database.problem.empty())
            return true;
        for (const NoteFinding& finding : database.findings)
            if (finding.kind != Finding::pending)
                return true;
    }
    return false;
}

Json DatabaseJson(const DatabaseSurvey& database) {
    Json entry{{"slot", database.slot},       {"path", database.path},
               {"replica", database.replica}, {"time_stamp", database.stamp},
               {"problem", database.problem}, {"expected", database.expected},
               {"indexed", database.indexed}};
    for (const Finding kind : kKinds) {
        Json list = Json::array();
        for (const NoteFinding& finding : database.findings)
            if (finding.kind == kind)
                list.push_back(kind == Finding::ghost
                                   ? Json{{"url", finding.url}, {"reason", finding.reason}}
                                   : Json(finding.url));
        entry[FindingName(kind)] = std::move(list);
    }
    return entry;
}

std::string DatabaseText(const DatabaseSurvey& database) {
    std::string out = database.slot < 0
                          ? "not indexed: replica " + database.replica
                          : "slot " + std::to_string(database.slot) + " " + database.path +
                                " (time stamp " +
                                (database.stamp.empty() ? "none" : database.stamp) + ")";
    out += ": " + std::to_string(database.expected) + " expected, " +
           std::to_string(database.indexed) + " indexed\n";
    if (!database.problem.empty())
        out += "  " + database.problem + "\n";
    for (const NoteFinding& finding : database.findings)
        out += "  " + std::string(FindingName(finding.kind)) + " " + finding.url +
               (finding.reason.empty() ? "" : " (" + finding.reason + ")") + "\n";
    return out;
}

Json TotalJson(const Survey& survey) {
    Json total;
    for (const Finding kind : kKinds)
        total[FindingName(kind)] = CountOf(survey, kind);
    return total;
}

std::string TotalText(const Survey& survey) {
    std::string out = "total:";
    for (const Finding kind : kKinds)
        out.append(" ")
            .append(std::to_string(CountOf(survey, kind)))
            .append(" ")
            .append(FindingName(kind));
    return out + "\n";
}

Json RepairJson(const RepairOutcome& outcome) {
    return Json{{"removed", outcome.removed},          {"emptied", outcome.emptied},
                {"not_removed", outcome.notRemoved},   {"last_failure", outcome.lastFailure},
                {"stamps_moved", outcome.stampsMoved}, {"stamps_failed", outcome.stampsFailed}};
}

int Report(const Survey& survey, bool changed, const std::optional<RepairOutcome>& repair,
           bool json) {
    const bool errors = HasErrors(survey);
    const bool repaired = repair && repair->notRemoved == 0 && repair->stampsFailed == 0;
    if (json) {
        Json result{{"index", survey.indexFolder}, {"changed", changed}};
        result["databases"] = Json::array();
        for (const DatabaseSurvey& database : survey.databases)
            result["databases"].push_back(DatabaseJson(database));
        result["total"] = TotalJson(survey);
        if (repair)
            result["repair"] = RepairJson(*repair);
        Print(result.dump(2, ' ', false, Json::error_handler_t::replace) + "\n");
    } else {
        std::string out = "index " + survey.indexFolder + "\n";
        for (const DatabaseSurvey& database : survey.databases)
            out += DatabaseText(database);
        out += TotalText(survey);
        if (changed)
            out += "the index or the databases changed while verifying: what changed is left "
                   "out\n";
        if (repair)
            out += "repair: " + std::to_string(repair->removed) + " removed, " +
                   std::to_string(repair->emptied) + " emptied, " +
                   std::to_string(repair->notRemoved) + " not removed, " +
                   std::to_string(repair->stampsMoved) + " time stamps moved back\n";
        Print(out);
    }
    if (repair)
        return repaired ? 0 : 1;
    return errors || changed ? 1 : 0;
}

} // namespace

int Verify(const std::vector<std::wstring>& args, bool json) {
    const auto arguments = Parse(args);
    if (!arguments)
        return Fail(std::string("bad arguments\nusage: zsearch [--json] verify --data DIR "
                                "[--repair]"),
                    2);
    if (const std::string problem = FolderProblem(arguments->data, "data folder"); !problem.empty())
        return Fail(problem);
    if (const std::string problem = FolderProblem(engine_index::IndexFolder(), "index folder");
        !problem.empty())
        return Fail(problem);
    const std::string data = engine_support::ToUtf8(arguments->data);
    if (StoreClientInit(data.c_str(), 0) != STORE_NOERROR)
        return Fail("the client cannot use the data folder " + data);
    // The plug-in's settings code says what it makes of unusable values in the client's log,
    // in the plug-in's own words.
    tamsel::InitCatalogue(GetModuleHandleW(nullptr));
    bool changed = false;
    const Survey survey = SettledSurvey(changed);
    if (survey.engineIndexRemade)
        return Fail("the engine made its index anew: the plug-in indexes every database again "
                    "at its next start");
    std::optional<RepairOutcome> repair;
    if (arguments->repair) {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        repair = Repair(survey);
        CoUninitialize();
    }
    return Report(survey, changed, repair, json);
}

} // namespace zsearch
