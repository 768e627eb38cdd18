#include "result_item.h"

#include "com/com_owners.h"
#include "core/shared_index.h"
#include "idl/engine_results.h"
#include "support/utf.h"

namespace engine_query {
namespace {

using engine_com::UniqueBstr;
using engine_support::FromUtf8;

HRESULT TextVariant(const std::string& text, VARIANT* value) {
    UniqueBstr bstr(FromUtf8(text));
    if (!bstr.get())
        return E_OUTOFMEMORY;
    value->vt = VT_BSTR;
    value->bstrVal = bstr.release();
    return S_OK;
}

} // namespace

HRESULT ResultItem::GetProperty(BSTR name, VARIANT* value) {
    if (!value)
        return E_POINTER;
    VariantInit(value);
    if (!name)
        return E_INVALIDARG;
    return com_server::Guarded([&]() -> HRESULT {
        const std::string key = engine_support::ToUtf8(engine_com::BstrView(name));
        if (key == "cookie" || key == "url")
            return TextVariant(document_.url, value);
        if (key == "schema")
            return TextVariant(document_.schema, value);
        const auto found = document_.properties.find(key);
        if (found == document_.properties.end())
            return engine_results::E_PROPERTY_NOT_SET;
        if (found->is_string())
            return TextVariant(found->get<std::string>(), value);
        if (found->is_number_integer()) {
            value->vt = VT_I4;
            value->lVal = static_cast<LONG>(found->get<long long>());
            return S_OK;
        }
        if (found->is_object() && found->contains("date")) {
            value->vt = VT_DATE;
            value->date = (*found)["date"].get<double>();
            return S_OK;
        }
        return engine_results::E_PROPERTY_NOT_SET;
    });
}

HRESULT ResultItem::Remove(long) {
    return com_server::Guarded([&] {
        return engine_core::CurrentIndexLog().Append(engine_index::RemoveRecord(document_.url));
    });
}

} // namespace engine_query
