#include "description.h"

#include "com/com_owners.h"

namespace engine_core {

using engine_com::BstrView;
using engine_com::SafeArrayData;
using engine_com::UniqueVariant;

std::optional<Description> ReadDescription(const VARIANT& description) {
    if (description.vt != (VT_ARRAY | VT_VARIANT) || !description.parray)
        return std::nullopt;
    SAFEARRAY* array = description.parray;
    LONG lower = 0, upper = -1;
    if (SafeArrayGetDim(array) != 1 || FAILED(SafeArrayGetLBound(array, 1, &lower)) ||
        FAILED(SafeArrayGetUBound(array, 1, &upper)) || lower != 0)
        return std::nullopt;
    const LONG count = upper - lower + 1;
    if (count % 2 != 0)
        return std::nullopt;
    SafeArrayData data(array);
    VARIANT* items = data.as<VARIANT>();
    if (!items && count > 0)
        return std::nullopt;
    Description pairs;
    for (LONG i = 0; i < count; i += 2) {
        if (items[i].vt != VT_BSTR)
            return std::nullopt;
        UniqueVariant text;
        if (FAILED(VariantChangeType(text.get(), &items[i + 1], 0, VT_BSTR)))
            return std::nullopt;
        pairs.emplace_back(std::wstring(BstrView(items[i].bstrVal)),
                           std::wstring(BstrView((*text).bstrVal)));
    }
    return pairs;
}

} // namespace engine_core
