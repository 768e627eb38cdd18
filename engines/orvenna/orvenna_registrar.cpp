#include "orvenna_registrar.h"

#include "action_registration.h"
#include "com/com_owners.h"
#include "core/description.h"
#include "idl/engine_results.h"
#include "indexing_registration.h"
#include "query_registration.h"

namespace orvenna {

using engine_com::BstrView;
using engine_results::E_COMPONENT_ALREADY_REGISTERED;

HRESULT OrvennaRegistrar::Create(REFIID iid, void** out) {
    return CreateInstance<OrvennaRegistrar>(iid, out);
}

HRESULT OrvennaRegistrar::BeginRegistration(BSTR componentId, VARIANT description) {
    return com_server::Guarded([&] {
        const std::wstring id(BstrView(componentId));
        if (!engine_core::IsValidComponentId(id))
            return E_INVALIDARG;
        if (engine_core::IsComponentRegistered(engine_core::kOrvennaComponents, id))
            return E_COMPONENT_ALREADY_REGISTERED;
        auto pairs = engine_core::ReadDescription(description);
        if (!pairs)
            return E_INVALIDARG;
        auto pending = std::make_shared<PendingRegistration>();
        pending->component = id;
        pending->description = std::move(*pairs);
        pending_ = std::move(pending);
        return S_OK;
    });
}

HRESULT OrvennaRegistrar::GetRegistrationObject(BSTR progId, IDispatch** object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (!pending_)
        return E_UNEXPECTED;
    return com_server::Guarded([&] {
        const std::wstring_view name = BstrView(progId);
        void** out = reinterpret_cast<void**>(object);
        if (name == L"OrvennaDesktop.ActionRegistration")
            return CreateInstance<ActionRegistration>(__uuidof(IDispatch), out, pending_);
        if (name == L"OrvennaDesktop.IndexingRegistration")
            return CreateInstance<IndexingRegistration>(__uuidof(IDispatch), out, pending_);
        if (name == L"OrvennaDesktop.QueryRegistration")
            return CreateInstance<QueryRegistration>(__uuidof(IDispatch), out, pending_);
        return REGDB_E_CLASSNOTREG;
    });
}

HRESULT OrvennaRegistrar::CompleteRegistration() {
    if (!pending_)
        return E_UNEXPECTED;
    return com_server::Guarded([&] {
        if (engine_core::IsComponentRegistered(engine_core::kOrvennaComponents,
                                               pending_->component))
            return E_COMPONENT_ALREADY_REGISTERED;
        const HRESULT hr = CommitRegistration(*pending_);
        pending_.reset();
        return hr;
    });
}

HRESULT OrvennaRegistrar::UnRegisterComponent(BSTR componentId) {
    return com_server::Guarded([&] {
        const std::wstring id(BstrView(componentId));
        if (pending_ && pending_->component == id)
            pending_.reset();
        return engine_core::RemoveComponent(engine_core::kOrvennaComponents, id);
    });
}

} // namespace orvenna
