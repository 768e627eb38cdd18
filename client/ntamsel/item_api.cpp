// Reading items of open notes.
#include "item_values.h"
#include "rich_text.h"
#include "store_handles.h"
#include "text_convert.h"
#include "unique_resource.h"

#include <cstring>

using namespace ntamsel;

namespace {

// Only under the store lock.
const store::Item* FindItem(NOTEHANDLE note, const char* name, size_t length) {
    OpenNote* open = Handles<OpenNote>().find(note);
    if (!open || !name)
        return nullptr;
    return open->note.find(std::string_view(name, strnlen(name, length)));
}

const store::Item* FindItem(NOTEHANDLE note, const char* name) {
    return FindItem(note, name, 0xFFFF);
}

// Replaces the file's content. The file is usually an empty temporary one the caller has just
// created: it is not truncated unless it held more, because a file truncated to nothing is
// flushed to disk when it is closed on some file systems (ext4 under Wine), which makes
// deleting it afterwards cost milliseconds.
bool WriteWholeFile(const std::wstring& path, const std::string& text) {
    // Shared as the C runtime shares the files it opens: a reader may hold it meanwhile.
    const win32::UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE,
                                             FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                             OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    LARGE_INTEGER before{};
    DWORD written = 0;
    if (!GetFileSizeEx(file.get(), &before) ||
        !WriteFile(file.get(), text.data(), DWORD(text.size()), &written, nullptr) ||
        written != text.size())
        return false;
    return before.QuadPart <= LONGLONG(text.size()) || SetEndOfFile(file.get());
}

WORD CopyOut(const std::string& text, char* buffer, WORD size) {
    return buffer && size ? static_cast<WORD>(CopyBounded(text, buffer, size)) : 0;
}

const char* MailItemName(WORD code, const store::Note& note) {
    switch (code) {
    case STORE_MAIL_SENDTO:
        return "SendTo";
    case STORE_MAIL_COPYTO:
        return "CopyTo";
    case STORE_MAIL_FROM:
        return note.find("Principal") ? "Principal" : "From";
    case STORE_MAIL_SUBJECT:
        return "Subject";
    case STORE_MAIL_COMPOSEDDATE:
        return "ComposedDate";
    case STORE_MAIL_POSTEDDATE:
        return "PostedDate";
    case STORE_MAIL_DELIVEREDDATE:
        return "DeliveredDate";
    case STORE_MAIL_BLINDCOPYTO:
        return "BlindCopyTo";
    case STORE_MAIL_REPLYTO:
        return "ReplyTo";
    default:
        return nullptr;
    }
}

const store::Item* FindMailItem(NOTEHANDLE note, WORD code) {
    OpenNote* open = Handles<OpenNote>().find(note);
    const char* name = open ? MailItemName(code, open->note) : nullptr;
    return name ? open->note.find(name) : nullptr;
}

} // namespace

STORESTATUS WINAPI StoreGetItemInfo(NOTEHANDLE note, const char* name, WORD nameLength,
                                    WORD* dataType, DWORD* valueLength, WORD* valueCount,
                                    BOOL* sealed) {
    return Guarded([&] {
        const store::Item* item = FindItem(note, name, nameLength);
        if (!item)
            return STORESTATUS(STORE_ERR_NO_NOTE);
        if (dataType)
            *dataType = item->type;
        if (valueLength) // rendering a body costs: only when asked
            *valueLength = static_cast<DWORD>(store::ItemToText(*item, ", ").size());
        if (valueCount)
            *valueCount = static_cast<WORD>(std::min<size_t>(store::ItemValueCount(*item), 0xFFFF));
        if (sealed)
            *sealed = item->sealed;
        return STORESTATUS(STORE_NOERROR);
    });
}

WORD WINAPI StoreReadItemText(NOTEHANDLE note, const char* name, char* buffer, WORD size) {
    WORD length = 0;
    if (buffer && size)
        *buffer = '\0';
    Guarded([&] {
        if (const store::Item* item = FindItem(note, name))
            length = CopyOut(store::ItemToText(*item, ", "), buffer, size);
        return STORESTATUS(STORE_NOERROR);
    });
    return length;
}

// Reads one value of an item into `out` with `reader`; false, leaving `out` alone, when the
// note lacks the item or the item holds no such value.
template <class Out, class Reader>
BOOL ReadValue(NOTEHANDLE note, const char* name, Out* out, Reader reader) {
    BOOL read = FALSE;
    Guarded([&] {
        const store::Item* item = FindItem(note, name);
        const auto value = item ? reader(*item) : std::nullopt;
        if (value && out) {
            *out = *value;
            read = TRUE;
        }
        return STORESTATUS(STORE_NOERROR);
    });
    return read;
}

