// A randomized run of the whole system: from a seed, a sequence of steps changes the client's
// databases (while the client runs and between its runs), its settings and its list of
// databases, switches the engines' faults, unregisters and resets them, and kills the client
// at random moments. At the end the engines are restored, one clean pass runs, and zsearch
// verify must find nothing missing, stale, ghost or duplicate, while a sample of the documents
// must hold the version of their note last written. A finding prints the seed, the shortest
// prefix of steps that still fails (found by replaying) and the command that replays it.
// TAMSEL_CHAOS_STEPS, _SEED, _KILLS, _PREFIX (run only that many steps), _SHRINK (0: no
// replays), _LOG (a file that receives every step as it is done) and _VOLUME (a small volume
// for the index folder, which steps fill up and free) set a run; scripts/chaos passes them.
#include "chaos_notes.h"
#include "database_run.h"
#include "file_text.h"
#include "item_values.h"
#include "journal_file.h"
#include "program_run.h"
#include "registered_plugin.h"
#include "unique_resource.h"
#include "volume_filler.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <optional>
#include <thread>

namespace {

using chaos::Kind;
using chaos::Store;
using nlohmann::json;

constexpr int storeCount = int(Store::count);
constexpr int listedCount = int(Store::history); // the history database is found, not listed
constexpr const char* userName = "Chaos User";

// A fault of the processor in this program ends it through std::terminate, which says nothing
// of it: said here first, with the module and offset where it happened.
LONG CALLBACK SayFault(EXCEPTION_POINTERS* pointers) {
    const DWORD code = pointers->ExceptionRecord->ExceptionCode;
    if (code == EXCEPTION_ACCESS_VIOLATION || code == EXCEPTION_INT_DIVIDE_BY_ZERO ||
        code == EXCEPTION_STACK_OVERFLOW || code == EXCEPTION_ILLEGAL_INSTRUCTION) {
        void* address = pointers->ExceptionRecord->ExceptionAddress;
        HMODULE module = nullptr;
        char name[MAX_PATH] = "?";
        if (GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                   GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                               static_cast<const char*>(address), &module))
            GetModuleFileNameA(module, name, MAX_PATH);
        std::fprintf(
            stderr, "chaos: exception %08lX at %s+%llX (thread %lu)\n", (unsigned long)code, name,
            (unsigned long long)(static_cast<char*>(address) - reinterpret_cast<char*>(module)),
            (unsigned long)GetCurrentThreadId());
        std::fflush(stderr);
    }
    return EXCEPTION_CONTINUE_SEARCH;
}
const PVOID sayFault = AddVectoredExceptionHandler(1, SayFault);

void RemoveFiles(const std::string& folder) {
    WIN32_FIND_DATAA found;
    const win32::UniqueFind search(FindFirstFileA((folder + "\\*").c_str(), &found));
    if (!search)
        return;
    do
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            DeleteFileA((folder + "\\" + found.cFileName).c_str());
    while (FindNextFileA(search.get(), &found));
}
// Whether a text was appended to a file since the watch began; the file is read on from where
// the last look ended.
class AppendWatch {
  public:
    AppendWatch(std::string file, std::string text)
        : file_(std::move(file)), text_(std::move(text)) {
        WIN32_FILE_ATTRIBUTE_DATA attributes;
        if (GetFileAttributesExA(file_.c_str(), GetFileExInfoStandard, &attributes))
            offset_ = (LONGLONG(attributes.nFileSizeHigh) << 32) | attributes.nFileSizeLow;
    }
    bool Seen() {
        if (seen_)
            return true;
        const win32::UniqueFile file(CreateFileA(
            file_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
            nullptr, OPEN_EXISTING, 0, nullptr));
        LARGE_INTEGER at;
        at.QuadPart = offset_;
        if (!file || !SetFilePointerEx(file.get(), at, nullptr, FILE_BEGIN))
            return false;
        char chunk[16384];
        DWORD got = 0;
        while (ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr) && got > 0) {
            offset_ += got;
            // The text may straddle two reads.
            tail_.append(chunk, got);
            if ((seen_ = tail_.find(text_) != std::string::npos))
                return true;
            tail_.erase(0, tail_.size() - std::min(tail_.size(), text_.size()));
        }
        return false;
    }

  private:
    std::string file_, text_, tail_;
    LONGLONG offset_ = 0;
    bool seen_ = false;
};

// Where a kill lands: most at a time after a pass starts, the others after the client's start
// (while it starts, with the dialog open, between passes).
struct KillPlan {
    DWORD afterMs;
    bool fromPassStart;
};

