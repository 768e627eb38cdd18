// One document found by a query; it can read its properties and take itself out of the index.
#pragma once
#include "com_object.h"
#include "idl/desktop_search.h"
#include "index/document.h"

namespace engine_query {

class ResultItem : public com_server::DispatchObject<IOrvennaResultItem> {
  public:
    explicit ResultItem(engine_index::Document document) : document_(std::move(document)) {}

    HRESULT STDMETHODCALLTYPE GetProperty(BSTR name, VARIANT* value) override;
    HRESULT STDMETHODCALLTYPE Remove(long flags) override;

  private:
    engine_index::Document document_;
};

} // namespace engine_query
