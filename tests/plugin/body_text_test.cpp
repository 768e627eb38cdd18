#include "conversion_fixtures.h"
#include "convert/body_content.h"
#include "convert/body_text.h"
#include "convert/data_fields.h"
#include "idl/engine_results.h"
#include "settings/index_type_mask.h"
#include "store_owners.h"
#include "unique_resource.h"

#include <filesystem>

using namespace tamsel;

namespace {

using BodyTexts = FakeEngineConversion;

std::wstring Wide(const std::string& utf8) {
    std::wstring wide(utf8.size(), L'\0');
    wide.resize(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), wide.data(),
                                    int(wide.size())));
    return wide;
}

std::string TempDirectory() {
    char path[MAX_PATH + 1];
    return std::string(path, GetTempPathA(sizeof path, path));
}

// Files the body reader may have left in a folder.
int BodyFilesIn(const std::string& folder) {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        count += name.rfind("td_", 0) == 0 ? 1 : 0;
    }
    return count;
}

TEST_F(BodyTexts, LeadingBlankLinesAreDroppedAndLaterOnesKept) {
    const NOTEHANDLE note =
        db->Open(db->Put({BodyItem("Body", {"", "", "", "  \t  word  ", "", "\tnext"})}));
    const int leftBefore = BodyFilesIn(TempDirectory());
    EXPECT_EQ(BodyToText(note, nullptr, 0), L"word  \r\n\r\n        next\r\n");
    EXPECT_EQ(BodyFilesIn(TempDirectory()), leftBefore) << "the rendering is deleted";
    EXPECT_EQ(BodyToText(db->Open(db->Put({BodyItem("Body", {"", " "})})), nullptr, 0), L"");
}

TEST_F(BodyTexts, LongBodiesArriveWholeAcrossChunkBoundaries) {
    // Lines of 100 bytes with their line ends, some holding a two-byte character: three
    // chunks, each converting to more UTF-16 characters than one translation holds.
    std::vector<std::string> lines;
    std::string expected;
    for (int i = 0; i < 1500; ++i) {
        std::string line = std::to_string(i) + (i % 3 == 0 ? "é" : "e");
        line.resize(98, 'x');
        lines.push_back(line);
        expected += line + "\r\n";
    }
    const NOTEHANDLE note = db->Open(db->Put({BodyItem("Body", lines)}));
    EXPECT_EQ(BodyToText(note, nullptr, 0), Wide(expected));

    // A chunk longer than the client's translation takes at once.
    std::vector<std::string> longLines(57, std::string(998, 'y'));
    longLines.push_back(std::string(65000, 'z'));
    std::string longText;
    for (const std::string& line : longLines)
        longText += line + "\r\n";
    EXPECT_EQ(BodyToText(db->Open(db->Put({BodyItem("Body", longLines)})), nullptr, 0),
              Wide(longText));
}

TEST_F(BodyTexts, ACompoundGetsTheTextInChunks) {
    std::vector<std::string> lines(BodyChunkLimit / 50, std::string(98, 'c')); // two chunks
    const NOTEHANDLE source = db->Open(db->Put({BodyItem("Body", lines)}));
    UniqueNote target;
    ASSERT_EQ(StoreCreateNote(db->Handle(), target.put()), STORE_NOERROR);
    UniqueCompound compound;
    ASSERT_EQ(StoreCompoundCreate(target.get(), "Body", compound.put()), STORE_NOERROR);
    EXPECT_EQ(BodyToText(source, nullptr, compound.get()), L"added to hData buffer");
    EXPECT_FALSE(AppendBodyToCompound(source, "Missing", compound.get()));
    ASSERT_EQ(compound.Close(), STORE_NOERROR);
    EXPECT_EQ(BodyToText(target.get(), nullptr, 0), BodyToText(source, nullptr, 0));
}

TEST_F(BodyTexts, WithoutABodyTheFirstPresentDataFieldCounts) {
    const struct {
        const char* setting;
        std::vector<store::Item> items;
        const wchar_t* expected;
    } cases[] = {
        {"", {BodyItem("DetailedReport", {"report"})}, L"report\r\n"},
        {"", {BodyItem("Body", {"body"}), BodyItem("DetailedReport", {"report"})}, L"body\r\n"},
        {"Notes,Summary", {TextItem("Notes", ""), TextItem("Summary", "sum")}, L""},
        {",,Summary,", {TextItem("Summary", "sum")}, L"sum\r\n"},
        {" Summary", {TextItem("Summary", "sum")}, L""}, // blanks belong to the name
        {"Notes", {TextItem("Body", "body")}, L""},
    };
    for (const auto& c : cases) {
        UseSettings(std::string("DesktopSearchDataFields=") + c.setting + "\n");
        const NOTEHANDLE note = db->Open(db->Put(c.items));
        EXPECT_EQ(ReadDataFieldsText(note), c.expected) << c.setting;
    }
}

