#include "bench_data.h"
#include "note.h"
#include "rich_text.h"

#include <algorithm>
#include <cstdio>
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

std::string Subject(int index) {
    return "Quarterly numbers " + std::to_string(index);
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
        {"Subject", Type::Text, false, Subject(index)},
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

// The same mails' time, as the mbox writes it: 2026-01-01 08:00:00 +01:00 plus one second a
// mail, in RFC 5322 form.
std::string MboxDate(int index, bool fromLine) {
    static const char* days[] = {"Thu", "Fri", "Sat", "Sun", "Mon", "Tue", "Wed"};
    const long seconds = 8L * 3600 + index + 1;
    const long day = seconds / 86400, rest = seconds % 86400;
    // January 2026 starts on a Thursday; the benchmark stays within the first months.
    static const int monthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    static const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    int month = 0;
    long dayOfMonth = day;
    while (month < 11 && dayOfMonth >= monthDays[month])
        dayOfMonth -= monthDays[month++];
    char text[64];
    if (fromLine)
        std::snprintf(text, sizeof text, "%s %s %2ld %02ld:%02ld:%02ld 2026", days[day % 7],
                      months[month], dayOfMonth + 1, rest / 3600, rest / 60 % 60, rest % 60);
    else
        std::snprintf(text, sizeof text, "%s, %02ld %s 2026 %02ld:%02ld:%02ld +0100", days[day % 7],
                      dayOfMonth + 1, months[month], rest / 3600, rest / 60 % 60, rest % 60);
    return text;
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

void WriteMbox(const std::string& path, int mails, int bodyBytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        throw std::runtime_error("cannot write " + path);
    for (int i = 0; i <= mails; ++i) {
        const unsigned id = 4 * (i + 1);
        out << "From anna.berg@velmora.example " << MboxDate(i, true) << "\n"
            << "From: Anna Berg <anna.berg@velmora.example>\n"
            << "To: Bo Dubois <bo.dubois@acme.example>, =?UTF-8?Q?In=C3=A9s_Garc=C3=ADa?= "
               "<ines.garcia@acme.example>\n"
            << "Cc: Lars Rossi <lars.rossi@velmora.example>\n"
            << "Reply-To: anna.berg@velmora.example\n"
            << "Subject: " << Subject(i) << "\n"
            << "Date: " << MboxDate(i, false) << "\n"
            << "Message-ID: <" << id << "@velmora.example>\n"
            << "Keywords: P, Finance\n"
            << "Importance: normal\n"
            << "MIME-Version: 1.0\n"
            << "Content-Type: text/plain; charset=UTF-8\n"
            << "Content-Transfer-Encoding: 8bit\n\n";
        // mboxrd: a body line that starts with "From " is quoted.
        const std::string body = Body(i == mails ? 10 * 1024 : bodyBytes, i);
        size_t start = 0;
        while (start < body.size()) {
            const size_t end = std::min(body.find('\n', start), body.size());
            const std::string line = body.substr(start, end - start);
            out << (line.rfind("From ", 0) == 0 ? ">" : "") << line << "\n";
            start = end + 1;
        }
        out << "\n";
    }
    if (!out.flush())
        throw std::runtime_error("cannot write " + path);
}

} // namespace bench
