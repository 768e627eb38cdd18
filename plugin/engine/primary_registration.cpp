// The plug-in as a component of the primary engine, for the life of the indexing thread.
#include "base/user_interface.h"
#include "component_id.h"
#include "component_registration.h"
#include "description.h"
#include "engine_factory.h"
#include "engine_state.h"
#include "idl/desktop_search.h"

#include <string>

namespace tamsel {
namespace {

constexpr DWORD notRegistered = 0xFFFFFFFF;
constexpr size_t pathBufferSize = 256;

// Holds registrationAttempted for one attempt; gives it back unless the attempt reached
// RegisterComponent, so that an attempt that never got to the engine (not installed yet,
// client path missing) does not block the next one, from the menu command for instance.
class AttemptClaim {
  public:
    AttemptClaim() : held_(!registrationAttempted.exchange(true)) {}
    AttemptClaim(const AttemptClaim&) = delete;
    AttemptClaim& operator=(const AttemptClaim&) = delete;
    ~AttemptClaim() {
        if (held_ && !kept_)
            registrationAttempted = false;
    }
    bool held() const { return held_; }
    void keep() { kept_ = true; }

  private:
    bool held_;
    bool kept_ = false;
};

// The client's installation folder; empty when the client was never installed.
std::wstring ClientPath() {
    char path[pathBufferSize] = {};
    DWORD size = sizeof path;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Velmora\\Tamsel", "Path", RRF_RT_REG_SZ,
                     nullptr, path, &size) != ERROR_SUCCESS)
        return {};
    wchar_t wide[pathBufferSize] = {};
    MultiByteToWideChar(CP_ACP, 0, path, -1, wide, int(pathBufferSize));
    return wide;
}

DWORD Register() {
    AttemptClaim claim;
    // Already registered by this process and not yet withdrawn: nothing to do.
    if (!claim.held())
        return notRegistered;
    ComPtr<IZendriRegistrar> registrar;
    if (FAILED(CreateEngineObject(__uuidof(ZendriRegistrar), anyServerContext, registrar))) {
        engineUnavailable = true;
        return notRegistered;
    }
    const std::wstring path = ClientPath();
    if (path.empty()) {
        userInterface.messageBox(nullptr, "Velmora Tamsel v6.5 is required for installation", "",
                                 MB_OK);
        return notRegistered;
    }
    UniqueVariant description;
    if (FAILED(MakeDescription({L"Title", L"Velmora Tamsel v6.5 Plugin", L"Description",
                                L"Indexing Velmora Tamsel documents", L"Icon",
                                path + L"nltamsel.exe,2"},
                               description))) {
        engineUnavailable = true;
        return notRegistered;
    }
    const ThrowingBstr id(componentId);
    ComPtr<IDispatch> registration;
    registrar->RegisterComponent(id.get(), *description, &registration);
    claim.keep();
    // The engine is reachable again: events may be created from now on.
    engineUnavailable = false;
    return 0;
}

} // namespace

DWORD RegisterWithPrimaryEngine() {
    try {
        return Register();
    } catch (const HResultError&) {
        return notRegistered;
    }
}

void UnregisterFromPrimaryEngine() {
    // Nothing reached the engine, so there is nothing to withdraw. (A registration that
    // reached it also cleared engineUnavailable, so the engine is asked in every other case.)
    if (!registrationAttempted.exchange(false))
        return;
    try {
        ComPtr<IZendriRegistrar> registrar;
        if (FAILED(CreateEngineObject(__uuidof(ZendriRegistrar), anyServerContext, registrar)))
            return;
        const ThrowingBstr id(componentId);
        registrar->UnRegisterComponent(id.get());
    } catch (const HResultError&) {
        // Out of memory for the id: the engine keeps the component until the next run.
    }
}

} // namespace tamsel
