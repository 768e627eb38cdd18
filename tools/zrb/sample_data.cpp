#include "sample_data.h"
#include "database.h"
#include "item_values.h"
#include "sample_text.h"

#include <stdexcept>

namespace zrb {
namespace {

using nlohmann::json;
namespace Type = store::ItemType;

const char* kUserName = "Anna Berg";

// Writes notes into one new database file.
class SampleDatabase {
  public:
    SampleDatabase(const std::string& directory, const std::string& name, const std::string& title)
        : file_(directory + "/" + name) {
        if (store::Database::Create(store::OpenJournalFile(file_, store::OpenMode::CreateNew),
                                    title, database_) != store::kOk)
            throw std::runtime_error(file_ + ": exists already or cannot be created");
    }
    uint32_t add(std::vector<store::Item> items, uint16_t noteClass = store::NoteClass::Document) {
        store::Note note;
        note.noteClass = noteClass;
        note.items = std::move(items);
        if (database_->putNote(note) != store::kOk)
            throw std::runtime_error(file_ + ": cannot write note " + std::to_string(notes_ + 1));
        ++notes_;
        return note.id;
    }
    store::Database& database() { return *database_; }
    uint64_t key() const { return database_->info().replicaId; }

  private:
    std::string file_;
    std::unique_ptr<store::Database> database_;
    int notes_ = 0;
};

store::Item Text(const char* name, const std::string& value) {
    return {name, Type::Text, false, value};
}
store::Item List(const char* name, const std::vector<std::string>& values) {
    return {name, Type::TextList, false, values};
}
store::Item Time(const char* name, const std::string& value) {
    return {name, Type::Time, false, value};
}

// Day `day` counted from 2026-01-01 at the given minute, in Central European time with
// summer time.
std::string When(int day, int minute) {
    int year, month, dayOfMonth;
    store::CivilDate(store::JulianDay(2026, 1, 1) + day + minute / 1440, year, month, dayOfMonth);
    char text[64];
    const bool summer = month >= 4 && month <= 10;
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:00.00 +01:00%s", year, month,
                  dayOfMonth, minute / 60 % 24, minute % 60, summer ? " DST" : "");
    return text;
}

std::vector<std::string> People(SampleText& text, int count) {
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i)
        names.push_back(text.person().canonical());
    return names;
}

void AddMail(SampleDatabase& mail, SampleText& text, int index, std::vector<uint32_t>& unread) {
    const int kind = text.below(100);
    const Person sender = text.person();
    const bool sent = kind >= 90, draft = kind >= 78 && kind < 85, chat = kind >= 85 && kind < 90;
    const int day = index * 365 / 1000 % 365, minute = 420 + text.below(720);
    const std::string form = kind < 55 || sent || draft || chat ? "Memo"
                             : kind < 70                        ? "Reply"
                                                                : "Notice";
    std::vector<store::Item> items = {
        Text("Form", form),
        Text("From", sent || draft ? "CN=Anna Berg/O=Velmora" : sender.canonical()),
        List("SendTo", People(text, 1 + text.below(3))),
        Text("Subject", (form == "Reply" ? "Re: " : "") + text.subject()),
        Time("ComposedDate", When(day, minute - 5)),
    };
    if (text.chance(40))
        items.push_back(List("CopyTo", People(text, 1 + text.below(2))));
    if (text.chance(5))
        items.push_back(List("BlindCopyTo", People(text, 1)));
    if (text.chance(10))
        items.push_back(Text("ReplyTo", sender.address()));
    if (text.chance(20))
        items.push_back(List("Categories", {text.category(), text.category()}));
    const json body =
        chat ? json::array({json::array({"[10:02] Anna: are you there?"}),
                            json::array({"[10:03] " + sender.first + ": yes, one minute"})})
             : text.body(text.chance(10) ? 40 + text.below(60) : 1 + text.below(8),
                         sender.fullName());
    const bool sealed = text.chance(3);
    items.push_back(
        {"Body", Type::RichText, sealed, sealed ? json(store::SealValue(body, mail.key())) : body});
    if (chat)
        items.push_back(Text("$IMTranscript", "1"));
    if (!draft && !chat) {
        items.push_back(Time("PostedDate", When(day, minute)));
        items.push_back(Time("DeliveredDate", When(day, minute + 1)));
    }
    if (text.chance(15))
        items.push_back({"$FILE",
                         Type::Attachment,
                         false,
                         {{"file", text.chance(50) ? "Bericht Q3.pdf" : "figures.xlsx"},
                          {"size", 1000 + text.below(900000)}}});
    if (form == "Notice")
        items.push_back(Time("StartDateTime", When(day + 3, 600)));
    items.push_back({"Importance", Type::Text, false, std::to_string(1 + text.below(3))});
    const uint32_t id = mail.add(std::move(items));
    if (!sent && !draft && text.chance(20))
        unread.push_back(id);
}

