// zrb.exe run as its own process against a database: what it prints, and what a process that
// has the database open sees of its changes.
#include "database.h"
#include "file_text.h"
#include "item_values.h"
#include "program_run.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

namespace {

using nlohmann::json;

class ZrbProgram : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(store::Database::Create(store::OpenJournalFile(path, store::OpenMode::CreateNew),
                                          "Mail", database),
                  store::kOk);
    }
    uint32_t PutMemo(const std::string& subject) {
        store::Note note;
        note.items.push_back({"Subject", store::ItemType::Text, false, subject});
        EXPECT_EQ(database->putNote(note), store::kOk);
        return note.id;
    }
    testing_support::ProgramRun Zrb(const std::string& arguments) const {
        const std::string line = "zrb.exe " + arguments;
        return testing_support::RunProgram(std::wstring(line.begin(), line.end()));
    }

    testing_support::TempDir dir;
    std::string path = dir.file("mail.zrb");
    std::unique_ptr<store::Database> database;
};

TEST_F(ZrbProgram, DumpListsEachUsersUnreadNotes) {
    const uint32_t first = PutMemo("one"), second = PutMemo("two"), third = PutMemo("three");
    ASSERT_EQ(database->markUnread("Anna Berg", {first, second, third}, true), store::kOk);
    ASSERT_EQ(database->markUnread("Anna Berg", {second}, false), store::kOk);
    ASSERT_EQ(database->markUnread("Bo", {second}, true), store::kOk);
    ASSERT_EQ(database->markUnread("Read All", {first}, true), store::kOk);
    ASSERT_EQ(database->markUnread("Read All", {first}, false), store::kOk);

    const auto run = Zrb("dump \"" + path + "\"");
    ASSERT_EQ(run.exitCode, 0u) << run.output;
    const json dump = json::parse(run.output, nullptr, false);
    ASSERT_TRUE(dump.is_object()) << run.output;
    EXPECT_EQ(dump["unread"], (json{{"Anna Berg", {first, third}}, {"Bo", {second}}}))
        << "a user whose marks were all removed has none to list";
    EXPECT_EQ(dump["notes"].size(), 3u);
}

TEST_F(ZrbProgram, AnotherProcessesNotesShowInTheChangeListOfAnOpenDatabase) {
    PutMemo("before");
    store::IdList ids;
    store::TimeValue seen;
    ASSERT_EQ(database->modifiedSince(store::kEarliestTime, 0xFFFF, ids, seen), store::kOk);

    const auto run = Zrb("form \"" + path + "\" Memo");
    ASSERT_EQ(run.exitCode, 0u) << run.output;
    const uint32_t theirs = static_cast<uint32_t>(std::stoul(run.output));

    store::TimeValue until;
    ASSERT_EQ(database->modifiedSince(seen, 0xFFFF, ids, until), store::kOk);
    EXPECT_EQ(std::vector<uint32_t>(ids.begin(), ids.end()), std::vector<uint32_t>{theirs});
    EXPECT_GT(store::CompareTimes(until, seen), 0);
    // Our next note follows theirs in ID.
    EXPECT_GT(PutMemo("after"), theirs);
    store::Note form;
    ASSERT_EQ(database->readNote(theirs, form), store::kOk);
    EXPECT_EQ(form.noteClass, store::NoteClass::Form);
    ASSERT_TRUE(form.find("$TITLE"));
    EXPECT_EQ(store::ItemToText(*form.find("$TITLE"), ""), "Memo");
}

