#include "engine_fixture.h"

#include "core/components.h"
#include "idl/engine_results.h"

#include <thread>

namespace engine_tests {
namespace {

using namespace engine_results;

const std::wstring kComponentPath =
    engine_core::ComponentKey(engine_core::kZendriComponents, kComponentId);

class ZendriEngine : public EngineTest {};

TEST_F(ZendriEngine, RegisterComponentWritesTheDescriptionAndUnregisterRemovesIt) {
    auto registrar = Make<IZendriRegistrar>(zendri_.get(), __uuidof(ZendriRegistrar));
    ASSERT_TRUE(registrar);
    UniqueVariant description;
    MakeDescription({L"Title", L"Velmora Tamsel v6.5 Plugin", L"Icon", L"C:\\T\\nltamsel.exe,2"},
                    description.get());
    UniqueBstr id(kComponentId);
    ComPtr<IDispatch> registration;
    ASSERT_EQ(registrar->RegisterComponent(id.get(), *description, &registration), S_OK);
    EXPECT_TRUE(registration) << "the caller releases what it gets back";

    const RegistryKey key = RegistryKey::Open(HKEY_CURRENT_USER, kComponentPath, KEY_READ);
    ASSERT_TRUE(key);
    EXPECT_EQ(key.GetString(L"Title").value_or(L"-"), L"Velmora Tamsel v6.5 Plugin");
    EXPECT_EQ(key.GetString(L"Icon").value_or(L"-"), L"C:\\T\\nltamsel.exe,2");

    EXPECT_EQ(registrar->UnRegisterComponent(id.get()), S_OK);
    EXPECT_FALSE(RegistryKey::Exists(HKEY_CURRENT_USER, kComponentPath));
    EXPECT_EQ(registrar->UnRegisterComponent(id.get()), E_COMPONENT_NOT_REGISTERED);
}

TEST_F(ZendriEngine, ItsOwnRegistrationIsSeenByTheVeryNextCall) {
    // The engine reuses a recent look at the registry, but never across its own writes.
    auto registrar = Make<IZendriRegistrar>(zendri_.get(), __uuidof(ZendriRegistrar));
    auto factory = Make<IZendriEventFactory>(zendri_.get(), __uuidof(ZendriEventFactory));
    ASSERT_TRUE(registrar && factory);
    UniqueVariant description;
    MakeDescription({L"Title", L"Test component"}, description.get());
    UniqueBstr id(kComponentId), mail(L"ZendriDS.Mail");
    for (int round = 0; round < 3; ++round) {
        ComPtr<IDispatch> event, registration;
        EXPECT_EQ(factory->CreateEvent(id.get(), mail.get(), &event), E_COMPONENT_NOT_REGISTERED);
        ASSERT_EQ(registrar->RegisterComponent(id.get(), *description, &registration), S_OK);
        EXPECT_EQ(factory->CreateEvent(id.get(), mail.get(), &event), S_OK) << "round " << round;
        ASSERT_EQ(registrar->UnRegisterComponent(id.get()), S_OK);
        event.Reset();
        EXPECT_EQ(factory->CreateEvent(id.get(), mail.get(), &event), E_COMPONENT_NOT_REGISTERED)
            << "round " << round;
    }
}

TEST_F(ZendriEngine, MalformedDescriptionsAreRejectedWithoutAKey) {
    auto registrar = Make<IZendriRegistrar>(zendri_.get(), __uuidof(ZendriRegistrar));
    ASSERT_TRUE(registrar);
    UniqueBstr id(kComponentId);
    UniqueVariant oddCount, notArray, numberName;
    MakeDescription({L"Title", L"x", L"Icon"}, oddCount.get());
    notArray.get()->vt = VT_BSTR;
    notArray.get()->bstrVal = SysAllocString(L"Title");
    MakeDescription({L"Title", L"x"}, numberName.get());
    {
        engine_com::SafeArrayData data((*numberName).parray);
        VariantClear(&data.as<VARIANT>()[0]);
        data.as<VARIANT>()[0].vt = VT_I4;
    }
    for (VARIANT* bad : {oddCount.get(), notArray.get(), numberName.get()}) {
        ComPtr<IDispatch> registration;
        EXPECT_EQ(registrar->RegisterComponent(id.get(), *bad, &registration), E_INVALIDARG);
        EXPECT_FALSE(registration);
        EXPECT_FALSE(RegistryKey::Exists(HKEY_CURRENT_USER, kComponentPath));
    }
}

TEST_F(ZendriEngine, CreateEventNeedsTheComponentKeyAndTheMailSchema) {
    auto factory = Make<IZendriEventFactory>(zendri_.get(), __uuidof(ZendriEventFactory));
    ASSERT_TRUE(factory);
    UniqueBstr id(kComponentId), mail(L"ZendriDS.Mail"), other(L"Orvenna.Desktop.Email");
    ComPtr<IDispatch> event;
    EXPECT_EQ(factory->CreateEvent(id.get(), mail.get(), &event), E_COMPONENT_NOT_REGISTERED);
    EXPECT_FALSE(event);
    RegisterZendriComponent();
    EXPECT_EQ(factory->CreateEvent(id.get(), other.get(), &event), E_NO_SUCH_SCHEMA);
    EXPECT_FALSE(event);
    ASSERT_EQ(factory->CreateEvent(id.get(), mail.get(), &event), S_OK);
    ComPtr<IZendriEvent> typed;
    EXPECT_EQ(event.As(&typed), S_OK);
}

TEST_F(ZendriEngine, AddPropertyTakesTheMailPropertiesInTheirTypes) {
    RegisterZendriComponent();
    auto event = NewZendriEvent();
    ASSERT_TRUE(event);
    auto variant = [](VARTYPE type) {
        VARIANT v;
        VariantInit(&v);
        v.vt = type;
        return v;
    };
    VARIANT date = variant(VT_DATE), unsignedNumber = variant(VT_UI4), error = variant(VT_ERROR),
            empty = variant(VT_EMPTY), real = variant(VT_R8);
    date.date = 38854.5;
    unsignedNumber.ulVal = 3;
    error.scode = E_OUTOFMEMORY;
    UniqueVariant text;
    text.get()->vt = VT_BSTR;
    text.get()->bstrVal = SysAllocString(L"x");
    const struct {
        const wchar_t* name;
        const VARIANT& value;
        HRESULT expected;
    } cases[] = {
        {L"content", *text, S_OK},
        {L"url", *text, S_OK},
        {L"content_format", *text, S_OK},
        {L"time", date, S_OK},
        {L"time", unsignedNumber, S_OK},
        {L"subject", *text, S_OK},
        {L"from", unsignedNumber, S_OK},
        {L"to", *text, S_OK},
        {L"cc", *text, S_OK},
        {L"bcc", *text, S_OK},
        {L"replyto", *text, S_OK},
        {L"folder_name", *text, S_OK},
        {L"mail_flags", unsignedNumber, S_OK},
        {L"other_data", *text, S_OK},
        {L"received", date, E_NO_SUCH_PROPERTY},
        {L"duration", unsignedNumber, E_NO_SUCH_PROPERTY},
        {L"Subject", *text, E_NO_SUCH_PROPERTY},
        {L"subject", error, E_INVALIDARG},
        {L"time", *text, E_INVALIDARG},
        {L"content", unsignedNumber, E_INVALIDARG},
        {L"content", empty, E_INVALIDARG},
        {L"mail_flags", real, E_INVALIDARG},
    };
    for (const auto& c : cases) {
        UniqueBstr name(c.name);
        EXPECT_EQ(event->AddProperty(name.get(), c.value), c.expected)
            << "property " << std::string(c.name, c.name + wcslen(c.name)) << " type "
            << c.value.vt;
    }
}

TEST_F(ZendriEngine, SendWritesTheEventToTheIndexBeforeReturning) {
    RegisterZendriComponent();
    auto event = NewZendriEvent();
    ASSERT_TRUE(event);
    ASSERT_EQ(AddNumber(event.Get(), L"time", 43200), S_OK);
    ASSERT_EQ(AddText(event.Get(), L"subject", L"Quarterly r\u00e9sum\u00e9"), S_OK);
    ASSERT_EQ(AddText(event.Get(), L"content", L"Body text"), S_OK);
    ASSERT_EQ(AddText(event.Get(), L"url", L"Tamsel:///AB//CDEF"), S_OK);
    ASSERT_EQ(event->Send(), S_OK);

    const auto documents = Documents();
    ASSERT_EQ(documents.size(), 1u);
    EXPECT_EQ(documents[0].url, "Tamsel:///AB//CDEF");
    EXPECT_EQ(documents[0].schema, "ZendriDS.Mail");
    EXPECT_EQ(Text(documents[0], "subject"), "Quarterly r\xc3\xa9sum\xc3\xa9");
    EXPECT_EQ(Text(documents[0], "time"), "43200");
    EXPECT_EQ(documents[0].component, "{3A71C2E4-5B0D-4F86-9E12-7D4C60A8B1F3}");
}

TEST_F(ZendriEngine, ADocumentSentAgainUnderItsUrlReplacesTheEarlierOne) {
    RegisterZendriComponent();
    for (const wchar_t* subject : {L"first", L"second"}) {
        auto event = NewZendriEvent();
        ASSERT_TRUE(event);
        ASSERT_EQ(AddText(event.Get(), L"url", L"Tamsel:///1//2"), S_OK);
        ASSERT_EQ(AddText(event.Get(), L"subject", subject), S_OK);
        ASSERT_EQ(event->Send(), S_OK);
    }
    auto other = NewZendriEvent();
    ASSERT_EQ(AddText(other.Get(), L"url", L"Tamsel:///1//3"), S_OK);
    ASSERT_EQ(other->Send(), S_OK);

    const auto documents = Documents();
    ASSERT_EQ(documents.size(), 2u);
    EXPECT_EQ(Text(documents[0], "subject"), "second");
    EXPECT_EQ(documents[1].url, "Tamsel:///1//3");
}

TEST_F(ZendriEngine, EventsSentFromManyThreadsAllArriveWhole) {
    RegisterZendriComponent();
    constexpr int kThreads = 4, kEach = 50;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            CoInitializeEx(nullptr, COINIT_MULTITHREADED);
            for (int i = 0; i < kEach; ++i) {
                auto event = NewZendriEvent();
                AddText(event.Get(), L"url", L"u" + std::to_wstring(t * kEach + i));
                AddText(event.Get(), L"content", std::wstring(2000, L'a' + t));
                event->Send();
            }
            CoUninitialize();
        });
    for (auto& thread : threads)
        thread.join();
    const auto documents = Documents();
    EXPECT_EQ(documents.size(), static_cast<size_t>(kThreads * kEach));
    for (const auto& document : documents)
        EXPECT_EQ(Text(document, "content").size(), 2000u) << document.url;
}

} // namespace
} // namespace engine_tests
