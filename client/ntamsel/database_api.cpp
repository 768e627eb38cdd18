// Databases and their change and unread tables.
#include "client_state.h"
#include "store_handles.h"
#include "text_convert.h"

#include <algorithm>

using namespace ntamsel;

namespace {

constexpr std::string_view kServerSeparator = "!!";

bool IsAbsolute(const std::string& path) {
    return (path.size() > 1 && path[1] == ':') ||
           (!path.empty() && (path[0] == '\\' || path[0] == '/'));
}

store::Database* FindDatabase(DBHANDLE handle) {
    OpenDatabase* open = Handles<OpenDatabase>().find(handle);
    return open ? open->database.get() : nullptr;
}

IDTABLEHANDLE NewTable(store::IdList ids) {
    auto table = std::make_unique<IdTable>();
    table->ids = std::make_shared<const store::IdList>(std::move(ids));
    return Handles<IdTable>().add(std::move(table));
}

// Nothing by that name, as opposed to something there that cannot be read.
bool IsMissing(const std::string& path) {
    if (GetFileAttributesW(Utf8ToWide(path).c_str()) != INVALID_FILE_ATTRIBUTES)
        return false;
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
           error == ERROR_INVALID_NAME || error == ERROR_BAD_NETPATH;
}

} // namespace

STORESTATUS WINAPI StoreParseNetPath(const char* path, char* server, char* file) {
    if (!path)
        return STORE_ERR_BAD_ARGUMENT;
    const std::string_view text(path);
    const size_t separator = text.find(kServerSeparator);
    const bool remote = separator != std::string_view::npos;
    if (server)
        CopyBounded(remote ? text.substr(0, separator) : std::string_view(), server,
                    STORE_PATH_SIZE);
    if (file)
        CopyBounded(remote ? text.substr(separator + kServerSeparator.size()) : text, file,
                    STORE_PATH_SIZE);
    return STORE_NOERROR;
}

STORESTATUS WINAPI StoreOpenDatabase(const char* path, DBHANDLE* database) {
    if (database)
        *database = 0;
    if (!path || !database || !*path)
        return !path || !database ? STORE_ERR_BAD_ARGUMENT : STORE_ERR_NOT_DATABASE;
    std::string fullPath = path;
    if (fullPath.find(kServerSeparator) != std::string::npos)
        return STORE_ERR_REMOTE_REFUSED;
    if (!IsAbsolute(fullPath) && !DataDirectory().empty())
        fullPath = DataDirectory() + "\\" + fullPath;
    return Guarded([&] {
        auto open = std::make_unique<OpenDatabase>();
        // A database the user may only read still opens.
        auto file = store::OpenJournalFile(fullPath, store::OpenMode::ReadWrite);
        if (!file)
            file = store::OpenJournalFile(fullPath, store::OpenMode::ReadOnly);
        if (!file && IsMissing(fullPath))
            return STORESTATUS(STORE_ERR_NO_FILE);
        const store::Status status = store::Database::Open(std::move(file), open->database);
        if (status != store::kOk)
            return status;
        *database = Handles<OpenDatabase>().add(std::move(open));
        return STORESTATUS(STORE_NOERROR);
    });
}

STORESTATUS WINAPI StoreCloseDatabase(DBHANDLE database) {
    return ReleaseHandle<OpenDatabase>(database);
}

STORESTATUS WINAPI StoreGetDatabaseFlags(DBHANDLE database, DWORD* flags) {
    return Guarded([&] {
        store::Database* db = FindDatabase(database);
        if (!db || !flags)
            return STORESTATUS(STORE_ERR_BAD_ARGUMENT);
        *flags = db->info().flags;
        return STORESTATUS(STORE_NOERROR);
    });
}

STORESTATUS WINAPI StoreGetDatabaseModifiedTime(DBHANDLE database, STORETIME* dataModified,
                                                STORETIME* nonDataModified) {
    return Guarded([&] {
        store::Database* db = FindDatabase(database);
        if (!db)
            return STORESTATUS(STORE_ERR_BAD_ARGUMENT);
        if (const store::Status status = db->refresh(); status != store::kOk)
            return status;
        for (STORETIME* out : {dataModified, nonDataModified})
            if (out)
                *out = ToStoreTime(db->lastModified());
        return STORESTATUS(STORE_NOERROR);
    });
}

STORESTATUS WINAPI StoreGetReplicaInfo(DBHANDLE database, STOREREPLICAINFO* info) {
    return Guarded([&] {
        store::Database* db = FindDatabase(database);
        if (!db || !info)
            return STORESTATUS(STORE_ERR_BAD_ARGUMENT);
        info->replicaId = ToId8(db->info().replicaId);
        info->created = ToStoreTime(db->info().created);
        return STORESTATUS(STORE_NOERROR);
    });
}

