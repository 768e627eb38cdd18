#include "database_run.h"

#include "file_text.h"
#include "journal_file.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>

using nlohmann::json;

void DatabaseRun::TearDown() {
    if (HasFailure())
        std::printf("the client's log:\n%s",
                    testing_support::ReadFileText(data.file("tamsel.log")).c_str());
}

void DatabaseRun::CreateDatabase(const std::string& file, const std::string& title) {
    std::unique_ptr<store::Database> created;
    ASSERT_EQ(
        store::Database::Create(store::OpenJournalFile(data.file(file), store::OpenMode::CreateNew),
                                title, created),
        store::kOk);
}

std::unique_ptr<store::Database> DatabaseRun::OpenDatabase(const std::string& file) const {
    std::unique_ptr<store::Database> database;
    EXPECT_EQ(store::Database::Open(
                  store::OpenJournalFile(data.file(file), store::OpenMode::ReadWrite), database),
              store::kOk);
    return database;
}

uint32_t DatabaseRun::PutNote(const std::string& file, std::vector<store::Item> items, uint32_t id,
                              uint16_t noteClass) {
    store::Note note;
    note.id = id;
    note.noteClass = noteClass;
    note.items = std::move(items);
    auto database = OpenDatabase(file);
    if (database) {
        if (id) {
            store::Note old;
            EXPECT_EQ(database->readNote(id, old), store::kOk);
            note.originator = old.originator;
        }
        EXPECT_EQ(database->putNote(note), store::kOk);
    }
    return note.id;
}

ClientRun DatabaseRun::Index(const std::string& arguments) {
    const ClientRun run = RunClient(data, arguments);
    EXPECT_EQ(run.exitCode, 0) << run.output;
    return run;
}

void DatabaseRun::MakeSampleMailFile(int mails, int seed, const std::string& moreSettings) {
    const auto made =
        testing_support::RunProgram(testing_support::InstalledEngines::ProgramFolder() +
                                    L"zrb.exe sample \"" + Wide(data.path()) + L"\" --mails " +
                                    std::to_wstring(mails) + L" --seed " + std::to_wstring(seed));
    ASSERT_EQ(made.exitCode, 0u) << made.output;
    MailFileSettings(moreSettings);
}

void DatabaseRun::MailFileSettings(const std::string& moreSettings) {
    WriteClientSettings(data, "DesktopSearchIndexEnabled=1\r\nDesktopSearchWaitTime=0\r\n"
                              "DesktopSearchInstallInstructions=1\r\n"
                              "DesktopSearchFilePath=mail.zrb\r\n" +
                                  moreSettings);
}

std::string DatabaseRun::TimeStamp() const {
    const std::string settings = testing_support::ReadFileText(data.file("tamsel.ini"));
    const std::string name = "\nDesktopSearchTimestamp=";
    const size_t at = settings.find(name);
    if (at == std::string::npos)
        return "";
    const size_t from = at + name.size();
    return settings.substr(from, settings.find('\r', from) - from);
}

bool DatabaseRun::SaidInLog(const ClientRun& run, const std::string& part) {
    return std::any_of(run.logLines.begin(), run.logLines.end(), [&](const std::string& line) {
        return line.find(part) != std::string::npos;
    });
}

size_t DatabaseRun::CountSummaries(const ClientRun& run) {
    return size_t(
        std::count_if(run.logLines.begin(), run.logLines.end(),
                      [](const std::string& line) { return Has(line, passSummaryMark); }));
}

uint64_t DatabaseRun::IndexBytes() const {
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    if (!GetFileAttributesExA((engines.IndexFolder() + "\\documents.jsonl").c_str(),
                              GetFileExInfoStandard, &attributes))
        return 0;
    return (uint64_t(attributes.nFileSizeHigh) << 32) | attributes.nFileSizeLow;
}

std::string DatabaseRun::LastRecord(const std::string& url) const {
    std::string last;
    std::istringstream log(
        testing_support::ReadFileText(engines.IndexFolder() + "\\documents.jsonl"));
    for (std::string line; std::getline(log, line);)
        if (!line.empty() && json::parse(line).value("url", "") == url)
            last = json::parse(line).value("op", "");
    return last;
}

json DatabaseRun::VerifiedTotals() const {
    const auto run = engines.Zsearch(L"--json verify --data \"" + Wide(data.path()) + L"\"");
    const json report = json::parse(run.output, nullptr, false);
    return report.is_discarded() ? json(run.output) : report["total"];
}

const json DatabaseRun::nothingWrong = {
    {"missing", 0}, {"stale", 0}, {"ghost", 0}, {"duplicate", 0}, {"pending", 0}};

std::vector<json> DatabaseRun::Listed() const {
    std::vector<json> listed;
    for (const json& summary : json::parse(engines.Zsearch(L"--json list").output))
        if (summary["url"] != "" && summary["subject"] != "")
            listed.push_back(summary);
    return listed;
}

std::map<std::string, json> DatabaseRun::Documents() const {
    std::map<std::string, json> documents;
    for (const json& summary : Listed()) {
        const auto shown = engines.Zsearch(L"--json show \"" + Wide(summary["url"]) + L"\"");
        const json document = json::parse(shown.output);
        EXPECT_TRUE(documents.emplace(summary["subject"], document["properties"]).second)
            << "sent twice: " << summary["subject"];
    }
    return documents;
}

std::set<std::string> DatabaseRun::ListedSubjects() const {
    std::set<std::string> subjects;
    for (const json& summary : Listed())
        EXPECT_TRUE(subjects.insert(summary["subject"].get<std::string>()).second)
            << "sent twice: " << summary["subject"];
    return subjects;
}

std::set<std::string> DatabaseRun::Subjects(const std::map<std::string, json>& documents) {
    std::set<std::string> subjects;
    for (const auto& [subject, properties] : documents)
        subjects.insert(subject);
    return subjects;
}

std::wstring DatabaseRun::Wide(const std::string& text) {
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring wide(length, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), wide.data(), length);
    return wide;
}

store::Item Text(const std::string& name, const std::string& value) {
    return {name, store::ItemType::Text, false, value};
}
store::Item List(const std::string& name, const std::vector<std::string>& values) {
    return {name, store::ItemType::TextList, false, values};
}
store::Item Time(const std::string& name, const std::string& text) {
    return {name, store::ItemType::Time, false, text};
}
int EnvironmentNumber(const char* name, int fallback) {
    const char* value = std::getenv(name);
    return value && *value ? std::atoi(value) : fallback;
}

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}
