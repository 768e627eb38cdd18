#include "action_commands.h"

#include "com/com_owners.h"
#include "core/components.h"
#include "core/shared_index.h"
#include "idl/desktop_search.h"
#include "index/records.h"
#include "output.h"
#include "query/result_item.h"
#include "support/registry_key.h"
#include "support/utf.h"

#include <wrl/client.h>

#include <optional>
#include <vector>

namespace zsearch {
namespace {

using engine_com::UniqueBstr;
using engine_support::ToUtf8;
using Microsoft::WRL::ComPtr;

struct Action {
    std::wstring id, handlerClass;
};

struct ComSession {
    ComSession() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    ~ComSession() { CoUninitialize(); }
};

std::optional<engine_index::Document> FindDocument(const std::wstring& url) {
    const std::string wanted = ToUtf8(url);
    for (auto& document :
         engine_index::LiveDocuments(engine_core::CurrentIndexLog().ReadWholeLines()))
        if (document.url == wanted)
            return std::move(document);
    PrintError("no document at " + wanted + "\n");
    return std::nullopt;
}

// The actions the document's component registered with the second engine, in the order of
// the registry.
std::vector<Action> RegisteredActions(const engine_index::Document& document) {
    const std::wstring key =
        engine_core::ComponentKey(engine_core::kOrvennaComponents,
                                  engine_support::FromUtf8(document.component)) +
        L"\\Actions";
    const auto actions = engine_support::RegistryKey::Open(HKEY_CURRENT_USER, key, KEY_READ);
    std::vector<Action> found;
    for (DWORD index = 0; actions; ++index) {
        wchar_t name[64], data[64];
        DWORD nameSize = 64, dataSize = sizeof data, type = 0;
        if (RegEnumValueW(actions.get(), index, name, &nameSize, nullptr, &type,
                          reinterpret_cast<BYTE*>(data), &dataSize) != ERROR_SUCCESS)
            break;
        if (type == REG_SZ)
            found.push_back({name, std::wstring(data, wcsnlen(data, dataSize / sizeof(wchar_t)))});
    }
    return found;
}

struct Answer {
    HRESULT result = E_FAIL;
    LONG state = 0;
    std::wstring caption, command;
};

// What the action's handler answers for the document, as the engine's result page asks.
Answer Ask(const engine_index::Document& document, const Action& action,
           ComPtr<IOrvennaActionHandler>& handler) {
    Answer answer;
    CLSID handlerClass{}, actionId{};
    if (FAILED(CLSIDFromString(action.handlerClass.c_str(), &handlerClass)) ||
        FAILED(CLSIDFromString(action.id.c_str(), &actionId)))
        return answer;
    answer.result =
        CoCreateInstance(handlerClass, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&handler));
    if (FAILED(answer.result))
        return answer;
    ComPtr<IDispatch> item(new engine_query::ResultItem(document));
    const UniqueBstr schema(engine_support::FromUtf8(document.schema));
    UniqueBstr caption, command;
    answer.result = handler->QueryAction(schema.get(), actionId, item.Get(), caption.put(),
                                         command.put(), &answer.state);
    answer.caption = engine_com::BstrView(caption.get());
    answer.command = engine_com::BstrView(command.get());
    return answer;
}

std::string Hex(HRESULT result) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(result));
    return text;
}

} // namespace

int Actions(const std::wstring& url) {
    const ComSession com;
    const auto document = FindDocument(url);
    if (!document)
        return 1;
    const std::vector<Action> actions = RegisteredActions(*document);
    std::string out;
    int number = 0;
    for (const Action& action : actions) {
        ComPtr<IOrvennaActionHandler> handler;
        const Answer answer = Ask(*document, action, handler);
        out += std::to_string(++number) + ". " + ToUtf8(action.id) + "  ";
        if (FAILED(answer.result))
            out += "error " + Hex(answer.result) + "\n";
        else
            out += "state " + std::to_string(answer.state) + "  " + ToUtf8(answer.caption) + "  " +
                   ToUtf8(answer.command) + "\n";
    }
    out += std::to_string(actions.size()) + " actions\n";
    Print(out);
    return 0;
}

int Act(const std::wstring& url, const std::wstring& wanted) {
    const ComSession com;
    const auto document = FindDocument(url);
    if (!document)
        return 1;
    const std::vector<Action> actions = RegisteredActions(*document);
    for (size_t n = 0; n < actions.size(); ++n) {
        if (_wcsicmp(actions[n].id.c_str(), wanted.c_str()) != 0 &&
            std::to_wstring(n + 1) != wanted)
            continue;
        ComPtr<IOrvennaActionHandler> handler;
        const Answer answer = Ask(*document, actions[n], handler);
        if (FAILED(answer.result) || answer.state != 2) {
            PrintError("the action does not apply: " + Hex(answer.result) + " state " +
                       std::to_string(answer.state) + "\n");
            return 1;
        }
        CLSID actionId{};
        CLSIDFromString(actions[n].id.c_str(), &actionId);
        const UniqueBstr schema(engine_support::FromUtf8(document->schema));
        const UniqueBstr command(answer.command);
        const HRESULT result =
            handler->ExecuteAction(schema.get(), actionId, nullptr, command.get());
        Print(ToUtf8(answer.caption) + ": " + ToUtf8(answer.command) + " -> " + Hex(result) + "\n");
        return SUCCEEDED(result) ? 0 : 1;
    }
    PrintError("no action " + ToUtf8(wanted) + " for " + document->url + "\n");
    return 1;
}

} // namespace zsearch
