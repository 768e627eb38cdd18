#include "chaos_notes.h"

#include "item_values.h"
#include "rich_text.h"

#include <cstdio>

namespace chaos {
namespace {

using store::Item;
namespace ItemType = store::ItemType;

// Pieces of text that have broken text handling somewhere: quoting, escaping, separators,
// scripts and sizes.
const char* const pieces[] = {
    "Dan O'Neil",
    "Don't forget",
    "\"quoted\"",
    "50% done",
    "%41%42 looks escaped",
    "%zz%",
    "100%%",
    "a&b=c?d#e+f",
    "<b>bold</b> &amp;",
    "C:\\Users\\dan\\file.txt",
    "pipe|separated|text",
    "semi;colon, comma",
    "tab\there",
    "Gr\xC3\xB6\xC3\x9F"
    "e Stra\xC3\x9F"
    "e",
    "Jyv\xC3\xA4skyl\xC3\xA4 ja \xC3\xB6ljy",
    "caf\xC3\xA9 cr\xC3\xA8me fran\xC3\xA7"
    "aise",
    "citt\xC3\xA0 perch\xC3\xA9",
    "IJsselmeer \xC3\xA9\xC3\xA9n",
    "bl\xC3\xA5"
    "b\xC3\xA6r \xC3\xB8l",
    "a\xC3\xA7\xC3\xA3o cora\xC3\xA7\xC3\xA3o",
    "ni\xC3\xB1o a\xC3\xB1o",
    "sm\xC3\xB6rg\xC3\xA5s",
    "\xE8\xB3\x87\xE6\x96\x99\xE3\x82\x92\xE6\xB7\xBB\xE4\xBB\x98",
    "\xD0\x9E\xD1\x82\xD1\x87\xD1\x91\xD1\x82",
    "\xCE\x91\xCE\xBD\xCE\xB1\xCF\x86\xCE\xBF\xCF\x81\xCE\xAC",
    "\xD8\xAA\xD9\x82\xD8\xB1\xD9\x8A\xD8\xB1",
    "\xF0\x9F\x9A\xA2 ship "
    "\xF0\x9F\x91\xA8\xE2\x80\x8D\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x91\xA7",
    "",
    " ",
    "line one\r\nline two",
};

template <typename T> const T& Pick(std::mt19937& random, const std::vector<T>& from) {
    return from[std::uniform_int_distribution<size_t>(0, from.size() - 1)(random)];
}

bool Chance(std::mt19937& random, int percent) {
    return std::uniform_int_distribution<int>(0, 99)(random) < percent;
}

std::string Piece(std::mt19937& random) {
    return pieces[std::uniform_int_distribution<size_t>(0, std::size(pieces) - 1)(random)];
}

// A few pieces, now and then another note's URL among them.
std::string Words(std::mt19937& random, const std::vector<std::string>& urls, int most) {
    std::string text;
    const int count = std::uniform_int_distribution<int>(0, most)(random);
    for (int n = 0; n < count; ++n) {
        if (!text.empty())
            text += ' ';
        text += !urls.empty() && Chance(random, 15) ? Pick(random, urls) : Piece(random);
    }
    return text;
}

// The marker first, so that no cut of a long text loses it.
std::string Titled(std::mt19937& random, const std::string& marker,
                   const std::vector<std::string>& urls) {
    return marker + " " + Words(random, urls, 3);
}

std::string BodyText(std::mt19937& random, const std::string& marker,
                     const std::vector<std::string>& urls) {
    std::string text = marker + "\r\n" + Words(random, urls, 8);
    const int size = std::uniform_int_distribution<int>(0, 999)(random);
    if (size >= 998) // now and then megabytes
        text += std::string(std::uniform_int_distribution<int>(1, 3)(random) << 20, 'm');
    else if (size >= 950)
        text += std::string(std::uniform_int_distribution<int>(30000, 70000)(random), 'k');
    return text;
}

Item Text(const std::string& name, const std::string& value) {
    return {name, ItemType::Text, false, value};
}
Item List(const std::string& name, const std::vector<std::string>& values) {
    return {name, ItemType::TextList, false, values};
}
Item Number(const std::string& name, double value) {
    return {name, ItemType::Number, false, value};
}
Item Time(const std::string& name, const std::string& text) {
    return {name, ItemType::Time, false, text};
}
Item Times(const std::string& name, const std::vector<std::string>& texts) {
    return {name, ItemType::TimeRange, false, texts};
}
Item Body(const std::string& text) {
    return {"Body", ItemType::RichText, false, store::RichTextFromPlain(text)};
}

std::string DateText(int year, int month, int day, int hour, int minute) {
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:00.00 +00:00", year, month, day,
                  hour, minute);
    return text;
}

std::string RandomDate(std::mt19937& random, int fromYear, int toYear) {
    std::uniform_int_distribution<int> year(fromYear, toYear), month(1, 12), day(1, 28),
        hour(0, 23), minute(0, 59);
    return DateText(year(random), month(random), day(random), hour(random), minute(random));
}

// Consecutive days from a start: a meeting repeated for years gives more text than 32 KB.
std::vector<std::string> Days(int year, int month, int firstDay, int count, int hour) {
    std::vector<std::string> days;
    static constexpr int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int day = firstDay;
    for (int n = 0; n < count; ++n) {
        days.push_back(DateText(year, month, day, hour, 0));
        if (++day > lengths[month - 1]) {
            day = 1;
            if (++month > 12)
                month = 1, ++year;
        }
    }
    return days;
}

std::vector<std::string> Names(std::mt19937& random) {
    static const std::vector<std::string> names = {
        "CN=Anna Berg/O=Acme",
        "bo@example.com",
        "CN=Dan O'Neil/O=Acme",
        "\"Lind, Dora\" <dora@example.com>",
        "CN=\xC3\x85se \xC3\x98"
        "degaard/O=Nordlicht",
        "CN=\xE5\xB1\xB1\xE7\x94\xB0 \xE5\xA4\xAA\xE9\x83\x8E/O=Hanami",
        "50%@example.com",
        ""};
    std::vector<std::string> picked;
    const int count = std::uniform_int_distribution<int>(0, 3)(random);
    for (int n = 0; n < count; ++n)
        picked.push_back(Pick(random, names));
    return picked;
}

void MailItems(std::mt19937& random, NoteContent& note, const std::vector<std::string>& urls) {
    const auto from = Names(random);
    note.items.push_back(Text("Form", "Memo"));
    note.items.push_back(Text("From", from.empty() ? std::string() : from.front()));
    note.items.push_back(List("SendTo", Names(random)));
    if (Chance(random, 50))
        note.items.push_back(List("CopyTo", Names(random)));
    note.items.push_back(Text("Subject", Titled(random, note.marker, urls)));
    note.items.push_back(Body(BodyText(random, note.marker, urls)));
    if (Chance(random, 20))
        note.items.push_back({"$FILE", ItemType::Attachment, false,
                              nlohmann::json{{"file", Piece(random) + ".pdf"}, {"size", 4711}}});
}

void MeetingItems(std::mt19937& random, NoteContent& note, const std::vector<std::string>& urls,
                  std::vector<std::string> dates, const std::string& start,
                  const std::string& end) {
    note.items.push_back(Text("Form", "Appointment"));
    note.items.push_back(Text("Subject", Titled(random, note.marker, urls)));
    note.items.push_back(Times("CalendarDateTime", dates));
    note.items.push_back(Time("StartDateTime", start));
    note.items.push_back(Time("EndDateTime", end));
    note.items.push_back(List("Chair", Names(random)));
    note.items.push_back(List("RequiredAttendees", Names(random)));
    note.items.push_back(List("OptionalAttendees", Names(random)));
    note.items.push_back(Text("Location", Words(random, urls, 2)));
    note.items.push_back(Body(BodyText(random, note.marker, urls)));
}

void DrawMeeting(std::mt19937& random, Kind kind, NoteContent& note,
                 const std::vector<std::string>& urls) {
    if (kind == Kind::longMeeting) {
        // Daily for about three years, all in the past or reaching into the future.
        const auto days = Days(Chance(random, 50) ? 2019 : 2025, 1, 1,
                               std::uniform_int_distribution<int>(900, 1200)(random), 9);
        return MeetingItems(random, note, urls, days, days.front(),
                            days.front().substr(0, 11) + "09:30:00.00 +00:00");
    }
    if (kind == Kind::unusableMeeting) {
        switch (std::uniform_int_distribution<int>(0, 3)(random)) {
        case 0: // ends before it starts
            return MeetingItems(random, note, urls, {DateText(2026, 3, 2, 10, 0)},
                                DateText(2026, 3, 2, 10, 0), DateText(2026, 3, 2, 9, 0));
        case 1: // dates of the wrong type
            note.items = {Text("Form", "Appointment"),
                          Text("Subject", Titled(random, note.marker, urls)),
                          Text("CalendarDateTime", "soon"), Text("StartDateTime", "today"),
                          Number("EndDateTime", 4711)};
            return;
        case 2: // one text of dates longer than any buffer, without a separator
            note.items = {Text("Form", "Appointment"),
                          Text("Subject", Titled(random, note.marker, urls)),
                          Text("CalendarDateTime", std::string(32800, '2')),
                          Time("StartDateTime", DateText(2026, 3, 2, 10, 0)),
                          Time("EndDateTime", DateText(2026, 3, 2, 11, 0))};
            return;
        default: // no dates at all
            note.items = {Text("Form", "Appointment"),
                          Text("Subject", Titled(random, note.marker, urls)),
                          Body(BodyText(random, note.marker, urls))};
            return;
        }
    }
    std::vector<std::string> dates;
    const int count = Chance(random, 50) ? 1 : std::uniform_int_distribution<int>(2, 120)(random);
    const int year =
        Chance(random, 30) ? 2015 : std::uniform_int_distribution<int>(2020, 2030)(random);
    for (const auto& day :
         Days(year, std::uniform_int_distribution<int>(1, 12)(random), 3, count * 7, 14))
        if (dates.size() < size_t(count) && (dates.empty() || Chance(random, 15)))
            dates.push_back(day);
    MeetingItems(random, note, urls, dates, dates.front(),
                 dates.front().substr(0, 11) + (Chance(random, 80) ? "15:30" : "14:00") +
                     ":00.00 +00:00");
}

void DrawTask(std::mt19937& random, Kind kind, NoteContent& note,
              const std::vector<std::string>& urls) {
    note.items = {Text("Form", "Task"),
                  Text("Subject", Titled(random, note.marker, urls)),
                  Body(BodyText(random, note.marker, urls)),
                  List("Chair", Names(random)),
                  Number("TaskType", std::uniform_int_distribution<int>(0, 3)(random)),
                  Number("DueState", std::uniform_int_distribution<int>(0, 10)(random)),
                  Number("Importance", std::uniform_int_distribution<int>(0, 4)(random))};
    if (kind == Kind::undatedTask)
        return;
    const std::string start = RandomDate(random, 2020, 2030);
    const bool repeating = Chance(random, 30);
    note.items.push_back(
        Times("CalendarDateTime",
              repeating ? Days(2026, 1, 5, std::uniform_int_distribution<int>(2, 1100)(random), 8)
                        : std::vector<std::string>{start}));
    if (Chance(random, 80))
        note.items.push_back(Time("StartDateTime", start));
    if (Chance(random, 80))
        note.items.push_back(Time("DueDateTime", RandomDate(random, 2020, 2031)));
    if (Chance(random, 30))
        note.items.push_back(Time("CompletedDateTime", RandomDate(random, 2020, 2030)));
    if (Chance(random, 20))
        note.items.push_back(Time("PostedDate", start));
}

} // namespace

