// Whether each engine is installed, knows the component and accepts events: a real probe
// event is sent each time, as only a send tells whether the service runs.
#include "base/hresult_error.h"
#include "catalogue/message_ids.h"
#include "component_id.h"
#include "component_registration.h"
#include "engine_factory.h"
#include "engine_log.h"
#include "event_properties.h"
#include "idl/desktop_search.h"
#include "idl/engine_results.h"
#include "settings/client_settings.h"

#include "unique_resource.h"

#include <string>

namespace tamsel {
namespace {

using namespace engine_results;

// Status words: bit 0 installed, bit 1 registered, bit 2 enabled, bits 3-8 an event can be
// created, bit 13 paused, bits 14-15 ready.
constexpr WORD notInstalled = 0x0000;
constexpr WORD notRegistered = 0x0001;
constexpr WORD eventRefused = 0x0003;
constexpr WORD notRunning = 0x01FF;
constexpr WORD componentDisabled = 0x01FB;
constexpr WORD indexingPaused = notRunning | enginePausedBit;
constexpr WORD ready = 0xC1FF;

struct PrimaryEngine {
    using Factory = IZendriEventFactory;
    using Event = IZendriEvent;
    static constexpr DWORD context = anyServerContext;
    static constexpr const wchar_t* componentsKey =
        L"Software\\Zendri\\DesktopSearch\\Components\\";
    static constexpr const wchar_t* schema = L"ZendriDS.Mail";
    static const CLSID& FactoryClass() { return __uuidof(ZendriEventFactory); }

    static HRESULT Probe(IZendriEvent& event) {
        RETURN_IF_FAILED(AddLongProperty(event, L"time", 0));
        RETURN_IF_FAILED(AddTextProperty(event, L"content", L""));
        RETURN_IF_FAILED(AddTextProperty(event, L"content_format", L"text/plain"));
        RETURN_IF_FAILED(AddTextProperty(event, L"url", L""));
        return event.Send();
    }
};

struct SecondEngine {
    using Factory = IOrvennaEventFactory;
    using Event = IOrvennaEvent;
    static constexpr DWORD context = inProcessContext;
    static constexpr const wchar_t* componentsKey =
        L"Software\\Orvenna\\Orvenna Desktop\\Components\\";
    static constexpr const wchar_t* schema = L"Orvenna.Desktop.Email";
    static const CLSID& FactoryClass() { return __uuidof(OrvennaEventFactory); }

    static HRESULT Probe(IOrvennaEvent& event) {
        RETURN_IF_FAILED(AddDateProperty(event, L"received", 0.0));
        RETURN_IF_FAILED(AddTextProperty(event, L"content", L""));
        RETURN_IF_FAILED(AddTextProperty(event, L"format", L"text/plain"));
        return event.Send(1);
    }
};

bool ComponentKeyExists(const wchar_t* componentsKey) {
    const std::wstring path = std::wstring(componentsKey) + componentId;
    win32::UniqueKey key;
    return RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, key.put()) ==
           ERROR_SUCCESS;
}

WORD StatusOfProbe(HRESULT probe) {
    if (probe == E_COMPONENT_DISABLED)
        return componentDisabled;
    if (probe == S_INDEXING_PAUSED)
        return indexingPaused;
    if (probe == E_SERVICE_NOT_RUNNING)
        return notRunning;
    // Any other answer, a refused property included, means the engine takes events.
    return ready;
}

template <typename Engine> WORD CheckEngine() {
    if (!SettingsLoaded())
        LoadSettings();
    ComPtr<typename Engine::Factory> factory;
    if (FAILED(CreateEngineObject(Engine::FactoryClass(), Engine::context, factory)))
        return notInstalled;
    if (!ComponentKeyExists(Engine::componentsKey))
        return notRegistered;
    ComPtr<IDispatch> created;
    const ThrowingBstr id(componentId), schema(Engine::schema);
    if (const HRESULT hr = factory->CreateEvent(id.get(), schema.get(), &created); FAILED(hr)) {
        DebugLogResult(msgLogCreateEventFailed, hr);
        return hr == E_COMPONENT_NOT_REGISTERED ? notRegistered : eventRefused;
    }
    ComPtr<typename Engine::Event> event;
    if (FAILED(created.As(&event)))
        return notRunning;
    return StatusOfProbe(Engine::Probe(*event.Get()));
}

EngineCondition ConditionOf(WORD status) {
    switch (status) {
    case notInstalled:
        return EngineCondition::notInstalled;
    case notRegistered:
    case eventRefused:
        return EngineCondition::notRegistered;
    case componentDisabled:
        return EngineCondition::disabled;
    case indexingPaused:
        return EngineCondition::paused;
    default:
        return status & engineReadyBit ? EngineCondition::ready : EngineCondition::notRunning;
    }
}

} // namespace

EngineState EngineStateOf(WORD primary, WORD second) {
    if (primary & engineReadyBit)
        return {};
    if (second & engineReadyBit)
        return {EngineCondition::ready, true};
    if (primary & engineInstalledBit)
        return {ConditionOf(primary), false};
    if (second & engineInstalledBit)
        return {ConditionOf(second), true};
    return {EngineCondition::notInstalled, false};
}

WORD CheckPrimaryEngine() {
    return CheckEngine<PrimaryEngine>();
}
WORD CheckSecondEngine() {
    return CheckEngine<SecondEngine>();
}

} // namespace tamsel
