// engine_bench: how fast the primary engine takes events and how fast zsearch answers.
// Uses an index folder of its own and puts the engine's settings back afterwards.
// "--events N" times one round of N events and skips the queries (for profiling).
#include "com/com_owners.h"
#include "com_thread.h"
#include "core/components.h"
#include "idl/desktop_search.h"
#include "index/document.h"
#include "index/index_folder.h"
#include "index/index_log.h"
#include "index/records.h"
#include "index/search.h"
#include "program_start.h"
#include "support/registry_key.h"
#include "unique_resource.h"

#include <windows.h>
#include <wrl/client.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using engine_com::UniqueBstr;
using engine_support::RegistryKey;
using Microsoft::WRL::ComPtr;

constexpr wchar_t kComponent[] = L"{3A71C2E4-5B0D-4F86-9E12-7D4C60A8B1F3}";
constexpr int kEventsPerRound = 20000;
constexpr int kRounds = 5;
constexpr int kCorpus = 100000;

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// About 1 KB of words, different for each document.
std::wstring Body(int n) {
    static const wchar_t* words[] = {L"budget",    L"meeting",   L"invoice", L"travel",
                                     L"report",    L"schedule",  L"project", L"review",
                                     L"caf\u00e9", L"\u00fcbung"};
    std::wstring text;
    for (int i = 0; text.size() < 1000; ++i)
        text += std::wstring(words[(n * 7 + i * 3) % 10]) + L" ";
    return text + L"doc" + std::to_wstring(n);
}

HRESULT AddText(IZendriEvent* event, const wchar_t* name, const std::wstring& text) {
    const UniqueBstr key(name), content(text);
    VARIANT value;
    value.vt = VT_BSTR;
    value.bstrVal = content.get(); // the event keeps a copy
    return event->AddProperty(key.get(), value);
}

HRESULT SendOne(IZendriEventFactory* factory, int n, const std::wstring& body) {
    UniqueBstr id(kComponent), schema(L"ZendriDS.Mail");
    ComPtr<IDispatch> created;
    ComPtr<IZendriEvent> event;
    if (HRESULT hr = factory->CreateEvent(id.get(), schema.get(), &created); FAILED(hr))
        return hr;
    if (HRESULT hr = created.As(&event); FAILED(hr))
        return hr;
    VARIANT time;
    time.vt = VT_I4;
    time.lVal = 1147867200 + n;
    UniqueBstr timeName(L"time");
    for (HRESULT hr : {AddText(event.Get(), L"content", body),
                       AddText(event.Get(), L"url", L"Tamsel:///BENCH//" + std::to_wstring(n)),
                       AddText(event.Get(), L"content_format", L"text/plain"),
                       event->AddProperty(timeName.get(), time),
                       AddText(event.Get(), L"subject", L"Subject " + std::to_wstring(n)),
                       AddText(event.Get(), L"from", L"Ann Lee"),
                       AddText(event.Get(), L"folder_name", L"Inbox")})
        if (FAILED(hr))
            return hr;
    return event->Send();
}

ComPtr<IZendriEventFactory> LoadFactory(HMODULE dll) {
    using GetClassObject = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
    auto get = dll ? reinterpret_cast<GetClassObject>(
                         reinterpret_cast<void*>(GetProcAddress(dll, "DllGetClassObject")))
                   : nullptr;
    ComPtr<IClassFactory> classFactory;
    ComPtr<IZendriEventFactory> factory;
    if (get && SUCCEEDED(get(__uuidof(ZendriEventFactory), IID_PPV_ARGS(&classFactory))))
        classFactory->CreateInstance(nullptr, IID_PPV_ARGS(&factory));
    return factory;
}

// Seconds for a whole run of zsearch, its output discarded; negative when it does not start.
double TimeZsearch(const std::wstring& arguments) {
    testing_support::StartOptions options;
    options.output = testing_support::StartOptions::Output::Discarded;
    const auto start = Clock::now();
    const auto zsearch = testing_support::StartProgram(L"zsearch.exe " + arguments, options);
    if (!zsearch)
        return -1;
    zsearch.Wait();
    return Seconds(start);
}

class SettingsGuard {
  public:
    explicit SettingsGuard(const std::wstring& folder)
        : key_(RegistryKey::Create(HKEY_CURRENT_USER, engine_index::kEngineKey)),
          saved_(key_.GetString(engine_index::kIndexFolderValue)) {
        key_.SetString(engine_index::kIndexFolderValue, folder);
        RegistryKey::Create(HKEY_CURRENT_USER,
                            engine_core::ComponentKey(engine_core::kZendriComponents, kComponent));
    }
    ~SettingsGuard() {
        if (saved_)
            key_.SetString(engine_index::kIndexFolderValue, *saved_);
        else
            key_.DeleteValue(engine_index::kIndexFolderValue);
    }

