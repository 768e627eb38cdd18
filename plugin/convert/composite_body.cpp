#include "composite_body.h"

#include "body_content.h"
#include "body_text.h"
#include "bounded_text.h"
#include "conversion_buffers.h"
#include "document_url.h"
#include "item_text.h"
#include "store_owners.h"

#include <algorithm>
#include <string>
#include <vector>

namespace tamsel {
namespace {

constexpr DWORD sameStyle = STORE_COMPOUND_DEFAULT_STYLE;
constexpr DWORD plainFont = 0x0A000001;
constexpr size_t itemNameLimit = 256;

struct CopyContext {
    NOTEHANDLE source;
    COMPOUNDHANDLE compound;
    // Rich-text fields already rendered, in lower case: a field split over several items of
    // one name is rendered once, whole.
    std::vector<std::string> renderedNames;
};

std::string LowerName(const char* name, WORD length) {
    std::string lower(name, std::min<size_t>(length, itemNameLimit));
    for (char& c : lower)
        c = LowerAscii(c);
    return lower;
}

STORESTATUS AppendText(COMPOUNDHANDLE compound, const char* text, size_t length) {
    return StoreCompoundAddText(compound, sameStyle, plainFont, text, DWORD(length), nullptr);
}

} // namespace

STORESTATUS WINAPI CopyItemToCompound(void* context, NOTEHANDLE, const char* name, WORD nameLength,
                                      WORD dataType, DWORD) {
    auto& copy = *static_cast<CopyContext*>(context);
    const std::string itemName(name, std::min<size_t>(nameLength, itemNameLimit));
    if (dataType == STORE_TYPE_RICHTEXT) {
        std::string lower = LowerName(name, nameLength);
        auto& rendered = copy.renderedNames;
        if (std::find(rendered.begin(), rendered.end(), lower) == rendered.end()) {
            AppendBodyToCompound(copy.source, itemName.c_str(), copy.compound);
            rendered.push_back(std::move(lower));
        }
        return STORE_NOERROR;
    }
    const WORD length =
        ReadItemText(copy.source, itemName.c_str(), itemText, textBufferSize,
                     dataType == STORE_TYPE_TEXT ? Separator::lines : Separator::commas);
    return length == 0 ? STORESTATUS(STORE_NOERROR) : AppendText(copy.compound, itemText, length);
}

HRESULT BuildCompositeBody(NOTEHANDLE note, DBHANDLE database, bool writeContent, bool merge,
                           bool& bodyWritten, EngineEvent& event) {
    bodyWritten = false;
    UniqueNote body;
    if (!database || StoreCreateNote(database, body.put()) != STORE_NOERROR) {
        DBHANDLE own = 0;
        StoreGetNoteInfo(note, STORE_NOTEINFO_DATABASE, &own);
        if (StoreCreateNote(own, body.put()) != STORE_NOERROR)
            return S_OK;
    }
    UniqueCompound compound;
    if (StoreCompoundCreate(body.get(), "Body", compound.put()) != STORE_NOERROR)
        return S_OK;
    STORECOMPOUNDSTYLE style;
    StoreCompoundDefaultStyle(&style);
    DWORD styleId = 0;
    if (StoreCompoundDefineStyle(compound.get(), "", &style, &styleId) != STORE_NOERROR)
        return S_OK;
    if (merge) {
        if (StoreCompoundAssimilateNote(compound.get(), note, 0, nullptr) != STORE_NOERROR)
            return S_OK;
    } else {
        CopyContext copy{note, compound.get(), {}};
        if (StoreScanItems(note, CopyItemToCompound, &copy) != STORE_NOERROR)
            return S_OK;
    }
    char url[documentUrlSize];
    const WORD urlLength = BuildNoteUrl(note, url);
    if (urlLength > 0 && AppendText(compound.get(), url, urlLength) != STORE_NOERROR)
        return S_OK;
    if (compound.Close() != STORE_NOERROR)
        return S_OK;
    // The document's own URL, not the temporary note's, goes with the body.
    const HRESULT hr = WriteBodyContent(body.get(), "Body", writeContent, event, note);
    bodyWritten = hr >= 0;
    return hr;
}

} // namespace tamsel
