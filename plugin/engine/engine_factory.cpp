#include "engine_factory.h"

#include <objbase.h>

#include <atomic>
#include <vector>

namespace tamsel {
namespace {

struct KeptClassObject {
    CLSID classId;
    DWORD context;
    ComPtr<IClassFactory> factory;
};

// Kept for one thread only, which empties the list before its COM ends. Not thread-local: a
// thread-local object with a destructor in a DLL can hang the client's process exit.
std::atomic<DWORD> keepingThread{0};
std::vector<KeptClassObject> keptClassObjects;

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
    if (keepingThread != GetCurrentThreadId())
        return CoCreateInstance(classId, nullptr, context, interfaceId, out);
    *out = nullptr;
    HRESULT result = S_OK;
    IClassFactory* factory = KeptClassObject(classId, context, result);
    return factory ? factory->CreateInstance(nullptr, interfaceId, out) : result;
}

} // namespace

EngineFactory engineFactory = {CreateWithCom};

void KeepEngineClassObjects(bool keep) {
    if (keep) {
        keptClassObjects.clear();
        keepingThread = GetCurrentThreadId();
    } else if (keepingThread == GetCurrentThreadId()) {
        keptClassObjects.clear();
        keepingThread = 0;
    }
}

void ForgetEngineClassObjects() {
    if (keepingThread == GetCurrentThreadId())
        keptClassObjects.clear();
}

} // namespace tamsel
