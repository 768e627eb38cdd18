#include "engine_factory.h"

#include <objbase.h>

#include <vector>

namespace tamsel {
namespace {

struct KeptClassObject {
    CLSID classId;
    DWORD context;
    ComPtr<IClassFactory> factory;
};

// Filled only on a thread that asked for it; a thread's COM objects must go before its COM does.
thread_local bool keepClassObjects = false;
thread_local std::vector<KeptClassObject> keptClassObjects;

IClassFactory* KeptClassObject(REFCLSID classId, DWORD context, HRESULT& result) {
    for (const auto& kept : keptClassObjects)
        if (IsEqualCLSID(kept.classId, classId) && kept.context == context)
            return kept.factory.Get();
    ComPtr<IClassFactory> factory;
    result = CoGetClassObject(classId, context, nullptr, IID_PPV_ARGS(&factory));
    if (FAILED(result))
        return nullptr;
    keptClassObjects.push_back({classId, context, factory});
    return factory.Get();
}

HRESULT CreateWithCom(REFCLSID classId, DWORD context, REFIID interfaceId, void** out) {
    if (!keepClassObjects)
        return CoCreateInstance(classId, nullptr, context, interfaceId, out);
    *out = nullptr;
    HRESULT result = S_OK;
    IClassFactory* factory = KeptClassObject(classId, context, result);
    return factory ? factory->CreateInstance(nullptr, interfaceId, out) : result;
}

} // namespace

EngineFactory engineFactory = {CreateWithCom};

void KeepEngineClassObjects(bool keep) {
    keepClassObjects = keep;
    keptClassObjects.clear();
}

void ForgetEngineClassObjects() { keptClassObjects.clear(); }

} // namespace tamsel