STORESTATUS WINAPI StoreGetDatabaseInfo(DBHANDLE database, char* info) {
    return Guarded([&] {
        store::Database* db = FindDatabase(database);
        if (!db || !info)
            return STORESTATUS(STORE_ERR_BAD_ARGUMENT);
        // Fields are separated by line feeds; the title is the first and holds none.
        std::string title = db->info().title;
        std::replace(title.begin(), title.end(), '\n', ' ');
        CopyBounded(title, info, STORE_DBINFO_SIZE);
        return STORESTATUS(STORE_NOERROR);
    });
}

STORESTATUS WINAPI StoreParseDatabaseInfo(const char* info, WORD field, char* buffer, WORD size) {
    if (!info || !buffer || size == 0 || field != STORE_DBINFO_TITLE)
        return STORE_ERR_BAD_ARGUMENT;
    const std::string_view text(info, strnlen(info, STORE_DBINFO_SIZE));
    CopyBounded(text.substr(0, text.find('\n')), buffer, size);
    return STORE_NOERROR;
}

STORESTATUS WINAPI StoreGetUserName(WORD function, char* buffer, WORD size) {
    if (function != STORE_USERNAME_CURRENT || !buffer || size == 0)
        return STORE_ERR_BAD_ARGUMENT;
    char name[256] = "";
    if (!StoreGetEnvString("UserName", name, sizeof name) || !*name) {
        wchar_t account[256];
        DWORD length = 256;
        const std::string fromWindows =
            GetUserNameW(account, &length) ? WideToUtf8(account) : std::string("Local User");
        CopyBounded(fromWindows, name, sizeof name);
    }
    CopyBounded(name, buffer, size);
    return STORE_NOERROR;
}

STORESTATUS WINAPI StoreGetUnreadTable(DBHANDLE database, const char* userName, WORD nameLength,
                                       IDTABLEHANDLE* table) {
    return Guarded([&] {
        store::Database* db = FindDatabase(database);
        if (!db || !userName || !table)
            return STORESTATUS(STORE_ERR_BAD_ARGUMENT);
        if (const store::Status status = db->refresh(); status != store::kOk)
            return status;
        store::IdList unread;
        for (const uint32_t id :
             db->unreadNotes(std::string(userName, strnlen(userName, nameLength))))
            unread.push_back(id);
        *table = NewTable(std::move(unread));
        return STORESTATUS(STORE_NOERROR);
    });
}

STORESTATUS WINAPI StoreGetModifiedNoteTable(DBHANDLE database, WORD classMask, STORETIME since,
                                             STORETIME* until, IDTABLEHANDLE* table) {
    return Guarded([&] {
        store::Database* db = FindDatabase(database);
        if (!db || !table)
            return STORESTATUS(STORE_ERR_BAD_ARGUMENT);
        *table = 0;
        store::IdList ids;
        store::TimeValue complete;
        const store::Status status = db->modifiedSince(ToValue(since), classMask, ids, complete);
        if (until && (status == store::kOk || status == store::kNotModified))
            *until = ToStoreTime(complete);
        if (status == store::kOk)
            *table = NewTable(std::move(ids));
        return status;
    });
}

STORESTATUS WINAPI StoreIdTableEnumerate(IDTABLEHANDLE table, STOREIDCALLBACK callback,
                                         void* context) {
    std::shared_ptr<const store::IdList> ids;
    const STORESTATUS status = Guarded([&] {
        IdTable* found = Handles<IdTable>().find(table);
        if (!found || !callback)
            return STORESTATUS(STORE_ERR_BAD_ARGUMENT);
        ids = found->ids;
        return STORESTATUS(STORE_NOERROR);
    });
    if (status != STORE_NOERROR)
        return status;
    // The callback runs without the lock: it opens notes through this library.
    for (const DWORD id : *ids)
        if (const STORESTATUS result = callback(context, id); result != STORE_NOERROR)
            return result;
    return STORE_NOERROR;
}

DWORD WINAPI StoreIdTableCount(IDTABLEHANDLE table) {
    std::lock_guard guard(StoreLock());
    IdTable* found = Handles<IdTable>().find(table);
    return found ? static_cast<DWORD>(found->ids->size()) : 0;
}

BOOL WINAPI StoreIdTableContains(IDTABLEHANDLE table, NOTEID id) {
    std::lock_guard guard(StoreLock());
    IdTable* found = Handles<IdTable>().find(table);
    if (!found)
        return FALSE;
    return found->ids->contains(id);
}

STORESTATUS WINAPI StoreIdTableFree(IDTABLEHANDLE table) {
    return ReleaseHandle<IdTable>(table);
}
