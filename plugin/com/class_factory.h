// One class factory for both classes of the server: it calls the class's create function.
#pragma once
#include <unknwn.h>

namespace tamsel {

using CreateFunction = HRESULT (*)(REFIID iid, void** out);

class ClassFactory : public IClassFactory {
  public:
    // Hands out the factory of a class as the asked interface.
    static HRESULT Create(CreateFunction create, REFIID iid, void** out);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

  private:
    explicit ClassFactory(CreateFunction create);
    virtual ~ClassFactory();
    ClassFactory(const ClassFactory&) = delete;
    ClassFactory& operator=(const ClassFactory&) = delete;

    CreateFunction create_;
    LONG references_ = 0;
};

} // namespace tamsel
