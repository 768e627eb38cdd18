#include "store_fixture.h"

#include <cstring>

namespace {

namespace Type = store::ItemType;

class DesignApi : public StoreApiFixture {
  protected:
    NOTEID PutForm(const char* title, const char* windowTitle) {
        store::Note form;
        form.noteClass = store::NoteClass::Form;
        form.items = {{"$TITLE", Type::Text, false, title},
                      {"$WindowTitle", Type::Formula, false, windowTitle}};
        if (writer->putNote(form) != store::kOk)
            throw std::runtime_error("cannot write a form");
        return form.id;
    }
    NOTEHANDLE OpenNote(NOTEID id) {
        NOTEHANDLE note = 0;
        EXPECT_EQ(StoreOpenNote(database, id, 0, &note), STORE_NOERROR);
        return note;
    }
    // Evaluates the formula on the note and hands back the result block's bytes.
    std::vector<char> Evaluate(const char* formula, NOTEHANDLE note) {
        FORMULAHANDLE computation = 0;
        EXPECT_EQ(StoreFormulaStart(formula, static_cast<WORD>(strlen(formula)), 0, &computation),
                  STORE_NOERROR);
        STOREBLOCK block = 0;
        WORD length = 0;
        BOOL matches = FALSE;
        EXPECT_EQ(
            StoreFormulaEvaluate(computation, note, &block, &length, &matches, nullptr, nullptr),
            STORE_NOERROR);
        EXPECT_TRUE(matches);
        const char* bytes = static_cast<const char*>(StoreBlockLock(block));
        std::vector<char> copy(bytes, bytes + (bytes ? length : 0));
        StoreBlockUnlock(block);
        EXPECT_EQ(StoreBlockFree(block), STORE_NOERROR);
        EXPECT_EQ(StoreFormulaStop(computation), STORE_NOERROR);
        return copy;
    }
};

TEST_F(DesignApi, WindowTitleComesFromTheFormsFormula) {
    const NOTEID formId = PutForm("Discussion|Topic", R"("Topic: " + Subject)");
    const NOTEID doc =
        Put({{"Form", Type::Text, false, "Topic"}, {"Subject", Type::Text, false, "Budget 2027"}});
    OpenMail();
    NOTEID found = 0;
    ASSERT_EQ(StoreFindDesignNote(database, "topic", STORE_NOTECLASS_FORM, &found), STORE_NOERROR);
    EXPECT_EQ(found, formId) << "aliases count, case does not";
    EXPECT_EQ(StoreFindDesignNote(database, "Memo", STORE_NOTECLASS_FORM, &found),
              STORE_ERR_NO_NOTE);
    EXPECT_EQ(StoreFindDesignNote(database, "Topic", STORE_NOTECLASS_DOCUMENT, &found),
              STORE_ERR_NO_NOTE);

    const NOTEHANDLE form = OpenNote(formId), note = OpenNote(doc);
    char formula[256];
    WORD type = 0;
    ASSERT_EQ(StoreGetItemInfo(form, "$WindowTitle", 12, &type, nullptr, nullptr, nullptr),
              STORE_NOERROR);
    EXPECT_EQ(type, STORE_TYPE_FORMULA);
    ASSERT_GT(StoreReadItemText(form, "$WindowTitle", formula, sizeof formula), 0u);
    const auto block = Evaluate(formula, note);
    ASSERT_GE(block.size(), 2u);
    WORD resultType;
    std::memcpy(&resultType, block.data(), 2);
    EXPECT_EQ(resultType, STORE_TYPE_TEXT);
    EXPECT_EQ(std::string(block.begin() + 2, block.end()), "Topic: Budget 2027");
    StoreCloseNote(form);
    StoreCloseNote(note);
}

TEST_F(DesignApi, ResultBlocksOfRangesSkipTheirCountWord) {
    const NOTEID doc = Put({{"Sizes", Type::NumberRange, false, {1.5, 2}}});
    OpenMail();
    const NOTEHANDLE note = OpenNote(doc);
    const auto numbers = Evaluate("Sizes + 1", note);
    // Type word, then the count word and a zero word: 4 bytes to skip before the values.
    ASSERT_EQ(numbers.size(), 2u + 4 + 2 * sizeof(double));
    double first;
    std::memcpy(&first, numbers.data() + 6, sizeof first);
    EXPECT_EQ(first, 2.5);
    const auto times = Evaluate("[2026-12-08 18:00] : [2026-12-09 18:00]", note);
    ASSERT_EQ(times.size(), 2u + 4 + 2 * sizeof(STORETIME));
    STORETIME second;
    std::memcpy(&second, times.data() + 6 + sizeof(STORETIME), sizeof second);
    STORETIME expected;
    ASSERT_EQ(StoreTextToTime(nullptr, nullptr, "2026-12-09 18:00", 16, &expected), STORE_NOERROR);
    EXPECT_EQ(StoreCompareTimes(&second, &expected), 0);

    FORMULAHANDLE computation = 0;
    EXPECT_EQ(StoreFormulaStart("\"open", 5, 0, &computation), STORE_ERR_BAD_ARGUMENT);
    EXPECT_EQ(computation, 0u);
    ASSERT_EQ(StoreFormulaStart("Sizes + \"x\"", 11, 0, &computation), STORE_NOERROR);
    STOREBLOCK block = 0;
    EXPECT_EQ(StoreFormulaEvaluate(computation, note, &block, nullptr, nullptr, nullptr, nullptr),
              STORE_ERR_BAD_ARGUMENT);
    StoreFormulaStop(computation);
    StoreCloseNote(note);
}

TEST_F(DesignApi, CompoundGathersTextIntoANewBody) {
    const NOTEID source = PutMemo("Chat", "first line\nsecond line");
    OpenMail();
    const NOTEHANDLE original = OpenNote(source);
    NOTEHANDLE scratch = 0;
    ASSERT_EQ(StoreCreateNote(database, &scratch), STORE_NOERROR);
    COMPOUNDHANDLE compound = 0;
    ASSERT_EQ(StoreCompoundCreate(scratch, "Body", &compound), STORE_NOERROR);
    STORECOMPOUNDSTYLE style;
    StoreCompoundDefaultStyle(&style);
    DWORD styleId = 0;
    ASSERT_EQ(StoreCompoundDefineStyle(compound, "", &style, &styleId), STORE_NOERROR);
    ASSERT_EQ(StoreCompoundAssimilateNote(compound, original, 0, nullptr), STORE_NOERROR);
    const char chunk[] = "chunk one\r\nchunk two\r\n";
    ASSERT_EQ(StoreCompoundAddTextEx(compound, STORE_COMPOUND_DEFAULT_STYLE, 0x0A000001, chunk,
                                     sizeof chunk - 1, "\r\n", 2, nullptr),
              STORE_NOERROR);
    ASSERT_EQ(StoreCompoundAddText(compound, styleId, 0x0A000001, "url", 3, nullptr),
              STORE_NOERROR);
    ASSERT_EQ(StoreCompoundClose(compound, nullptr, nullptr, nullptr, 0), STORE_NOERROR);
    EXPECT_EQ(StoreCompoundDiscard(compound), STORE_ERR_BAD_ARGUMENT) << "closing released it";

    char body[256];
    StoreReadItemText(scratch, "Body", body, sizeof body);
    EXPECT_STREQ(body, "first line\r\nsecond line\r\nchunk one\r\nchunk two\r\nurl\r\n");
    WORD type = 0;
    ASSERT_EQ(StoreGetItemInfo(scratch, "Body", 4, &type, nullptr, nullptr, nullptr),
              STORE_NOERROR);
    EXPECT_EQ(type, STORE_TYPE_RICHTEXT);
    StoreCloseNote(scratch);
    StoreCloseNote(original);
}

} // namespace