// The debug line that a pass over a database starts with.
constexpr const char* passStartMark = "Starting file index";

// Most steps change notes; per thousand steps, these change the setup or the engines.
constexpr size_t setupPermille = 25;

struct ChaosSettings {
    size_t steps;
    unsigned seed;
    int kills;
    size_t prefix; // 0: all
    bool shrink;
    std::string log;
    std::string volume; // a small volume for the index folder, which steps fill up
};

ChaosSettings FromEnvironment() {
    const char* log = std::getenv("TAMSEL_CHAOS_LOG");
    const char* volume = std::getenv("TAMSEL_CHAOS_VOLUME");
    return {size_t(EnvironmentNumber("TAMSEL_CHAOS_STEPS", 300)),
            unsigned(EnvironmentNumber("TAMSEL_CHAOS_SEED", 1)),
            EnvironmentNumber("TAMSEL_CHAOS_KILLS", 5),
            size_t(EnvironmentNumber("TAMSEL_CHAOS_PREFIX", 0)),
            EnvironmentNumber("TAMSEL_CHAOS_SHRINK", 1) != 0,
            log ? log : "",
            volume ? volume : ""};
}

struct NoteModel {
    uint32_t id = 0;
    Kind kind = Kind::mail;
    std::string url, marker;
    int version = 0;
    bool live = true;
};

struct StoreModel {
    std::unique_ptr<store::Database> database;
    std::vector<NoteModel> notes;
};

struct Figures {
    size_t steps = 0, puts = 0, changes = 0, removals = 0, runs = 0;
    int kills = 0, midPass = 0, beforeSending = 0, afterPass = 0;
    // Where a run's time goes: note steps, setup steps, the client's runs (with the changes
    // beside them), the judge.
    double noteSeconds = 0, setupSeconds = 0, runSeconds = 0, judgeSeconds = 0;
};

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Settings the runs switch, each with the values it takes ("" removes the variable).
struct Switchable {
    const char* name;
    std::vector<const char*> values;
};
const Switchable switchable[] = {
    {"DesktopSearchIndexDrafts", {"", "1"}},
    {"DesktopSearchNoIndexChats", {"", "1"}},
    {"DesktopSearchIndexDiscussion", {"", "1"}},
    {"DesktopSearchIndexEncrypted", {"", "1"}},
    {"DesktopSearchDataFields", {"", "Body", "Subject,Body", "Nothing,Body", "Location"}},
    {"DesktopSearchFreqMinutes", {"", "1", "99", "0", "-5", "abc"}},
    {"DesktopSearchWaitTime", {"0", "5", "20", "70"}},
};

// Engine faults a run may meet; cleared again by a later step and before the end.
struct Fault {
    const wchar_t* name;
    DWORD value;
};
const Fault faults[] = {
    {L"ServiceStopped", 1},        {L"ComponentDisabled", 1},     {L"IndexingPaused", 1},
    {L"FailSendCode", 0x80040009}, {L"FailSendCode", 0x8004000C}, {L"FailSendCode", 0x80040012},
    {L"FailSendCode", 0x80004005},
};

class ChaosRun : public DatabaseRun {
  protected:
    void SetUp() override {
        settings_ = FromEnvironment();
        if (settings_.volume.empty())
            return;
        // Never the machine's own disk: filling that would take everything else down with it.
        ULARGE_INTEGER total = {};
        if (GetDiskFreeSpaceExA(settings_.volume.c_str(), nullptr, &total, nullptr) &&
            total.QuadPart <= (1ull << 30))
            filler_.emplace(settings_.volume);
        else
            std::printf("chaos: %s is no small volume: the index folder does not fill up\n",
                        settings_.volume.c_str());
    }
    // The client's log of a long run is long: its last lines only.
    void TearDown() override {
        if (HasFailure())
            std::printf("the end of the client's log:\n%s", ClientLogEnd(60).c_str());
    }

    std::string ClientLogEnd(int lines) const {
        const std::string log = testing_support::ReadFileText(data.file("tamsel.log"));
        size_t from = log.size();
        for (int line = 0; line < lines && from > 0; ++line)
            from = log.rfind('\n', from - 1);
        return log.substr(from == std::string::npos ? 0 : from);
    }

