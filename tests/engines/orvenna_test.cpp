#include "engine_fixture.h"

#include "core/components.h"
#include "core/orvenna_index.h"
#include "idl/engine_results.h"

namespace engine_tests {
namespace {

using namespace engine_results;

const std::wstring kComponentPath =
    engine_core::ComponentKey(engine_core::kOrvennaComponents, kComponentId);
constexpr wchar_t kActions[] = L"{6D2B9F10-8C47-4E35-A1D6-29F0B3C7E854}";
constexpr wchar_t kOpen[] = L"{791F141B-8CB2-4F72-AD50-60EC14BFCFBB}";
constexpr wchar_t kReply[] = L"{B47371E4-4DDA-41F4-A694-93B084E93230}";

class OrvennaEngine : public EngineTest {
  protected:
    ComPtr<IOrvennaRegistrar> Registrar() {
        return Make<IOrvennaRegistrar>(orvenna_.get(), __uuidof(OrvennaRegistrar));
    }

    HRESULT Begin(IOrvennaRegistrar* registrar) {
        UniqueVariant description;
        MakeDescription({L"Title", L"Quarrix Velmora Tamsel Plug-In", L"Icon", L""},
                        description.get());
        UniqueBstr id(kComponentId);
        return registrar->BeginRegistration(id.get(), *description);
    }

    template <typename Interface>
    ComPtr<Interface> RegistrationObject(IOrvennaRegistrar* registrar, const wchar_t* progId) {
        UniqueBstr name(progId);
        ComPtr<IDispatch> object;
        ComPtr<Interface> typed;
        EXPECT_EQ(registrar->GetRegistrationObject(name.get(), &object), S_OK);
        if (object) {
            EXPECT_EQ(object.As(&typed), S_OK);
        }
        return typed;
    }

    // The whole registration a component makes; gives the query cookie.
    long RegisterFully() {
        auto registrar = Registrar();
        EXPECT_EQ(Begin(registrar.Get()), S_OK);
        auto actions = RegistrationObject<IOrvennaActionRegistration>(
            registrar.Get(), L"OrvennaDesktop.ActionRegistration");
        UniqueBstr handler(kActions);
        UniqueVariant empty;
        for (const wchar_t* action : {kOpen, kReply}) {
            UniqueBstr id(action);
            EXPECT_EQ(actions->RegisterAction(handler.get(), id.get(), *empty), S_OK);
        }
        auto indexing = RegistrationObject<IOrvennaIndexingRegistration>(
            registrar.Get(), L"OrvennaDesktop.IndexingRegistration");
        EXPECT_EQ(indexing->RegisterIndexing(nullptr), S_OK);
        auto query = RegistrationObject<IOrvennaQueryRegistration>(
            registrar.Get(), L"OrvennaDesktop.QueryRegistration");
        UniqueBstr id(kComponentId);
        long cookie = 0;
        EXPECT_EQ(query->RegisterQuery(id.get(), 0, &cookie), S_OK);
        EXPECT_EQ(registrar->CompleteRegistration(), S_OK);
        return cookie;
    }

    std::vector<std::string> QueryUrls(long cookie, const std::wstring& text, bool removeAll) {
        auto query = Make<IOrvennaQuery>(orvenna_.get(), __uuidof(OrvennaQuery));
        UniqueBstr words(text);
        UniqueVariant none1, none2;
        ComPtr<IOrvennaResultSet> results;
        EXPECT_EQ(query->Query(cookie, words.get(), *none1, *none2, &results), S_OK);
        std::vector<std::string> urls;
        ComPtr<IOrvennaResultItem> item;
        while (results && results->Next(&item) == S_OK) {
            UniqueBstr name(L"cookie");
            UniqueVariant url;
            EXPECT_EQ(item->GetProperty(name.get(), url.get()), S_OK);
            const std::wstring_view value = engine_com::BstrView((*url).bstrVal);
            urls.emplace_back(value.begin(), value.end());
            if (removeAll) {
                EXPECT_EQ(item->Remove(0), S_OK);
            }
        }
        return urls;
    }