// With a temporary folder that cannot be written, the rendering goes to the data directory
// under its fixed name.
std::wstring BodyThroughDataDirectory(NOTEHANDLE note, const std::string& missingFolder) {
    char saved[MAX_PATH] = {};
    GetEnvironmentVariableA("TMP", saved, MAX_PATH);
    SetEnvironmentVariableA("TMP", missingFolder.c_str());
    SetEnvironmentVariableA("TEMP", missingFolder.c_str());
    std::wstring text = BodyToText(note, nullptr, 0);
    SetEnvironmentVariableA("TMP", saved);
    SetEnvironmentVariableA("TEMP", saved);
    return text;
}

TEST_F(BodyTexts, AnUnwritableTempFolderFallsBackToTheDataDirectory) {
    const NOTEHANDLE note = db->Open(db->Put({BodyItem("Body", {"fallback"})}));
    EXPECT_EQ(BodyThroughDataDirectory(note, dir.file("no such folder")), L"fallback\r\n");
    EXPECT_FALSE(testing_support::FileExists(dir.file("td_tmpbody.txt")));
}

TEST_F(BodyTexts, ARenderingSomeoneElseKeepsFromDeletionIsStillRead) {
    // The fixed name in the data directory, held open by another reader that allows writing
    // but not deleting.
    const NOTEHANDLE note = db->Open(db->Put({BodyItem("Body", {"still read"})}));
    const std::string fixed = dir.file("td_tmpbody.txt");
    win32::UniqueFile holder(CreateFileA(fixed.c_str(), GENERIC_READ,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_NEW,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(holder);
    const std::wstring text = BodyThroughDataDirectory(note, dir.file("no such folder"));
    holder.reset();
    EXPECT_EQ(text, L"still read\r\n");
    EXPECT_TRUE(DeleteFileA(fixed.c_str())) << "the holder kept it";
}

TEST_F(BodyTexts, ContentAndFormatAreWrittenAndAnExplicitItemIsNotReplaced) {
    const NOTEHANDLE note =
        db->Open(db->Put({BodyItem("DetailedReport", {"report"}), TextItem("Empty", "")}));
    {
        EngineEvent event(indexTypeMail);
        EXPECT_EQ(WriteBodyContent(note, "Empty", true, event), S_OK);
        ASSERT_EQ(event.Send(), S_OK);
    }
    EXPECT_EQ(Added("content_format"), std::vector<std::string>{"\"text/plain\""});
    ASSERT_EQ(Added("content").size(), 1u);
    EXPECT_EQ(Added("content")[0].rfind("\"content: \r\n", 0), 0u) << Added("content")[0];

    fakes.calls.clear();
    EngineEvent event(indexTypeMail);
    EXPECT_EQ(WriteBodyContent(note, nullptr, false, event), S_OK);
    ASSERT_EQ(event.Send(), S_OK);
    EXPECT_EQ(Added("content"), std::vector<std::string>{"\"other_data: report\r\n\r\n\""});
    EXPECT_EQ(Added("url"), std::vector<std::string>{"\"\""}) << "no url without content";
}

TEST_F(BodyTexts, AFailedContentWriteIsReturned) {
    fakes.answers["AddProperty content_format"] = {E_INVALIDARG};
    const NOTEHANDLE note = db->Open(db->Put({BodyItem("Body", {"x"})}));
    EngineEvent event(indexTypeMail);
    EXPECT_EQ(WriteBodyContent(note, nullptr, true, event), E_INVALIDARG);
}

TEST_F(BodyTexts, AnEngineWithoutTheExtendedPropertiesLosesThemForLaterNotes) {
    // Only an event that never came to be answers for the url with the engine's refusal.
    fakes.answers["CreateEvent"] = {engine_results::E_NO_SUCH_PROPERTY};
    const NOTEHANDLE note = db->Open(db->Put({BodyItem("Body", {"x"})}));
    EngineEvent event(indexTypeMail);
    EXPECT_EQ(WriteBodyContent(note, nullptr, true, event), engine_results::E_NO_SUCH_PROPERTY);
    EXPECT_EQ(IndexTypeMask & 0xE00, 0u);
    EXPECT_EQ(IndexTypeMask & 0x177, 0x177u) << "the document kinds stay";
}

} // namespace