const char* FileOf(Store store) {
    static const char* const files[] = {"mail.zrb", "roster.zrb", "journal.zrb", "discussion.zrb",
                                        "shelf.zrb"};
    return files[int(store)];
}

const char* NameOf(Kind kind) {
    static const char* const names[] = {"mail",         "draft",
                                        "transcript",   "meeting",
                                        "long meeting", "unusable meeting",
                                        "task",         "undated task",
                                        "contact",      "journal entry",
                                        "topic",        "response",
                                        "expense",      "document of an unknown form"};
    return names[int(kind)];
}

std::vector<Kind> KindsOf(Store store) {
    switch (store) {
    case Store::mail:
        return {Kind::mail,       Kind::mail,       Kind::mail,        Kind::draft,
                Kind::transcript, Kind::meeting,    Kind::longMeeting, Kind::unusableMeeting,
                Kind::task,       Kind::undatedTask};
    case Store::roster:
        return {Kind::contact};
    case Store::journal:
        return {Kind::journal};
    case Store::history: // what the user viewed, of any kind
        return {Kind::mail, Kind::meeting, Kind::contact, Kind::journal};
    default:
        return {Kind::topic, Kind::response, Kind::expense, Kind::unknownForm};
    }
}

NoteContent DrawNote(std::mt19937& random, Kind kind, const std::string& marker,
                     const std::vector<std::string>& urls, uint64_t replica) {
    NoteContent note;
    note.marker = marker;
    switch (kind) {
    case Kind::mail:
    case Kind::draft:
    case Kind::transcript:
        MailItems(random, note, urls);
        if (kind == Kind::transcript)
            note.items.push_back(Text("$IMTranscript", "1"));
        if (kind == Kind::mail)
            note.items.push_back(Chance(random, 90)
                                     ? Time("PostedDate", RandomDate(random, 2000, 2030))
                                     : Text("PostedDate", "not a date"));
        break;
    case Kind::meeting:
    case Kind::longMeeting:
    case Kind::unusableMeeting:
        DrawMeeting(random, kind, note, urls);
        break;
    case Kind::task:
    case Kind::undatedTask:
        DrawTask(random, kind, note, urls);
        break;
    case Kind::contact:
        note.items = {Text("Form", "Person"),
                      List("FullName", {"CN=" + marker + " " + Piece(random) + "/O=Acme",
                                        marker + " " + Piece(random)}),
                      Text("FirstName", Piece(random)),
                      Text("LastName", marker),
                      Text("CompanyName", Words(random, urls, 2)),
                      Text("OfficePhoneNumber", "+46 31 555 0" + std::to_string(random() % 1000)),
                      Text("OfficeCity", Piece(random)),
                      Text("MiscLabel1", Piece(random)),
                      Text("MiscPhone1", Piece(random)),
                      Body(BodyText(random, marker, urls))};
        break;
    case Kind::journal:
        note.items = {Text("Form", Chance(random, 70) ? "JournalEntry" : "CleanSheet"),
                      Text("Subject", Titled(random, marker, urls)),
                      Body(BodyText(random, marker, urls))};
        if (Chance(random, 70))
            note.items.push_back(Time("TimeCreated", RandomDate(random, 2010, 2030)));
        break;
    case Kind::expense:
        note.items = {Text("Form", "Expense"), Number("Amount", double(random() % 100000) / 100),
                      Text("Subject", Titled(random, marker, urls)),
                      Body(BodyText(random, marker, urls))};
        break;
    default:
        note.items = {Text("Form", kind == Kind::topic      ? "MainTopic"
                                   : kind == Kind::response ? "Response"
                                                            : "Gadget " + Piece(random)),
                      Text("Subject", Titled(random, marker, urls)),
                      Body(BodyText(random, marker, urls))};
        break;
    }
    // Items the converters do not expect: wrong types, empty values, sealed values.
    if (Chance(random, 10))
        note.items.push_back(Number("Categories", 7));
    if (Chance(random, 10))
        note.items.push_back(List("Categories", {"Holiday", "", Piece(random)}));
    if (Chance(random, 10)) {
        Item sealed = Text("SecretNote", Piece(random));
        sealed.value = store::SealValue(sealed.value, replica);
        sealed.sealed = true;
        note.items.push_back(sealed);
    }
    return note;
}

std::vector<std::vector<store::Item>> DiscussionForms() {
    return {{Text("$TITLE", "Main Topic|MainTopic"),
             {"$WindowTitle", ItemType::Formula, false, R"("Topic: " + Subject)"}},
            {Text("$TITLE", "Response"), {"$WindowTitle", ItemType::Formula, false, "Subject"}},
            {Text("$TITLE", "Expense"), {"$WindowTitle", ItemType::Formula, false, "Subject"}}};
}

} // namespace chaos
