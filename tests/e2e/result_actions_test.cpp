// A mail indexed by the real client is found with zsearch and opened and replied to through
// the actions of the registered plug-in, by way of the system's URL handler and the client.
#include "client_run.h"
#include "database.h"
#include "file_text.h"
#include "installed_engines.h"
#include "journal_file.h"
#include "registered_plugin.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdio>

namespace {

using nlohmann::json;

const wchar_t openAction[] = L"{791F141B-8CB2-4F72-AD50-60EC14BFCFBB}";
const wchar_t replyToAllAction[] = L"{4DFEE224-FE66-4954-A247-1D61CFD3B9F3}";

store::Item Text(const std::string& name, const std::string& value) {
    return {name, store::ItemType::Text, false, value};
}
store::Item List(const std::string& name, const std::vector<std::string>& values) {
    return {name, store::ItemType::TextList, false, values};
}

std::wstring Wide(const std::string& text) {
    std::wstring wide(MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0),
                      L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), wide.data(), int(wide.size()));
    return wide;
}

class ResultActions : public ::testing::Test {
  protected:
    void SetUp() override {
        std::unique_ptr<store::Database> created;
        ASSERT_EQ(store::Database::Create(
                      store::OpenJournalFile(data.file("mail.zrb"), store::OpenMode::CreateNew),
                      "Dora's Mail", created),
                  store::kOk);
        WriteClientSettings(data, "DesktopSearchIndexEnabled=1\r\nDesktopSearchWaitTime=0\r\n"
                                  "DesktopSearchInstallInstructions=1\r\n"
                                  "DesktopSearchFilePath=mail.zrb\r\n");
    }
    void TearDown() override {
        if (HasFailure())
            std::printf("the client's log:\n%s",
                        testing_support::ReadFileText(data.file("tamsel.log")).c_str());
    }
    std::unique_ptr<store::Database> Open() const {
        std::unique_ptr<store::Database> database;
        EXPECT_EQ(store::Database::Open(
                      store::OpenJournalFile(data.file("mail.zrb"), store::OpenMode::ReadWrite),
                      database),
                  store::kOk);
        return database;
    }
    uint32_t PutMail(const std::string& subject) {
        store::Note note;
        note.items = {
            Text("Form", "Memo"),
            Text("From", "CN=\xC3\x85se \xC3\x98"
                         "degaard/O=Acme"),
            List("SendTo", {"CN=Bo Ek/O=Acme", "carl@example.com"}),
            List("CopyTo", {"Dora \"Dee\" Lind"}),
            Text("Subject", subject),
            {"PostedDate", store::ItemType::Time, false, "2026-12-08 09:00:00.00 +01:00"}};
        EXPECT_EQ(Open()->putNote(note), store::kOk);
        return note.id;
    }
    // Waits up to half a minute for a line of the client's log (the client the URL handler
    // started writes it).
    bool WaitForLogLine(const std::string& wanted) const {
        for (int attempt = 0; attempt < 300; ++attempt) {
            const std::string log = testing_support::ReadFileText(data.file("tamsel.log"));
            if (log.find(wanted + "\n") != std::string::npos ||
                log.find(wanted + "\r\n") != std::string::npos)
                return true;
            Sleep(100);
        }
        return false;
    }

    testing_support::InstalledEngines engines;
    testing_support::TempDir data;
};

TEST_F(ResultActions, AFoundMailOpensAndIsRepliedToAllAndAGoneOneIsNotFound) {
    const uint32_t id = PutMail("Quarterly report: Q3 & Q4 (100%)");
    ASSERT_EQ(RunClient(data, "--seconds 6 --menu 0").exitCode, 0);
    const RegisteredPlugin plugin(data);

    const json found = json::parse(engines.Zsearch(L"--json query Quarterly").output);
    ASSERT_EQ(found.size(), 1u) << found.dump();
    const std::wstring url = Wide(found[0]["url"]);
    const auto offered = engines.Zsearch(L"actions \"" + url + L"\"");
    EXPECT_NE(
        offered.output.find("state 2  Open in Velmora Tamsel  " + std::string(found[0]["url"])),
        std::string::npos)
        << offered.output;
    EXPECT_NE(
        offered.output.find("state 2  Reply  mailto:%C3%85se%20%C3%98degaard%2FAcme?subject="),
        std::string::npos)
        << offered.output;
    EXPECT_NE(offered.output.find("3 actions"), std::string::npos) << offered.output;

    char opened[64];
    std::snprintf(opened, sizeof opened, "nltamsel: Opened note %X of mail.zrb", unsigned(id));
    EXPECT_EQ(engines.Zsearch(L"act \"" + url + L"\" " + openAction).exitCode, 0u);
    EXPECT_TRUE(WaitForLogLine(opened)) << opened;

    EXPECT_EQ(engines.Zsearch(L"act \"" + url + L"\" " + replyToAllAction).exitCode, 0u);
    EXPECT_TRUE(WaitForLogLine("nltamsel: Reply to \xC3\x85se \xC3\x98"
                               "degaard/Acme,Bo Ek/Acme, "
                               "carl@example.com,Dora \"Dee\" Lind with subject "
                               "\"Quarterly report: Q3 & Q4 (100%)\""));

    ASSERT_EQ(Open()->deleteNote(id), store::kOk);
    EXPECT_EQ(engines.Zsearch(L"act \"" + url + L"\" " + openAction).exitCode, 0u);
    EXPECT_TRUE(WaitForLogLine("nltamsel: Document not found: " + std::string(found[0]["url"])));
}

} // namespace