    // Everything as at the start of a run: no databases, no settings, an empty index.
    void StartAfresh() {
        plugin_.reset();
        for (StoreModel& model : models_)
            model = {};
        engines.ClearSwitches();
        if (filler_) {
            EXPECT_TRUE(filler_->Unfill());
        }
        engines.MoveIndexTo(NewIndexFolder());
        RemoveFiles(data.path());
        for (int s = 0; s < storeCount; ++s)
            CreateDatabase(chaos::FileOf(Store(s)),
                           std::string("Chaos ") + chaos::FileOf(Store(s)));
        for (const auto& form : chaos::DiscussionForms())
            PutNote(chaos::FileOf(Store::discussion), form, 0, store::NoteClass::Form);
        for (int s = 0; s < storeCount; ++s) {
            models_[s].database = OpenDatabase(chaos::FileOf(Store(s)));
            away_[s] = false;
        }
        // Debug lines tell where a kill landed.
        std::string lines = "DesktopSearchIndexEnabled=1\r\nDesktopSearchInstallInstructions=1\r\n"
                            "DesktopSearchDebug=1\r\nDesktopSearchWaitTime=20\r\nUserName=" +
                            std::string(userName) + "\r\n";
        for (int s = 0; s < listedCount; ++s)
            lines += SlotVariable(s) + "=" + chaos::FileOf(Store(s)) + "\r\n";
        WriteClientSettings(data, lines);
        plugin_.emplace(data);
        enginesInstalled_ = true;
        reindexOwed_ = false;
        figures_ = {};
        killAt_.clear();
        linesSoFar_.clear();
    }

    // On the small volume the last run's index makes room for this one's.
    std::string NewIndexFolder() {
        const std::string name = "index" + std::to_string(++indexCount_);
        if (!filler_) {
            const std::string folder = indexes_.file(name);
            CreateDirectoryA(folder.c_str(), nullptr);
            return folder;
        }
        const std::string prefix =
            settings_.volume + "\\chaos" + std::to_string(GetCurrentProcessId()) + "-";
        const std::string last = prefix + "index" + std::to_string(indexCount_ - 1);
        RemoveFiles(last);
        RemoveDirectoryA(last.c_str());
        const std::string folder = prefix + name;
        CreateDirectoryA(folder.c_str(), nullptr);
        return folder;
    }

    static std::string SlotVariable(int slot) {
        return slot == 0 ? "DesktopSearchFilePath" : "DesktopSearchFilePath" + std::to_string(slot);
    }

    // One variable of the settings file, the others as they are.
    void SetVariable(const std::string& name, const std::string& value) {
        const std::string file = data.file("tamsel.ini");
        std::string text = testing_support::ReadFileText(file), out;
        bool written = false;
        size_t start = 0;
        while (start < text.size()) {
            const size_t end = std::min(text.find("\r\n", start), text.size());
            const std::string line = text.substr(start, end - start);
            start = end + 2;
            if (line.rfind(name + "=", 0) == 0) {
                if (!written && !value.empty())
                    out += name + "=" + value + "\r\n";
                written = true;
                continue;
            }
            out += line + "\r\n";
        }
        if (!written && !value.empty())
            out += name + "=" + value + "\r\n";
        testing_support::WriteFileText(file, out);
    }

    // Which databases the list holds now (a run's dialog may have changed it, or not).
    std::vector<bool> ListedStores() const {
        const std::string text = testing_support::ReadFileText(data.file("tamsel.ini"));
        std::vector<bool> listed(listedCount);
        for (int s = 0; s < listedCount; ++s)
            listed[s] = Has(text, std::string("=") + chaos::FileOf(Store(s))) ||
                        Has(text, "\\" + std::string(chaos::FileOf(Store(s))));
        return listed;
    }

    std::string Marker(int s, size_t note, int version) const {
        return "zq" + std::to_string(s) + "n" + std::to_string(note) + "v" +
               std::to_string(version);
    }

    std::vector<std::string> SomeUrls(std::mt19937& random) const {
        std::vector<std::string> urls;
        for (int n = 0; n < 4; ++n) {
            const StoreModel& model = models_[random() % storeCount];
            if (!model.notes.empty())
                urls.push_back(model.notes[random() % model.notes.size()].url);
        }
        return urls;
    }

