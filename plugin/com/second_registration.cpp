// The plug-in as a component of the second engine, registered with the COM server.
#include "server_registration.h"

#include "catalogue/catalogue.h"
#include "engine/component_id.h"
#include "engine/description.h"
#include "engine/engine_factory.h"
#include "idl/desktop_search.h"
#include "idl/engine_results.h"
#include "settings/client_settings.h"

#include <string>

namespace tamsel {
namespace {

using engine_results::E_COMPONENT_ALREADY_REGISTERED;

template <typename Interface>
HRESULT GetRegistrationObject(IOrvennaRegistrar& registrar, const wchar_t* progId,
                              ComPtr<Interface>& object) {
    const ThrowingBstr name(progId);
    ComPtr<IDispatch> dispatch;
    if (const HRESULT hr = registrar.GetRegistrationObject(name.get(), &dispatch); FAILED(hr))
        return hr;
    return dispatch.As(&object);
}

// The engine offers the plug-in's actions on its results. The first refused action ends
// the list but not the registration.
void RegisterActions(IOrvennaActionRegistration& actions) {
    const ThrowingBstr actionsClass(actionsClassId);
    for (const wchar_t* actionId : actionIds) {
        const ThrowingBstr action(actionId);
        VARIANT reserved;
        VariantInit(&reserved);
        if (FAILED(actions.RegisterAction(actionsClass.get(), action.get(), reserved)))
            return;
    }
}

// The cookie the deletion notices query with; 0 when the engine gave none.
LONG RegisterQuery(IOrvennaRegistrar& registrar, BSTR id) {
    ComPtr<IOrvennaQueryRegistration> query;
    if (FAILED(GetRegistrationObject(registrar, L"OrvennaDesktop.QueryRegistration", query)))
        return 0;
    LONG cookie = 0;
    return SUCCEEDED(query->RegisterQuery(id, 0, &cookie)) ? cookie : 0;
}

// Steps between BeginRegistration and CompleteRegistration.
HRESULT RegisterParts(IOrvennaRegistrar& registrar, BSTR id) {
    ComPtr<IOrvennaActionRegistration> actions;
    if (const HRESULT hr =
            GetRegistrationObject(registrar, L"OrvennaDesktop.ActionRegistration", actions);
        FAILED(hr))
        return hr;
    RegisterActions(*actions.Get());
    ComPtr<IOrvennaIndexingRegistration> indexing;
    if (const HRESULT hr =
            GetRegistrationObject(registrar, L"OrvennaDesktop.IndexingRegistration", indexing);
        FAILED(hr))
        return hr;
    if (const HRESULT hr = indexing->RegisterIndexing(nullptr); FAILED(hr))
        return hr;
    SetInstallTime(RegisterQuery(registrar, id));
    return S_OK;
}

struct Attempt {
    HRESULT result;
    bool alreadyRegistered; // BeginRegistration or CompleteRegistration found the component
};

// The steps after BeginRegistration; only CompleteRegistration may find the component known.
Attempt CompleteAttempt(IOrvennaRegistrar& registrar, BSTR id) {
    if (const HRESULT hr = RegisterParts(registrar, id); FAILED(hr))
        return {hr, false};
    const HRESULT hr = registrar.CompleteRegistration();
    return {hr, hr == E_COMPONENT_ALREADY_REGISTERED};
}

Attempt RegisterOnce() {
    const LANGID language = SelectedLanguage();
    // The icon has no text in the catalogue: the engine is given an empty one.
    const std::wstring title = WideMessageText(msgComponentTitle, language),
                       description = WideMessageText(msgComponentDescription, language),
                       icon = WideMessageText(msgComponentIcon, language);
    ComPtr<IOrvennaRegistrar> registrar;
    if (const HRESULT hr =
            CreateEngineObject(__uuidof(OrvennaRegistrar), anyServerContext, registrar);
        FAILED(hr))
        return {hr, false};
    UniqueVariant pairs;
    if (const HRESULT hr =
            MakeDescription({L"Title", title, L"Description", description, L"Icon", icon}, pairs);
        FAILED(hr))
        return {hr, false};
    const ThrowingBstr id(componentId);
    const HRESULT begun = registrar->BeginRegistration(id.get(), *pairs);
    if (begun == E_COMPONENT_ALREADY_REGISTERED)
        return {begun, true};
    const Attempt attempt =
        SUCCEEDED(begun) ? CompleteAttempt(*registrar.Get(), id.get()) : Attempt{begun, false};
    if (FAILED(attempt.result) && !attempt.alreadyRegistered)
        registrar->UnRegisterComponent(id.get()); // withdraw the half-made registration
    return attempt;
}

} // namespace

HRESULT RegisterWithSecondEngine(bool retry) {
    return com_server::Guarded([&] {
        const Attempt attempt = RegisterOnce();
        // The engine still knows the component from an earlier installation: remove that
        // registration and register once more, never twice.
        if (!attempt.alreadyRegistered || retry || FAILED(UnregisterFromSecondEngine()))
            return attempt.result;
        return RegisterWithSecondEngine(true);
    });
}

HRESULT UnregisterFromSecondEngine() {
    return com_server::Guarded([] {
        ComPtr<IOrvennaRegistrar> registrar;
        if (const HRESULT hr =
                CreateEngineObject(__uuidof(OrvennaRegistrar), anyServerContext, registrar);
            FAILED(hr))
            return hr;
        const ThrowingBstr id(componentId);
        return registrar->UnRegisterComponent(id.get());
    });
}

} // namespace tamsel
