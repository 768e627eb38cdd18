// The engines' registry keys and the client's installation path, as the plug-in reads them.
// Tests that write them hold an EngineTurn.
#pragma once
#include "engine_turn.h"

#include <windows.h>

#include <string>

using testing_support::EngineTurn;

inline constexpr wchar_t zendriComponents[] = L"Software\\Zendri\\DesktopSearch\\Components";
inline constexpr wchar_t orvennaComponents[] = L"Software\\Orvenna\\Orvenna Desktop\\Components";

// The plug-in's component key under an engine's components key.
std::wstring ComponentKey(const wchar_t* components);
void CreateComponentKey(const wchar_t* components);
void DeleteComponentKeys();
// A REG_SZ value; "<none>" when missing.
std::wstring RegistryText(HKEY root, const std::wstring& key, const wchar_t* name);

// HKLM\SOFTWARE\Velmora\Tamsel "Path", the client's installation folder, given back as it
// was when the object goes.
class ClientPathValue {
  public:
    ClientPathValue();
    ~ClientPathValue();
    ClientPathValue(const ClientPathValue&) = delete;
    ClientPathValue& operator=(const ClientPathValue&) = delete;

    void Set(const std::wstring& path);
    void Remove();

  private:
    std::wstring saved_;
};