BOOL WINAPI StoreReadItemTime(NOTEHANDLE note, const char* name, STORETIME* time) {
    return ReadValue(note, name, time, [](const store::Item& item) -> std::optional<STORETIME> {
        const auto value = store::ItemTime(item);
        return value ? std::optional(ToStoreTime(*value)) : std::nullopt;
    });
}

BOOL WINAPI StoreReadItemNumber(NOTEHANDLE note, const char* name, double* value) {
    return ReadValue(note, name, value, store::ItemNumber);
}

WORD WINAPI StoreItemToText(NOTEHANDLE note, const char* name, char* buffer, WORD size,
                            char separator) {
    WORD length = 0;
    if (buffer && size)
        *buffer = '\0';
    Guarded([&] {
        if (const store::Item* item = FindItem(note, name))
            length = CopyOut(store::ItemToText(*item, std::string(1, separator)), buffer, size);
        return STORESTATUS(STORE_NOERROR);
    });
    return length;
}

WORD WINAPI StoreTextListCount(NOTEHANDLE note, const char* name) {
    WORD count = 0;
    Guarded([&] {
        if (const store::Item* item = FindItem(note, name))
            count = static_cast<WORD>(std::min<size_t>(store::ItemTextList(*item).size(), 0xFFFF));
        return STORESTATUS(STORE_NOERROR);
    });
    return count;
}

WORD WINAPI StoreTextListEntry(NOTEHANDLE note, const char* name, WORD index, char* buffer,
                               WORD size) {
    WORD length = 0;
    if (buffer && size)
        *buffer = '\0';
    Guarded([&] {
        const store::Item* item = FindItem(note, name);
        const auto entries = item ? store::ItemTextList(*item) : std::vector<std::string>();
        if (index < entries.size())
            length = CopyOut(entries[index], buffer, size);
        return STORESTATUS(STORE_NOERROR);
    });
    return length;
}

STORESTATUS WINAPI StoreGetMailItemText(NOTEHANDLE note, WORD code, char* buffer, WORD size,
                                        WORD* length) {
    return Guarded([&] {
        if (length)
            *length = 0;
        if (!Handles<OpenNote>().find(note))
            return STORESTATUS(STORE_ERR_BAD_ARGUMENT);
        const store::Item* item = FindMailItem(note, code);
        const WORD written = CopyOut(item ? store::ItemToText(*item, ", ") : "", buffer, size);
        if (length)
            *length = written;
        return STORESTATUS(item ? STORE_NOERROR : STORE_ERR_NO_NOTE);
    });
}

STORESTATUS WINAPI StoreGetMailItemTime(NOTEHANDLE note, WORD code, STORETIME* time) {
    return Guarded([&] {
        const store::Item* item = FindMailItem(note, code);
        const auto value = item ? store::ItemTime(*item) : std::nullopt;
        if (!value || !time)
            return STORESTATUS(STORE_ERR_NO_NOTE);
        *time = ToStoreTime(*value);
        return STORESTATUS(STORE_NOERROR);
    });
}

STORESTATUS WINAPI StoreMessageBodyToFile(NOTEHANDLE note, const char* itemName,
                                          const char* lineDelimiter, WORD lineLength,
                                          BOOL convertTabs, const char* path, DWORD* size) {
    if (size)
        *size = 0;
    if (!path || !*path)
        return STORE_ERR_BAD_ARGUMENT;
    std::string text;
    const STORESTATUS status = Guarded([&] {
        const char* name = itemName ? itemName : "Body";
        const store::Item* item = FindItem(note, name);
        if (!item)
            return STORESTATUS(STORE_ERR_NO_NOTE);
        const store::RenderOptions options{lineDelimiter ? lineDelimiter : "\r\n", lineLength,
                                           convertTabs != FALSE};
        // A rich text field too large for one item is kept as several items of its name.
        for (const store::Item& part : Handles<OpenNote>().find(note)->note.items) {
            if (&part != item &&
                (item->type != store::ItemType::RichText ||
                 part.type != store::ItemType::RichText || !store::SameItemName(part.name, name)))
                continue;
            if (part.sealed)
                return STORESTATUS(STORE_ERR_STUB);
            text += store::RenderItem(part, options);
        }
        return STORESTATUS(STORE_NOERROR);
    });
    if (status != STORE_NOERROR)
        return status;
    if (!WriteWholeFile(Utf8ToWide(path), text))
        return STORE_ERR_WRITE;
    if (size)
        *size = static_cast<DWORD>(text.size());
    return STORE_NOERROR;
}
