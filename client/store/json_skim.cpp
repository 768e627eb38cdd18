#include "json_skim.h"
#include "rich_text.h"
#include "text_utf8.h"

#include <algorithm>
#include <cstring>

namespace store {
namespace {

constexpr int kMaxDepth = 64;

size_t SkipBlanks(std::string_view text, size_t pos) {
    while (pos < text.size() &&
           (text[pos] == ' ' || text[pos] == '\t' || text[pos] == '\n' || text[pos] == '\r'))
        ++pos;
    return pos;
}

void AppendUtf8(std::string& out, unsigned code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | code >> 6);
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | code >> 12);
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | code >> 18);
        out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

std::optional<unsigned> Hex4(std::string_view text, size_t pos) {
    if (pos + 4 > text.size())
        return std::nullopt;
    unsigned value = 0;
    for (size_t i = pos; i < pos + 4; ++i) {
        const int digit = HexDigit(text[i]);
        if (digit < 0)
            return std::nullopt;
        value = value << 4 | static_cast<unsigned>(digit);
    }
    return value;
}

size_t SkipString(std::string_view text, size_t pos) {
    // memchr to each quote: strings are long (bodies) and quotes in them are rare.
    while (true) {
        const void* quote = std::memchr(text.data() + pos + 1, '"', text.size() - pos - 1);
        if (!quote)
            return std::string_view::npos;
        pos = static_cast<const char*>(quote) - text.data();
        size_t backslashes = 0;
        while (text[pos - 1 - backslashes] == '\\')
            ++backslashes;
        if (backslashes % 2 == 0)
            return pos + 1;
    }
}

size_t Skip(std::string_view text, size_t pos, int depth) {
    pos = SkipBlanks(text, pos);
    if (pos >= text.size() || depth > kMaxDepth)
        return std::string_view::npos;
    const char open = text[pos];
    if (open == '"')
        return SkipString(text, pos);
    if (open != '[' && open != '{') {
        const size_t end = std::min(text.find_first_of(",]} \t\r\n", pos), text.size());
        const std::string_view scalar = text.substr(pos, end - pos);
        const bool literal = scalar == "true" || scalar == "false" || scalar == "null";
        const bool number = !scalar.empty() &&
                            scalar.find_first_not_of("-+.eE0123456789") == std::string_view::npos;
        return literal || number ? end : std::string_view::npos;
    }
    const char close = open == '[' ? ']' : '}';
    pos = SkipBlanks(text, pos + 1);
    if (pos < text.size() && text[pos] == close)
        return pos + 1;
    while (true) {
        if (open == '{') {
            pos = SkipBlanks(text, pos);
            if (pos >= text.size() || text[pos] != '"')
                return std::string_view::npos;
            pos = SkipBlanks(text, SkipString(text, pos));
            if (pos >= text.size() || text[pos] != ':')
                return std::string_view::npos;
            ++pos;
        }
        pos = SkipBlanks(text, Skip(text, pos, depth + 1));
        if (pos >= text.size())
            return std::string_view::npos;
        if (text[pos] == close)
            return pos + 1;
        if (text[pos] != ',')
            return std::string_view::npos;
        ++pos;
    }
}

// One run: a string, or an object whose "text" is a string.
bool AppendRun(std::string_view raw, size_t& pos, std::string& paragraph) {
    pos = SkipBlanks(raw, pos);
    if (pos < raw.size() && raw[pos] == '"')
        return AppendJsonString(raw, pos, paragraph);
    if (pos >= raw.size() || raw[pos] != '{')
        return false;
    const size_t end = SkipJsonValue(raw, pos);
    if (end == std::string_view::npos)
        return false;
    bool hasText = false;
    for (size_t at = pos + 1; at < end;) {
        at = SkipBlanks(raw, at);
        if (raw[at] == '}')
            break;
        auto key = ReadJsonString(raw, at);
        at = SkipBlanks(raw, at);
        if (!key || at >= end || raw[at] != ':')
            return false;
        at = SkipBlanks(raw, at + 1);
        if (*key == "text" && at < end && raw[at] == '"') {
            if (!AppendJsonString(raw, at, paragraph))
                return false;
            hasText = true;
        } else {
            at = SkipJsonValue(raw, at);
        }
        at = SkipBlanks(raw, at);
        if (at < end && raw[at] == ',')
            ++at;
    }
    pos = end;
    return hasText;
}

} // namespace

size_t SkipJsonValue(std::string_view text, size_t pos) {
    return Skip(text, pos, 0);
}

JsonEntries::JsonEntries(std::string_view text, size_t pos) : text_(text) {
    pos_ = SkipBlanks(text, pos);
    if (pos_ < text.size() && (text[pos_] == '{' || text[pos_] == '['))
        open_ = text[pos_++];
}

