// Typed AddProperty calls on either engine's event.
#pragma once
#include "com_owners.h"

#include <string_view>

namespace tamsel {

template <typename Event>
HRESULT AddVariantProperty(Event& event, const wchar_t* name, const VARIANT& value) {
    ThrowingBstr key(name);
    return event.AddProperty(key.get(), value);
}

template <typename Event>
HRESULT AddTextProperty(Event& event, const wchar_t* name, std::wstring_view text) {
    UniqueVariant value;
    value.get()->bstrVal = ThrowingBstr(text).release(); // may raise: the type comes after
    value.get()->vt = VT_BSTR;
    return AddVariantProperty(event, name, *value);
}

template <typename Event> HRESULT AddLongProperty(Event& event, const wchar_t* name, LONG number) {
    VARIANT value;
    value.vt = VT_I4;
    value.lVal = number;
    return AddVariantProperty(event, name, value);
}

template <typename Event> HRESULT AddDateProperty(Event& event, const wchar_t* name, DATE date) {
    VARIANT value;
    value.vt = VT_DATE;
    value.date = date;
    return AddVariantProperty(event, name, value);
}

} // namespace tamsel