  private:
    RegistryKey key_;
    std::optional<std::wstring> saved_;
};

// A fresh index for the run, removed afterwards.
class IndexFiles {
  public:
    explicit IndexFiles(const std::wstring& folder) : folder_(folder) {
        engine_index::IndexLog(folder).Truncate();
    }
    ~IndexFiles() {
        DeleteFileW(engine_index::IndexLog(folder_).path().c_str());
        RemoveDirectoryW(folder_.c_str());
    }

  private:
    std::wstring folder_;
};

} // namespace

int wmain(int argc, wchar_t** argv) {
    int eventsPerRound = kEventsPerRound;
    int rounds = kRounds;
    const bool profiling = argc == 3 && std::wstring(argv[1]) == L"--events";
    if (profiling) {
        eventsPerRound = _wtoi(argv[2]);
        rounds = 1;
    }
    if ((argc != 1 && !profiling) || eventsPerRound <= 0) {
        std::fprintf(stderr, "usage: engine_bench.exe [--events N]\n");
        return 2;
    }
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder =
        std::wstring(temp) + L"engine-bench-" + std::to_wstring(GetCurrentProcessId());
    SettingsGuard settings(folder);
    IndexFiles files(folder);
    // Unloaded before the index files go: the engine keeps the index open until then.
    const win32::UniqueLibrary dll(LoadLibraryW(L"ZendriDS.dll"));
    // COM ends after the factory goes and before the engine is unloaded.
    const win32::ComForThisThread com(COINIT_MULTITHREADED);
    auto factory = LoadFactory(dll.get());
    if (!factory) {
        std::fprintf(stderr, "ZendriDS.dll not found beside the benchmark\n");
        return 1;
    }

    std::vector<double> rates;
    for (int round = 0; round < rounds; ++round) {
        // The component has its texts ready; only the engine's work is timed.
        std::vector<std::wstring> bodies;
        for (int i = 0; i < eventsPerRound; ++i)
            bodies.push_back(Body(round * eventsPerRound + i));
        const auto start = Clock::now();
        for (int i = 0; i < eventsPerRound; ++i)
            if (FAILED(SendOne(factory.Get(), round * eventsPerRound + i, bodies[i]))) {
                std::fprintf(stderr, "send failed\n");
                return 1;
            }
        rates.push_back(eventsPerRound / Seconds(start));
        std::printf("round %d: %.0f events/s\n", round + 1, rates.back());
        std::fflush(stdout);
    }
    const auto [slowest, fastest] = std::minmax_element(rates.begin(), rates.end());
    std::printf("EVENTS: median %.0f events/s, %.1f us per event (~1 KB events, CreateEvent + 7 "
                "AddProperty + Send; %d rounds of %d, slowest %.0f, fastest %.0f)\n",
                Median(rates), 1e6 / Median(rates), rounds, eventsPerRound, *slowest, *fastest);
    if (profiling)
        return 0;

    // The rounds above left kRounds * kEventsPerRound documents: exactly the corpus.
    static_assert(kRounds * kEventsPerRound == kCorpus);
    const auto readStart = Clock::now();
    const engine_index::LogView view = engine_index::IndexLog(folder).ReadWholeLines();
    const std::string_view log = view.text();
    const double readMs = Seconds(readStart) * 1000;
    const auto replayStart = Clock::now();
    const size_t live = engine_index::LiveAddRecords(log).lines.size();
    std::printf("documents in the index: %zu; %.0f MB mapped in %.0f ms, replayed in %.0f ms\n",
                live, log.size() / 1e6, readMs, Seconds(replayStart) * 1000);

    for (const wchar_t* words : {L"doc4711", L"BUDGET caf\u00e9 doc99999", L"nomatchatall"}) {
        std::vector<double> inProcess, tool;
        size_t found = 0;
        for (int i = 0; i < 5; ++i) {
            const auto start = Clock::now();
            found = engine_index::Search(engine_index::Candidates(log, words), words).size();
            inProcess.push_back(Seconds(start) * 1000);
            tool.push_back(TimeZsearch(std::wstring(L"query ") + words) * 1000);
        }
        std::printf("query \"%ls\": %zu found; read index once, search median %.0f ms; "
                    "zsearch.exe whole run median %.0f ms\n",
                    words, found, Median(inProcess), Median(tool));
    }
    return 0;
}
