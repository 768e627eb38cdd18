#include "zendri_registrar.h"

#include "com/com_owners.h"
#include "core/components.h"
#include "core/description.h"

namespace zendri {

HRESULT ZendriRegistrar::Create(REFIID iid, void** out) {
    return CreateInstance<ZendriRegistrar>(iid, out);
}

HRESULT ZendriRegistrar::RegisterComponent(BSTR componentId, VARIANT description,
                                           IDispatch** registration) {
    if (!registration)
        return E_POINTER;
    *registration = nullptr;
    return com_server::Guarded([&] {
        const auto pairs = engine_core::ReadDescription(description);
        if (!pairs)
            return E_INVALIDARG;
        const HRESULT hr =
            engine_core::WriteComponent(engine_core::kZendriComponents,
                                        std::wstring(engine_com::BstrView(componentId)), *pairs);
        if (FAILED(hr))
            return hr;
        return QueryInterface(__uuidof(IDispatch), reinterpret_cast<void**>(registration));
    });
}

HRESULT ZendriRegistrar::UnRegisterComponent(BSTR componentId) {
    return com_server::Guarded([&] {
        return engine_core::RemoveComponent(engine_core::kZendriComponents,
                                            std::wstring(engine_com::BstrView(componentId)));
    });
}

} // namespace zendri
