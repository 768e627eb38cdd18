// A small registrar for the COM server's registry scripts, in the usual script form:
//
//   HKCR
//   {
//       NoRemove CLSID
//       {
//           ForceRemove '{...}' = s 'Name'
//           {
//               InprocServer32 = s '%MODULE%'
//               {
//                   val ThreadingModel = s 'Both'
//               }
//           }
//       }
//   }
//
// Registering creates every key and value (a ForceRemove key is deleted first); unregistering
// deletes every key with all below it, except NoRemove keys, whose listed keys are visited.
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tamsel {

struct ScriptKey {
    std::wstring name;
    std::optional<std::wstring> defaultValue;
    std::vector<std::pair<std::wstring, std::wstring>> values;
    std::vector<ScriptKey> subkeys;
    bool forceRemove = false;
    bool noRemove = false;
};

struct ScriptRoot {
    HKEY root;
    std::vector<ScriptKey> keys;
};

using Replacements = std::vector<std::pair<std::wstring, std::wstring>>;

// Nothing when the text is no script: an unknown root or word, an unclosed key or text.
std::optional<std::vector<ScriptRoot>> ParseRegistryScript(std::wstring text,
                                                           const Replacements& replacements);

HRESULT RegisterScript(const std::vector<ScriptRoot>& script);
HRESULT UnregisterScript(const std::vector<ScriptRoot>& script);

// Loads the script resource (type "REGISTRY", UTF-8 text) of the module and registers or
// unregisters it.
HRESULT RunScriptResource(HMODULE module, WORD id, const Replacements& replacements,
                          bool registering);

} // namespace tamsel
