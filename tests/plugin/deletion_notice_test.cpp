#include "com/server_registration.h"
#include "conversion_fixtures.h"
#include "convert/convert_note.h"
#include "convert/deletion_notice.h"
#include "convert/empty_mail_event.h"
#include "settings/client_settings.h"
#include "settings/index_type_mask.h"

using namespace tamsel;

namespace {

class DeletionNotices : public RealEngineConversion {
  protected:
    void SetUp() override {
        RealEngineConversion::SetUp();
        ASSERT_EQ(RegisterWithSecondEngine(false), S_OK);
        ASSERT_NE(GetInstallTime(), 0) << "the query cookie";
    }

    // A memo in the index; its note is deleted from the database afterwards.
    std::string IndexThenDelete(NOTEID& id) {
        id = db->Put({TextItem("Form", "Memo"), TextItem("Subject", "Gone soon"),
                      TimeItem("PostedDate", "2006-05-17")});
        const NOTEHANDLE note = db->Open(id);
        const std::string url = Url(note);
        PassContext context = db->Context();
        EXPECT_TRUE(ConvertNote(note, &context));
        EXPECT_FALSE(StoredAt(url).is_null());
        db->Delete(id);
        return url;
    }
};

TEST_F(DeletionNotices, TheQueryObjectRemovesTheIndexedDocument) {
    NOTEID id = 0;
    const std::string url = IndexThenDelete(id);
    PassContext context = db->Context();
    context.noteStatus = 9;
    EXPECT_TRUE(SendDeletionNotice(db->Handle(), id, &context));
    EXPECT_EQ(context.noteStatus, 0);
    EXPECT_EQ(context.engineResult, S_OK);
    EXPECT_TRUE(StoredAt(url).is_null());
}

TEST_F(DeletionNotices, WithoutTheQueryRoadAnEmptyMailEventTakesTheDocumentsPlace) {
    const struct {
        const char* what;
        LONG cookie;
        DWORD mask;
    } cases[] = {
        {"query switched off", 1, initialIndexTypeMask & ~indexFeatureDeletions},
        {"no cookie", 0, initialIndexTypeMask},
    };
    for (const auto& c : cases) {
        NOTEID id = 0;
        const std::string url = IndexThenDelete(id);
        if (c.cookie == 0)
            SetInstallTime(0);
        IndexTypeMask = c.mask;
        PassContext context = db->Context();
        EXPECT_TRUE(SendDeletionNotice(db->Handle(), id, &context)) << c.what;
        EXPECT_EQ(context.engineResult, S_OK);
        const auto stored = StoredAt(url);
        ASSERT_FALSE(stored.is_null()) << c.what;
        for (const char* name : {"subject", "cc", "bcc", "replyto", "folder_name"})
            EXPECT_EQ(stored.value(name, "<none>"), "") << c.what << " " << name;
        EXPECT_FALSE(stored.contains("from")) << "empty senders are not sent";
        EXPECT_EQ(stored.value("content", ""), "content: \r\nmail_header: \r\n");
    }
}

TEST_F(DeletionNotices, AQueryThatFindsNothingFallsBackToTheEmptyEvent) {
    const NOTEID id = db->Put({TextItem("Form", "Memo"), TextItem("Subject", "Never indexed")});
    const std::string url = Url(db->Open(id));
    db->Delete(id);
    PassContext context = db->Context();
    EXPECT_TRUE(SendDeletionNotice(db->Handle(), id, &context));
    EXPECT_EQ(StoredAt(url).value("subject", "<none>"), "");
}

TEST_F(DeletionNotices, AnUnknownNoteSendsNothing) {
    PassContext context = db->Context();
    context.engineResult = E_FAIL;
    EXPECT_FALSE(SendDeletionNotice(db->Handle(), 0x4711, &context));
    EXPECT_EQ(context.engineResult, S_OK);
    EXPECT_EQ(context.noteStatus, 0);
    EXPECT_EQ(Zsearch(L"count").output, "0\n");
}

// A stored document as verify reads it: emptied when every text passes.
bool ReadsAsEmptied(const nlohmann::json& stored) {
    for (const auto& [name, value] : stored.items())
        if (value.is_string() && !IsEmptiedEventText(name, value.get<std::string>()))
            return false;
    return true;
}

TEST_F(DeletionNotices, WhatTheEmptyEventLeavesReadsBackAsEmptied) {
    NOTEID id = 0;
    const std::string url = IndexThenDelete(id);
    EXPECT_FALSE(ReadsAsEmptied(StoredAt(url))) << "the memo as indexed";
    ASSERT_EQ(SendEmptiedDocument(std::wstring(url.begin(), url.end())), S_OK);
    const auto stored = StoredAt(url);
    ASSERT_FALSE(stored.is_null());
    EXPECT_TRUE(ReadsAsEmptied(stored)) << stored.dump();
}

TEST(EmptiedEventText, OnlyTheUrlAndTheFormatKeepATextAndTheContentOnlyNames) {
    const struct {
        const char* name;
        const char* text;
        bool emptied;
    } cases[] = {
        {"url", "Tamsel:///85257A2B0062E2F0//0123", true},
        {"content_format", "text/plain", true},
        {"subject", "", true},
        {"content", "", true},
        {"content", "content: \r\nmail_header: \r\n", true},
        {"content", "content: \r\nmail_header: ", true},
        {"subject", "Gone soon", false},
        {"folder_name", " ", false},
        {"URL", "Tamsel:///85257A2B0062E2F0//0123", false},
        {"content", "content: x\r\n", false},
        {"content", "content:\r\n", false},
        {"content", "content: \r\nGone soon", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsEmptiedEventText(c.name, c.text), c.emptied) << c.name << " = " << c.text;
}

class DeletionNoticesWithFakes : public FakeEngineConversion {};

TEST_F(DeletionNoticesWithFakes, AnUnregisteredQueryClassIsNotAskedAgain) {
    UseSettings("DesktopSearchDebug=1\n");
    SetInstallTime(4711);
    const NOTEID id = db->Put({TextItem("Form", "Memo")});
    for (int notice = 0; notice < 2; ++notice) {
        PassContext context = db->Context();
        EXPECT_TRUE(SendDeletionNotice(db->Handle(), id, &context));
    }
    EXPECT_EQ(fakes.CallsStartingWith("create OrvennaQuery").size(), 1u);
    EXPECT_EQ(fakes.CallsStartingWith("Send").size(), 2u) << "two empty mail events";
    EXPECT_EQ(IndexTypeMask & indexFeatureDeletions, 0u);
    ASSERT_FALSE(LogLines().empty());
    EXPECT_EQ(LogLines().front(), "TamselODSPlugin: tdFactory.CoCreateInstance: 80040154");
}

TEST_F(DeletionNoticesWithFakes, AFailedEmptyEventReportsTheEnginesAnswer) {
    fakes.answers["AddProperty subject"] = {E_INVALIDARG};
    const NOTEID id = db->Put({TextItem("Form", "Memo")});
    PassContext context = db->Context();
    EXPECT_FALSE(SendDeletionNotice(db->Handle(), id, &context));
    EXPECT_EQ(context.engineResult, E_INVALIDARG);
    EXPECT_TRUE(fakes.CallsStartingWith("Send").empty());
    EXPECT_EQ(Added("time"), std::vector<std::string>{"I4 -2147483648"});
}

} // namespace
