#include "query_object.h"

#include "com_owners.h"
#include "components.h"
#include "result_set.h"
#include "search.h"
#include "shared_index.h"
#include "utf.h"

namespace engine_query {

using engine_index::Document;

HRESULT QueryObject::Create(REFIID iid, void** out) { return CreateInstance<QueryObject>(iid, out); }

HRESULT QueryObject::Query(long cookie, BSTR text, VARIANT, VARIANT, IOrvennaResultSet** results) {
    if (!results)
        return E_POINTER;
    *results = nullptr;
    if (!text)
        return E_INVALIDARG;
    return engine_com::Guarded([&] {
        if (!engine_core::IsKnownQueryCookie(cookie))
            return E_ACCESSDENIED;
        const std::vector<Document> documents = engine_index::LiveDocuments(
            engine_core::CurrentIndexLog().ReadWholeLines());
        const std::string url = engine_support::ToUtf8(engine_com::BstrView(text));
        std::vector<Document> found;
        for (const Document& document : documents)
            if (!url.empty() && document.url == url)
                found.push_back(document);
        if (found.empty())
            for (const auto& hit : engine_index::Search(documents, engine_com::BstrView(text)))
                found.push_back(*hit.document);
        return CreateInstance<ResultSet>(__uuidof(IOrvennaResultSet),
                                         reinterpret_cast<void**>(results), std::move(found));
    });
}

} // namespace engine_query
