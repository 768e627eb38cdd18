// The documents a query found, handed out one at a time.
#pragma once
#include "com_object.h"
#include "idl/desktop_search.h"
#include "index/document.h"

#include <vector>

namespace engine_query {

class ResultSet : public com_server::DispatchObject<IOrvennaResultSet> {
  public:
    explicit ResultSet(std::vector<engine_index::Document> documents)
        : documents_(std::move(documents)) {}

    HRESULT STDMETHODCALLTYPE Next(IOrvennaResultItem** item) override;

  private:
    std::vector<engine_index::Document> documents_;
    size_t next_ = 0;
};

} // namespace engine_query
