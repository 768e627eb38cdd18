// The event and event-factory objects, alike in both engines but for their interfaces.
#pragma once
#include "com/com_owners.h"
#include "com_object.h"
#include "components.h"
#include "event_builder.h"
#include "support/key_watch.h"
#include "support/utf.h"

namespace engine_core {

template <typename Interface> class EventObject : public com_server::DispatchObject<Interface> {
  public:
    EventObject(const EventKind& kind, std::string component)
        : builder_(kind, std::move(component)) {}

    HRESULT STDMETHODCALLTYPE AddProperty(BSTR name, VARIANT value) override {
        return com_server::Guarded([&] { return builder_.AddProperty(name, value); });
    }

  protected:
    EventBuilder builder_;
};

// Event is the engine's EventObject class, constructible from (kind, component id).
template <typename Interface, typename Event>
class EventFactoryObject : public com_server::DispatchObject<Interface> {
  public:
    EventFactoryObject(const wchar_t* components, const EventKind& kind)
        : components_(components), kind_(kind), schema_(engine_support::FromUtf8(kind.schema)) {}

    HRESULT STDMETHODCALLTYPE CreateEvent(BSTR componentId, BSTR schema,
                                          IDispatch** event) override {
        if (!event)
            return E_POINTER;
        *event = nullptr;
        return com_server::Guarded([&] {
            // The component list and the switches as of one moment.
            const engine_support::EngineCall call;
            const std::wstring id(engine_com::BstrView(componentId));
            const HRESULT checked =
                CheckEventRequest(components_, id, engine_com::BstrView(schema), schema_.c_str());
            if (FAILED(checked))
                return checked;
            return com_server::DispatchObject<Interface>::template CreateInstance<Event>(
                __uuidof(IDispatch), reinterpret_cast<void**>(event), kind_,
                engine_support::ToUtf8(id));
        });
    }

  private:
    const wchar_t* components_;
    const EventKind& kind_;
    const std::wstring schema_;
};

} // namespace engine_core
