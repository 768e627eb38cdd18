// The server's registrar: its script form, and what registering and unregistering leave.
#include "com/registry_script.h"
#include "unique_resource.h"

#include <gtest/gtest.h>

#include <string>

using namespace tamsel;

namespace {

TEST(RegistryScript, RefusesWhatIsNoScript) {
    for (const wchar_t* text : {
             L"HKXX { a }",
             L"HKCR { a",
             L"HKCR { a = s 'open }",
             L"HKCR { a = d '1' }",
             L"HKCR { a { val = s 'x' } }",
             L"HKCR { a { val b s 'x' } }",
             L"HKCR { ! }",
             L"HKCR a",
         })
        EXPECT_FALSE(ParseRegistryScript(text, {})) << std::wstring(text);
    EXPECT_TRUE(ParseRegistryScript(L"", {})) << "nothing to do is a script";
}

// Scripts under a scratch key of the current user, removed afterwards.
class ScriptRun : public ::testing::Test {
  protected:
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, base.c_str()); }
    std::vector<ScriptRoot> Script(const std::wstring& body) {
        auto script = ParseRegistryScript(L"HKCU { NoRemove Software { NoRemove TamselTests { "
                                          L"NoRemove '%RUN%' { " +
                                              body + L" } } } }",
                                          {{L"RUN", run}});
        EXPECT_TRUE(script);
        return script.value_or(std::vector<ScriptRoot>{});
    }
    std::optional<std::wstring> Read(const std::wstring& key, const wchar_t* value = nullptr) {
        wchar_t text[256];
        DWORD size = sizeof text;
        if (RegGetValueW(HKEY_CURRENT_USER, (base + L"\\" + key).c_str(), value, RRF_RT_REG_SZ,
                         nullptr, text, &size) != ERROR_SUCCESS)
            return std::nullopt;
        return std::wstring(text);
    }
    bool Exists(const std::wstring& key) {
        win32::UniqueKey opened;
        return RegOpenKeyExW(HKEY_CURRENT_USER, (base + L"\\" + key).c_str(), 0, KEY_READ,
                             opened.put()) == ERROR_SUCCESS;
    }
    // A quote in a replacement (as in a module path C:\\O'Neil\\...) must not end its text.
    const std::wstring run = L"O'Script" + std::to_wstring(GetCurrentProcessId());
    const std::wstring base = L"Software\\TamselTests\\" + run;
};

TEST_F(ScriptRun, RegisteringWritesEverythingAndReplacesForcedKeysWhole) {
    RegSetKeyValueW(HKEY_CURRENT_USER, (base + L"\\Forced\\Old").c_str(), L"stale", REG_SZ, L"x",
                    4);
    RegSetKeyValueW(HKEY_CURRENT_USER, (base + L"\\Kept").c_str(), L"other", REG_SZ, L"y", 4);
    const auto script = Script(L"ForceRemove Forced = s 'F' { Sub = s 'S' { val V = s 'v' } } "
                               L"Kept = s 'K' NoRemove Stays = s 'T' { Gone }");
    ASSERT_EQ(RegisterScript(script), S_OK);
    EXPECT_EQ(Read(L"Forced"), L"F");
    EXPECT_EQ(Read(L"Forced\\Sub"), L"S");
    EXPECT_EQ(Read(L"Forced\\Sub", L"V"), L"v");
    EXPECT_FALSE(Exists(L"Forced\\Old")) << "a forced key is replaced whole";
    EXPECT_EQ(Read(L"Kept"), L"K");
    EXPECT_EQ(Read(L"Kept", L"other"), L"y") << "other keys are only added to";
    EXPECT_TRUE(Exists(L"Stays\\Gone"));

    ASSERT_EQ(RegisterScript(script), S_OK) << "registering twice";
    ASSERT_EQ(UnregisterScript(script), S_OK);
    EXPECT_FALSE(Exists(L"Forced"));
    EXPECT_FALSE(Exists(L"Kept"));
    EXPECT_EQ(Read(L"Stays"), L"T") << "a NoRemove key stays";
    EXPECT_FALSE(Exists(L"Stays\\Gone"));
    EXPECT_EQ(UnregisterScript(script), S_OK) << "nothing left to remove";
}

TEST_F(ScriptRun, AKeyThatCannotBeWrittenFailsTheRegistration) {
    // A key deleted under the open handle: nothing can be written below it.
    win32::UniqueKey deleted;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, base.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, deleted.put(), nullptr),
              ERROR_SUCCESS);
    RegDeleteKeyW(HKEY_CURRENT_USER, base.c_str());
    ScriptKey inner;
    inner.name = L"Inner";
    inner.defaultValue = L"x";
    EXPECT_EQ(RegisterScript({ScriptRoot{deleted.get(), {inner}}}),
              HRESULT_FROM_WIN32(ERROR_KEY_DELETED));
    deleted.reset();
    EXPECT_FALSE(Exists(L"Inner"));
}

} // namespace
