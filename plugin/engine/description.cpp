#include "description.h"

namespace tamsel {

HRESULT MakeDescription(std::initializer_list<std::wstring_view> items,
                        UniqueVariant& description) {
    SAFEARRAY* array = SafeArrayCreateVector(VT_VARIANT, 0, static_cast<ULONG>(items.size()));
    if (!array)
        return E_OUTOFMEMORY;
    VARIANT* target = description.get();
    target->vt = VT_ARRAY | VT_VARIANT;
    target->parray = array; // owned from here on, also on the failure roads below
    LONG index = 0;
    for (std::wstring_view text : items) {
        UniqueVariant item;
        item.get()->vt = VT_BSTR;
        item.get()->bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        if (!item.get()->bstrVal)
            return E_OUTOFMEMORY;
        if (const HRESULT hr = SafeArrayPutElement(array, &index, item.get()); FAILED(hr))
            return hr;
        ++index;
    }
    return S_OK;
}

} // namespace tamsel
