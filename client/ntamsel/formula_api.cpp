// Design notes, formulas and the memory blocks that carry formula results.
#include "item_values.h"
#include "store_handles.h"

#include <cstring>

using namespace ntamsel;

namespace {

template <class T> void Put(std::vector<char>& bytes, const T& value) {
    const char* raw = reinterpret_cast<const char*>(&value);
    bytes.insert(bytes.end(), raw, raw + sizeof value);
}

// The result block's layout is described beside StoreFormulaEvaluate in ntamsel.h.
std::vector<char> ResultBlock(const store::FormulaValue& value) {
    std::vector<char> bytes;
    Put(bytes, static_cast<WORD>(value.type));
    const bool list = value.type == store::ItemType::TextList ||
                      value.type == store::ItemType::NumberRange ||
                      value.type == store::ItemType::TimeRange;
    if (list) {
        Put(bytes, static_cast<WORD>(std::min<size_t>(value.size(), 0xFFFF)));
        if (value.type != store::ItemType::TextList)
            Put(bytes, WORD(0));
    }
    for (double number : value.numbers)
        Put(bytes, number);
    for (const auto& time : value.times)
        Put(bytes, ToStoreTime(time));
    if (value.type == store::ItemType::TextList)
        for (const auto& text : value.texts)
            Put(bytes, static_cast<WORD>(std::min<size_t>(text.size(), 0xFFFF)));
    for (const auto& text : value.texts)
        bytes.insert(bytes.end(), text.begin(),
                     text.begin() + std::min<size_t>(text.size(), 0xFFFF));
    return bytes;
}

bool TitleMatches(const store::Item& title, std::string_view name) {
    for (const auto& entry : store::ItemTextList(title)) {
        // A title may carry its aliases: "Memo|Mail".
        std::string_view rest(entry);
        while (true) {
            const size_t bar = rest.find('|');
            if (store::SameItemName(rest.substr(0, bar), name))
                return true;
            if (bar == std::string_view::npos)
                break;
            rest.remove_prefix(bar + 1);
        }
    }
    return false;
}

} // namespace

STORESTATUS WINAPI StoreFindDesignNote(DBHANDLE database, const char* name, WORD noteClass,
                                       NOTEID* id) {
    return Guarded([&] {
        OpenDatabase* open = Handles<OpenDatabase>().find(database);
        if (!open || !name || !id)
            return STORESTATUS(STORE_ERR_BAD_ARGUMENT);
        for (const auto& entry : open->database->entries()) {
            store::Note note;
            if (!(entry.noteClass & noteClass) || entry.deleted ||
                open->database->readNote(entry.id, note) != store::kOk)
                continue;
            if (const store::Item* title = note.find("$TITLE");
                title && TitleMatches(*title, name)) {
                *id = entry.id;
                return STORESTATUS(STORE_NOERROR);
            }
        }
        return STORESTATUS(STORE_ERR_NO_NOTE);
    });
}

STORESTATUS WINAPI StoreFormulaStart(const char* formula, WORD length, WORD,
                                     FORMULAHANDLE* computation) {
    if (computation)
        *computation = 0;
    return Guarded([&] {
        if (!formula || !computation)
            return STORESTATUS(STORE_ERR_BAD_ARGUMENT);
        auto object = std::make_unique<Computation>();
        std::string error;
        object->formula =
            store::Formula::Parse(std::string_view(formula, strnlen(formula, length)), error);
        if (!object->formula)
            return STORESTATUS(STORE_ERR_BAD_ARGUMENT);
        *computation = Handles<Computation>().add(std::move(object));
        return STORESTATUS(STORE_NOERROR);
    });
}

STORESTATUS WINAPI StoreFormulaEvaluate(FORMULAHANDLE computation, NOTEHANDLE note,
                                        STOREBLOCK* result, WORD* resultLength, BOOL* noteMatches,
                                        BOOL* noteShouldBeDeleted, BOOL* noteModified) {
    return Guarded([&] {
        Computation* formula = Handles<Computation>().find(computation);
        OpenNote* open = Handles<OpenNote>().find(note);
        if (!formula || !open || !result)
            return STORESTATUS(STORE_ERR_BAD_ARGUMENT);
        const auto value = formula->formula->evaluate(open->note);
        if (!value)
            return STORESTATUS(STORE_ERR_BAD_ARGUMENT);
        auto block = std::make_unique<MemoryBlock>();
        block->bytes = ResultBlock(*value);
        if (block->bytes.size() > 0xFFFF)
            block->bytes.resize(0xFFFF);
        if (resultLength)
            *resultLength = static_cast<WORD>(block->bytes.size());
        *result = Handles<MemoryBlock>().add(std::move(block));
        for (auto [flag, answer] :
             {std::pair{noteMatches, TRUE}, {noteShouldBeDeleted, FALSE}, {noteModified, FALSE}})
            if (flag)
                *flag = answer;
        return STORESTATUS(STORE_NOERROR);
    });
}

STORESTATUS WINAPI StoreFormulaStop(FORMULAHANDLE computation) {
    return ReleaseHandle<Computation>(computation);
}

void* WINAPI StoreBlockLock(STOREBLOCK block) {
    std::lock_guard guard(StoreLock());
    MemoryBlock* found = Handles<MemoryBlock>().find(block);
    return found ? found->bytes.data() : nullptr;
}

void WINAPI StoreBlockUnlock(STOREBLOCK) {}

STORESTATUS WINAPI StoreBlockFree(STOREBLOCK block) {
    return ReleaseHandle<MemoryBlock>(block);
}
