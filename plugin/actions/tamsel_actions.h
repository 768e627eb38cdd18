// The actions object the second engine asks about its results: open a document in the
// client, reply to its sender, reply to all. It keeps nothing between calls.
#pragma once
#include "idl/desktop_search.h"

namespace tamsel {

class TamselActions : public IOrvennaActionHandler {
  public:
    static HRESULT Create(REFIID iid, void** out);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE QueryAction(BSTR schema, GUID actionId, IDispatch* item,
                                          BSTR* caption, BSTR* command, LONG* state) override;
    HRESULT STDMETHODCALLTYPE ExecuteAction(BSTR schema, GUID actionId, IDispatch* item,
                                            BSTR command) override;

  private:
    TamselActions();
    virtual ~TamselActions();
    TamselActions(const TamselActions&) = delete;
    TamselActions& operator=(const TamselActions&) = delete;

    LONG references_ = 0;
};

} // namespace tamsel
