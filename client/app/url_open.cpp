#include "url_open.h"

#include "client_messages.h"
#include "ntamsel.h"
#include "store_owners.h"
#include "unique_resource.h"

#include <windows.h>

#include <cstring>
#include <optional>
#include <vector>

namespace nltamsel {
namespace {

// "Tamsel:///" replica id "//" originator id, each id as hexadecimal digits.
struct DocumentAddress {
    std::string replica, originator;
};

bool StartsWithNoCase(const std::string& text, const char* prefix) {
    const size_t length = std::strlen(prefix);
    return text.size() >= length && _strnicmp(text.c_str(), prefix, length) == 0;
}

std::optional<DocumentAddress> ParseDocumentUrl(const std::string& url) {
    constexpr char scheme[] = "Tamsel:///";
    if (!StartsWithNoCase(url, scheme))
        return std::nullopt;
    const std::string rest = url.substr(sizeof scheme - 1);
    const size_t separator = rest.find("//");
    if (separator == std::string::npos)
        return std::nullopt;
    return DocumentAddress{rest.substr(0, separator), rest.substr(separator + 2)};
}

std::vector<std::string> DatabaseFiles() {
    char folder[256];
    StoreGetDataDirectory(folder);
    std::vector<std::string> files;
    WIN32_FIND_DATAA found;
    const win32::UniqueFind search(
        FindFirstFileA((std::string(folder) + "\\*.zrb").c_str(), &found));
    if (!search)
        return files;
    do
        files.emplace_back(found.cFileName);
    while (FindNextFileA(search.get(), &found));
    return files;
}

struct NoteSearch {
    DBHANDLE database;
    std::string originator;
    NOTEID found = 0;
};

STORESTATUS WINAPI MatchNote(void* context, NOTEID id) {
    auto& search = *static_cast<NoteSearch*>(context);
    STOREORIGINATORID originator{};
    if (StoreGetNoteInfoById(search.database, id, &originator, nullptr, nullptr) != STORE_NOERROR)
        return STORE_NOERROR; // a deletion stub: the note is gone
    char text[40];
    StoreFormatText(text, sizeof text, "%H%H", &originator.file, &originator.note);
    if (_stricmp(text, search.originator.c_str()) != 0)
        return STORE_NOERROR;
    search.found = id;
    return 1; // found: stop the walk
}

// The note's id in the database, 0 when the database holds no such live note.
NOTEID FindNote(DBHANDLE database, const std::string& originator) {
    STORETIME earliest, until;
    StoreSetTimeConstant(STORE_TIME_EARLIEST, &earliest);
    tamsel::UniqueIdTable table;
    if (StoreGetModifiedNoteTable(database, STORE_NOTECLASS_DOCUMENT, earliest, &until,
                                  table.put()) != STORE_NOERROR)
        return 0;
    NoteSearch search{database, originator};
    StoreIdTableEnumerate(table.get(), MatchNote, &search);
    return search.found;
}

// The note's id when the database is the replica the address names and holds the note, else 0.
NOTEID FindInDatabase(const std::string& file, const DocumentAddress& address) {
    tamsel::UniqueDatabase database;
    if (StoreOpenDatabase(file.c_str(), database.put()) != STORE_NOERROR)
        return 0;
    STOREREPLICAINFO replica{};
    char replicaText[20] = "";
    if (StoreGetReplicaInfo(database.get(), &replica) == STORE_NOERROR)
        StoreFormatText(replicaText, sizeof replicaText, "%H", &replica.replicaId);
    return _stricmp(replicaText, address.replica.c_str()) == 0
               ? FindNote(database.get(), address.originator)
               : 0;
}

int OpenDocument(const std::string& url, const DocumentAddress& address) {
    const HMODULE self = GetModuleHandleW(nullptr);
    for (const std::string& file : DatabaseFiles())
        if (const NOTEID id = FindInDatabase(file, address)) {
            StoreLogMessage(msgOpenedNote, self, 0, id, file.c_str());
            return 0;
        }
    StoreLogMessage(msgDocumentNotFound, self, 0, url.c_str());
    return 1;
}

int HexValue(char digit) {
    if (digit >= '0' && digit <= '9')
        return digit - '0';
    if (digit >= 'A' && digit <= 'F')
        return digit - 'A' + 10;
    if (digit >= 'a' && digit <= 'f')
        return digit - 'a' + 10;
    return -1;
}

// Percent escapes of UTF-8 bytes back to the text; a "%" without two digits stays itself.
std::string Unescaped(const std::string& text) {
    std::string plain;
    for (size_t i = 0; i < text.size(); ++i) {
        const int high = i + 2 < text.size() && text[i] == '%' ? HexValue(text[i + 1]) : -1;
        const int low = high >= 0 ? HexValue(text[i + 2]) : -1;
        if (low < 0) {
            plain += text[i];
            continue;
        }
        plain += char(high * 16 + low);
        i += 2;
    }
    return plain;
}

// "mailto:" recipients, then "?subject=" and the subject.
int StartReply(const std::string& url) {
    const std::string rest = url.substr(std::strlen("mailto:"));
    const size_t query = rest.find('?');
    std::string subject;
    if (query != std::string::npos && StartsWithNoCase(rest.substr(query + 1), "subject="))
        subject = rest.substr(query + 1 + std::strlen("subject="));
    StoreLogMessage(msgReplyStarted, GetModuleHandleW(nullptr), 0,
                    Unescaped(rest.substr(0, query)).c_str(), Unescaped(subject).c_str());
    return 0;
}

} // namespace

int OpenUrl(const std::string& url) {
    if (StartsWithNoCase(url, "mailto:"))
        return StartReply(url);
    if (const auto address = ParseDocumentUrl(url))
        return OpenDocument(url, *address);
    StoreLogMessage(msgUnknownUrl, GetModuleHandleW(nullptr), 0, url.c_str());
    return 2;
}

} // namespace nltamsel
