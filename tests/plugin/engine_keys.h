// The engines' registry keys are shared by every process of the Wine prefix: tests that
// write them take turns with the engine tests through a named mutex.
#pragma once
#include <windows.h>

#include <string>

class EngineTurn {
  public:
    EngineTurn();
    ~EngineTurn();
    EngineTurn(const EngineTurn&) = delete;
    EngineTurn& operator=(const EngineTurn&) = delete;

  private:
    HANDLE mutex_;
};

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