// Entries over 2026 and the first half of 2027: some all past, some to come, whatever day
// the sample is read on; a few repeat weekly, up to the 100 occurrences a converter takes.
void AddAppointment(SampleDatabase& mail, SampleText& text, int index) {
    const int day = index * 13 % 540, minute = 480 + 30 * text.below(18);
    std::vector<std::string> starts = {When(day, minute)};
    const int repeats = index % 25 == 12 ? 104 : text.chance(30) ? 3 + text.below(8) : 1;
    for (int week = 1; week < repeats; ++week)
        starts.push_back(When(day + 7 * week, minute));
    std::vector<store::Item> items = {
        Text("Form", "Appointment"),
        Text("Subject", text.subject()),
        {"CalendarDateTime", Type::TimeRange, false, starts},
        Time("StartDateTime", starts[0]),
        Time("EndDateTime", When(day, minute + 30 * (1 + text.below(4)))),
        Text("Chair", text.person().canonical()),
        Text("Location", text.location()),
        List("Categories", {text.category()}),
        Text("AppointmentType", repeats > 1 ? "3" : "0"),
        {"Body", Type::RichText, false, text.body(1, "Anna")}};
    if (!text.chance(20))
        items.push_back(List("RequiredAttendees", People(text, 1 + text.below(4))));
    if (text.chance(60))
        items.push_back(List("OptionalAttendees", People(text, 1 + text.below(2))));
    mail.add(std::move(items));
}

// Tasks of both types, every due state and importance (and none), some without a due date,
// some repeating, some completed.
void AddTask(SampleDatabase& mail, SampleText& text, int index) {
    const int day = index * 11 % 540;
    std::vector<std::string> starts = {When(day, 540)};
    for (int week = 1; text.chance(20) && week < 4; ++week)
        starts.push_back(When(day + 7 * week, 540));
    const int type = 1 + index % 2;
    std::vector<store::Item> items = {
        Text("Form", "Task"),
        Text("Subject", text.subject()),
        Time("StartDateTime", starts[0]),
        {"CalendarDateTime", Type::TimeRange, false, starts},
        {"TaskType", Type::Number, false, type},
        Text("Chair", text.person().canonical()),
        List("Categories", {text.category()}),
        {"Body", Type::RichText, false, text.body(1 + text.below(3), "Anna")}};
    if (index % 7 != 6)
        items.push_back(Time("DueDateTime", When(day + 5, 1020)));
    if (const int dueState = std::vector<int>{0, 1, 2, 3, 8, 9, -1}[index % 7]; dueState >= 0)
        items.push_back({"DueState", Type::Number, false, dueState});
    if (const int importance = index / 7 % 5; importance > 0)
        items.push_back({"Importance", Type::Number, false, importance});
    if (type == 2 && text.chance(50))
        items.push_back(Time("PostedDate", When(day - 1, 600)));
    if (text.chance(40))
        items.push_back(Time("CompletedDateTime", When(day + 4, 900)));
    mail.add(std::move(items));
}

