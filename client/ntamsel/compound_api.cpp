// Rich text compounds: gathering text into a new rich text item of a note.
#include "store_handles.h"

#include <cstring>

using namespace ntamsel;

namespace {

void AppendParagraphs(Compound& compound, std::string_view text, std::string_view delimiter) {
    while (!text.empty()) {
        const size_t end = text.find(delimiter);
        std::string line(text.substr(0, end));
        if (!line.empty() && line.back() == '\r' && delimiter == "\n")
            line.pop_back();
        compound.paragraphs.push_back(nlohmann::json::array({line}));
        text = end == std::string_view::npos ? std::string_view()
                                             : text.substr(end + delimiter.size());
    }
}

STORESTATUS AddText(COMPOUNDHANDLE handle, const char* text, DWORD length,
                    const char* lineDelimiter) {
    return Guarded([&] {
        Compound* compound = Handles<Compound>().find(handle);
        if (!compound || (!text && length))
            return STORESTATUS(STORE_ERR_BAD_ARGUMENT);
        const std::string_view delimiter = lineDelimiter && *lineDelimiter ? lineDelimiter : "\n";
        AppendParagraphs(*compound, std::string_view(text ? text : "", length), delimiter);
        return STORESTATUS(STORE_NOERROR);
    });
}

} // namespace

STORESTATUS WINAPI StoreCompoundCreate(NOTEHANDLE note, const char* itemName,
                                       COMPOUNDHANDLE* compound) {
    if (compound)
        *compound = 0;
    return Guarded([&] {
        if (!Handles<OpenNote>().find(note) || !itemName || !*itemName || !compound)
            return STORESTATUS(STORE_ERR_BAD_ARGUMENT);
        auto object = std::make_unique<Compound>();
        object->note = note;
        object->itemName = itemName;
        *compound = Handles<Compound>().add(std::move(object));
        return STORESTATUS(STORE_NOERROR);
    });
}

void WINAPI StoreCompoundDefaultStyle(STORECOMPOUNDSTYLE* style) {
    if (style)
        *style = {0, 0, 0, 0, 0, 0};
}

STORESTATUS WINAPI StoreCompoundDefineStyle(COMPOUNDHANDLE handle, const char* name,
                                            const STORECOMPOUNDSTYLE* style, DWORD* styleId) {
    return Guarded([&] {
        Compound* compound = Handles<Compound>().find(handle);
        if (!compound || !name || !style || !styleId)
            return STORESTATUS(STORE_ERR_BAD_ARGUMENT);
        *styleId = ++compound->styles;
        return STORESTATUS(STORE_NOERROR);
    });
}

STORESTATUS WINAPI StoreCompoundAddText(COMPOUNDHANDLE compound, DWORD, DWORD, const char* text,
                                        DWORD length, const char* lineDelimiter) {
    return AddText(compound, text, length, lineDelimiter);
}

STORESTATUS WINAPI StoreCompoundAddTextEx(COMPOUNDHANDLE compound, DWORD, DWORD, const char* text,
                                          DWORD length, const char* lineDelimiter, DWORD, void*) {
    return AddText(compound, text, length, lineDelimiter);
}

STORESTATUS WINAPI StoreCompoundAssimilateNote(COMPOUNDHANDLE handle, NOTEHANDLE source, DWORD,
                                               void*) {
    return Guarded([&] {
        Compound* compound = Handles<Compound>().find(handle);
        OpenNote* note = Handles<OpenNote>().find(source);
        if (!compound || !note)
            return STORESTATUS(STORE_ERR_BAD_ARGUMENT);
        for (auto& item : note->note.items) {
            if (item.type != store::ItemType::RichText || item.sealed ||
                !store::MaterializeItem(item))
                continue;
            if (item.value.is_string())
                AppendParagraphs(*compound, item.value.get<std::string>(), "\n");
            else
                for (const auto& paragraph : item.value)
                    compound->paragraphs.push_back(paragraph);
        }
        return STORESTATUS(STORE_NOERROR);
    });
}

STORESTATUS WINAPI StoreCompoundClose(COMPOUNDHANDLE handle, void*, void*, void*, DWORD) {
    return Guarded([&] {
        Compound* compound = Handles<Compound>().find(handle);
        OpenNote* note = compound ? Handles<OpenNote>().find(compound->note) : nullptr;
        if (!note) {
            Handles<Compound>().remove(handle);
            return STORESTATUS(STORE_ERR_BAD_ARGUMENT);
        }
        store::Item item{compound->itemName, store::ItemType::RichText, false,
                         std::move(compound->paragraphs)};
        if (store::Item* existing = note->note.find(item.name))
            *existing = std::move(item);
        else
            note->note.items.push_back(std::move(item));
        Handles<Compound>().remove(handle);
        return STORESTATUS(STORE_NOERROR);
    });
}

STORESTATUS WINAPI StoreCompoundDiscard(COMPOUNDHANDLE handle) {
    return ReleaseHandle<Compound>(handle);
}
