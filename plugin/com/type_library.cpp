#include "type_library.h"

#include "engine/com_owners.h"

#include <oleauto.h>

namespace tamsel {

HRESULT LoadServerTypeLibrary(const std::wstring& modulePath, ITypeLib** library,
                              std::wstring& loadedFrom) {
    *library = nullptr;
    loadedFrom = modulePath;
    // The system's loader copies the name into a buffer of MAX_PATH characters.
    if (modulePath.size() >= MAX_PATH)
        return E_FAIL;
    if (SUCCEEDED(LoadTypeLibEx(modulePath.c_str(), REGKIND_NONE, library)))
        return S_OK;
    const size_t folderEnd = modulePath.find_last_of(L"\\/") + 1;
    const size_t dot = modulePath.find_last_of(L'.');
    std::wstring sibling =
        modulePath.substr(0,
                          dot == std::wstring::npos || dot < folderEnd ? modulePath.size() : dot) +
        L".tlb";
    if (sibling.size() >= MAX_PATH)
        return E_FAIL;
    loadedFrom = std::move(sibling);
    return LoadTypeLibEx(loadedFrom.c_str(), REGKIND_NONE, library);
}

HRESULT RegisterServerTypeLibrary(const std::wstring& modulePath) {
    ComPtr<ITypeLib> library;
    std::wstring loadedFrom;
    RETURN_IF_FAILED(LoadServerTypeLibrary(modulePath, &library, loadedFrom));
    return RegisterTypeLib(library.Get(), loadedFrom.data(), nullptr);
}

HRESULT UnregisterServerTypeLibrary(const std::wstring& modulePath) {
    ComPtr<ITypeLib> library;
    std::wstring loadedFrom;
    RETURN_IF_FAILED(LoadServerTypeLibrary(modulePath, &library, loadedFrom));
    TLIBATTR* attributes = nullptr;
    RETURN_IF_FAILED(library->GetLibAttr(&attributes));
    const TLIBATTR copy = *attributes;
    library->ReleaseTLibAttr(attributes);
    return UnRegisterTypeLib(copy.guid, copy.wMajorVerNum, copy.wMinorVerNum, copy.lcid,
                             copy.syskind);
}

} // namespace tamsel
