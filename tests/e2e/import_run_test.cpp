// Databases written by tamsel-import (the import_e2e_data step of ctest) indexed by the real
// client, plug-in and engines, and found with zsearch.
#include "database_run.h"

namespace {

using nlohmann::json;

class ImportRun : public DatabaseRun {
  protected:
    void SetUp() override {
        for (const char* name : {"mail.zrb", "roster.zrb"})
            ASSERT_TRUE(CopyFileA((std::string(IMPORTED_DATA_DIR) + "\\" + name).c_str(),
                                  data.file(name).c_str(), TRUE))
                << "the import step writes " << name << " into " << IMPORTED_DATA_DIR;
        WriteClientSettings(data, "DesktopSearchIndexEnabled=1\r\nDesktopSearchWaitTime=0\r\n"
                                  "DesktopSearchInstallInstructions=1\r\nDesktopSearchDebug=1\r\n"
                                  "DesktopSearchFilePath=mail.zrb\r\n"
                                  "DesktopSearchFilePath1=roster.zrb\r\n");
    }
    std::string Query(const std::string& words) const {
        return engines.Zsearch(L"query " + Wide(words)).output;
    }
};

TEST_F(ImportRun, ImportedMailEventsTasksAndContactsAreFound) {
    Index();
    const auto documents = Documents();
    EXPECT_EQ(
        Subjects(documents),
        (std::set<std::string>{"Grüße aus Köln", "html only", "Привет", "Weekly review",
                               "Daily stand-up", "Holiday", "File the report", "Open question",
                               "Kari Ødegaard", "Nameless Ltd", "Jörg Müller"}))
        << "the broken message and the event without a start are not there";
    const auto content = [&](const std::string& subject) -> std::string {
        const auto found = documents.find(subject);
        return found == documents.end() ? "" : found->second.value("content", "");
    };
    const std::string mail = content("Grüße aus Köln");
    EXPECT_TRUE(Has(mail, "Grüße aus Köln")) << "the body's quoted-printable UTF-8: " << mail;
    EXPECT_TRUE(Has(mail, "mail_flags: 2\r\n")) << "it has attachments: " << mail;
    EXPECT_EQ(documents.at("Grüße aus Köln").value("cc", ""),
              "Jörg Müller <j@example.de>, c@example.org");
    EXPECT_EQ(documents.at("Grüße aus Köln").value("time", 0), 1796749200)
        << "2026-12-08 18:00 +01:00 in UTC";
    EXPECT_TRUE(Has(content("html only"), "Lanterns at the harbour")) << content("html only");
    const std::string meeting = content("Weekly review");
    EXPECT_TRUE(Has(meeting, "location: Lighthouse, room 3\r\n")) << meeting;
    EXPECT_TRUE(Has(meeting, "attendees: Bo <bo@example.org>,cecilia@example.org\r\n")) << meeting;
    EXPECT_TRUE(Has(meeting, "03-30-2026 08:00:00 / 03-30-2026 09:30:00")) << meeting;
    const std::string task = content("File the report");
    EXPECT_TRUE(Has(task, "status: 2\r\n")) << task;
    EXPECT_TRUE(Has(task, "importance: 2\r\n")) << task;
    const std::string contact = content("Kari Ødegaard");
    EXPECT_TRUE(Has(contact, "mobile_phone: +47 3333, +47 7777\r\n")) << contact;
    EXPECT_TRUE(Has(contact, "nickname: Kå\r\n")) << contact;

    // Words of the imported texts find their documents.
    EXPECT_TRUE(Has(Query("Tide tables"), "Привет")) << Query("Tide tables");
    EXPECT_TRUE(Has(Query("fjord"), "Kari Ødegaard")) << Query("fjord");
}

} // namespace
