#include "server_classes.h"

#include "actions/tamsel_actions.h"
#include "server_resources.h"
#include "tamsel_desktop_plugin.h"

namespace tamsel {

std::span<const ServerClass> ServerClasses() {
    static const ServerClass classes[] = {
        {__uuidof(::TamselDesktopPlugin), TamselDesktopPlugin::Create, PLUGIN_CLASS_SCRIPT},
        {__uuidof(::TamselActions), TamselActions::Create, ACTIONS_CLASS_SCRIPT},
    };
    return classes;
}

HRESULT GetServerClassObject(REFCLSID classId, REFIID iid, void** out) {
    if (!out)
        return E_POINTER;
    *out = nullptr;
    for (const ServerClass& served : ServerClasses())
        if (IsEqualCLSID(served.classId, classId))
            return com_server::CreateClassFactory(served.create, iid, out);
    return CLASS_E_CLASSNOTAVAILABLE;
}

} // namespace tamsel