TEST_F(ZrbProgram, BatchPutStoresEachReadableLineOnceAndNamesTheOthers) {
    // A note already there with the key of the batch's second note.
    store::Note earlier;
    earlier.items.push_back({"$MessageID", store::ItemType::Text, false, "<b@x>"});
    ASSERT_EQ(database->putNote(earlier), store::kOk);
    const std::string input = dir.file("notes.jsonl");
    testing_support::WriteFileText(
        input,
        R"({"items": {"$MessageID": "<a@x>", "Subject": "first", "$FILE": [)"
        R"({"attachment": "a.pdf", "size": 3}, {"attachment": "b.txt", "size": 4}]}, "unread": "Bo"})"
        "\n"
        R"({"items": {"$MessageID": "<b@x>", "Subject": "there already"}})"
        "\n"
        "{not json\n"
        R"({"items": {"Subject": {"time": "not a time"}}})"
        "\n\n"
        R"({"items": {"$MessageID": "<a@x>", "Subject": "twice in the batch"}})"
        "\n"
        R"({"items": {"$MessageID": "<c@x>", "Subject": "last"}})"
        "\n");

    const auto run = testing_support::RunProgram(
        std::wstring(L"cmd /c zrb.exe put \"") + std::wstring(path.begin(), path.end()) +
        L"\" --batch --unique $MessageID < \"" + std::wstring(input.begin(), input.end()) + L"\"");
    EXPECT_EQ(run.exitCode, 1u) << "lines were refused";
    EXPECT_NE(run.output.find(": line 3: "), std::string::npos) << run.output;
    EXPECT_NE(run.output.find(": line 4: "), std::string::npos) << run.output;
    EXPECT_NE(run.output.find(R"({"added":2,"present":2,"refused":2})"), std::string::npos)
        << run.output;

    ASSERT_EQ(database->refresh(), store::kOk);
    std::vector<std::string> subjects;
    const uint32_t second = (*std::next(database->entries().begin())).id;
    for (const auto& entry : database->entries()) {
        store::Note note;
        ASSERT_EQ(database->readNote(entry.id, note), store::kOk);
        if (const store::Item* subject = note.find("Subject"))
            subjects.push_back(store::ItemToText(*subject, ""));
        if (entry.id != second)
            continue;
        std::vector<std::string> files;
        for (const auto& item : note.items)
            if (item.name == "$FILE")
                files.push_back(store::ItemToText(item, ""));
        EXPECT_EQ(files, (std::vector<std::string>{"a.pdf", "b.txt"}));
        EXPECT_EQ(database->unreadNotes("Bo"), std::vector<uint32_t>{entry.id});
    }
    EXPECT_EQ(subjects, (std::vector<std::string>{"first", "last"}));
}

// A dump that met a damaged record names it and exits with 1.
TEST_F(ZrbProgram, ADumpThatMetDamageNamesItAndExitsWithOne) {
    PutMemo(std::string(300, 's'));
    database.reset();
    ASSERT_EQ(Zrb("dump \"" + path + "\"").exitCode, 0u);
    std::string text = testing_support::ReadFileText(path);
    text.replace(text.find("\"items\""), 100, std::string(100, 'X'));
    testing_support::WriteFileText(path, text);
    const auto run = Zrb("dump \"" + path + "\"");
    EXPECT_EQ(run.exitCode, 1u) << run.output;
    EXPECT_NE(run.output.find(path + ": note 4: not a JSON object (damaged)"), std::string::npos)
        << run.output;
}

// The folder of this program, where zrb.exe is built too.
std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH];
    std::wstring folder(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
    return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

// What zrb refuses, it says so and exits with 1.
TEST_F(ZrbProgram, FailuresAreNamedAndEndWithANonZeroExit) {
    const uint32_t kept = PutMemo("kept");
    const std::string file = "\"" + path + "\"";
    const struct {
        std::string arguments;
        std::string input;
        unsigned exitCode;
        std::string says;
    } cases[] = {
        {"put " + file + " --id 4000", R"({"items": {"Subject": "x"}})", 1,
         path + ": no note 4000"},
        {"put " + file + " --id " + std::to_string(kept), R"({"items": {"Subject": "x"}})", 0,
         std::to_string(kept)},
        {"put " + file, R"({"class": 70000, "items": {}})", 1,
         "\"class\" must be a number from 0 to 65535, not 70000"},
        {"dump \"" + dir.file("missing.zrb") + "\"", "", 1,
         dir.file("missing.zrb") + ": cannot open"},
        {"put " + file + " --id -1", R"({"items": {"Subject": "x"}})", 1,
         R"("-1" is not a note ID)"},
        {"put " + file + " --id 4294967297", R"({"items": {"Subject": "x"}})", 1,
         R"("4294967297" is not a note ID)"},
        {"put " + file + " --batch --id " + std::to_string(kept), R"({"items": {}})", 1,
         "cannot go with --batch"},
        {"put " + file + " --unique $MessageID", R"({"items": {}})", 1, "goes with --batch"},
        {"put " + file + " extra", R"({"items": {}})", 1, "unexpected argument \"extra\""},
        {"delete " + file + " " + std::to_string(kept) + " 4000", "", 1,
         "unexpected argument \"4000\""},
        {"flags " + file + " -1", "", 1, R"("-1" is not a flag word)"},
        {"flags " + file + " 0x100000000", "", 1, R"("0x100000000" is not a flag word)"},
        {"frobnicate " + file, "", 2, "zrb: unknown command \"frobnicate\""},
    };
    const std::string input = dir.file("input.json");
    for (const auto& c : cases) {
        testing_support::WriteFileText(input, c.input);
        const auto run = testing_support::RunProgram(
            L"cmd.exe /c \"\"" + ProgramFolder() + L"zrb.exe\" " +
            std::wstring(c.arguments.begin(), c.arguments.end()) + L" < \"" +
            std::wstring(input.begin(), input.end()) + L"\"\"");
        EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments << "\n" << run.output;
        EXPECT_NE(run.output.find(c.says), std::string::npos) << c.arguments << "\n" << run.output;
    }
}

} // namespace
