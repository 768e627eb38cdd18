#include "window_title.h"

#include "bounded_text.h"
#include "conversion_buffers.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace tamsel {
namespace {

constexpr WORD numberTextSize = 40;
constexpr WORD timeTextSize = 80;
constexpr WORD formNoteOpenFlags = 9;
constexpr STORETIMEFORMAT titleTimeFormat = {0, 0, 1, 2}; // date, time and zone
constexpr size_t rangeHeaderBytes = 2 * sizeof(WORD);     // count, then a reserved word

// The result block of an evaluation, read within its length.
class FormulaResult {
  public:
    FormulaResult(const char* data, WORD length) : data_(data), length_(length) {}

    bool Read(size_t offset, void* value, size_t size) const {
        if (offset + size > length_)
            return false;
        std::memcpy(value, data_ + offset, size);
        return true;
    }
    std::string_view Text(size_t offset, size_t size) const {
        if (offset > length_)
            return {};
        return {data_ + offset, std::min<size_t>(size, length_ - offset)};
    }
    size_t Length() const { return length_; }

  private:
    const char* data_;
    size_t length_;
};

void AppendNumber(const FormulaResult& result, size_t offset, char* title, WORD capacity,
                  int& length) {
    double number;
    char text[numberTextSize];
    WORD textLength = 0;
    if (result.Read(offset, &number, sizeof number) &&
        StoreNumberToText(&number, text, sizeof text, &textLength) == STORE_NOERROR)
        AppendBounded(title, capacity, length, {text, std::min<WORD>(textLength, sizeof text)});
}

void AppendTime(const FormulaResult& result, size_t offset, char* title, WORD capacity,
                int& length) {
    STORETIME time;
    char text[timeTextSize];
    WORD textLength = 0;
    if (result.Read(offset, &time, sizeof time) &&
        StoreTimeToText(nullptr, &titleTimeFormat, &time, text, sizeof text, &textLength) ==
            STORE_NOERROR)
        AppendBounded(title, capacity, length, {text, std::min<WORD>(textLength, sizeof text)});
}

// A text whose zero bytes separate its parts.
void AppendText(std::string_view text, char* title, WORD capacity, int& length) {
    for (size_t start = 0;;) {
        const size_t zero = text.find('\0', start);
        if (!AppendBounded(title, capacity, length, text.substr(start, zero - start)) ||
            zero == std::string_view::npos)
            return;
        if (!AppendBounded(title, capacity, length, ", "))
            return;
        start = zero + 1;
    }
}

void AppendTextList(const FormulaResult& result, char* title, WORD capacity, int& length) {
    WORD count = 0;
    if (!result.Read(sizeof(WORD), &count, sizeof count))
        return;
    size_t textOffset = 2 * sizeof(WORD) + size_t(count) * sizeof(WORD);
    for (WORD i = 0; i < count; ++i) {
        WORD entryLength = 0;
        if (!result.Read(2 * sizeof(WORD) + i * sizeof(WORD), &entryLength, sizeof entryLength))
            return;
        if ((i > 0 && !AppendBounded(title, capacity, length, ", ")) ||
            !AppendBounded(title, capacity, length, result.Text(textOffset, entryLength)))
            return;
        textOffset += entryLength;
    }
}

void RenderResult(const FormulaResult& result, char* title, WORD capacity, int& length) {
    WORD type = 0;
    if (!result.Read(0, &type, sizeof type))
        return;
    switch (type) {
    case STORE_TYPE_NUMBER:
        return AppendNumber(result, sizeof(WORD), title, capacity, length);
    case STORE_TYPE_NUMBER_RANGE:
        return AppendNumber(result, sizeof(WORD) + rangeHeaderBytes, title, capacity, length);
    case STORE_TYPE_TIME:
        return AppendTime(result, sizeof(WORD), title, capacity, length);
    case STORE_TYPE_TIME_RANGE:
        return AppendTime(result, sizeof(WORD) + rangeHeaderBytes, title, capacity, length);
    case STORE_TYPE_TEXT:
        return AppendText(result.Text(sizeof(WORD), result.Length()), title, capacity, length);
    case STORE_TYPE_TEXT_LIST:
        return AppendTextList(result, title, capacity, length);
    default:
        return;
    }
}

} // namespace

UniqueNote FindFormNote(NOTEHANDLE note) {
    const WORD formLength = StoreReadItemText(note, "Form", itemText, textBufferSize);
    if (formLength == 0)
        return {};
    DBHANDLE database = 0;
    StoreGetNoteInfo(note, STORE_NOTEINFO_DATABASE, &database);
    NOTEID id = 0;
    UniqueNote form;
    if (StoreFindDesignNote(database, itemText, STORE_NOTECLASS_FORM, &id) != STORE_NOERROR ||
        StoreOpenNote(database, id, formNoteOpenFlags, form.put()) != STORE_NOERROR)
        return {};
    return form;
}

UniqueFormula GetWindowTitleFormula(NOTEHANDLE note) {
    static constexpr char itemName[] = "$WindowTitle";
    WORD type = 0;
    if (StoreGetItemInfo(note, itemName, sizeof itemName - 1, &type, nullptr, nullptr, nullptr) !=
            STORE_NOERROR ||
        type != STORE_TYPE_FORMULA)
        return {};
    const WORD length = StoreReadItemText(note, itemName, itemText, textBufferSize);
    UniqueFormula formula;
    if (length == 0 || StoreFormulaStart(itemText, length, 0, formula.put()) != STORE_NOERROR)
        return {};
    return formula;
}

WORD ComputeWindowTitle(NOTEHANDLE note, char* buffer, WORD capacity) {
    if (capacity == 0)
        return 0;
    buffer[0] = '\0';
    UniqueFormula formula;
    if (UniqueNote form = FindFormNote(note))
        formula = GetWindowTitleFormula(form.get());
    if (!formula)
        formula = GetWindowTitleFormula(note);
    if (!formula)
        return 0;
    UniqueBlock block;
    WORD resultLength = 0;
    if (StoreFormulaEvaluate(formula.get(), note, block.put(), &resultLength, nullptr, nullptr,
                             nullptr) != STORE_NOERROR)
        return 0;
    const char* data = static_cast<const char*>(StoreBlockLock(block.get()));
    int length = 0;
    if (data)
        RenderResult(FormulaResult(data, resultLength), buffer, capacity, length);
    StoreBlockUnlock(block.get());
    return WORD(length);
}

} // namespace tamsel
