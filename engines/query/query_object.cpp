#include "query_object.h"

#include "com/com_owners.h"
#include "core/components.h"
#include "core/shared_index.h"
#include "index/records.h"
#include "index/search.h"
#include "result_set.h"
#include "support/utf.h"

namespace engine_query {

using engine_index::Document;

HRESULT QueryObject::Create(REFIID iid, void** out) {
    return CreateInstance<QueryObject>(iid, out);
}

HRESULT QueryObject::Query(long cookie, BSTR text, VARIANT, VARIANT, IOrvennaResultSet** results) {
    if (!results)
        return E_POINTER;
    *results = nullptr;
    if (!text)
        return E_INVALIDARG;
    return com_server::Guarded([&] {
        if (!engine_core::IsKnownQueryCookie(cookie))
            return E_ACCESSDENIED;
        const engine_index::LogView log = engine_core::CurrentIndexLog().ReadWholeLines();
        const std::string url = engine_support::ToUtf8(engine_com::BstrView(text));
        std::vector<Document> found;
        const engine_index::LiveRecords live = engine_index::LiveAddRecords(log.text());
        for (const auto& line : live.lines)
            if (!url.empty() && line.url == url)
                if (auto document = engine_index::ParseAddRecord(line))
                    found.push_back(std::move(*document));
        if (found.empty()) {
            const std::vector<Document> candidates =
                engine_index::Candidates(log.text(), engine_com::BstrView(text));
            for (const auto& hit : engine_index::Search(candidates, engine_com::BstrView(text)))
                found.push_back(*hit.document);
        }
        return CreateInstance<ResultSet>(__uuidof(IOrvennaResultSet),
                                         reinterpret_cast<void**>(results), std::move(found));
    });
}

} // namespace engine_query
