// The client killed hard at random moments of its passes over a few thousand mails, with mails
// added, changed and deleted between the kills; one clean pass afterwards must leave the index
// equal to the mail file. TAMSEL_SOAK_KILLS sets the number of kills (scripts/soak N) and
// TAMSEL_SOAK_SEED the random sequence; the last line printed holds the figures.
#include "database_run.h"
#include "rich_text.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>

namespace {

constexpr int firstMails = 2000;
constexpr int addsPerRound = 120, changesPerRound = 240, deletesPerRound = 60;
// Kills come after the client's start-up (two to four seconds under load). The passes rest a
// little after each mail, so that a pass over a round's changes (or, after a kill, over every
// change since the last pass that ended) lasts about as long as the kill window.
constexpr DWORD killFromMs = 2000, killUntilMs = 10000;
constexpr int killPhaseWaitMs = 5;
// Logged right after the summary of a pass that was stopped before its end.
constexpr const char* passStopped = "Recovery requested";
// A pass over everything may take longer than one clean run: the next resumes where it stopped.
constexpr int cleanRuns = 5;

std::string Subject(int mail, int version) {
    return "Mail " + std::to_string(mail) + " v" + std::to_string(version);
}
std::string Sender(int mail, int version) {
    return "Sender " + std::to_string(mail) + "." + std::to_string(version);
}

struct Figures {
    int kills = 0, midPass = 0, beforeSending = 0, afterPass = 0;
    int lost = 0, stale = 0, ghost = 0, duplicate = 0;
};

class KillSoak : public DatabaseRun {
  protected:
    struct Mail {
        uint32_t id = 0;
        int version = 0;
    };

    void SetUp() override { CreateDatabase("mail.zrb", "Soak Mail"); }

    void Settings(int waitMs) {
        WriteClientSettings(
            data, "DesktopSearchIndexEnabled=1\r\nDesktopSearchWaitTime=" + std::to_string(waitMs) +
                      "\r\nDesktopSearchInstallInstructions=1\r\n"
                      "DesktopSearchDebug=1\r\nDesktopSearchFilePath=mail.zrb\r\n");
    }

    // A new version of mail `number` (a new mail when it has no id yet).
    void Write(store::Database& database, int number, Mail& mail) {
        store::Note note;
        note.id = mail.id;
        if (mail.id) {
            store::Note old;
            ASSERT_EQ(database.readNote(mail.id, old), store::kOk);
            note.originator = old.originator;
        }
        ++mail.version;
        note.items = {
            Text("Form", "Memo"),
            Text("From", "CN=" + Sender(number, mail.version) + "/O=Acme"),
            Text("Subject", Subject(number, mail.version)),
            {"Body", store::ItemType::RichText, false,
             store::RichTextFromPlain("Round body of mail " + std::to_string(number))},
            {"PostedDate", store::ItemType::Time, false, "2026-12-08 09:00:00.00 +01:00"}};
        ASSERT_EQ(database.putNote(note), store::kOk);
        mail.id = note.id;
    }

    void Change(int adds, int changes, int deletes) {
        const auto database = OpenDatabase("mail.zrb");
        ASSERT_TRUE(database);
        for (int n = 0; n < adds; ++n, ++next_)
            Write(*database, next_, live_[next_]);
        for (int n = 0; n < changes && !live_.empty(); ++n) {
            auto mail = RandomLive();
            Write(*database, mail->first, mail->second);
        }
        for (int n = 0; n < deletes && !live_.empty(); ++n) {
            auto mail = RandomLive();
            ASSERT_EQ(database->deleteNote(mail->second.id), store::kOk);
            deleted_.insert(mail->first);
            live_.erase(mail);
        }
    }

    std::map<int, Mail>::iterator RandomLive() {
        auto mail = live_.begin();
        std::advance(mail, std::uniform_int_distribution<size_t>(0, live_.size() - 1)(random_));
        return mail;
    }