std::string Phone(SampleText& text, const char* prefix) {
    return std::string(prefix) + " " + std::to_string(100 + text.below(900)) + " " +
           std::to_string(1000 + text.below(9000));
}

// Contacts with both addresses, some of every phone and fax, dates, and the misc slots under
// each kind of label.
void AddContact(SampleDatabase& roster, SampleText& text, int index) {
    const Person p = text.person();
    std::vector<store::Item> items = {
        Text("Form", "Person"),
        Text("FirstName", p.first),
        Text("LastName", p.last),
        List("FullName", {p.canonical(), p.fullName()}),
        Text("MailAddress", p.address()),
        Text("CompanyName", p.company),
        Text("JobTitle", text.pick(std::vector<std::string>{"Engineer", "Buyer", "Counsel"})),
        Text("Department", "Research"),
        Text("StreetAddress", "Hauptstraße " + std::to_string(1 + text.below(90))),
        Text("City", p.city),
        Text("Zip", std::to_string(10000 + text.below(89999))),
        Text("Country", p.country),
        Text("OfficeStreetAddress", "Werkstraße " + std::to_string(1 + text.below(40))),
        Text("OfficeCity", p.city),
        Text("OfficeZip", std::to_string(10000 + text.below(89999))),
        Text("WebSite", "https://" + p.company + ".example"),
        {"Birthday", Type::Time, false, "1985-0" + std::to_string(1 + text.below(9)) + "-14"},
        Text("Spouse", text.person().first),
        List("Categories", {text.category()})};
    const struct {
        const char* item;
        const char* prefix;
        int percent;
    } numbers[] = {{"OfficePhoneNumber", "+49 221", 70}, {"CellPhoneNumber", "+49 170", 70},
                   {"PersPager", "+49 164", 20},         {"PhoneNumber_6", "+49 165", 10},
                   {"PhoneNumber", "+49 221", 50},       {"OfficeFAXPhoneNumber", "+49 221", 40},
                   {"HomeFAXPhoneNumber", "+49 228", 20}};
    for (const auto& number : numbers)
        if (text.chance(number.percent))
            items.push_back(Text(number.item, Phone(text, number.prefix)));
    if (text.chance(50)) {
        items.push_back(Text("OfficeState", "NRW"));
        items.push_back(Text("OfficeCountry", p.country));
    }
    if (text.chance(30))
        items.push_back(Time("Anniversary", "2012-06-" + std::to_string(10 + text.below(19))));
    if (text.chance(30)) {
        items.push_back(Text("Assistant", text.person().fullName()));
        items.push_back(Text("Manager", text.person().fullName()));
        items.push_back(List("Children", {text.person().first, text.person().first}));
        items.push_back(Text("Location", "Building " + std::to_string(1 + text.below(9))));
    }
    // Labels as users type them: each kind turns up in each slot over the sample.
    static const std::vector<std::string> labels = {"Email",    "Online Name",   "URL",
                                                    "Nickname", "Other Email 2", "Pager"};
    for (int slot = 1; slot <= 3; ++slot) {
        if (!text.chance(60))
            continue;
        const std::string& label = labels[(index + slot * 2) % labels.size()];
        const std::string value = label == "Nickname" ? p.first.substr(0, 3)
                                  : label == "URL"    ? "https://" + p.last + ".example"
                                  : label == "Online Name"
                                      ? p.first + "@chat"
                                      : p.first + "." + p.last + "@example.org";
        items.push_back(Text(("MiscLabel" + std::to_string(slot)).c_str(), label));
        items.push_back(Text(("MiscPhone" + std::to_string(slot)).c_str(), value));
    }
    roster.add(std::move(items));
}

