// The actions object against the second engine's real result items.
#include "actions/tamsel_actions.h"
#include "actions/url_handler.h"
#include "automation_owners.h"
#include "plugin_fixture.h"
#include "query/query_object.h"
#include "query/result_item.h"

#include <shellapi.h>
#include <wrl/client.h>

#include <optional>
#include <thread>

using namespace tamsel;
using Microsoft::WRL::ComPtr;
using Properties = engine_index::Properties;

namespace {

const wchar_t openId[] = L"{791F141B-8CB2-4F72-AD50-60EC14BFCFBB}";
const wchar_t otherOpenId[] = L"{38F6D626-3945-453C-99B5-63DC42C84C01}";
const wchar_t replyId[] = L"{B47371E4-4DDA-41F4-A694-93B084E93230}";
const wchar_t replyToAllId[] = L"{4DFEE224-FE66-4954-A247-1D61CFD3B9F3}";
const wchar_t ignoredId[] = L"{443EA114-7429-489B-A53C-52ECD0B3B8C8}";
const wchar_t unknownId[] = L"{00000000-1111-2222-3333-444444444444}";
const std::string documentUrl = "Tamsel:///0123456789ABCDEF//FEDCBA98765432100011223344556677";

struct Answer {
    HRESULT result;
    LONG state;
    std::wstring caption, command;
};

GUID Guid(const wchar_t* text) {
    GUID id{};
    EXPECT_EQ(CLSIDFromString(text, &id), S_OK);
    return id;
}

ComPtr<IOrvennaActionHandler> Actions() {
    ComPtr<IOrvennaActionHandler> actions;
    EXPECT_EQ(TamselActions::Create(IID_PPV_ARGS(&actions)), S_OK);
    return actions;
}

// A result of the engine holding the given url and properties.
ComPtr<IDispatch> Result(const std::optional<std::string>& url, Properties properties) {
    engine_index::Document document;
    if (url)
        document.url = *url;
    document.properties = std::move(properties);
    ComPtr<IDispatch> item;
    ComPtr<engine_query::ResultItem> made(new engine_query::ResultItem(std::move(document)));
    made.As(&item);
    return item;
}

Answer Ask(const wchar_t* actionId, IDispatch* item) {
    Answer answer{};
    automation::UniqueBstr schema(L"Orvenna.Desktop.Email"), caption, command;
    answer.state = -1;
    answer.result = Actions()->QueryAction(schema.get(), Guid(actionId), item, caption.put(),
                                           command.put(), &answer.state);
    answer.caption = automation::BstrView(caption.get());
    answer.command = automation::BstrView(command.get());
    return answer;
}

std::wstring Wide(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

TEST(ActionsObject, AnswersEveryActionByCookieIdAndProperties) {
    const std::string mailer = "Ann Berg";
    const std::string longSubject(300, 'x');
    const struct Case {
        const char* what;
        const wchar_t* action;
        std::optional<std::string> cookie;
        Properties properties;
        LONG state;
        std::wstring command;
    } cases[] = {
        {"open gives the document url", openId, documentUrl, {}, 2, Wide(documentUrl)},
        {"the other open id", otherOpenId, documentUrl, {}, 2, Wide(documentUrl)},
        {"the scheme in capitals", openId, "TAMSEL:///00//11", {}, 2, L"TAMSEL:///00//11"},
        {"another scheme for open", openId, "file:///C:/mail.zrb", {}, 0, L""},
        {"another scheme for reply", replyId, "file:///C:/mail.zrb", {{"from", mailer}}, 0, L""},
        {"another scheme, reply to all",
         replyToAllId,
         "file:///x",
         {{"from", "a"}, {"to", "b"}},
         0,
         L""},
        {"an empty cookie", openId, "", {}, 0, L""},
        {"a cookie that only starts like the scheme is no document url",
         openId,
         "Tamsel.exe \"x\"",
         {},
         1,
         L""},
        {"the ignored id", ignoredId, documentUrl, {{"from", mailer}}, 0, L""},
        {"an unknown id", unknownId, documentUrl, {{"from", mailer}}, 0, L""},
        {"reply with only an organizer",
         replyId,
         documentUrl,
         {{"organizer", mailer}},
         2,
         L"mailto:Ann%20Berg"},
        {"the sender before owner and organizer",
         replyId,
         documentUrl,
         {{"organizer", "o"}, {"owner", "w"}, {"from", "f"}},
         2,
         L"mailto:f"},
        {"a sender that is no text counts as missing",
         replyId,
         documentUrl,
         {{"from", 7}, {"owner", "w"}},
         2,
         L"mailto:w"},
        {"reply with nobody to write to", replyId, documentUrl, {{"subject", "Hi"}}, 1, L""},
        {"reply with an empty sender", replyId, documentUrl, {{"from", ""}}, 1, L""},
        {"reply with the subject",
         replyId,
         documentUrl,
         {{"from", "a@b.c"}, {"subject", "Q&A 2"}},
         2,
         L"mailto:a@b.c?subject=Q%26A%202"},
        {"the title when there is no subject",
         replyId,
         documentUrl,
         {{"from", "a@b.c"}, {"title", "Plan"}},
         2,
         L"mailto:a@b.c?subject=Plan"},
        {"a percent sign stays itself",
         replyId,
         documentUrl,
         {{"from", "a@b.c"}, {"subject", "50%25"}},
         2,
         L"mailto:a@b.c?subject=50%2525"},
        {"reply to all with nobody else",
         replyToAllId,
         documentUrl,
         {{"from", "a"}, {"to", ""}},
         1,
         L""},
        {"reply to all adds to and cc",
         replyToAllId,
         documentUrl,
         {{"from", "a"}, {"to", "b"}, {"cc", "c"}, {"attendees", "x"}},
         2,
         L"mailto:a,b,c"},
        {"reply to all with the attendees",
         replyToAllId,
         documentUrl,
         {{"organizer", "a"}, {"attendees", "b;c"}},
         2,
         L"mailto:a,b;c"},
        {"reply to all with the engine's participants",
         replyToAllId,
         documentUrl,
         {{"from", "a"}, {"paticipants", "p"}},
         2,
         L"mailto:a,p"},
        {"names to escape",
         replyId,
         documentUrl,
         {{"from", "\"\xC3\x98"
                   "degaard, \xC3\x85se\" <ase@x.no>"}},
         2,
         L"mailto:%22%C3%98degaard,%20%C3%85se%22%20%3Case@x.no%3E"},
        {"a name beyond the platform's code page",
         replyId,
         documentUrl,
         {{"from", "\xE5\xB1\xB1\xE7\x94\xB0"}},
         2,
         L"mailto:%E5%B1%B1%E7%94%B0"},
        {"recipients too long whatever the subject",
         replyId,
         documentUrl,
         {{"from", std::string(234, 'r')}, {"subject", "s"}},
         1,
         L""},
        {"recipients too long once escaped",
         replyId,
         documentUrl,
         {{"from", std::string(80, ' ')}},
         1,
         L""},
        {"recipients far beyond any buffer",
         replyToAllId,
         documentUrl,
         {{"from", "a"}, {"to", std::string(100000, 't')}},
         1,
         L""},
        {"no room for the subject",
         replyId,
         documentUrl,
         {{"from", std::string(225, 'r')}, {"subject", "s"}},
         2,
         L"mailto:" + std::wstring(225, L'r')},
        {"the subject cut to end at 240",
         replyId,
         documentUrl,
         {{"from", "a@b.c"}, {"subject", longSubject}},
         2,
         L"mailto:a@b.c?subject=" + std::wstring(216, L'x') + L"..."},
        {"a cut never splits an escape",
         replyId,
         documentUrl,
         {{"from", "a@b.c"}, {"subject", std::string(215, 'x') + " tail" + longSubject}},
         2,
         L"mailto:a@b.c?subject=" + std::wstring(215, L'x') + L"..."},
        {"a cut never splits a character",
         replyId,
         documentUrl,
         {{"from", "a@b.c"}, {"subject", std::string(213, 'x') + "\xC3\xB6" + longSubject}},
         2,
         L"mailto:a@b.c?subject=" + std::wstring(213, L'x') + L"..."},
    };
    for (const Case& c : cases) {
        Properties properties = c.properties;
        const Answer answer = Ask(c.action, Result(c.cookie, properties).Get());
        EXPECT_EQ(answer.result, S_OK) << c.what;
        EXPECT_EQ(answer.state, c.state) << c.what;
        EXPECT_EQ(answer.command, c.command) << c.what;
    }
}

TEST(ActionsObject, CaptionsNameTheAction) {
    const Properties mail = {{"from", "a"}, {"to", "b"}};
    EXPECT_EQ(Ask(openId, Result(documentUrl, mail).Get()).caption, L"Open in Velmora Tamsel");
    EXPECT_EQ(Ask(replyId, Result(documentUrl, mail).Get()).caption, L"Reply");
    EXPECT_EQ(Ask(replyToAllId, Result(documentUrl, mail).Get()).caption, L"Reply to all");
    EXPECT_EQ(Ask(replyId, Result(documentUrl, {}).Get()).caption, L"") << "state 1, no caption";
}

TEST(ActionsObject, CaptionsFollowTheCallingThreadsLocale) {
    const Properties mail = {{"from", "a"}, {"to", "b"}};
    std::wstring german, swissGerman, japanese;
    std::thread([&] {
        SetThreadLocale(MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), SORT_DEFAULT));
        german = Ask(openId, Result(documentUrl, mail).Get()).caption;
        SetThreadLocale(MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN_SWISS), SORT_DEFAULT));
        swissGerman = Ask(replyToAllId, Result(documentUrl, mail).Get()).caption;
        SetThreadLocale(MAKELCID(MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT), SORT_DEFAULT));
        japanese = Ask(replyId, Result(documentUrl, mail).Get()).caption;
    }).join();
    EXPECT_EQ(german, L"In Velmora Tamsel \u00f6ffnen");
    EXPECT_EQ(swissGerman, L"Allen antworten");
    EXPECT_EQ(japanese, L"Reply");
    EXPECT_EQ(Ask(openId, Result(documentUrl, mail).Get()).caption, L"Open in Velmora Tamsel")
        << "this thread keeps its own language";
}

