#include "client_state.h"
#include "log_format.h"
#include "ntamsel.h"
#include "text_convert.h"

#include "string_table.h"
#include "unique_resource.h"

#include <cstdio>
#include <mutex>

using namespace ntamsel;

namespace {

std::mutex logLock;

// The message in the language of the calling thread's locale, else in English.
std::optional<std::string> LoadMessage(HMODULE module, WORD messageId) {
    const LANGID primary = PRIMARYLANGID(LANGIDFROMLCID(GetThreadLocale()));
    for (LANGID language : {LANGID(MAKELANGID(primary, SUBLANG_DEFAULT)), LANGID(0x0409)}) {
        const std::wstring_view text = tamsel::FindStringTableEntry(module, messageId, language);
        if (!text.empty())
            return WideToUtf8(text);
    }
    return std::nullopt;
}

std::string Timestamp() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u.%03u ", now.wYear, now.wMonth,
                  now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds);
    return text;
}

void AppendToLog(const std::string& line) {
    std::lock_guard guard(logLock);
    const std::wstring path = DataFilePath(L"tamsel.log");
    if (!path.empty()) {
        const win32::UniqueFile file(CreateFileW(path.c_str(), FILE_APPEND_DATA,
                                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                 OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        NoteWrite(path,
                  file &&
                      WriteFile(file.get(), line.data(), DWORD(line.size()), &written, nullptr) &&
                      written == line.size());
    }
    if (EchoLogToStdout()) {
        std::fwrite(line.data(), 1, line.size(), stdout);
        std::fflush(stdout);
    }
}

} // namespace

extern "C" void __cdecl StoreLogMessage(WORD messageId, HMODULE module, STORESTATUS status, ...) {
    std::string text;
    if (const auto message = LoadMessage(module, messageId)) {
        va_list arguments;
        va_start(arguments, status);
        text = FormatLogText(*message, arguments).value_or(*message);
        va_end(arguments);
    } else {
        text = "Message " + std::to_string(messageId) + " not found";
    }
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    if (status != STORE_NOERROR)
        text += std::string(": ") + StatusText(status) + " (" + std::to_string(status) + ")";
    AppendToLog(Timestamp() + text + "\n");
}