    // A new note, or a new version of note `index` (with a kind of its database drawn anew).
    std::string Write(std::mt19937& random, int s, std::optional<size_t> index) {
        StoreModel& model = models_[s];
        const std::vector<Kind> kinds = chaos::KindsOf(Store(s));
        const Kind kind = kinds[random() % kinds.size()];
        const size_t number = index ? *index : model.notes.size();
        NoteModel note = index ? model.notes[*index] : NoteModel{};
        note.kind = kind;
        note.marker = Marker(s, number, ++note.version);
        auto content = chaos::DrawNote(random, kind, note.marker, SomeUrls(random),
                                       model.database->info().replicaId);
        store::Note written;
        written.id = note.id;
        if (note.id) {
            store::Note old;
            EXPECT_EQ(model.database->readNote(note.id, old), store::kOk);
            written.originator = old.originator;
        }
        written.items = std::move(content.items);
        EXPECT_EQ(model.database->putNote(written), store::kOk);
        note.id = written.id;
        char url[80];
        std::snprintf(url, sizeof url, "Tamsel:///%016llX//%016llX%016llX",
                      (unsigned long long)model.database->info().replicaId,
                      (unsigned long long)written.originator.fileHalf,
                      (unsigned long long)written.originator.noteHalf);
        note.url = url;
        if (index)
            model.notes[*index] = note;
        else
            model.notes.push_back(note);
        return std::string(index ? "change " : "add ") + chaos::NameOf(kind) + " " + note.marker +
               " in " + chaos::FileOf(Store(s));
    }

    std::optional<size_t> RandomLive(std::mt19937& random, int s) const {
        const auto& notes = models_[s].notes;
        for (int attempt = 0; attempt < 8 && !notes.empty(); ++attempt)
            if (const size_t n = random() % notes.size(); notes[n].live)
                return n;
        return std::nullopt;
    }

    // A step that changes notes; nothing when there was nothing to change.
    std::string NoteStep(std::mt19937& random) {
        const int s = int(random() % storeCount);
        const int what = int(random() % 100);
        if (away_[s])
            return "";
        if (what >= 95) {
            // Read or unread for the client's user: only the mail's flags change.
            const auto index = RandomLive(random, s);
            if (!index)
                return "";
            const bool unread = what % 2 == 0;
            EXPECT_EQ(
                models_[s].database->markUnread(userName, {models_[s].notes[*index].id}, unread),
                store::kOk);
            return std::string(unread ? "unread " : "read ") + models_[s].notes[*index].marker;
        }
        if (what < 50 || models_[s].notes.empty()) {
            ++figures_.puts;
            return Write(random, s, std::nullopt);
        }
        const auto index = RandomLive(random, s);
        if (!index)
            return "";
        if (what < 85) {
            ++figures_.changes;
            return Write(random, s, index);
        }
        NoteModel& note = models_[s].notes[*index];
        EXPECT_EQ(models_[s].database->deleteNote(note.id), store::kOk);
        note.live = false;
        ++figures_.removals;
        return "delete " + note.marker + " in " + chaos::FileOf(Store(s));
    }

    // The dialog's action that asks for a rebuild; a run that did it owes none.
    static constexpr const char* rebuildAction = "check IDC_REINDEX_ALL";

    // What the next run's dialog does: a rebuild still owed, a database taken off the list or
    // put back on it.
    std::string DialogScript(std::mt19937& random, std::string& said) {
        std::string script;
        if (random() % 8 == 0) {
            const std::vector<bool> listed = ListedStores();
            const int s = int(random() % listedCount);
            if (away_[s]) {
                // The open-file dialog would not find it.
            } else if (listed[s]) {
                int entry = 0;
                for (int other = 0; other < s; ++other)
                    entry += listed[other];
                script = "select IDC_DATABASES " + std::to_string(entry) + ", click IDC_REMOVE";
                said += ", the dialog takes " + std::string(chaos::FileOf(Store(s))) + " off";
            } else {
                script = "click IDC_ADD, file " + data.file(chaos::FileOf(Store(s)));
                said += ", the dialog puts " + std::string(chaos::FileOf(Store(s))) + " back";
            }
        }
        if (reindexOwed_) {
            script += std::string(script.empty() ? "" : ", ") + rebuildAction;
            said += ", the dialog rebuilds";
        }
        return script.empty() ? script : script + ", click IDC_OK";
    }

