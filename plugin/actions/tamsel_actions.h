// The actions object the second engine asks about its results: open a document in the
// client, reply to its sender, reply to all. It keeps nothing between calls.
#pragma once
#include "com_object.h"
#include "idl/desktop_search.h"

namespace tamsel {

class TamselActions : public com_server::ComObject<IOrvennaActionHandler> {
  public:
    static HRESULT Create(REFIID iid, void** out) {
        return CreateInstance<TamselActions>(iid, out);
    }

    HRESULT STDMETHODCALLTYPE QueryAction(BSTR schema, GUID actionId, IDispatch* item,
                                          BSTR* caption, BSTR* command, LONG* state) override;
    HRESULT STDMETHODCALLTYPE ExecuteAction(BSTR schema, GUID actionId, IDispatch* item,
                                            BSTR command) override;
};

} // namespace tamsel
