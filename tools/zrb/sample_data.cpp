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

// Day `day` of 2026 at the given minute, in Central European time with summer time.
std::string When(int day, int minute) {
    int year, month, dayOfMonth;
    store::CivilDate(store::JulianDay(2026, 1, 1) + day % 365, year, month, dayOfMonth);
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

void AddAppointment(SampleDatabase& mail, SampleText& text, int index) {
    const int day = index * 7 % 365, minute = 480 + 30 * text.below(18);
    std::vector<std::string> starts = {When(day, minute)};
    const bool repeating = text.chance(30);
    for (int week = 1; repeating && week < 4 + text.below(6); ++week)
        starts.push_back(When(day + 7 * week, minute));
    mail.add({Text("Form", "Appointment"),
              Text("Subject", text.subject()),
              {"CalendarDateTime", Type::TimeRange, false, starts},
              Time("StartDateTime", starts[0]),
              Time("EndDateTime", When(day, minute + 60)),
              Text("Chair", text.person().canonical()),
              List("RequiredAttendees", People(text, 1 + text.below(4))),
              List("OptionalAttendees", People(text, text.below(3))),
              Text("Location", text.location()),
              List("Categories", {text.category()}),
              Text("AppointmentType", repeating ? "3" : "0"),
              {"Body", Type::RichText, false, text.body(1, "Anna")}});
}

void AddTask(SampleDatabase& mail, SampleText& text, int index) {
    const int day = index * 11 % 365;
    std::vector<store::Item> items = {
        Text("Form", "Task"),
        Text("Subject", text.subject()),
        Time("StartDateTime", When(day, 540)),
        Time("DueDateTime", When(day + 5, 1020)),
        {"CalendarDateTime", Type::TimeRange, false, {When(day, 540)}},
        {"TaskType", Type::Number, false, 1 + text.below(2)},
        {"DueState", Type::Number, false, text.pick(std::vector<int>{0, 2, 8, 9})},
        Text("Importance", std::to_string(1 + text.below(3))),
        {"Body", Type::RichText, false, text.body(1 + text.below(3), "Anna")}};
    if (text.chance(40))
        items.push_back(Time("CompletedDateTime", When(day + 4, 900)));
    mail.add(std::move(items));
}

void AddContact(SampleDatabase& roster, SampleText& text) {
    const Person p = text.person();
    roster.add(
        {Text("Form", "Person"),
         Text("FirstName", p.first),
         Text("LastName", p.last),
         List("FullName", {p.canonical(), p.fullName()}),
         Text("MailAddress", p.address()),
         Text("CompanyName", p.company),
         Text("JobTitle", "Engineer"),
         Text("Department", "Research"),
         Text("OfficePhoneNumber", "+49 221 555 0100"),
         Text("CellPhoneNumber", "+49 170 555 0199"),
         Text("StreetAddress", "Hauptstraße 5"),
         Text("City", p.city),
         Text("Zip", "50667"),
         Text("Country", p.country),
         Text("OfficeCity", p.city),
         Text("WebSite", "https://" + p.company + ".example"),
         {"Birthday", Type::Time, false, "1985-0" + std::to_string(1 + text.below(9)) + "-14"},
         Text("Spouse", text.person().first),
         List("Categories", {text.category()})});
}

void AddDiscussion(SampleDatabase& discussion, SampleText& text, int index) {
    const char* forms[] = {"MainTopic", "Response", "Announcement", "Expense"};
    discussion.add({Text("Form", forms[index % 4]),
                    Text("Subject", text.subject()),
                    Text("From", text.person().canonical()),
                    List("Categories", {text.category()}),
                    {"Body", Type::RichText, false, text.body(2, "Team")},
                    {"Amount", Type::Number, false, 10.5 * (index + 1)}});
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
        AddContact(roster, text);

    SampleDatabase journal(directory, "journal.zrb", "Journal");
    for (int i = 0; i < counts.journal; ++i)
        journal.add({Text("Form", i % 3 ? "JournalEntry" : "CleanSheet"),
                     Text("Subject", text.subject()),
                     Time("TimeCreated", When(i * 3, 1260)),
                     List("Categories", {text.category()}),
                     {"Body", Type::RichText, false, text.body(2 + text.below(4), "Anna")}});

    SampleDatabase discussion(directory, "discussion.zrb", "Team Discussion");
    discussion.add({Text("$TITLE", "Main Topic|MainTopic"),
                    {"$WindowTitle", Type::Formula, false, R"("Topic: " + Subject)"}},
                   store::NoteClass::Form);
    discussion.add(
        {Text("$TITLE", "Response"),
         {"$WindowTitle", Type::Formula, false, R"f("Re: " + Subject + " (" + From + ")")f"}},
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
