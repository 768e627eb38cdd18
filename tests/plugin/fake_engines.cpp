#include "fake_engines.h"

#include "engine/engine_factory.h"

#include <cstdio>
#include <new>
#include <wrl/client.h>

namespace {

using Microsoft::WRL::ComPtr;

FakeEngines* current = nullptr;
int liveObjects = 0;

const wchar_t pluginId[] = L"{3A71C2E4-5B0D-4F86-9E12-7D4C60A8B1F3}";

std::string Id(BSTR id) {
    return id && std::wstring(id) == pluginId ? "{id}" : Utf8(id);
}

std::string ValueText(const VARIANT& value) {
    char text[64];
    switch (value.vt) {
    case VT_BSTR: {
        std::string quoted(1, '"');
        quoted.append(Utf8(value.bstrVal)).push_back('"');
        return quoted;
    }
    case VT_I4:
        std::snprintf(text, sizeof text, "I4 %ld", value.lVal);
        return text;
    case VT_DATE:
        std::snprintf(text, sizeof text, "DATE %g", value.date);
        return text;
    case VT_EMPTY:
        return "empty";
    default:
        std::snprintf(text, sizeof text, "vt %u", unsigned(value.vt));
        return text;
    }
}

// "[a|b|...]" for a proper description, else "bad description".
std::string DescriptionText(const VARIANT& description) {
    LONG lower = -1, upper = -1;
    if (description.vt != (VT_ARRAY | VT_VARIANT) || SafeArrayGetDim(description.parray) != 1 ||
        FAILED(SafeArrayGetLBound(description.parray, 1, &lower)) || lower != 0 ||
        FAILED(SafeArrayGetUBound(description.parray, 1, &upper)))
        return "bad description";
    std::string text = "[";
    for (LONG i = 0; i <= upper; ++i) {
        VARIANT item;
        VariantInit(&item);
        SafeArrayGetElement(description.parray, &i, &item);
        if (i)
            text += '|';
        text += item.vt == VT_BSTR ? Utf8(item.bstrVal) : ValueText(item);
        VariantClear(&item);
    }
    return text + "]";
}

template <typename Interface> class FakeObject : public Interface {
  public:
    FakeObject() { ++liveObjects; }
    virtual ~FakeObject() { --liveObjects; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out)
            return E_POINTER;
        if (iid != IID_IUnknown && iid != IID_IDispatch && iid != __uuidof(Interface)) {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        *out = static_cast<Interface*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0)
            delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

  protected:
    static HRESULT Called(const std::string& call, const std::string& method) {
        current->calls.push_back(call);
        return current->Answer(method);
    }

  private:
    ULONG references_ = 0;
};

template <typename Object, typename Target> HRESULT HandOut(Target** out) {
    ComPtr<Object> object(new Object);
    return object->QueryInterface(__uuidof(Target), reinterpret_cast<void**>(out));
}

template <typename Event> class FakeEvent : public FakeObject<Event> {
  public:
    HRESULT STDMETHODCALLTYPE AddProperty(BSTR name, VARIANT value) override {
        return this->Called("AddProperty " + Utf8(name) + "=" + ValueText(value),
                            "AddProperty " + Utf8(name));
    }
};

class ZendriEvent : public FakeEvent<IZendriEvent> {
  public:
    HRESULT STDMETHODCALLTYPE Send() override { return Called("Send", "Send"); }
};

class OrvennaEvent : public FakeEvent<IOrvennaEvent> {
  public:
    HRESULT STDMETHODCALLTYPE Send(long flags) override {
        return Called("Send " + std::to_string(flags), "Send");
    }
};

template <typename Factory, typename Event> class EventFactory : public FakeObject<Factory> {
  public:
    HRESULT STDMETHODCALLTYPE CreateEvent(BSTR id, BSTR schema, IDispatch** event) override {
        *event = nullptr;
        const HRESULT hr =
            this->Called("CreateEvent " + Id(id) + " " + Utf8(schema), "CreateEvent");
        if (FAILED(hr))
            return hr;
        if (current->eventLacksInterface)
            HandOut<FakeObject<IDispatch>>(event);
        else
            HandOut<Event>(event);
        return hr;
    }
};

class ZendriRegistrar : public FakeObject<IZendriRegistrar> {
  public:
    HRESULT STDMETHODCALLTYPE RegisterComponent(BSTR id, VARIANT description,
                                                IDispatch** registration) override {
        *registration = nullptr;
        const HRESULT hr =
            Called("RegisterComponent " + Id(id) + " " + DescriptionText(description),
                   "RegisterComponent");
        if (SUCCEEDED(hr))
            HandOut<FakeObject<IDispatch>>(registration);
        return hr;
    }
    HRESULT STDMETHODCALLTYPE UnRegisterComponent(BSTR id) override {
        return Called("UnRegisterComponent " + Id(id), "UnRegisterComponent");
    }
};

class ActionRegistration : public FakeObject<IOrvennaActionRegistration> {
  public:
    HRESULT STDMETHODCALLTYPE RegisterAction(BSTR actionsClass, BSTR action,
                                             VARIANT reserved) override {
        return Called("RegisterAction " + Utf8(actionsClass) + " " + Utf8(action) + " " +
                          ValueText(reserved),
                      "RegisterAction");
    }
};

class IndexingRegistration : public FakeObject<IOrvennaIndexingRegistration> {
  public:
    HRESULT STDMETHODCALLTYPE RegisterIndexing(IUnknown* crawler) override {
        return Called(crawler ? "RegisterIndexing object" : "RegisterIndexing null",
                      "RegisterIndexing");
    }
};

class QueryRegistration : public FakeObject<IOrvennaQueryRegistration> {
  public:
    HRESULT STDMETHODCALLTYPE RegisterQuery(BSTR id, long flags, long* cookie) override {
        *cookie = 0;
        const HRESULT hr =
            Called("RegisterQuery " + Id(id) + " " + std::to_string(flags), "RegisterQuery");
        if (SUCCEEDED(hr))
            *cookie = current->queryCookie;
        return hr;
    }
};

class OrvennaRegistrar : public FakeObject<IOrvennaRegistrar> {
  public:
    HRESULT STDMETHODCALLTYPE BeginRegistration(BSTR id, VARIANT description) override {
        return Called("BeginRegistration " + Id(id) + " " + DescriptionText(description),
                      "BeginRegistration");
    }
    HRESULT STDMETHODCALLTYPE GetRegistrationObject(BSTR progId, IDispatch** object) override {
        *object = nullptr;
        const std::string name = Utf8(progId);
        const HRESULT hr = Called("GetRegistrationObject " + name, "GetRegistrationObject " + name);
        if (FAILED(hr))
            return hr;
        if (name == "OrvennaDesktop.ActionRegistration")
            HandOut<ActionRegistration>(object);
        else if (name == "OrvennaDesktop.IndexingRegistration")
            HandOut<IndexingRegistration>(object);
        else
            HandOut<QueryRegistration>(object);
        return hr;
    }
    HRESULT STDMETHODCALLTYPE CompleteRegistration() override {
        return Called("CompleteRegistration", "CompleteRegistration");
    }
    HRESULT STDMETHODCALLTYPE UnRegisterComponent(BSTR id) override {
        return Called("UnRegisterComponent " + Id(id), "UnRegisterComponent");
    }
};

std::string ClassName(REFCLSID classId) {
    const struct {
        CLSID id;
        const char* name;
    } classes[] = {
        {__uuidof(::ZendriRegistrar), "ZendriRegistrar"},
        {__uuidof(::ZendriEventFactory), "ZendriEventFactory"},
        {__uuidof(::OrvennaEventFactory), "OrvennaEventFactory"},
        {__uuidof(::OrvennaRegistrar), "OrvennaRegistrar"},
        {__uuidof(::OrvennaQuery), "OrvennaQuery"},
    };
    for (const auto& entry : classes)
        if (IsEqualCLSID(entry.id, classId))
            return entry.name;
    return "unknown class";
}

HRESULT CreateFake(REFCLSID classId, DWORD context, REFIID iid, void** out) {
    *out = nullptr;
    const std::string name = ClassName(classId);
    char contextText[16];
    std::snprintf(contextText, sizeof contextText, "0x%lX", context);
    current->calls.push_back("create " + name + " " + contextText);
    const auto scripted = current->creation.find(name);
    if (scripted != current->creation.end() && FAILED(scripted->second))
        return scripted->second;
    ComPtr<IUnknown> object;
    if (name == "ZendriRegistrar")
        object = static_cast<IZendriRegistrar*>(new ZendriRegistrar);
    else if (name == "ZendriEventFactory")
        object =
            static_cast<IZendriEventFactory*>(new EventFactory<IZendriEventFactory, ZendriEvent>);
    else if (name == "OrvennaEventFactory")
        object = static_cast<IOrvennaEventFactory*>(
            new EventFactory<IOrvennaEventFactory, OrvennaEvent>);
    else if (name == "OrvennaRegistrar")
        object = static_cast<IOrvennaRegistrar*>(new OrvennaRegistrar);
    else
        return REGDB_E_CLASSNOTREG;
    return object->QueryInterface(iid, out);
}

} // namespace

void FakeEngines::Install() {
    current = this;
    tamsel::engineFactory.createInstance = CreateFake;
}

FakeEngines::~FakeEngines() {
    if (current == this)
        current = nullptr;
}

HRESULT FakeEngines::Answer(const std::string& method) {
    if (method == outOfMemoryIn)
        throw std::bad_alloc();
    const auto found = answers.find(method);
    if (found == answers.end() || found->second.empty())
        return S_OK;
    const HRESULT answer = found->second.front();
    if (found->second.size() > 1)
        found->second.pop_front();
    return answer;
}

std::vector<std::string> FakeEngines::CallsStartingWith(const std::string& prefix) const {
    std::vector<std::string> matching;
    for (const std::string& call : calls)
        if (call.rfind(prefix, 0) == 0)
            matching.push_back(call);
    return matching;
}

int FakeEngines::LiveObjects() {
    return liveObjects;
}

std::string Utf8(BSTR text) {
    if (!text)
        return "(null)";
    const int length = int(SysStringLen(text));
    std::string utf8(size_t(length) * 3, '\0');
    utf8.resize(WideCharToMultiByte(CP_UTF8, 0, text, length, utf8.data(), int(utf8.size()),
                                    nullptr, nullptr));
    return utf8;
}
