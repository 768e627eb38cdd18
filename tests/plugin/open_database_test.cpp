#include "file_text.h"
#include "plugin_fixture.h"
#include "settings/database_list.h"
#include "test_database.h"

#include <cstring>

using namespace tamsel;

namespace {

class OpenDatabase : public PluginTest {};

struct OpenCase {
    std::string file; // relative to the data directory; "" = an empty path
    STORESTATUS status;
    std::string message; // the box's text; "" = none
};

TEST_F(OpenDatabase, EachFailureHasItsStatusAndMessage) {
    TestDatabase good(dir.file("good.zrb"));
    TestDatabase unusable(dir.file("unusable.zrb"));
    unusable.SetFlags(0);
    testing_support::WriteFileText(dir.file("text.zrb"), "not a database at all");
    testing_support::WriteFileText(dir.file("json.zrb"), "{\"some\":\"json\"}\n");
    const OpenCase cases[] = {
        {"good.zrb", STORE_NOERROR, ""},
        {"", STORE_ERR_NOT_DATABASE, "The database path is invalid."},
        {"server!!mail.zrb", STORE_ERR_REMOTE_REFUSED, "Only local databases can be indexed."},
        {"\\\\fileserver\\mail\\anna.zrb", STORE_ERR_REMOTE_REFUSED,
         "Only local databases can be indexed."},
        {"//fileserver/mail/anna.zrb", STORE_ERR_REMOTE_REFUSED,
         "Only local databases can be indexed."},
        {"missing.zrb", STORE_ERR_NO_FILE,
         "The database with the given path can not be opened. Please verify the path and "
         "permissions."},
        {"nowhere\\mail.zrb", STORE_ERR_NO_FILE,
         "The database with the given path can not be opened. Please verify the path and "
         "permissions."},
        {"text.zrb", STORE_ERR_NOT_DATABASE_FILE, "The file is not an ZRB database."},
        {"json.zrb", STORE_ERR_NOT_DATABASE, "The file is not an ZRB database."},
        {"unusable.zrb", STORE_ERR_UNUSABLE,
         "The database with the given path can not be opened. Please verify the path and "
         "permissions."},
    };
    const HWND owner = GetDesktopWindow();
    for (const auto& c : cases) {
        boxes.clear();
        const std::string path = c.file.empty() || c.file.find("!!") != std::string::npos ||
                                         c.file.find("server") != std::string::npos
                                     ? c.file
                                     : dir.file(c.file);
        DBHANDLE database = 0xDEAD;
        EXPECT_EQ(OpenIndexedDatabase(owner, path.c_str(), &database), c.status) << c.file;
        if (c.message.empty()) {
            EXPECT_TRUE(boxes.empty()) << c.file;
            EXPECT_NE(database, 0u);
            DWORD flags = 0;
            EXPECT_EQ(StoreGetDatabaseFlags(database, &flags), STORE_NOERROR) << "still open";
            EXPECT_EQ(StoreCloseDatabase(database), STORE_NOERROR);
            continue;
        }
        EXPECT_EQ(database, 0u) << c.file;
        ASSERT_EQ(boxes.size(), 1u) << c.file;
        EXPECT_EQ(boxes[0].text, c.message);
        EXPECT_EQ(boxes[0].caption, path);
        EXPECT_EQ(boxes[0].type, unsigned(MB_ICONERROR | MB_OK));
    }
}

TEST_F(OpenDatabase, WithoutAnOwnerNothingIsShownAndValidationClosesTheDatabase) {
    TestDatabase good(dir.file("good.zrb"));
    EXPECT_EQ(OpenIndexedDatabase(nullptr, dir.file("missing.zrb").c_str(), nullptr),
              STORE_ERR_NO_FILE);
    EXPECT_EQ(OpenIndexedDatabase(nullptr, dir.file("good.zrb").c_str(), nullptr), STORE_NOERROR);
    EXPECT_TRUE(boxes.empty());
    // The file is not held open: it can be replaced at once.
    EXPECT_TRUE(DeleteFileA(dir.file("good.zrb").c_str()));
}

// Paths are in the client's character set (UTF-8); the box's caption must be in the platform's
// code page (1252 here), or a name like "\u00c5sa" comes out as two garbled letters.
TEST_F(OpenDatabase, TheCaptionNamesThePathInThePlatformsCodePage) {
    EXPECT_EQ(OpenIndexedDatabase(GetDesktopWindow(), dir.file("\xc3\x85sa.zrb").c_str(), nullptr),
              STORE_ERR_NO_FILE);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, dir.file("\xc5sa.zrb"));
}

TEST_F(OpenDatabase, WithRemoteDatabasesAllowedTheLibraryDecides) {
    UseSettings("DesktopSearchAllowRemote=1\n");
    EXPECT_EQ(OpenIndexedDatabase(GetDesktopWindow(), "server!!mail.zrb", nullptr),
              STORE_ERR_REMOTE_REFUSED);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "The database with the given path can not be opened. Please verify "
                             "the path and permissions.");
}

struct JoinCase {
    std::string directory, file, joined;
};

TEST(JoinPath, OneSeparatorBetweenTheParts) {
    const JoinCase cases[] = {
        {"C:\\data", "shelf.zrb", "C:\\data\\shelf.zrb"},
        {"C:\\data\\", "shelf.zrb", "C:\\data\\shelf.zrb"},
        {"C:\\data", "\\shelf.zrb", "C:\\data\\shelf.zrb"},
        {"C:\\data\\", "\\shelf.zrb", "C:\\data\\shelf.zrb"},
        {"", "\\shelf.zrb", "\\shelf.zrb"},
        {"", "shelf.zrb", "shelf.zrb"},
        {"C:\\data", "", "C:\\data"},
        {"C:\\d\xC3\xA9", "f", "C:\\d\xC3\xA9\\f"},
        {std::string(300, 'd'), "f", std::string(255, 'd') + "\\f"},
        {"d", std::string(300, 'f'), "d\\" + std::string(255, 'f')},
        // a character is never split by a cut
        {std::string(254, 'd') + "\xC3\xA9", "f", std::string(254, 'd') + "\\f"},
    };
    for (const auto& c : cases) {
        char result[600];
        EXPECT_EQ(JoinPath(c.directory.c_str(), c.file.c_str(), result, sizeof result),
                  STORE_NOERROR);
        EXPECT_EQ(std::string(result), c.joined) << c.directory << " + " << c.file;
    }
}

TEST(JoinPath, TheResultBufferIsNeverOverrun) {
    char result[12];
    std::memset(result, 'x', sizeof result);
    JoinPath("C:\\directory", "file.zrb", result, 8);
    EXPECT_EQ(std::string(result), "C:\\dire");
    EXPECT_EQ(result[8], 'x');
    char same[64] = "C:\\data";
    JoinPath(same, "f", same, sizeof same);
    EXPECT_EQ(std::string(same), "C:\\data\\f");
}

} // namespace