    void SendMail(const std::wstring& url, const std::wstring& subject) {
        auto event = NewZendriEvent();
        ASSERT_TRUE(event);
        ASSERT_EQ(AddText(event.Get(), L"url", url), S_OK);
        ASSERT_EQ(AddText(event.Get(), L"subject", subject), S_OK);
        ASSERT_EQ(event->Send(), S_OK);
    }
};

TEST_F(OrvennaEngine, CompleteRegistrationKeepsActionsIndexingAndTheQueryCookie) {
    const long cookie = RegisterFully();
    EXPECT_GT(cookie, 0);
    const RegistryKey key = RegistryKey::Open(HKEY_CURRENT_USER, kComponentPath, KEY_READ);
    ASSERT_TRUE(key);
    EXPECT_EQ(key.GetString(L"Title").value_or(L"-"), L"Quarrix Velmora Tamsel Plug-In");
    EXPECT_EQ(key.GetDword(L"Indexing").value_or(0), 1u);
    EXPECT_EQ(key.GetDword(L"QueryCookie").value_or(0), static_cast<DWORD>(cookie));
    const RegistryKey actions =
        RegistryKey::Open(HKEY_CURRENT_USER, kComponentPath + L"\\Actions", KEY_READ);
    ASSERT_TRUE(actions);
    EXPECT_EQ(actions.GetString(kOpen).value_or(L"-"), kActions);
    EXPECT_EQ(actions.GetString(kReply).value_or(L"-"), kActions);
}

TEST_F(OrvennaEngine, NothingIsKnownBeforeCompleteAndARegisteredComponentIsRefused) {
    auto registrar = Registrar();
    ASSERT_TRUE(registrar);
    UniqueBstr progId(L"OrvennaDesktop.QueryRegistration"), unknown(L"OrvennaDesktop.Other");
    ComPtr<IDispatch> object;
    EXPECT_EQ(registrar->GetRegistrationObject(progId.get(), &object), E_UNEXPECTED);
    EXPECT_EQ(registrar->CompleteRegistration(), E_UNEXPECTED);
    ASSERT_EQ(Begin(registrar.Get()), S_OK);
    EXPECT_EQ(registrar->GetRegistrationObject(unknown.get(), &object), REGDB_E_CLASSNOTREG);
    EXPECT_FALSE(object);
    EXPECT_FALSE(RegistryKey::Exists(HKEY_CURRENT_USER, kComponentPath));
    ASSERT_EQ(registrar->CompleteRegistration(), S_OK);
    EXPECT_TRUE(RegistryKey::Exists(HKEY_CURRENT_USER, kComponentPath));

    auto again = Registrar();
    EXPECT_EQ(Begin(again.Get()), E_COMPONENT_ALREADY_REGISTERED);
    UniqueBstr id(kComponentId);
    EXPECT_EQ(again->UnRegisterComponent(id.get()), S_OK);
    EXPECT_FALSE(RegistryKey::Exists(HKEY_CURRENT_USER, kComponentPath));
    EXPECT_EQ(again->UnRegisterComponent(id.get()), E_COMPONENT_NOT_REGISTERED);
    EXPECT_EQ(Begin(again.Get()), S_OK);
}

TEST_F(OrvennaEngine, CompleteRefusesWhenAnotherRegistrationWonMeanwhile) {
    auto first = Registrar(), second = Registrar();
    ASSERT_EQ(Begin(first.Get()), S_OK);
    ASSERT_EQ(Begin(second.Get()), S_OK);
    EXPECT_EQ(second->CompleteRegistration(), S_OK);
    EXPECT_EQ(first->CompleteRegistration(), E_COMPONENT_ALREADY_REGISTERED);
}

TEST_F(OrvennaEngine, QueryRegistrationAnswersOnlyForTheComponentBeingRegistered) {
    auto registrar = Registrar();
    ASSERT_EQ(Begin(registrar.Get()), S_OK);
    auto query = RegistrationObject<IOrvennaQueryRegistration>(registrar.Get(),
                                                               L"OrvennaDesktop.QueryRegistration");
    ASSERT_TRUE(query);
    UniqueBstr other(L"{00000000-0000-0000-0000-000000000001}");
    long cookie = 7;
    EXPECT_EQ(query->RegisterQuery(other.get(), 0, &cookie), E_INVALIDARG);
    EXPECT_EQ(cookie, 0);
}

TEST_F(OrvennaEngine, AQueryByUrlFindsWhatThePrimaryReceivedAndRemoveTakesItOut) {
    RegisterZendriComponent();
    const long cookie = RegisterFully();
    SendMail(L"Tamsel:///0001//00AA", L"Budget review");
    SendMail(L"Tamsel:///0001//00BB", L"Budget draft");

    EXPECT_EQ(QueryUrls(cookie, L"budget", false).size(), 2u);
    EXPECT_EQ(QueryUrls(cookie, L"Tamsel:///0001//00AA", true),
              std::vector<std::string>{"Tamsel:///0001//00AA"});
    EXPECT_TRUE(QueryUrls(cookie, L"Tamsel:///0001//00AA", false).empty());
    ASSERT_EQ(Documents().size(), 1u);
    EXPECT_EQ(Documents()[0].url, "Tamsel:///0001//00BB");
}

TEST_F(OrvennaEngine, TheQueryObjectOfEitherDllRefusesAnUnknownCookie) {
    for (HMODULE dll : {zendri_.get(), orvenna_.get()}) {
        auto query = Make<IOrvennaQuery>(dll, __uuidof(OrvennaQuery));
        ASSERT_TRUE(query);
        UniqueBstr text(L"x");
        UniqueVariant none1, none2;
        ComPtr<IOrvennaResultSet> results;
        EXPECT_EQ(query->Query(12345, text.get(), *none1, *none2, &results), E_ACCESSDENIED);
        EXPECT_FALSE(results);
    }
}

TEST_F(OrvennaEngine, ResultItemsGiveTheirPropertiesInTheirTypes) {
    RegisterZendriComponent();
    const long cookie = RegisterFully();
    auto event = NewZendriEvent();
    ASSERT_EQ(AddText(event.Get(), L"url", L"Tamsel:///1//2"), S_OK);
    ASSERT_EQ(AddText(event.Get(), L"from", L"Ann Lee"), S_OK);
    ASSERT_EQ(AddNumber(event.Get(), L"time", 43200), S_OK);
    ASSERT_EQ(event->Send(), S_OK);

    auto query = Make<IOrvennaQuery>(zendri_.get(), __uuidof(OrvennaQuery));
    UniqueBstr text(L"Tamsel:///1//2");
    UniqueVariant none1, none2;
    ComPtr<IOrvennaResultSet> results;
    ASSERT_EQ(query->Query(cookie, text.get(), *none1, *none2, &results), S_OK);
    ComPtr<IOrvennaResultItem> item;
    ASSERT_EQ(results->Next(&item), S_OK);
    const struct {
        const wchar_t* name;
        HRESULT result;
        VARTYPE type;
    } cases[] = {{L"from", S_OK, VT_BSTR},
                 {L"time", S_OK, VT_I4},
                 {L"schema", S_OK, VT_BSTR},
                 {L"subject", E_PROPERTY_NOT_SET, VT_EMPTY}};
    for (const auto& c : cases) {
        UniqueBstr name(c.name);
        UniqueVariant value;
        EXPECT_EQ(item->GetProperty(name.get(), value.get()), c.result);
        EXPECT_EQ((*value).vt, c.type);
    }
    ComPtr<IOrvennaResultItem> none;
    EXPECT_EQ(results->Next(&none), S_FALSE);
    EXPECT_FALSE(none);
}

TEST_F(OrvennaEngine, EventsNeedTheirComponentAndSchemaAndLandInTheSharedIndex) {
    auto factory = Make<IOrvennaEventFactory>(orvenna_.get(), __uuidof(OrvennaEventFactory));
    ASSERT_TRUE(factory);
    UniqueBstr id(kComponentId), email(L"Orvenna.Desktop.Email"), mail(L"ZendriDS.Mail");
    ComPtr<IDispatch> created;
    EXPECT_EQ(factory->CreateEvent(id.get(), email.get(), &created), E_COMPONENT_NOT_REGISTERED);
    RegisterFully();
    EXPECT_EQ(factory->CreateEvent(id.get(), mail.get(), &created), E_NO_SUCH_SCHEMA);
    ASSERT_EQ(factory->CreateEvent(id.get(), email.get(), &created), S_OK);
    ComPtr<IOrvennaEvent> event;
    ASSERT_EQ(created.As(&event), S_OK);
    VARIANT received;
    received.vt = VT_DATE;
    received.date = 0.0;
    UniqueBstr name(L"received"), format(L"format"), wrong(L"content_format");
    UniqueVariant plain;
    plain.get()->vt = VT_BSTR;
    plain.get()->bstrVal = SysAllocString(L"text/plain");
    EXPECT_EQ(event->AddProperty(name.get(), received), S_OK);
    EXPECT_EQ(event->AddProperty(format.get(), *plain), S_OK);
    EXPECT_EQ(event->AddProperty(wrong.get(), *plain), E_NO_SUCH_PROPERTY);
    EXPECT_EQ(event->Send(0x100), E_INVALID_EVENT_FLAGS);
    EXPECT_EQ(event->Send(1), S_OK);
    ASSERT_EQ(Documents().size(), 1u);
    EXPECT_EQ(Documents()[0].schema, "Orvenna.Desktop.Email");
}

TEST_F(OrvennaEngine, RegisteringTheDllMakesTheIndexAndRecordsItsCreationTime) {
    RegistryKey::Create(HKEY_CURRENT_USER, engine_core::kOrvennaKey)
        .DeleteValue(engine_core::kIndexCreationTimeValue);
    FILETIME before;
    GetSystemTimeAsFileTime(&before);
    auto registerServer = reinterpret_cast<HRESULT(WINAPI*)()>(
        reinterpret_cast<void*>(GetProcAddress(orvenna_.get(), "DllRegisterServer")));
    ASSERT_TRUE(registerServer);
    ASSERT_EQ(registerServer(), S_OK);
    EXPECT_TRUE(testing_support::FileExists(IndexLogPath()));
    const auto read = IndexCreationTime;
    const auto first = read();
    ASSERT_EQ(first.size(), sizeof(FILETIME));
    EXPECT_GE(CompareFileTime(reinterpret_cast<const FILETIME*>(first.data()), &before), 0);
    ASSERT_EQ(registerServer(), S_OK);
    EXPECT_EQ(read(), first) << "an existing index keeps its time";
}

} // namespace
} // namespace engine_tests
