// The client's --dialog scripts as read from the command line: each action with its operands, the
// controls by their names in the settings dialog's ids header, and what the error says of an
// action that cannot be done.
#include "dialog_script.h"
#include "ui/settings_dialog_ids.h"

#include <gtest/gtest.h>

namespace {

using nltamsel::ParseDialogScript;

struct ReadCase {
    const char* script;
    const char* command;
    const char* controlName;
    int control;
    const char* text;
    int entry;
    DWORD milliseconds;
};

TEST(DialogScript, ReadsEachActionWithItsOperands) {
    const ReadCase cases[] = {
        {"check IDC_ENABLE", "check", "IDC_ENABLE", IDC_ENABLE, "", 0, 0},
        {"uncheck IDC_INDEX_HISTORY", "uncheck", "IDC_INDEX_HISTORY", IDC_INDEX_HISTORY, "", 0, 0},
        {"click IDC_OK", "click", "IDC_OK", IDC_OK, "", 0, 0},
        {"click IDCANCEL", "click", "IDCANCEL", IDCANCEL, "", 0, 0},
        {"click 239", "click", "239", 239, "", 0, 0},
        {"type IDC_MINUTES 42", "type", "IDC_MINUTES", IDC_MINUTES, "42", 0, 0},
        {"type IDC_MINUTES", "type", "IDC_MINUTES", IDC_MINUTES, "", 0, 0},
        {"select IDC_DATABASES 3", "select", "IDC_DATABASES", IDC_DATABASES, "", 3, 0},
        {"wait IDC_STATUS Status: Indexing document", "wait", "IDC_STATUS", IDC_STATUS,
         "Status: Indexing document", 0, 0},
        {"wait IDC_STATUS", "wait", "IDC_STATUS", IDC_STATUS, "", 0, 0},
        {"log IDC_PROCESSING", "log", "IDC_PROCESSING", IDC_PROCESSING, "", 0, 0},
        {"pause 4000", "pause", "", 0, "", 0, 4000},
        {"answer yes", "answer", "", 0, "yes", 0, 0},
        {"file C:\\data\\my mail.zrb", "file", "", 0, "C:\\data\\my mail.zrb", 0, 0},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.script);
        std::string error;
        const auto actions = ParseDialogScript(c.script, error);
        ASSERT_TRUE(actions) << error;
        ASSERT_EQ(actions->size(), 1u);
        const nltamsel::DialogAction& action = actions->front();
        EXPECT_EQ(action.command->name, c.command);
        EXPECT_EQ(action.written, c.script);
        EXPECT_EQ(action.controlName, c.controlName);
        EXPECT_EQ(action.control, c.control);
        EXPECT_EQ(action.text, c.text);
        EXPECT_EQ(action.entry, c.entry);
        EXPECT_EQ(action.milliseconds, c.milliseconds);
    }
}

TEST(DialogScript, TakesTheActionsInOrderAndSkipsEmptyOnes) {
    std::string error;
    const auto actions = ParseDialogScript("  check IDC_ENABLE ,, pause 10,click IDC_OK , ", error);
    ASSERT_TRUE(actions) << error;
    ASSERT_EQ(actions->size(), 3u);
    EXPECT_EQ((*actions)[0].written, "check IDC_ENABLE");
    EXPECT_EQ((*actions)[1].milliseconds, 10u);
    EXPECT_EQ((*actions)[2].command->name, "click");
    const auto none = ParseDialogScript("", error);
    ASSERT_TRUE(none);
    EXPECT_TRUE(none->empty());
}

TEST(DialogScript, SaysWhichActionItCannotDoAndWhy) {
    const struct {
        const char* script;
        const char* error;
    } cases[] = {
        {"wiggle 3", "cannot do 'wiggle 3': there is no action 'wiggle'"},
        {"click IDC_OK, wiggle", "cannot do 'wiggle': there is no action 'wiggle'"},
        {"check IDC_ENABLED",
         "cannot do 'check IDC_ENABLED': no control is named 'IDC_ENABLED' (check ID)"},
        {"check idc_enable", "no control is named 'idc_enable' (check ID)"},
        {"click", "cannot do 'click': no control (click ID)"},
        {"click IDC_ADD twice", "cannot do 'click IDC_ADD twice': 'twice' after the control"},
        {"check -201", "cannot do 'check -201': no control is named '-201' (check ID)"},
        {"check 65536", "cannot do 'check 65536': '65536' is not a control (check ID)"},
        {"select IDC_DATABASES", "'' is not an entry number (select ID N)"},
        {"select IDC_DATABASES -1", "'-1' is not an entry number (select ID N)"},
        {"pause soon", "cannot do 'pause soon': 'soon' is not a number of milliseconds (pause MS)"},
        {"pause 4294967295", "'4294967295' is not a number of milliseconds (pause MS)"},
        {"answer maybe", "cannot do 'answer maybe': 'maybe' is not one of ok, cancel, yes, no, "
                         "retry, abort, ignore (answer WORD)"},
        {"file", "cannot do 'file': no path (file PATH)"},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(ParseDialogScript(c.script, error)) << c.script;
        EXPECT_EQ(error.rfind("--dialog: ", 0), 0u) << error;
        EXPECT_NE(error.find(c.error), std::string::npos) << c.script << ": " << error;
    }
}

// The help names every control a script may name, so that a user finds the names there.
TEST(DialogScript, HelpListsTheActionsAndTheControlNames) {
    const std::string help = nltamsel::DialogScriptHelp();
    for (const char* line : {"\n  select ID N ", "\n  pause MS ", "\n  wait ID TEXT "})
        EXPECT_NE(help.find(line), std::string::npos) << line << " in\n" << help;
    for (const char* name : {" IDC_ENABLE,", " IDC_APPLY,", " IDOK,", " IDIGNORE\n"})
        EXPECT_NE(help.find(name), std::string::npos) << name << " in\n" << help;
}

} // namespace
