// Owners for the client library's handles: a database, note, ID table, rich-text compound,
// formula computation or result block is closed by the owner that holds it, on every road.
#pragma once
#include "ntamsel.h"
#include "unique_resource.h"

namespace tamsel {

template <typename HandleType, STORESTATUS(WINAPI* close)(HandleType)> struct StoreHandleTraits {
    using Handle = HandleType;
    static Handle Invalid() { return 0; }
    static void Close(Handle handle) { close(handle); }
};

using UniqueDatabase = UniqueResource<StoreHandleTraits<DBHANDLE, StoreCloseDatabase>>;
using UniqueNote = UniqueResource<StoreHandleTraits<NOTEHANDLE, StoreCloseNote>>;
using UniqueIdTable = UniqueResource<StoreHandleTraits<IDTABLEHANDLE, StoreIdTableFree>>;
using UniqueFormula = UniqueResource<StoreHandleTraits<FORMULAHANDLE, StoreFormulaStop>>;
using UniqueBlock = UniqueResource<StoreHandleTraits<STOREBLOCK, StoreBlockFree>>;

// A compound that is not closed into its note is discarded.
class UniqueCompound
    : public UniqueResource<StoreHandleTraits<COMPOUNDHANDLE, StoreCompoundDiscard>> {
  public:
    using UniqueResource::UniqueResource;
    // Writes the compound into its note; the owner holds nothing afterwards, whatever the result.
    STORESTATUS Close() { return StoreCompoundClose(release(), nullptr, nullptr, nullptr, 0); }
};

} // namespace tamsel
