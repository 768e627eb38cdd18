#include "registry_script.h"

#include "base/hresult_error.h"
#include "unique_resource.h"

#include <cwctype>

namespace tamsel {
namespace {

struct Token {
    enum Kind { open, close, equals, word, quoted, end, bad } kind;
    std::wstring text;
};

class Tokens {
  public:
    explicit Tokens(std::wstring_view text) : text_(text) {}

    Token Next() {
        while (pos_ < text_.size() && std::iswspace(text_[pos_]))
            ++pos_;
        if (pos_ == text_.size())
            return {Token::end, {}};
        const wchar_t c = text_[pos_];
        if (c == L'{' || c == L'}' || c == L'=') {
            ++pos_;
            return {c == L'{' ? Token::open : c == L'}' ? Token::close : Token::equals, {}};
        }
        return c == L'\'' ? Quoted() : Word();
    }
    Token Peek() {
        const size_t at = pos_;
        Token token = Next();
        pos_ = at;
        return token;
    }

  private:
    // '...' with '' standing for one quote.
    Token Quoted() {
        std::wstring text;
        for (++pos_; pos_ < text_.size(); ++pos_) {
            if (text_[pos_] != L'\'') {
                text += text_[pos_];
            } else if (pos_ + 1 < text_.size() && text_[pos_ + 1] == L'\'') {
                text += L'\'';
                ++pos_;
            } else {
                ++pos_;
                return {Token::quoted, text};
            }
        }
        return {Token::bad, {}};
    }
    Token Word() {
        const size_t start = pos_;
        while (pos_ < text_.size() &&
               (std::iswalnum(text_[pos_]) ||
                std::wstring_view(L"._-%").find(text_[pos_]) != std::wstring_view::npos))
            ++pos_;
        if (pos_ == start)
            return {Token::bad, {}};
        return {Token::word, std::wstring(text_.substr(start, pos_ - start))};
    }

    std::wstring_view text_;
    size_t pos_ = 0;
};

bool IsWord(const Token& token, const wchar_t* word) {
    return token.kind == Token::word && _wcsicmp(token.text.c_str(), word) == 0;
}

bool IsName(const Token& token) {
    return token.kind == Token::word || token.kind == Token::quoted;
}

// "= s 'text'", after the name it belongs to.
bool ParseStringValue(Tokens& tokens, std::wstring& value) {
    if (tokens.Next().kind != Token::equals || !IsWord(tokens.Next(), L"s"))
        return false;
    const Token text = tokens.Next();
    value = text.text;
    return IsName(text);
}

bool ParseKey(Tokens& tokens, Token token, ScriptKey& key) {
    for (;; token = tokens.Next()) {
        if (IsWord(token, L"ForceRemove"))
            key.forceRemove = true;
        else if (IsWord(token, L"NoRemove"))
            key.noRemove = true;
        else
            break;
    }
    if (!IsName(token))
        return false;
    key.name = token.text;
    if (tokens.Peek().kind == Token::equals &&
        !ParseStringValue(tokens, key.defaultValue.emplace()))
        return false;
    if (tokens.Peek().kind != Token::open)
        return true;
    tokens.Next();
    for (Token next = tokens.Next(); next.kind != Token::close; next = tokens.Next()) {
        if (IsWord(next, L"val")) {
            const Token name = tokens.Next();
            std::wstring value;
            if (!IsName(name) || !ParseStringValue(tokens, value))
                return false;
            key.values.emplace_back(name.text, value);
        } else if (!ParseKey(tokens, next, key.subkeys.emplace_back())) {
            return false;
        }
    }
    return true;
}

std::optional<HKEY> RootKey(const Token& token) {
    if (IsWord(token, L"HKCR") || IsWord(token, L"HKEY_CLASSES_ROOT"))
        return HKEY_CLASSES_ROOT;
    if (IsWord(token, L"HKCU") || IsWord(token, L"HKEY_CURRENT_USER"))
        return HKEY_CURRENT_USER;
    if (IsWord(token, L"HKLM") || IsWord(token, L"HKEY_LOCAL_MACHINE"))
        return HKEY_LOCAL_MACHINE;
    return std::nullopt;
}

HRESULT SetString(HKEY key, const wchar_t* name, const std::wstring& value) {
    const LONG result =
        RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       DWORD((value.size() + 1) * sizeof(wchar_t)));
    return HRESULT_FROM_WIN32(result);
}

HRESULT RegisterKey(HKEY parent, const ScriptKey& key) {
    if (key.forceRemove)
        RegDeleteTreeW(parent, key.name.c_str());
    win32::UniqueKey created;
    const LONG result = RegCreateKeyExW(parent, key.name.c_str(), 0, nullptr, 0,
                                        KEY_READ | KEY_WRITE, nullptr, created.put(), nullptr);
    if (result != ERROR_SUCCESS)
        return HRESULT_FROM_WIN32(result);
    if (key.defaultValue)
        RETURN_IF_FAILED(SetString(created.get(), nullptr, *key.defaultValue));
    for (const auto& [name, value] : key.values)
        RETURN_IF_FAILED(SetString(created.get(), name.c_str(), value));
    for (const ScriptKey& subkey : key.subkeys)
        RETURN_IF_FAILED(RegisterKey(created.get(), subkey));
    return S_OK;
}

// A key that is not there any more counts as removed.
HRESULT UnregisterKey(HKEY parent, const ScriptKey& key) {
    if (!key.noRemove) {
        const LONG result = RegDeleteTreeW(parent, key.name.c_str());
        return result == ERROR_FILE_NOT_FOUND ? S_OK : HRESULT_FROM_WIN32(result);
    }
    win32::UniqueKey opened;
    const LONG result =
        RegOpenKeyExW(parent, key.name.c_str(), 0, KEY_READ | KEY_WRITE, opened.put());
    if (result == ERROR_FILE_NOT_FOUND)
        return S_OK;
    if (result != ERROR_SUCCESS)
        return HRESULT_FROM_WIN32(result);
    HRESULT outcome = S_OK;
    for (const ScriptKey& subkey : key.subkeys)
        if (const HRESULT hr = UnregisterKey(opened.get(), subkey); FAILED(hr))
            outcome = hr;
    return outcome;
}

// Replacement texts land inside quotes.
std::wstring Quoted(std::wstring text) {
    for (size_t at = text.find(L'\''); at != std::wstring::npos; at = text.find(L'\'', at + 2))
        text.insert(at, 1, L'\'');
    return text;
}

} // namespace