    // Whether a pass logged after the first `summaries` summaries walked to its end.
    static bool PassFinished(const ClientRun& run, size_t summaries) {
        const auto& lines = run.logLines;
        size_t seen = 0;
        for (size_t n = 0; n < lines.size(); ++n) {
            if (!Has(lines[n], passSummaryMark) || ++seen <= summaries)
                continue;
            if (n + 1 == lines.size() || !Has(lines[n + 1], passStopped))
                return true;
        }
        return false;
    }

    // Clean runs, each resuming where the last stopped, until a pass walks to its end; false
    // when none did. `summaries` counts the pass summaries logged so far.
    bool FinishAPass(size_t& summaries) {
        Settings(0);
        bool finished = false;
        for (int run = 0; run < cleanRuns && !finished; ++run) {
            const ClientRun clean = Index("--seconds 30 --menu 0");
            finished = PassFinished(clean, summaries);
            summaries = CountSummaries(clean);
        }
        Settings(killPhaseWaitMs);
        return finished;
    }

    // Compares the index with the mail file by the number and version in each subject.
    void Compare(Figures& figures) const {
        std::map<int, std::vector<nlohmann::json>> indexed;
        for (const nlohmann::json& summary : Listed()) {
            int number = 0, version = 0;
            if (std::sscanf(summary["subject"].get<std::string>().c_str(), "Mail %d v%d", &number,
                            &version) != 2 ||
                !live_.count(number)) {
                ++figures.ghost;
                continue;
            }
            indexed[number].push_back(summary);
        }
        for (const auto& [number, mail] : live_) {
            const auto found = indexed.find(number);
            if (found == indexed.end()) {
                ++figures.lost;
                continue;
            }
            figures.duplicate += int(found->second.size()) - 1;
            for (const nlohmann::json& summary : found->second)
                if (summary["subject"] != Subject(number, mail.version) ||
                    summary["from"] != Sender(number, mail.version) + "/Acme") {
                    ++figures.stale;
                    break;
                }
        }
    }

    std::mt19937 random_{unsigned(EnvironmentNumber("TAMSEL_SOAK_SEED", 1))};
    std::map<int, Mail> live_;
    std::set<int> deleted_;
    int next_ = 1;
};

TEST_F(KillSoak, EveryLiveMailIsIndexedOnceAsItIsNowAfterRandomKills) {
    const int kills = EnvironmentNumber("TAMSEL_SOAK_KILLS", 10);
    Change(firstMails, 0, 0);
    // Indexed once, so that the killed passes walk a round's changes since then, not everything.
    size_t summaries = 0;
    ASSERT_TRUE(FinishAPass(summaries)) << "no first pass walked to its end";
    Figures figures;
    for (int round = 0; round < kills; ++round) {
        Change(addsPerRound, changesPerRound, deletesPerRound);
        const uint64_t indexBefore = IndexBytes();
        const DWORD killAfter =
            std::uniform_int_distribution<DWORD>(killFromMs, killUntilMs)(random_);
        const ClientRun run = RunClient(data, "--seconds 300 --menu 0", killAfter);
        ASSERT_EQ(run.exitCode, int(killedExitCode)) << run.output;
        ++figures.kills;
        // Mid-pass: the pass had sent documents and had not logged its end.
        const size_t now = CountSummaries(run);
        if (now > summaries)
            ++figures.afterPass;
        else if (IndexBytes() == indexBefore)
            ++figures.beforeSending;
        else
            ++figures.midPass;
        summaries = now;
    }
    Change(addsPerRound, changesPerRound, deletesPerRound);
    ASSERT_TRUE(FinishAPass(summaries)) << "no clean pass walked to its end";
    Compare(figures);
    std::printf("kills: %d, mid-pass: %d (before the first send: %d, after the pass: %d); live "
                "mails: %zu, deleted: %zu; lost: %d, stale: %d, ghost: %d, duplicate: %d\n",
                figures.kills, figures.midPass, figures.beforeSending, figures.afterPass,
                live_.size(), deleted_.size(), figures.lost, figures.stale, figures.ghost,
                figures.duplicate);
    EXPECT_EQ(figures.lost + figures.stale + figures.ghost + figures.duplicate, 0);
    EXPECT_GT(figures.midPass, 0) << "no kill landed inside a pass";
}

} // namespace
