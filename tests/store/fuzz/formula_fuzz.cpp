// Any text as a formula: compiling must not crash or recurse without bound, and whatever
// compiles must evaluate against a note of every item type without crashing.
#include "formula.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const store::Note note = [] {
        store::Note n;
        n.items.push_back({"Subject", store::ItemType::Text, false, "Budget"});
        n.items.push_back({"Authors", store::ItemType::TextList, false, {"Anna", "Bo"}});
        n.items.push_back({"Count", store::ItemType::Number, false, 3});
        n.items.push_back({"Sizes", store::ItemType::NumberRange, false, {1, 2}});
        n.items.push_back({"Due", store::ItemType::Time, false, "2026-12-08 18:00:00.00 +01:00"});
        n.items.push_back({"Dates", store::ItemType::TimeRange, false, {"2026-01-01", "bad", 7}});
        n.items.push_back({"Body", store::ItemType::RichText, false, {{"a", {{"text", "b"}}}}});
        n.items.push_back({"Odd", store::ItemType::Number, false, "not a number"});
        return n;
    }();
    std::string error;
    const auto formula =
        store::Formula::Parse(std::string_view(reinterpret_cast<const char*>(data), size), error);
    if (formula)
        formula->evaluate(note);
    return 0;
}