TEST(ActionsObject, WithoutAResultItemNothingApplies) {
    for (const wchar_t* action : {openId, replyId, replyToAllId}) {
        const Answer answer = Ask(action, nullptr);
        EXPECT_EQ(answer.result, S_OK);
        EXPECT_EQ(answer.state, 0);
        EXPECT_EQ(answer.command, L"");
    }
    ComPtr<IDispatch> notAResult;
    ASSERT_EQ(engine_query::QueryObject::Create(IID_PPV_ARGS(&notAResult)), S_OK);
    EXPECT_EQ(Ask(openId, notAResult.Get()).state, 0) << "an engine object that is no result";
    EXPECT_EQ(Ask(openId, Result(std::nullopt, {}).Get()).state, 0) << "no cookie at all";
    LONG state = 5;
    BSTR caption = nullptr;
    EXPECT_EQ(Actions()->QueryAction(nullptr, Guid(openId), nullptr, &caption, nullptr, &state),
              E_POINTER);
}

// What the actions would have started through the system's URL handler.
struct Started {
    std::string verb, file, parameters;
    INT show;
};
std::vector<Started> started;
HINSTANCE startResult = reinterpret_cast<HINSTANCE>(42);

HINSTANCE WINAPI RecordStart(HWND, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                             INT show) {
    EXPECT_EQ(directory, nullptr);
    started.push_back({verb ? verb : "", file ? file : "", parameters ? parameters : "", show});
    return startResult;
}