bool JsonEntries::stop(size_t end) {
    end_ = end;
    pos_ = valueStart_ = std::string_view::npos;
    return false;
}

std::string_view JsonEntries::value() {
    const size_t start = valueStart_;
    if (start == std::string_view::npos)
        return {};
    skipTo(Skip(text_, start, 1));
    return pos_ == std::string_view::npos ? std::string_view() : text_.substr(start, pos_ - start);
}

void JsonEntries::skipTo(size_t valueEnd) {
    if (valueEnd == std::string_view::npos)
        stop(valueEnd);
    else
        pos_ = valueEnd;
    valueStart_ = std::string_view::npos;
}

bool JsonEntries::next(std::string& key) {
    if (valueStart_ != std::string_view::npos)
        value();
    if (!open_ || pos_ >= text_.size())
        return false;
    const char close = open_ == '{' ? '}' : ']';
    size_t pos = SkipBlanks(text_, pos_);
    if (pos < text_.size() && text_[pos] == close)
        return stop(pos + 1);
    if (started_) {
        if (pos >= text_.size() || text_[pos] != ',')
            return stop(std::string_view::npos);
        pos = SkipBlanks(text_, pos + 1);
    }
    started_ = true;
    if (open_ == '{') {
        key.clear();
        if (!AppendJsonString(text_, pos, key))
            return stop(std::string_view::npos);
        pos = SkipBlanks(text_, pos);
        if (pos >= text_.size() || text_[pos] != ':')
            return stop(std::string_view::npos);
        pos = SkipBlanks(text_, pos + 1);
    }
    valueStart_ = pos;
    return true;
}

bool AppendJsonString(std::string_view text, size_t& pos, std::string& out) {
    if (pos >= text.size() || text[pos] != '"')
        return false;
    for (size_t at = pos + 1; at < text.size(); ++at) {
        // Runs without escapes are copied whole.
        const size_t run = at;
        while (at < text.size() && text[at] != '"' && text[at] != '\\')
            ++at;
        out.append(text.substr(run, at - run));
        if (at >= text.size())
            break;
        if (text[at] == '"') {
            pos = at + 1;
            return true;
        }
        if (++at >= text.size())
            return false;
        switch (text[at]) {
        case 'n':
            out += '\n';
            break;
        case 't':
            out += '\t';
            break;
        case 'r':
            out += '\r';
            break;
        case 'b':
            out += '\b';
            break;
        case 'f':
            out += '\f';
            break;
        case 'u': {
            auto code = Hex4(text, at + 1);
            if (!code)
                return false;
            at += 4;
            if (*code >= 0xD800 && *code < 0xDC00 && text.substr(at + 1, 2) == "\\u") {
                const auto low = Hex4(text, at + 3);
                if (low && *low >= 0xDC00 && *low < 0xE000) {
                    *code = 0x10000 + ((*code - 0xD800) << 10) + (*low - 0xDC00);
                    at += 6;
                }
            }
            AppendUtf8(out, *code >= 0xD800 && *code < 0xE000 ? 0xFFFD : *code);
            break;
        }
        default:
            out += text[at]; // \" \\ \/
        }
    }
    return false;
}

std::optional<std::string> ReadJsonString(std::string_view text, size_t& pos) {
    std::string out;
    if (!AppendJsonString(text, pos, out))
        return std::nullopt;
    return out;
}

std::optional<std::vector<std::string>> RichTextParagraphs(std::string_view raw) {
    size_t pos = SkipBlanks(raw, 0);
    std::vector<std::string> paragraphs;
    if (pos < raw.size() && raw[pos] == '"') {
        auto text = ReadJsonString(raw, pos);
        if (!text)
            return std::nullopt;
        paragraphs = SplitLines(*text);
        return paragraphs;
    }
    if (pos >= raw.size() || raw[pos] != '[')
        return std::nullopt;
    for (pos = SkipBlanks(raw, pos + 1); pos < raw.size() && raw[pos] != ']';) {
        if (raw[pos] != '[')
            return std::nullopt;
        std::string paragraph;
        for (pos = SkipBlanks(raw, pos + 1); pos < raw.size() && raw[pos] != ']';) {
            if (!AppendRun(raw, pos, paragraph))
                return std::nullopt;
            pos = SkipBlanks(raw, pos);
            if (pos < raw.size() && raw[pos] == ',')
                pos = SkipBlanks(raw, pos + 1);
        }
        if (pos >= raw.size())
            return std::nullopt;
        paragraphs.push_back(std::move(paragraph));
        pos = SkipBlanks(raw, pos + 1);
        if (pos < raw.size() && raw[pos] == ',')
            pos = SkipBlanks(raw, pos + 1);
    }
    if (pos >= raw.size())
        return std::nullopt;
    return paragraphs;
}

} // namespace store
