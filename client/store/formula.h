// The client's small formula language, as forms use it for window titles:
//   literals   "text"   12.5   [2026-12-08 18:00]
//   items      Subject  (a name; an absent item is the empty text)
//   operators  a + b    adds numbers, joins texts, moves a time by seconds; pairwise on lists
//              a : b    list of a's values followed by b's
//   ( )        grouping
#pragma once
#include "note.h"

#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace store {

struct FormulaValue {
    uint16_t type = ItemType::Text; // Text, Number or Time; lists have the list types
    std::vector<std::string> texts;
    std::vector<double> numbers;
    std::vector<TimeValue> times;
    size_t size() const;
};

struct FormulaNode;

class Formula {
  public:
    // Empty with `error` set when the source does not parse.
    static std::optional<Formula> Parse(std::string_view source, std::string& error);
    // Empty when the operands do not go together (a text plus a number, say).
    std::optional<FormulaValue> evaluate(const Note& note) const;

  private:
    std::shared_ptr<const FormulaNode> root_;
};

} // namespace store