class ExecuteAction : public ::testing::Test {
  protected:
    void SetUp() override {
        started.clear();
        startResult = reinterpret_cast<HINSTANCE>(42);
        urlHandler.shellExecute = RecordStart;
    }
    void TearDown() override { urlHandler = real; }
    HRESULT Execute(const wchar_t* command) {
        automation::UniqueBstr text;
        if (command)
            text = automation::UniqueBstr(command);
        return Actions()->ExecuteAction(nullptr, Guid(openId), nullptr, text.get());
    }
    const UrlHandler real = urlHandler;
};

TEST_F(ExecuteAction, TheTwoKindsOfCommandReachTheHandler) {
    const std::wstring reply = L"mailto:a@b.c,%22B%20C%22?subject=Re%3A%20Hi";
    EXPECT_EQ(Execute(Wide(documentUrl).c_str()), S_OK);
    EXPECT_EQ(Execute(reply.c_str()), S_OK);
    EXPECT_EQ(Execute(L"TAMSEL:///00//11"), S_OK);
    ASSERT_EQ(started.size(), 3u);
    EXPECT_EQ(started[0].verb, "open");
    EXPECT_EQ(started[0].file, "rundll32.exe");
    EXPECT_EQ(started[0].parameters, "url.dll,FileProtocolHandler " + documentUrl);
    EXPECT_EQ(started[0].show, SW_SHOWNORMAL);
    EXPECT_EQ(started[1].parameters,
              "url.dll,FileProtocolHandler mailto:a@b.c,%22B%20C%22?subject=Re%3A%20Hi");
}

