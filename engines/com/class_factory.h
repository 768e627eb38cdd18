// One class factory for every class of an engine DLL: it calls the class's create function.
#pragma once
#include "class_table.h"

#include <unknwn.h>

namespace engine_com {

class ClassFactory : public IClassFactory {
  public:
    explicit ClassFactory(CreateFunction create);
    virtual ~ClassFactory();
    ClassFactory(const ClassFactory&) = delete;
    ClassFactory& operator=(const ClassFactory&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

  private:
    CreateFunction create_;
    LONG references_ = 0;
};

} // namespace engine_com