    // The client runs (and is killed as planned, unless no plan) while the next note steps (up
    // to `room` of them) are done beside it; their lines go to `beside`.
    std::string RunStep(std::mt19937& random, std::optional<KillPlan> kill, size_t room,
                        std::vector<std::string>& beside) {
        std::string said = !kill
                               ? "run the client"
                               : "kill the client " + std::to_string(kill->afterMs) + " ms after " +
                                     (kill->fromPassStart ? "a pass starts" : "its start");
        std::string script = DialogScript(random, said);
        if (kill && !kill->fromPassStart && script.empty() && random() % 4 == 0) {
            script = "pause 9000";
            said += ", with the dialog open";
        }
        const int seconds = kill ? 60 : int(3 + random() % 4);
        std::string arguments = "--seconds " + std::to_string(seconds) + " --menu 0";
        if (!script.empty())
            arguments += " --dialog \"" + script + "\"";
        const size_t changes = std::min<size_t>(random() % 6, room);
        std::mt19937 besideRandom(random());
        const uint64_t indexBefore = IndexBytes();
        // The changes come while the client starts and passes, as mail arrives. Joined on
        // every way out, so that a run that throws says why.
        std::jthread changing([&] {
            for (size_t n = 0; n < changes; ++n) {
                Sleep(besideRandom() % 1500);
                std::mt19937 noteRandom(besideRandom());
                const std::string note = NoteStep(noteRandom);
                beside.push_back("(beside the client) " +
                                 (note.empty() ? "nothing to change" : note));
            }
        });
        // A pass that does not start within ten seconds is not waited for.
        AppendWatch passStart(data.file("tamsel.log"), passStartMark);
        DWORD passStartedAt = 0;
        const auto killAtPass = [&] {
            if (!passStartedAt && passStart.Seen())
                passStartedAt = GetTickCount();
            return passStartedAt && GetTickCount() - passStartedAt >= kill->afterMs;
        };
        const ClientRun run = !kill ? RunClient(data, arguments)
                              : kill->fromPassStart
                                  ? RunClient(data, arguments, 10000 + kill->afterMs, killAtPass)
                                  : RunClient(data, arguments, kill->afterMs);
        changing.join();
        ++figures_.runs;
        // Passes this run started and ended (the client's log holds every run's lines).
        const size_t started = NewLines(run, passStartMark),
                     ended = NewLines(run, passSummaryMark) + NewLines(run, "No modified notes");
        if (kill) {
            ++figures_.kills;
            if (started > ended)
                ++figures_.midPass;
            else if (IndexBytes() == indexBefore)
                ++figures_.beforeSending;
            else
                ++figures_.afterPass;
        } else {
            EXPECT_EQ(run.exitCode, 0) << run.output;
            if (run.exitCode == 0 && Has(script, rebuildAction))
                reindexOwed_ = false;
        }
        return said;
    }

    // Lines holding the text that the client's log gained since the last look.
    size_t NewLines(const ClientRun& run, const std::string& text) {
        const size_t now =
            size_t(std::count_if(run.logLines.begin(), run.logLines.end(),
                                 [&](const std::string& line) { return Has(line, text); }));
        return now - std::exchange(linesSoFar_[text], now);
    }

    std::string SetupStep(std::mt19937& random) {
        switch (random() % 6) {
        case 0:
        case 1: {
            const Switchable& setting = switchable[random() % std::size(switchable)];
            const std::string value = setting.values[random() % setting.values.size()];
            SetVariable(setting.name, value);
            // What the settings change for documents already sent a rebuild makes true.
            reindexOwed_ = true;
            return std::string("setting ") + setting.name + "=" + value;
        }
        case 2: {
            if (random() % 3 == 0)
                return PropertyFault(random);
            const Fault& fault = faults[random() % std::size(faults)];
            engines.SetSwitch(fault.name, fault.value);
            if (std::wstring(fault.name) == L"FailSendCode") {
                engines.SetSwitch(L"FailSendFrom", DWORD(1 + random() % 20));
                engines.SetSwitch(L"FailSendCount", DWORD(random() % 3));
            }
            char said[80];
            std::snprintf(said, sizeof said, "engine fault %ls %lX", fault.name,
                          (unsigned long)fault.value);
            return said;
        }
        case 3:
            engines.ClearSwitches();
            return "engine faults cleared";
        case 4:
            switch (random() % (filler_ ? 4 : 3)) {
            case 0:
                SetEnginesInstalled(!enginesInstalled_);
                return enginesInstalled_ ? "engines registered again" : "engines unregistered";
            case 1: {
                const int s = int(random() % listedCount);
                TakeAway(s, !away_[s]);
                return std::string(chaos::FileOf(Store(s))) +
                       (away_[s] ? " taken away" : " put back");
            }
            case 2: {
                const int s = int(random() % storeCount);
                return away_[s] ? "" : ReplaceDatabase(random, s);
            }
            default:
                if (filler_->full()) {
                    EXPECT_TRUE(filler_->Unfill());
                    return "the index volume has room again";
                }
                // Room for a small document or two, not for a large one.
                EXPECT_TRUE(filler_->Fill(random() % 65536));
                return "the index volume fills up";
            }
        default:
            EXPECT_EQ(engines.Zsearch(L"reset").exitCode, 0u);
            return "the second engine makes its index anew";
        }
    }

