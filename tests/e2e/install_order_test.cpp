// Installed as an installer installs: the client and the plug-in registered before the
// client's first start. The plug-in stays registered with the second engine through that start
// and through a new index of that engine: found mails offer their actions, deleted ones leave
// the index by the engine's query road.
#include "database_run.h"
#include "file_text.h"
#include "registered_plugin.h"

namespace {

using nlohmann::json;

const wchar_t replyAction[] = L"{B47371E4-4DDA-41F4-A694-93B084E93230}";

class InstallOrder : public DatabaseRun {
  protected:
    void SetUp() override {
        CreateDatabase("mail.zrb", "Dan's Mail");
        // No notice shown yet and no engine index seen: the client has never run.
        WriteClientSettings(data, "DesktopSearchIndexEnabled=1\r\nDesktopSearchWaitTime=0\r\n"
                                  "DesktopSearchFilePath=mail.zrb\r\n");
    }
    uint32_t PutMail(const std::string& subject) {
        return PutNote("mail.zrb", {Text("Form", "Memo"), Text("From", "CN=Dan O'Neil/O=Acme"),
                                    Text("Subject", subject),
                                    Time("PostedDate", "2026-12-08 09:00:00.00 +01:00")});
    }
    std::string UrlOf(const std::string& subject) const {
        for (const json& summary : Listed())
            if (summary["subject"] == subject)
                return summary["url"];
        return "";
    }
    // A mail is deleted and indexed away; the index must hold no trace of it.
    void DeletedMailLeavesByTheQueryRoad(const std::string& subject) {
        const uint32_t id = PutMail(subject);
        Index();
        const std::string url = UrlOf(subject);
        ASSERT_NE(url, "") << subject;
        ASSERT_EQ(OpenDatabase("mail.zrb")->deleteNote(id), store::kOk);
        Index();
        EXPECT_EQ(LastRecord(url), "remove") << subject;
    }
};

TEST_F(InstallOrder, RegisteredBeforeTheFirstStartTheActionsAndDeletionsKeepWorking) {
    PutMail("Don't forget the budget");
    const RegisteredPlugin plugin(data);
    const ClientRun first = Index();
    EXPECT_TRUE(SaidInLog(first, "has been installed")) << "the first-run notice";
    EXPECT_TRUE(
        Has(testing_support::ReadFileText(data.file("tamsel.ini")), "DesktopSearchInstallTime2="))
        << "a query cookie";

    const std::wstring url = Wide(UrlOf("Don't forget the budget"));
    const auto offered = engines.Zsearch(L"actions \"" + url + L"\"");
    EXPECT_TRUE(Has(offered.output, "state 2  Reply  mailto:Dan%20O%27Neil%2FAcme?subject=Don%27t"
                                    "%20forget%20the%20budget"))
        << offered.output;
    const auto replied = engines.Zsearch(L"act \"" + url + L"\" " + replyAction);
    EXPECT_EQ(replied.exitCode, 0u) << replied.output;
    DeletedMailLeavesByTheQueryRoad("Gone after the first start");

    // The second engine makes its index anew: everything is sent again and the plug-in is
    // registered again.
    ASSERT_EQ(engines.Zsearch(L"reset").exitCode, 0u);
    Index();
    EXPECT_EQ(ListedSubjects(), (std::set<std::string>{"Don't forget the budget"}));
    EXPECT_TRUE(Has(engines.Zsearch(L"actions \"" + url + L"\"").output, "state 2  Reply  "));
    DeletedMailLeavesByTheQueryRoad("Gone after the new index");
}

} // namespace
