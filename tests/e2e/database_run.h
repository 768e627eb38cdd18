// The real client, plug-in and engines over databases that a test writes between (and
// during) the client's runs, as the client's own delivery and editing would.
#pragma once
#include "client_run.h"
#include "database.h"
#include "installed_engines.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

class DatabaseRun : public ::testing::Test {
  protected:
    void TearDown() override;

    void CreateDatabase(const std::string& file, const std::string& title);
    std::unique_ptr<store::Database> OpenDatabase(const std::string& file) const;
    // A new note, or the note `id` replaced (keeping its universal id).
    uint32_t PutNote(const std::string& file, std::vector<store::Item> items, uint32_t id = 0,
                     uint16_t noteClass = store::NoteClass::Document);
    ClientRun Index(const std::string& arguments = "--seconds 6 --menu 0");
    // zrb's sample databases in the data directory, and settings that index mail.zrb.
    void MakeSampleMailFile(int mails, int seed, const std::string& moreSettings = "");
    // Settings afresh that index mail.zrb, without a time stamp, plus more lines.
    void MailFileSettings(const std::string& moreSettings);

    // The value of the mail file's time stamp: a completed pass's time, a recovery point
    // (with '|', where an interrupted pass goes on), or nothing.
    std::string TimeStamp() const;
    static bool IsRecoveryPoint(const std::string& stamp) {
        return stamp.find('|') != std::string::npos;
    }
    static bool SaidInLog(const ClientRun& run, const std::string& part);
    // The pass summaries the run logged.
    static size_t CountSummaries(const ClientRun& run);
    // The size of the engine's index log: it grows with every document sent.
    uint64_t IndexBytes() const;
    // The engine's last record of the url in its index log: "add", or "remove" when the
    // document left by the query road (an emptied document is a last "add").
    std::string LastRecord(const std::string& url) const;
    // zsearch verify's totals (missing, stale, ghost, duplicate, pending) for the data directory.
    nlohmann::json VerifiedTotals() const;
    static const nlohmann::json nothingWrong;

    // The index's documents as listed (one zsearch run), without the plug-in's probe of the
    // engine at start (no url) and documents a deletion emptied (no subject): unless the
    // plug-in is registered as a COM server, the second engine's query object has no cookie to
    // remove them with.
    std::vector<nlohmann::json> Listed() const;
    // Every document in the index by subject; a subject sent twice fails the test.
    std::map<std::string, nlohmann::json> Documents() const;
    // The subjects alone, from the list: a subject sent twice fails the test.
    std::set<std::string> ListedSubjects() const;
    static std::set<std::string> Subjects(const std::map<std::string, nlohmann::json>& documents);
    static std::wstring Wide(const std::string& text);

    testing_support::InstalledEngines engines;
    testing_support::TempDir data;
};

// What every pass summary says, with or without debug logging.
constexpr const char* passSummaryMark = "Tamsel indexed:";
// A number from the environment (a long run's settings), or the fallback.
int EnvironmentNumber(const char* name, int fallback);

store::Item Text(const std::string& name, const std::string& value);
store::Item List(const std::string& name, const std::vector<std::string>& values);
store::Item Time(const std::string& name, const std::string& text);
bool Has(const std::string& text, const std::string& part);
