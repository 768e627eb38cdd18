// The plug-in as a COM class: the component the engines know by its class id. It has no
// methods of its own, and nothing to call late-bound.
#pragma once
#include "com_object.h"
#include "tamsel_desktop.h"

namespace tamsel {

class TamselDesktopPlugin : public com_server::DispatchObject<ITamselDesktopPlugin> {
  public:
    static HRESULT Create(REFIID iid, void** out) {
        return CreateInstance<TamselDesktopPlugin>(iid, out);
    }
};

} // namespace tamsel
