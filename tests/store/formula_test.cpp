#include "formula.h"
#include "item_values.h"

#include <gtest/gtest.h>

using namespace store;

namespace {

Note Discussion() {
    Note note;
    note.items.push_back({"Subject", ItemType::Text, false, "Budget"});
    note.items.push_back({"Authors", ItemType::TextList, false, {"Anna", "Bo"}});
    note.items.push_back({"Count", ItemType::Number, false, 3});
    note.items.push_back({"Sizes", ItemType::NumberRange, false, {1, 2}});
    note.items.push_back({"Due", ItemType::Time, false, "2026-12-08 18:00:00.00 +01:00"});
    return note;
}

std::string Show(const FormulaValue& value) {
    std::string text = std::to_string(value.type) + ":";
    auto add = [&](const std::string& part) {
        text += ' ';
        text += part;
    };
    for (const auto& t : value.texts)
        add(t);
    for (double n : value.numbers)
        add(NumberToText(n));
    for (const auto& t : value.times)
        add(TimeToText(t));
    return text;
}

TEST(Formula, EvaluatesLiteralsItemsAndOperators) {
    const struct {
        const char* source;
        const char* expected;
    } cases[] = {
        {R"("Topic: " + Subject)", "1280: Topic: Budget"},
        {R"f(Subject + " (" + Authors + ")")f", "1281: Budget (Anna) Budget (Bo)"},
        {"Count + 0.5", "768: 3.5"},
        {"Sizes + 10", "769: 11 12"},
        {"Count : Sizes", "769: 3 1 2"},
        {"Due + 3600", "1024: 2026-12-08 19:00:00.00 +01:00"},
        {"[2026-01-01] : [2026-01-02]", "1025: 2026-01-01 2026-01-02"},
        {R"(Missing + "x")", "1280: x"},
        {R"f( ( "a" : "b" ) + "!" )f", "1281: a! b!"},
        {R"("say \"hi\"")", "1280: say \"hi\""},
    };
    for (const auto& c : cases) {
        std::string error;
        const auto formula = Formula::Parse(c.source, error);
        ASSERT_TRUE(formula) << c.source << ": " << error;
        const auto value = formula->evaluate(Discussion());
        ASSERT_TRUE(value) << c.source;
        EXPECT_EQ(Show(*value), c.expected) << c.source;
    }
}

TEST(Formula, RejectsBrokenSourceMismatchedOperandsAndTimesOutOfRange) {
    for (const char* broken : {"", "\"open", "1 +", "(1", "[not a time]", "a b", "#", "1..2"}) {
        std::string error;
        EXPECT_FALSE(Formula::Parse(broken, error)) << broken;
        EXPECT_FALSE(error.empty()) << broken;
    }
    std::string deep(200, '(');
    std::string error;
    EXPECT_FALSE(Formula::Parse(deep + "1" + std::string(200, ')'), error)) << "bounded depth";
    // A time moved past the last day is no time (and no undefined conversion of a huge number).
    for (const char* mismatched : {"Subject + 1", "Count : Subject", "Due + Due",
                                   "Due + 2000000000000", "Due + 360000000000000000000000000"}) {
        const auto formula = Formula::Parse(mismatched, error);
        ASSERT_TRUE(formula) << mismatched;
        EXPECT_FALSE(formula->evaluate(Discussion())) << mismatched;
    }
}

TEST(Formula, ValuesOfTheWrongJsonTypeReadAsZeroOrTheEarliestTime) {
    Note note;
    note.items.push_back({"Count", ItemType::NumberRange, false, {"three", 4}});
    note.items.push_back({"Due", ItemType::TimeRange, false, {7, "2026-01-01"}});
    const struct {
        const char* source;
        const char* expected;
    } cases[] = {
        {"Count + 1", "769: 1 5"},
        {"Due : [2026-01-02]", "1025:  2026-01-01 2026-01-02"},
    };
    for (const auto& c : cases) {
        std::string error;
        const auto formula = Formula::Parse(c.source, error);
        ASSERT_TRUE(formula) << c.source << ": " << error;
        const auto value = formula->evaluate(note);
        ASSERT_TRUE(value) << c.source;
        EXPECT_EQ(Show(*value), c.expected) << c.source;
    }
}

} // namespace