    // The engines refuse one property of every event, or events and properties above a size.
    std::string PropertyFault(std::mt19937& random) {
        static const wchar_t* const names[] = {
            L"content", L"subject", L"time", L"to", L"recurrence_pattern", L"url"};
        static const DWORD codes[] = {0x80040004, 0x8004000E, 0x80004005, 0x8007000E};
        char said[96];
        switch (random() % 3) {
        case 0: {
            const wchar_t* name = names[random() % std::size(names)];
            const DWORD code = codes[random() % std::size(codes)];
            engines.SetSwitch(L"FailProperty", std::wstring(name));
            engines.SetSwitch(L"FailPropertyCode", code);
            std::snprintf(said, sizeof said, "engine fault: property %ls fails with %lX", name,
                          (unsigned long)code);
            return said;
        }
        case 1: {
            const DWORD bytes = 64 << (random() % 12);
            engines.SetSwitch(L"MaxPropertyBytes", bytes);
            std::snprintf(said, sizeof said, "engine fault: properties above %lu bytes",
                          (unsigned long)bytes);
            return said;
        }
        default: {
            const DWORD bytes = 1024 << (random() % 10);
            engines.SetSwitch(L"MaxEventBytes", bytes);
            std::snprintf(said, sizeof said, "engine fault: events above %lu bytes",
                          (unsigned long)bytes);
            return said;
        }
        }
    }

    // Another database copied over the file, with a few notes of its own: the notes of the one
    // before are in no database any more.
    std::string ReplaceDatabase(std::mt19937& random, int s) {
        const std::string file = chaos::FileOf(Store(s)), copy = file + ".new";
        models_[s].database.reset();
        CreateDatabase(copy, std::string("Chaos ") + file);
        if (Store(s) == Store::discussion)
            for (const auto& form : chaos::DiscussionForms())
                PutNote(copy, form, 0, store::NoteClass::Form);
        for (NoteModel& note : models_[s].notes)
            note.live = false;
        models_[s].database = OpenDatabase(copy);
        const size_t notes = random() % 4;
        for (size_t n = 0; n < notes; ++n)
            Write(random, s, std::nullopt);
        models_[s].database.reset();
        EXPECT_TRUE(MoveFileExA(data.file(copy).c_str(), data.file(file).c_str(),
                                MOVEFILE_REPLACE_EXISTING))
            << file;
        models_[s].database = OpenDatabase(file);
        return file + " replaced by another database with " + std::to_string(notes) + " notes";
    }

    // A database file moved away (the client cannot open it), or back where it was.
    void TakeAway(int s, bool away) {
        const std::string file = data.file(chaos::FileOf(Store(s)));
        models_[s].database.reset();
        EXPECT_TRUE(away ? MoveFileA(file.c_str(), (file + ".away").c_str())
                         : MoveFileA((file + ".away").c_str(), file.c_str()))
            << file;
        if (!away)
            models_[s].database = OpenDatabase(chaos::FileOf(Store(s)));
        away_[s] = away;
    }

    void SetEnginesInstalled(bool installed) {
        for (const wchar_t* dll : {L"ZendriDS.dll", L"OrvennaDesktop.dll"})
            testing_support::RunProgram(
                std::wstring(L"regsvr32.exe /s ") + (installed ? L"" : L"/u ") + L"\"" +
                testing_support::InstalledEngines::ProgramFolder() + dll + L"\"");
        enginesInstalled_ = installed;
    }