TEST_F(ExecuteAction, AnythingElseIsRefusedAndStartsNothing) {
    for (const wchar_t* command : {
             L"C:\\Windows\\system32\\calc.exe",
             L"calc.exe",
             L"file:///C:/Windows/notepad.exe",
             L"\\\\server\\share\\run.exe",
             L"http://example.com/",
             L"Tamsel.exe",
             L"TamselDesktop.dll",
             L"Tamsel:///00//11\" calc.exe",
             L"Tamsel:///00//11 calc.exe",
             L"mailto:a@b.c\" & calc.exe",
             L"mailto:a@b.c'x",
             L"mailto:a@b.c\tx",
             L"mailto:\u00e5se@x.no",
             L"mailto:",
             L"",
         })
        EXPECT_TRUE(FAILED(Execute(command))) << std::wstring(command);
    EXPECT_TRUE(FAILED(Execute(nullptr)));
    EXPECT_TRUE(started.empty());
}

// Percent escapes back to the UTF-8 text, as the URL handler reads them.
std::string Unescaped(const std::wstring& command) {
    std::string text;
    for (size_t at = 0; at < command.size(); ++at) {
        if (command[at] == L'%' && at + 2 < command.size()) {
            text += char(std::stoi(std::string(command.begin() + at + 1, command.begin() + at + 3),
                                   nullptr, 16));
            at += 2;
        } else {
            text += char(command[at]);
        }
    }
    return text;
}

TEST_F(ExecuteAction, EveryOfferedReplyIsStartedAndReadsBackAsWritten) {
    const std::string longText(300, 'w');
    const struct {
        std::string sender, subject;
    } cases[] = {
        {"Dan O'Neil", "Don't forget the budget"},
        {"\"Lind, Dora\" <dora@example.com>", "Re: \"quoted\" 'single'"},
        {"50% Club", "100% done, %41 is no escape"},
        {"a#b@example.com", "Q&A #3: who? + why = what"},
        {"tab\tand  blanks", "tab\tand  blanks "},
        {"\xE5\xB1\xB1\xE7\x94\xB0 \xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD",
         "\xCE\x93\xCE\xB5\xCE\xB9\xCE\xB1 \xF0\x9F\x9A\xA2 caf\xC3\xA9"},
        {"a@b.c", longText},
        {"a@b.c", std::string(100, '\'') + "\xF0\x9F\x9A\xA2" + longText},
        {std::string(222, 's'), "Status"},
        {std::string(229, 's'), "S"},
    };
    for (const auto& c : cases) {
        for (const wchar_t* action : {replyId, replyToAllId}) {
            const Answer answer =
                Ask(action,
                    Result(documentUrl, {{"from", c.sender}, {"to", "t"}, {"subject", c.subject}})
                        .Get());
            const std::string what = c.sender + " / " + c.subject;
            ASSERT_EQ(answer.state, 2) << what;
            EXPECT_LE(answer.command.size(), 240u) << what;
            started.clear();
            EXPECT_EQ(Execute(answer.command.c_str()), S_OK) << what;
            EXPECT_EQ(started.size(), 1u) << what;
            // What the handler reads: the recipients, then the subject whole or cut with "...".
            const std::string read = Unescaped(answer.command);
            const std::string recipients = "mailto:" + c.sender + (action == replyId ? "" : ",t");
            ASSERT_EQ(read.substr(0, recipients.size()), recipients) << what;
            const std::string rest = read.substr(recipients.size());
            if (rest.empty())
                continue; // no room for any of the subject
            ASSERT_EQ(rest.substr(0, 9), "?subject=") << what;
            const std::string subject = rest.substr(9);
            if (subject == c.subject)
                continue;
            ASSERT_GE(subject.size(), 3u) << what;
            EXPECT_EQ(subject.substr(subject.size() - 3), "...") << what;
            EXPECT_EQ(c.subject.substr(0, subject.size() - 3),
                      subject.substr(0, subject.size() - 3))
                << what;
        }
    }
}

TEST_F(ExecuteAction, AHandlerThatCannotStartIsAFailure) {
    startResult = reinterpret_cast<HINSTANCE>(SE_ERR_NOASSOC);
    EXPECT_TRUE(FAILED(Execute(L"mailto:a@b.c")));
    EXPECT_EQ(started.size(), 1u);
}

} // namespace