std::optional<std::vector<ScriptRoot>> ParseRegistryScript(std::wstring text,
                                                           const Replacements& replacements) {
    for (const auto& [name, value] : replacements) {
        const std::wstring marker = L"%" + name + L"%", replacement = Quoted(value);
        for (size_t at = text.find(marker); at != std::wstring::npos;
             at = text.find(marker, at + replacement.size()))
            text.replace(at, marker.size(), replacement);
    }
    Tokens tokens(text);
    std::vector<ScriptRoot> script;
    for (Token token = tokens.Next(); token.kind != Token::end; token = tokens.Next()) {
        const std::optional<HKEY> root = RootKey(token);
        if (!root || tokens.Next().kind != Token::open)
            return std::nullopt;
        ScriptRoot& added = script.emplace_back(ScriptRoot{*root, {}});
        for (Token next = tokens.Next(); next.kind != Token::close; next = tokens.Next())
            if (next.kind == Token::end || !ParseKey(tokens, next, added.keys.emplace_back()))
                return std::nullopt;
    }
    return script;
}

HRESULT RegisterScript(const std::vector<ScriptRoot>& script) {
    for (const ScriptRoot& root : script)
        for (const ScriptKey& key : root.keys)
            RETURN_IF_FAILED(RegisterKey(root.root, key));
    return S_OK;
}

HRESULT UnregisterScript(const std::vector<ScriptRoot>& script) {
    HRESULT outcome = S_OK;
    for (const ScriptRoot& root : script)
        for (const ScriptKey& key : root.keys)
            if (const HRESULT hr = UnregisterKey(root.root, key); FAILED(hr))
                outcome = hr;
    return outcome;
}

HRESULT RunScriptResource(HMODULE module, WORD id, const Replacements& replacements,
                          bool registering) {
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), L"REGISTRY");
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const char* data = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    if (!data)
        return HRESULT_FROM_WIN32(ERROR_RESOURCE_DATA_NOT_FOUND);
    const int bytes = int(SizeofResource(module, found));
    std::wstring text(MultiByteToWideChar(CP_UTF8, 0, data, bytes, nullptr, 0), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, data, bytes, text.data(), int(text.size()));
    const auto script = ParseRegistryScript(std::move(text), replacements);
    if (!script)
        return E_UNEXPECTED;
    return registering ? RegisterScript(*script) : UnregisterScript(*script);
}

} // namespace tamsel
