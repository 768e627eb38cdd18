#include "formula.h"
#include "item_values.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace store {

struct FormulaNode {
    enum class Kind { Literal, Item, Plus, Concat } kind = Kind::Literal;
    FormulaValue literal;
    std::string item;
    std::shared_ptr<const FormulaNode> left, right;
};

namespace {

using NodePtr = std::shared_ptr<const FormulaNode>;
constexpr size_t kMaxDepth = 64;

uint16_t ScalarType(uint16_t type) {
    switch (type) {
    case ItemType::NumberRange:
        return ItemType::Number;
    case ItemType::TimeRange:
        return ItemType::Time;
    case ItemType::TextList:
        return ItemType::Text;
    default:
        return type;
    }
}

std::string Unexpected(char c) {
    std::string why = "unexpected '";
    why += c;
    return why += '\'';
}

uint16_t ListType(uint16_t scalar) {
    return static_cast<uint16_t>(scalar + 1);
}

class Parser {
  public:
    explicit Parser(std::string_view source) : text_(source) {}

    NodePtr parseAll(std::string& error) {
        NodePtr node = list(0);
        skipBlanks();
        if (node && pos_ != text_.size())
            fail(Unexpected(text_[pos_]));
        error = error_;
        return error_.empty() ? node : nullptr;
    }

  private:
    void skipBlanks() {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t' ||
                                       text_[pos_] == '\r' || text_[pos_] == '\n'))
            ++pos_;
    }
    bool accept(char c) {
        skipBlanks();
        if (pos_ < text_.size() && text_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }
    NodePtr fail(const std::string& why) {
        if (error_.empty())
            error_ = why + " at " + std::to_string(pos_);
        return nullptr;
    }
    NodePtr binary(FormulaNode::Kind kind, NodePtr left, NodePtr right) {
        if (!left || !right)
            return nullptr;
        auto node = std::make_shared<FormulaNode>();
        node->kind = kind;
        node->left = std::move(left);
        node->right = std::move(right);
        return node;
    }
    NodePtr list(size_t depth) {
        NodePtr node = sum(depth);
        while (node && accept(':'))
            node = binary(FormulaNode::Kind::Concat, node, sum(depth));
        return node;
    }
    NodePtr sum(size_t depth) {
        NodePtr node = primary(depth);
        while (node && accept('+'))
            node = binary(FormulaNode::Kind::Plus, node, primary(depth));
        return node;
    }
    NodePtr primary(size_t depth) {
        if (depth > kMaxDepth)
            return fail("nested too deeply");
        skipBlanks();
        if (pos_ == text_.size())
            return fail("value expected");
        const char c = text_[pos_];
        if (c == '(') {
            ++pos_;
            NodePtr inner = list(depth + 1);
            return inner && accept(')') ? inner : fail("')' expected");
        }
        auto node = std::make_shared<FormulaNode>();
        if (c == '"')
            return quoted(node);
        if (c == '[')
            return timeLiteral(node);
        if ((c >= '0' && c <= '9') || c == '.' || c == '-')
            return number(node);
        const size_t start = pos_;
        while (pos_ < text_.size() && (std::isalnum(static_cast<unsigned char>(text_[pos_])) ||
                                       text_[pos_] == '_' || text_[pos_] == '$'))
            ++pos_;
        if (pos_ == start)
            return fail(Unexpected(c));
        node->kind = FormulaNode::Kind::Item;
        node->item = std::string(text_.substr(start, pos_ - start));
        return node;
    }
    NodePtr quoted(std::shared_ptr<FormulaNode> node) {
        std::string value;
        for (++pos_; pos_ < text_.size() && text_[pos_] != '"'; ++pos_) {
            if (text_[pos_] == '\\' && pos_ + 1 < text_.size())
                ++pos_;
            value += text_[pos_];
        }
        if (pos_++ >= text_.size())
            return fail("unterminated text");
        node->literal.texts.push_back(std::move(value));
        return node;
    }
    NodePtr timeLiteral(std::shared_ptr<FormulaNode> node) {
        const size_t close = text_.find(']', pos_);
        if (close == std::string_view::npos)
            return fail("']' expected");
        const auto time = TextToTime(text_.substr(pos_ + 1, close - pos_ - 1));
        if (!time)
            return fail("not a time");
        pos_ = close + 1;
        node->literal.type = ItemType::Time;
        node->literal.times.push_back(*time);
        return node;
    }
    NodePtr number(std::shared_ptr<FormulaNode> node) {
        const size_t start = pos_;
        if (text_[pos_] == '-')
            ++pos_;
        while (pos_ < text_.size() &&
               ((text_[pos_] >= '0' && text_[pos_] <= '9') || text_[pos_] == '.'))
            ++pos_;
        const std::string digits(text_.substr(start, pos_ - start));
        char* end = nullptr;
        const double value = std::strtod(digits.c_str(), &end);
        if (digits.empty() || end != digits.c_str() + digits.size())
            return fail("not a number");
        node->literal.type = ItemType::Number;
        node->literal.numbers.push_back(value);
        return node;
    }

    std::string_view text_;
    size_t pos_ = 0;
    std::string error_;
};

