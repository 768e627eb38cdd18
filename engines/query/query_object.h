// The second engine's query object. A query text that is a document's url finds that
// document; any other text finds the documents holding all its words, best first.
#pragma once
#include "com_object.h"
#include "idl/desktop_search.h"

namespace engine_query {

class QueryObject : public com_server::DispatchObject<IOrvennaQuery> {
  public:
    static HRESULT Create(REFIID iid, void** out);

    HRESULT STDMETHODCALLTYPE Query(long cookie, BSTR text, VARIANT category, VARIANT ranking,
                                    IOrvennaResultSet** results) override;
};

} // namespace engine_query
