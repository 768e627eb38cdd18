#include "result_set.h"

#include "result_item.h"

namespace engine_query {

HRESULT ResultSet::Next(IOrvennaResultItem** item) {
    if (!item)
        return E_POINTER;
    *item = nullptr;
    if (next_ >= documents_.size())
        return S_FALSE;
    return com_server::Guarded([&] {
        const HRESULT hr = CreateInstance<ResultItem>(
            __uuidof(IOrvennaResultItem), reinterpret_cast<void**>(item), documents_[next_]);
        if (SUCCEEDED(hr))
            ++next_;
        return hr;
    });
}

} // namespace engine_query
