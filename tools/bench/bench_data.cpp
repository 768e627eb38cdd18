#include "bench_data.h"
#include "note.h"
#include "rich_text.h"

#include <fstream>
#include <stdexcept>

namespace bench {
namespace {

namespace Type = store::ItemType;

std::string Body(int bytes, int seed) {
    static const char* words[] = {"budget",  "meeting", "Grüße", "réunion", "schedule",
                                  "numbers", "review",  "会議",  "отчёт",   "draft"};
    std::string text;
    for (int i = 0; static_cast<int>(text.size()) < bytes; ++i) {
        text += words[(seed + i * 7) % 10];
        text += i % 12 == 11 ? ".\n" : " ";
    }
    return text;
}

store::Note Mail(unsigned id, int index, int bodyBytes, store::TimeValue when) {
    store::Note note;
    note.id = id;
    note.modified = when;
    note.originator = {0x0123456789ABCDEFull, 0x1000000ull + id, 1, when};
    const std::string time = store::TimeToText(when);
    note.items = {
        {"Form", Type::Text, false, "Memo"},
        {"From", Type::Text, false, "CN=Anna Berg/O=Velmora"},
        {"Principal", Type::Text, false, "CN=Anna Berg/O=Velmora"},
        {"SendTo", Type::TextList, false, {"CN=Bo Dubois/O=Acme", "CN=Inés García/O=Acme"}},
        {"CopyTo", Type::TextList, false, {"CN=Lars Rossi/O=Velmora"}},
        {"BlindCopyTo", Type::TextList, false, nlohmann::json::array()},
        {"ReplyTo", Type::Text, false, "anna.berg@velmora.example"},
        {"Subject", Type::Text, false, "Quarterly numbers " + std::to_string(index)},
        {"Categories", Type::TextList, false, {"P", "Finance"}},
        {"Importance", Type::Text, false, "2"},
        {"ComposedDate", Type::Time, false, time},
        {"PostedDate", Type::Time, false, time},
        {"DeliveredDate", Type::Time, false, time},
        {"$MessageID", Type::Text, false, std::to_string(id) + "@velmora.example"},
        {"Body", Type::RichText, false, store::RichTextFromPlain(Body(bodyBytes, index))},
    };
    return note;
}

} // namespace

unsigned WriteMailFile(const std::string& path, int mails, int bodyBytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        throw std::runtime_error("cannot write " + path);
    store::TimeValue when = *store::TextToTime("2026-01-01 08:00:00.00 +01:00");
    out << "{\"replica\":\"0123456789ABCDEF\",\"title\":\"Benchmark Mail\",\"flags\":1,"
           "\"created\":\""
        << store::TimeToText(when) << "\"}\n";
    unsigned id = 0;
    for (int i = 0; i <= mails; ++i) {
        id += 4;
        when = store::TimeFromHundredths(*store::HundredthsSinceEpoch(when) + 100, when.dayNumber);
        out << store::NoteToRecord(Mail(id, i, i == mails ? 10 * 1024 : bodyBytes, when)) << "\n";
    }
    if (!out.flush())
        throw std::runtime_error("cannot write " + path);
    return id;
}

} // namespace bench