    // Runs the first `count` steps of the seed's sequence; the steps done, as said.
    std::vector<std::string> RunSteps(size_t count, std::FILE* log) {
        StartAfresh();
        std::mt19937 random(settings_.seed);
        std::mt19937 killRandom(settings_.seed * 2654435761u + 1);
        for (int k = 0; k < settings_.kills; ++k)
            killAt_.insert(killRandom() % std::max<size_t>(settings_.steps, 1));
        // Clean runs about half as often as kills, and at least three of them; the client's
        // runs take most of a long run's time.
        const size_t runPermille =
            std::clamp<size_t>(1000 * std::max(size_t(settings_.kills) / 2, size_t(3)) /
                                   std::max<size_t>(settings_.steps, 1),
                               5, 60);
        // A kill whose place a run's changes took comes at the next step.
        auto nextKill = killAt_.begin();
        std::vector<std::string> done;
        for (size_t step = 0; step < count;) {
            std::mt19937 stepRandom(random());
            std::string said;
            std::vector<std::string> beside;
            const size_t room = count - step - 1;
            const auto started = std::chrono::steady_clock::now();
            if (nextKill != killAt_.end() && *nextKill <= step) {
                ++nextKill;
                const bool atPass = stepRandom() % 4 != 0;
                const KillPlan kill{atPass ? DWORD(stepRandom() % 1500)
                                           : DWORD(1000 + stepRandom() % 5000),
                                    atPass};
                said = RunStep(stepRandom, kill, room, beside);
                figures_.runSeconds += SecondsSince(started);
            } else if (const size_t what = stepRandom() % 1000; what < runPermille) {
                said = RunStep(stepRandom, std::nullopt, room, beside);
                figures_.runSeconds += SecondsSince(started);
            } else if (what < runPermille + setupPermille) {
                said = SetupStep(stepRandom);
                figures_.setupSeconds += SecondsSince(started);
            } else {
                said = NoteStep(stepRandom);
                figures_.noteSeconds += SecondsSince(started);
            }
            const size_t first = done.size();
            done.push_back(std::to_string(++step) + ". " +
                           (said.empty() ? "nothing to change" : said));
            for (const std::string& line : beside)
                done.push_back(std::to_string(++step) + ". " + line);
            if (log) {
                for (size_t n = first; n < done.size(); ++n)
                    std::fprintf(log, "%s\n", done[n].c_str());
                std::fflush(log);
            }
        }
        figures_.steps = count;
        return done;
    }

    // Engines as installed, no faults, every database listed, then passes until nothing is
    // pending.
    void Restore() {
        engines.ClearSwitches();
        if (filler_) {
            EXPECT_TRUE(filler_->Unfill());
        }
        if (!enginesInstalled_)
            SetEnginesInstalled(true);
        for (int s = 0; s < storeCount; ++s)
            if (away_[s])
                TakeAway(s, false);
        const std::vector<bool> listed = ListedStores();
        std::string script;
        for (int s = 0; s < listedCount; ++s)
            if (!listed[s])
                script += "click IDC_ADD, file " + data.file(chaos::FileOf(Store(s))) + ", ";
        if (reindexOwed_)
            script += std::string(rebuildAction) + ", ";
        SetVariable("DesktopSearchWaitTime", "0");
        std::string arguments = "--seconds 30 --menu 0";
        if (!script.empty())
            arguments += " --dialog \"" + script + "click IDC_OK\"";
        // After a long run the rebuild alone takes many runs (every deletion stub sends its
        // notice): runs go on while they move the index on, and a pass that is stuck shows as
        // three runs that send nothing.
        uint64_t sent = IndexBytes();
        for (int run = 0, idle = 0; run < 200 && idle < 3; ++run) {
            EXPECT_EQ(RunClient(data, run == 0 ? arguments : "--seconds 30 --menu 0").exitCode, 0);
            const std::string settings = testing_support::ReadFileText(data.file("tamsel.ini"));
            if (VerifiedTotals()["pending"] == 0 && !Has(settings, "|"))
                return;
            const uint64_t now = IndexBytes();
            idle = now == sent ? idle + 1 : 0;
            sent = now;
        }
    }

    // What the judge finds after the clean pass; empty when nothing.
    std::string Judge() {
        const auto started = std::chrono::steady_clock::now();
        Restore();
        std::string findings;
        const json totals = VerifiedTotals();
        if (totals != nothingWrong) {
            const std::string said =
                engines.Zsearch(L"verify --data \"" + Wide(data.path()) + L"\"").output;
            findings += "verify: " + totals.dump() + "\n" + said;
            // Which of the run's notes the findings name.
            for (const StoreModel& model : models_)
                for (const NoteModel& note : model.notes)
                    if (Has(said, note.url))
                        findings += note.url + " is " + note.marker + " (" +
                                    chaos::NameOf(note.kind) + (note.live ? "" : ", deleted") +
                                    ")\n";
        }
        // A sample of live notes: a document at the note's URL holds its last version.
        std::mt19937 random(settings_.seed + 7);
        for (int n = 0; n < 20; ++n) {
            const StoreModel& model = models_[random() % storeCount];
            if (model.notes.empty())
                continue;
            const NoteModel& note = model.notes[random() % model.notes.size()];
            if (!note.live)
                continue;
            const auto shown = engines.Zsearch(L"--json show \"" + Wide(note.url) + L"\"");
            if (shown.exitCode != 0)
                continue; // not sent: verify says whether it should have been
            const json document = json::parse(shown.output, nullptr, false);
            const std::string text = document.is_discarded() ? shown.output : document.dump();
            const bool emptied = !Has(text, "zq");
            if (!emptied && !Has(text, note.marker + " ") && !Has(text, note.marker + "\\r"))
                findings += "the document of " + note.marker + " (" + chaos::NameOf(note.kind) +
                            ") holds another version: " + text.substr(0, 400) + "\n";
        }
        figures_.judgeSeconds += SecondsSince(started);
        return findings;
    }