FormulaValue ItemValue(const Note& note, const std::string& name) {
    FormulaValue value;
    const Item* item = note.find(name);
    if (!item || item->sealed) {
        value.texts.push_back("");
        return value;
    }
    value.type = ScalarType(item->type);
    // Files are input: a value of the wrong JSON type reads as 0 or the earliest time (shown
    // as empty text).
    if (value.type == ItemType::Number)
        for (const auto& n :
             item->value.is_array() ? item->value : nlohmann::json::array({item->value}))
            value.numbers.push_back(n.is_number() ? n.get<double>() : 0);
    else if (value.type == ItemType::Time)
        for (const auto& t :
             item->value.is_array() ? item->value : nlohmann::json::array({item->value}))
            value.times.push_back((t.is_string() ? TextToTime(t.get<std::string>()) : std::nullopt)
                                      .value_or(kEarliestTime));
    else {
        value.type = ItemType::Text;
        value.texts = ItemTextList(*item);
    }
    return value;
}

std::optional<FormulaValue> Plus(const FormulaValue& a, const FormulaValue& b) {
    FormulaValue out;
    out.type = a.type;
    const size_t count = std::max(a.size(), b.size());
    auto at = [](size_t i, size_t size) { return std::min(i, size - 1); };
    if (a.size() == 0 || b.size() == 0)
        return out;
    for (size_t i = 0; i < count; ++i) {
        if (a.type == ItemType::Text && b.type == ItemType::Text)
            out.texts.push_back(a.texts[at(i, a.size())] + b.texts[at(i, b.size())]);
        else if (a.type == ItemType::Number && b.type == ItemType::Number)
            out.numbers.push_back(a.numbers[at(i, a.size())] + b.numbers[at(i, b.size())]);
        else if (a.type == ItemType::Time && b.type == ItemType::Number) {
            const TimeValue t = a.times[at(i, a.size())];
            const auto instant = HundredthsSinceEpoch(t);
            if (!instant)
                return std::nullopt;
            // Moved in floating point: any number of seconds may come in, only a valid day out.
            const double moved = double(*instant) + b.numbers[at(i, b.size())] * 100;
            if (!(moved >= 0 && moved < double(kMaxDay + 1) * kHundredthsPerDay))
                return std::nullopt;
            out.times.push_back(
                TimeFromHundredths(static_cast<int64_t>(moved), t.dayNumber & 0xFF000000));
        } else
            return std::nullopt;
    }
    return out;
}

std::optional<FormulaValue> Evaluate(const FormulaNode& node, const Note& note) {
    switch (node.kind) {
    case FormulaNode::Kind::Literal:
        return node.literal;
    case FormulaNode::Kind::Item:
        return ItemValue(note, node.item);
    default:
        break;
    }
    auto left = Evaluate(*node.left, note);
    auto right = Evaluate(*node.right, note);
    if (!left || !right)
        return std::nullopt;
    if (node.kind == FormulaNode::Kind::Plus)
        return Plus(*left, *right);
    if (ScalarType(left->type) != ScalarType(right->type))
        return std::nullopt;
    left->texts.insert(left->texts.end(), right->texts.begin(), right->texts.end());
    left->numbers.insert(left->numbers.end(), right->numbers.begin(), right->numbers.end());
    left->times.insert(left->times.end(), right->times.begin(), right->times.end());
    return left;
}

} // namespace

size_t FormulaValue::size() const {
    return ScalarType(type) == ItemType::Number ? numbers.size()
           : ScalarType(type) == ItemType::Time ? times.size()
                                                : texts.size();
}

std::optional<Formula> Formula::Parse(std::string_view source, std::string& error) {
    Parser parser(source);
    NodePtr root = parser.parseAll(error);
    if (!root)
        return std::nullopt;
    Formula formula;
    formula.root_ = std::move(root);
    return formula;
}

std::optional<FormulaValue> Formula::evaluate(const Note& note) const {
    auto value = Evaluate(*root_, note);
    if (value && value->size() > 1)
        value->type = ListType(ScalarType(value->type));
    else if (value)
        value->type = ScalarType(value->type);
    return value;
}

} // namespace store
