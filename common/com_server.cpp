#include "com_server.h"

#include "com_object.h"

namespace com_server {
namespace {

// Objects and locks together: either keeps the module loaded.
LONG outstanding = 0;

class ClassFactory : public ComObject<IClassFactory> {
  public:
    explicit ClassFactory(CreateFunction create) : create_(create) {}

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        return create_(iid, out);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        com_server::LockServer(lock != FALSE);
        return S_OK;
    }

  private:
    CreateFunction create_;
};

} // namespace

void ObjectCreated() {
    InterlockedIncrement(&outstanding);
}
void ObjectDestroyed() {
    InterlockedDecrement(&outstanding);
}
void LockServer(bool lock) {
    lock ? ObjectCreated() : ObjectDestroyed();
}
bool ServerInUse() {
    return InterlockedCompareExchange(&outstanding, 0, 0) != 0;
}

HRESULT CreateClassFactory(CreateFunction create, REFIID iid, void** out) {
    return ComObject<IClassFactory>::CreateInstance<ClassFactory>(iid, out, create);
}

} // namespace com_server
