// Notes: opening, identity, decryption and the walk over their items.
#include "item_values.h"
#include "store_handles.h"

using namespace ntamsel;

namespace {

STOREORIGINATORID ToOriginator(const store::OriginatorId& id) {
    return {ToId8(id.fileHalf), ToId8(id.noteHalf), id.sequence, ToStoreTime(id.sequenceTime)};
}

} // namespace

STORESTATUS WINAPI StoreOpenNote(DBHANDLE database, NOTEID id, WORD, NOTEHANDLE* note) {
    if (note)
        *note = 0;
    return Guarded([&] {
        OpenDatabase* open = Handles<OpenDatabase>().find(database);
        if (!open || !note)
            return STORESTATUS(STORE_ERR_BAD_ARGUMENT);
        auto object = std::make_unique<OpenNote>();
        object->database = database;
        store::Status status = open->database->readNote(id, object->note);
        if (status == store::kNoNote && open->database->refresh() == store::kOk)
            status = open->database->readNote(id, object->note); // another writer's new note
        if (status != store::kOk)
            return status;
        *note = Handles<OpenNote>().add(std::move(object));
        return STORESTATUS(STORE_NOERROR);
    });
}

STORESTATUS WINAPI StoreCloseNote(NOTEHANDLE note) {
    return ReleaseHandle<OpenNote>(note);
}

STORESTATUS WINAPI StoreCreateNote(DBHANDLE database, NOTEHANDLE* note) {
    if (note)
        *note = 0;
    return Guarded([&] {
        if (!Handles<OpenDatabase>().find(database) || !note)
            return STORESTATUS(STORE_ERR_BAD_ARGUMENT);
        auto object = std::make_unique<OpenNote>();
        object->database = database;
        object->note.modified = store::CurrentTime();
        *note = Handles<OpenNote>().add(std::move(object));
        return STORESTATUS(STORE_NOERROR);
    });
}

void WINAPI StoreGetNoteInfo(NOTEHANDLE note, WORD code, void* output) {
    std::lock_guard guard(StoreLock());
    OpenNote* open = Handles<OpenNote>().find(note);
    if (!open || !output)
        return;
    const store::Note& n = open->note;
    switch (code) {
    case STORE_NOTEINFO_DATABASE:
        *static_cast<DBHANDLE*>(output) = open->database;
        break;
    case STORE_NOTEINFO_ID:
        *static_cast<NOTEID*>(output) = n.id;
        break;
    case STORE_NOTEINFO_ORIGINATOR:
        *static_cast<STOREORIGINATORID*>(output) = ToOriginator(n.originator);
        break;
    case STORE_NOTEINFO_CLASS:
        *static_cast<WORD*>(output) = n.noteClass;
        break;
    case STORE_NOTEINFO_MODIFIED:
        *static_cast<STORETIME*>(output) = ToStoreTime(n.modified);
        break;
    default:
        break;
    }
}

STORESTATUS WINAPI StoreGetNoteInfoById(DBHANDLE database, NOTEID id, STOREORIGINATORID* originator,
                                        STORETIME* modified, WORD* noteClass) {
    return Guarded([&] {
        OpenDatabase* open = Handles<OpenDatabase>().find(database);
        if (!open)
            return STORESTATUS(STORE_ERR_BAD_ARGUMENT);
        store::Note note;
        const store::Status status = open->database->readNote(id, note);
        if (status != store::kOk && !note.deleted)
            return status;
        if (originator)
            *originator = ToOriginator(note.originator);
        if (modified)
            *modified = ToStoreTime(note.modified);
        if (noteClass)
            *noteClass = note.noteClass;
        return status;
    });
}

BOOL WINAPI StoreIsSignedOrSealed(NOTEHANDLE note, BOOL* isSigned, BOOL* isSealed) {
    std::lock_guard guard(StoreLock());
    OpenNote* open = Handles<OpenNote>().find(note);
    bool sealed = false;
    if (open)
        for (const auto& item : open->note.items)
            sealed = sealed || item.sealed;
    if (isSigned)
        *isSigned = FALSE;
    if (isSealed)
        *isSealed = sealed;
    return sealed;
}

STORESTATUS WINAPI StoreDecryptNote(NOTEHANDLE note, WORD, void*) {
    return Guarded([&] {
        OpenNote* open = Handles<OpenNote>().find(note);
        OpenDatabase* database = open ? Handles<OpenDatabase>().find(open->database) : nullptr;
        if (!open || !database)
            return STORESTATUS(STORE_ERR_BAD_ARGUMENT);
        const bool decrypted = store::DecryptNote(open->note, database->database->info().replicaId);
        return STORESTATUS(decrypted ? STORE_NOERROR : STORE_ERR_STUB);
    });
}

STORESTATUS WINAPI StoreScanItems(NOTEHANDLE note, STOREITEMCALLBACK callback, void* context) {
    struct Entry {
        std::string name;
        WORD type;
        DWORD length;
    };
    std::vector<Entry> entries;
    const STORESTATUS status = Guarded([&] {
        OpenNote* open = Handles<OpenNote>().find(note);
        if (!open || !callback)
            return STORESTATUS(STORE_ERR_BAD_ARGUMENT);
        for (const auto& item : open->note.items)
            entries.push_back(
                {item.name, item.type, static_cast<DWORD>(store::ItemToText(item, ", ").size())});
        return STORESTATUS(STORE_NOERROR);
    });
    if (status != STORE_NOERROR)
        return status;
    // Without the lock: the callback reads the note's items through this library.
    for (const auto& entry : entries)
        if (const STORESTATUS result =
                callback(context, note, entry.name.c_str(), static_cast<WORD>(entry.name.size()),
                         entry.type, entry.length);
            result != STORE_NOERROR)
            return result;
    return STORE_NOERROR;
}