    ChaosSettings settings_;
    StoreModel models_[storeCount];
    bool away_[storeCount] = {};
    std::optional<RegisteredPlugin> plugin_;
    testing_support::TempDir indexes_;
    std::optional<testing_support::VolumeFiller> filler_;
    int indexCount_ = 0;
    bool enginesInstalled_ = true, reindexOwed_ = false;
    std::multiset<size_t> killAt_;
    std::map<std::string, size_t> linesSoFar_;
    Figures figures_;
};

TEST_F(ChaosRun, RandomStepsLeaveAnIndexThatVerifiesClean) {
    const auto started = std::chrono::steady_clock::now();
    std::FILE* log = settings_.log.empty() ? nullptr : std::fopen(settings_.log.c_str(), "w");
    const size_t count =
        settings_.prefix ? std::min(settings_.prefix, settings_.steps) : settings_.steps;
    std::vector<std::string> done = RunSteps(count, log);
    std::string findings = Judge();
    const Figures figures = figures_;
    size_t documents = 0;
    for (const StoreModel& model : models_)
        documents += size_t(std::count_if(model.notes.begin(), model.notes.end(),
                                          [](const NoteModel& note) { return note.live; }));
    size_t failingPrefix = count;
    if (!findings.empty()) {
        // Said at once: shrinking replays the steps, which takes as long again and more.
        std::printf("chaos: seed %u, after %zu steps: %s", settings_.seed, count, findings.c_str());
        std::fflush(stdout);
        // The client's log goes with them: the replays start afresh.
        if (log) {
            std::fprintf(log, "findings: %s\nthe end of the client's log:\n%s", findings.c_str(),
                         ClientLogEnd(400).c_str());
            std::fflush(log);
        }
    }
    if (!findings.empty() && settings_.shrink) {
        // The shortest prefix that still fails: each replay starts afresh.
        size_t good = 0, bad = count;
        while (bad - good > 1) {
            const size_t middle = good + (bad - good) / 2;
            RunSteps(middle, nullptr);
            if (Judge().empty())
                good = middle;
            else
                bad = middle;
        }
        if (bad < count) {
            done = RunSteps(bad, nullptr);
            findings = Judge();
        }
        failingPrefix = bad;
    }
    const double minutes = SecondsSince(started) / 60;
    std::printf("chaos: seed %u, steps %zu, kills %d (mid-pass %d, before the first send %d, after "
                "the pass %d), client runs %zu, notes added %zu, changed %zu, deleted %zu, live "
                "%zu, %.1f min (note steps %.1f, setup %.1f, client runs %.1f, judge %.1f); "
                "findings: %s\n",
                settings_.seed, figures.steps, figures.kills, figures.midPass,
                figures.beforeSending, figures.afterPass, figures.runs, figures.puts,
                figures.changes, figures.removals, documents, minutes, figures.noteSeconds / 60,
                figures.setupSeconds / 60, figures.runSeconds / 60, figures.judgeSeconds / 60,
                findings.empty() ? "0" : "yes");
    if (log)
        std::fclose(log);
    if (findings.empty())
        return;
    std::string steps;
    for (const std::string& line : done)
        steps += "  " + line + "\n";
    ADD_FAILURE() << "seed " << settings_.seed << ": " << findings << "\nsteps (the shortest "
                  << "failing prefix, " << failingPrefix << " of " << count << "):\n"
                  << steps << "replay: scripts/chaos " << settings_.steps << " --seed "
                  << settings_.seed << " --kills " << settings_.kills << " --prefix "
                  << failingPrefix << "\n";
}

} // namespace
