// Runs a test against the real engine DLLs with an index folder of its own. The engines'
// registry keys are shared by every process of the Wine prefix, so engine tests take
// turns through a named mutex.
#pragma once
#include "com/com_owners.h"
#include "idl/desktop_search.h"
#include "index/document.h"
#include "support/registry_key.h"
#include "temp_dir.h"
#include "unique_resource.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <wrl/client.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace engine_tests {

using engine_com::UniqueBstr;
using engine_com::UniqueVariant;
using engine_support::RegistryKey;
using Microsoft::WRL::ComPtr;

inline constexpr wchar_t kComponentId[] = L"{3A71C2E4-5B0D-4F86-9E12-7D4C60A8B1F3}";

class EngineTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // An object of the given class, made through the DLL's own class factory.
    template <typename Interface> ComPtr<Interface> Make(HMODULE dll, REFCLSID clsid) {
        ComPtr<Interface> object;
        EXPECT_EQ(CreateFrom(dll, clsid, __uuidof(Interface), &object), S_OK);
        return object;
    }
    static HRESULT CreateFrom(HMODULE dll, REFCLSID clsid, REFIID iid, void** out);

    void RegisterZendriComponent();
    ComPtr<IZendriEvent> NewZendriEvent();
    static void SetSwitch(const wchar_t* name, DWORD value);
    static void ClearSwitch(const wchar_t* name);
    static void SetSwitchText(const wchar_t* name, const std::wstring& value);
    std::vector<engine_index::Document> Documents() const;
    std::string IndexLogPath() const { return index_.file("documents.jsonl"); }

    win32::UniqueLibrary zendri_;
    win32::UniqueLibrary orvenna_;
    testing_support::TempDir index_;

  private:
    win32::UniqueHandle turn_;
};

// name, value, name, value ... as VT_ARRAY|VT_VARIANT with lower bound 0.
void MakeDescription(const std::vector<std::wstring>& items, VARIANT* out);
HRESULT AddText(IZendriEvent* event, const wchar_t* name, const std::wstring& text);
HRESULT AddNumber(IZendriEvent* event, const wchar_t* name, long value);
std::string Text(const engine_index::Document& document, const char* name);
// The second engine's "index_creation_time"; empty when there is none.
std::vector<std::uint8_t> IndexCreationTime();

} // namespace engine_tests