// Topics and responses, and documents of forms whose titles are a text list, a number and a
// time, of a form nobody knows, and one whose title formula is its own.
void AddDiscussion(SampleDatabase& discussion, SampleText& text, int index) {
    const char* forms[] = {"MainTopic",    "Response",      "Announcement", "Expense",
                           "Meeting Note", "Status Report", "MainTopic"};
    std::vector<store::Item> items = {Text("Form", forms[index % 7]),
                                      Text("Subject", text.subject()),
                                      Text("From", text.person().canonical()),
                                      List("Categories", {text.category()}),
                                      {"Body", Type::RichText, false, text.body(2, "Team")},
                                      {"Amount", Type::Number, false, 10.5 * (index + 1)},
                                      Time("MeetingTime", When(index * 5 % 365, 600))};
    if (index % 7 == 6)
        items.push_back({"$WindowTitle", Type::Formula, false, R"("Pinned: " + Subject)"});
    discussion.add(std::move(items));
}

} // namespace

void WriteSampleDirectory(const std::string& directory, const SampleCounts& counts) {
    SampleText text(static_cast<unsigned>(counts.seed));
    SampleDatabase mail(directory, "mail.zrb", "Anna Berg's Mail");
    std::vector<uint32_t> unread;
    for (int i = 0; i < counts.mails; ++i)
        AddMail(mail, text, i, unread);
    for (int i = 0; i < counts.appointments; ++i)
        AddAppointment(mail, text, i);
    for (int i = 0; i < counts.tasks; ++i)
        AddTask(mail, text, i);
    if (!unread.empty() && mail.database().markUnread(kUserName, unread, true) != store::kOk)
        throw std::runtime_error(directory + "/mail.zrb: cannot write unread marks");

    SampleDatabase roster(directory, "roster.zrb", "Contacts");
    for (int i = 0; i < counts.contacts; ++i)
        AddContact(roster, text, i);

    SampleDatabase journal(directory, "journal.zrb", "Journal");
    for (int i = 0; i < counts.journal; ++i) {
        std::vector<store::Item> items = {
            Text("Form", i % 3 ? "JournalEntry" : "CleanSheet"),
            Text("Subject", text.subject()),
            List("Categories", {text.category()}),
            {"Body", Type::RichText, false, text.body(2 + text.below(4), "Anna")}};
        if (i % 4 != 3)
            items.push_back(Time("TimeCreated", When(i * 3, 1260)));
        journal.add(std::move(items));
    }

    SampleDatabase discussion(directory, "discussion.zrb", "Team Discussion");
    discussion.add({Text("$TITLE", "Main Topic|MainTopic"),
                    {"$WindowTitle", Type::Formula, false, R"("Topic: " + Subject)"}},
                   store::NoteClass::Form);
    discussion.add(
        {Text("$TITLE", "Response"),
         {"$WindowTitle", Type::Formula, false, R"f("Re: " + Subject + " (" + From + ")")f"}},
        store::NoteClass::Form);
    discussion.add({Text("$TITLE", "Announcement"),
                    {"$WindowTitle", Type::Formula, false, R"("Announcement" : Subject)"}},
                   store::NoteClass::Form);
    discussion.add({Text("$TITLE", "Expense"), {"$WindowTitle", Type::Formula, false, "Amount"}},
                   store::NoteClass::Form);
    discussion.add(
        {Text("$TITLE", "Meeting Note"), {"$WindowTitle", Type::Formula, false, "MeetingTime"}},
        store::NoteClass::Form);
    for (int i = 0; i < counts.other; ++i)
        AddDiscussion(discussion, text, i);

    SampleDatabase shelf(directory, "shelf.zrb", "History");
    for (int i = 0; i < std::max(5, counts.mails / 10); ++i)
        shelf.add({Text("Form", "Memo"),
                   Text("Subject", text.subject()),
                   Text("From", text.person().canonical()),
                   Time("PostedDate", When(i, 600)),
                   {"Body", Type::RichText, false, text.body(1, "Archive")}});
}

} // namespace zrb
