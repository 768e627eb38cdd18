// The client's --dialog scripts as read from the command line: each action with its operands, and
// what the error says of an action that cannot be done.
#include "dialog_script.h"

#include <gtest/gtest.h>

namespace {

using nltamsel::ParseDialogScript;

struct ReadCase {
    const char* script;
    const char* command;
    int control;
    const char* text;
    int entry;
    DWORD milliseconds;
};

TEST(DialogScript, ReadsEachActionWithItsOperands) {
    const ReadCase cases[] = {
        {"check 201", "check", 201, "", 0, 0},
        {"uncheck 258", "uncheck", 258, "", 0, 0},
        {"click 1", "click", 1, "", 0, 0},
        {"type 225 42", "type", 225, "42", 0, 0},
        {"type 225", "type", 225, "", 0, 0},
        {"select 202 3", "select", 202, "", 3, 0},
        {"wait 238 Status: Indexing document", "wait", 238, "Status: Indexing document", 0, 0},
        {"wait 238", "wait", 238, "", 0, 0},
        {"log 249", "log", 249, "", 0, 0},
        {"pause 4000", "pause", 0, "", 0, 4000},
        {"answer yes", "answer", 0, "yes", 0, 0},
        {"file C:\\data\\my mail.zrb", "file", 0, "C:\\data\\my mail.zrb", 0, 0},
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
        EXPECT_EQ(action.control, c.control);
        EXPECT_EQ(action.text, c.text);
        EXPECT_EQ(action.entry, c.entry);
        EXPECT_EQ(action.milliseconds, c.milliseconds);
    }
}

TEST(DialogScript, TakesTheActionsInOrderAndSkipsEmptyOnes) {
    std::string error;
    const auto actions = ParseDialogScript("  check 201 ,, pause 10,click 1 , ", error);
    ASSERT_TRUE(actions) << error;
    ASSERT_EQ(actions->size(), 3u);
    EXPECT_EQ((*actions)[0].written, "check 201");
    EXPECT_EQ((*actions)[1].milliseconds, 10u);
    EXPECT_EQ((*actions)[2].command->name, "click");
    ASSERT_TRUE(ParseDialogScript("", error));
    EXPECT_TRUE(ParseDialogScript("", error)->empty());
}

TEST(DialogScript, SaysWhichActionItCannotDoAndWhy) {
    const struct {
        const char* script;
        const char* error;
    } cases[] = {
        {"wiggle 3", "cannot do 'wiggle 3': there is no action 'wiggle'"},
        {"click 1, wiggle", "cannot do 'wiggle': there is no action 'wiggle'"},
        {"click", "cannot do 'click': no control (click ID)"},
        {"click 239 twice", "cannot do 'click 239 twice': 'twice' after the control (click ID)"},
        {"check -201", "cannot do 'check -201': '-201' is not a control (check ID)"},
        {"check 65536", "cannot do 'check 65536': '65536' is not a control (check ID)"},
        {"select 202", "cannot do 'select 202': '' is not an entry number (select ID N)"},
        {"select 202 -1", "cannot do 'select 202 -1': '-1' is not an entry number (select ID N)"},
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

} // namespace
