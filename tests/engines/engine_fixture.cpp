#include "engine_fixture.h"

#include "core/components.h"
#include "core/orvenna_index.h"
#include "core/switches.h"
#include "engines_notice.h"
#include "index/index_folder.h"
#include "index/index_log.h"
#include "index/records.h"

namespace engine_tests {

void EngineTest::SetUp() {
    turn_.reset(CreateMutexW(nullptr, FALSE, L"TamselEngineTests"));
    ASSERT_TRUE(turn_);
    const DWORD waited = WaitForSingleObject(turn_.get(), 120000);
    ASSERT_TRUE(waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED);

    const RegistryKey engine = RegistryKey::Create(HKEY_CURRENT_USER, engine_index::kEngineKey);
    ASSERT_TRUE(engine.SetString(engine_index::kIndexFolderValue,
                                 std::wstring(index_.path().begin(), index_.path().end())));
    ASSERT_TRUE(RegistryKey::DeleteTree(HKEY_CURRENT_USER, engine_core::kSwitchesKey));
    for (const wchar_t* components :
         {engine_core::kZendriComponents, engine_core::kOrvennaComponents})
        ASSERT_TRUE(RegistryKey::DeleteTree(HKEY_CURRENT_USER, components));
    // The DLLs may still be loaded from an earlier test, with its settings in mind.
    testing_support::LetEnginesNotice();

    zendri_.reset(LoadLibraryW(L"ZendriDS.dll"));
    orvenna_.reset(LoadLibraryW(L"OrvennaDesktop.dll"));
    ASSERT_TRUE(zendri_ && orvenna_) << "engine DLLs beside the test";
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
}

void EngineTest::TearDown() {
    CoUninitialize();
    // The engines keep the index file open; unloading them lets the index folder go.
    zendri_.reset();
    orvenna_.reset();
    RegistryKey::DeleteTree(HKEY_CURRENT_USER, engine_core::kSwitchesKey);
    if (turn_) {
        ReleaseMutex(turn_.get());
        turn_.reset();
    }
}

HRESULT EngineTest::CreateFrom(HMODULE dll, REFCLSID clsid, REFIID iid, void** out) {
    using GetClassObject = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
    auto get = reinterpret_cast<GetClassObject>(
        reinterpret_cast<void*>(GetProcAddress(dll, "DllGetClassObject")));
    if (!get)
        return E_NOINTERFACE;
    ComPtr<IClassFactory> factory;
    if (const HRESULT hr = get(clsid, IID_PPV_ARGS(&factory)); FAILED(hr))
        return hr;
    return factory->CreateInstance(nullptr, iid, out);
}

void EngineTest::RegisterZendriComponent() {
    const RegistryKey key = RegistryKey::Create(
        HKEY_CURRENT_USER, engine_core::ComponentKey(engine_core::kZendriComponents, kComponentId));
    ASSERT_TRUE(key.SetString(L"Title", L"Test component"));
    testing_support::LetEnginesNotice();
}

ComPtr<IZendriEvent> EngineTest::NewZendriEvent() {
    auto factory = Make<IZendriEventFactory>(zendri_.get(), __uuidof(ZendriEventFactory));
    ComPtr<IDispatch> created;
    ComPtr<IZendriEvent> event;
    UniqueBstr id(kComponentId), schema(L"ZendriDS.Mail");
    if (factory) {
        EXPECT_EQ(factory->CreateEvent(id.get(), schema.get(), &created), S_OK);
    }
    if (created) {
        EXPECT_EQ(created.As(&event), S_OK);
    }
    return event;
}

void EngineTest::SetSwitch(const wchar_t* name, DWORD value) {
    const RegistryKey key = RegistryKey::Create(HKEY_CURRENT_USER, engine_core::kSwitchesKey);
    ASSERT_TRUE(key.SetDword(name, value));
    testing_support::LetEnginesNotice();
}

void EngineTest::ClearSwitch(const wchar_t* name) {
    const RegistryKey key = RegistryKey::Create(HKEY_CURRENT_USER, engine_core::kSwitchesKey);
    ASSERT_TRUE(key.DeleteValue(name));
    testing_support::LetEnginesNotice();
}

void EngineTest::SetSwitchText(const wchar_t* name, const std::wstring& value) {
    const RegistryKey key = RegistryKey::Create(HKEY_CURRENT_USER, engine_core::kSwitchesKey);
    ASSERT_TRUE(key.SetString(name, value));
    testing_support::LetEnginesNotice();
}

std::vector<engine_index::Document> EngineTest::Documents() const {
    engine_index::IndexLog log(std::wstring(index_.path().begin(), index_.path().end()));
    return engine_index::LiveDocuments(log.ReadWholeLines());
}

void MakeDescription(const std::vector<std::wstring>& items, VARIANT* out) {
    SAFEARRAY* array = SafeArrayCreateVector(VT_VARIANT, 0, static_cast<ULONG>(items.size()));
    for (LONG i = 0; i < static_cast<LONG>(items.size()); ++i) {
        VARIANT item;
        item.vt = VT_BSTR;
        item.bstrVal = SysAllocString(items[i].c_str());
        SafeArrayPutElement(array, &i, &item);
        VariantClear(&item);
    }
    VariantInit(out);
    out->vt = VT_ARRAY | VT_VARIANT;
    out->parray = array;
}

HRESULT AddText(IZendriEvent* event, const wchar_t* name, const std::wstring& text) {
    UniqueVariant value;
    value.get()->vt = VT_BSTR;
    value.get()->bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    UniqueBstr key(name);
    return event->AddProperty(key.get(), *value);
}

HRESULT AddNumber(IZendriEvent* event, const wchar_t* name, long number) {
    VARIANT value;
    value.vt = VT_I4;
    value.lVal = number;
    UniqueBstr key(name);
    return event->AddProperty(key.get(), value);
}

std::string Text(const engine_index::Document& document, const char* name) {
    const auto found = document.properties.find(name);
    return found == document.properties.end() ? "<none>" : engine_index::PropertyText(*found);
}

std::vector<std::uint8_t> IndexCreationTime() {
    return RegistryKey::Open(HKEY_CURRENT_USER, engine_core::kOrvennaKey, KEY_READ)
        .GetBinary(engine_core::kIndexCreationTimeValue)
        .value_or(std::vector<std::uint8_t>());
}

} // namespace engine_tests
