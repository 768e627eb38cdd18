// The converters of calendar entries, tasks, contacts, journal entries and other documents,
// through fake engines: what each sends as properties and content lines.
#include "conversion_fixtures.h"
#include "convert/contact_fields.h"
#include "convert/convert_note.h"
#include "convert/converters.h"
#include "convert/document_url.h"
#include "convert/window_title.h"

#include <functional>

using namespace tamsel;

namespace {

class DocumentConversion : public FakeEngineConversion {
  protected:
    // Converts a new note with these items; the content text of what was sent ("" for none).
    std::string Convert(std::vector<store::Item> items) {
        note = db->Open(db->Put(std::move(items)));
        fakes.calls.clear();
        context = db->Context();
        converted = ConvertNote(note, &context);
        const auto contents = Added("content");
        return contents.empty() ? std::string() : contents.back();
    }

    NOTEHANDLE note = 0;
    PassContext context{};
    bool converted = false;
};

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

store::Item Times(const std::string& name, std::initializer_list<std::string> texts) {
    return {name, store::ItemType::TimeRange, false, nlohmann::json(texts)};
}

store::Item Formula(const std::string& name, const std::string& source) {
    return {name, store::ItemType::Formula, false, source};
}

std::vector<store::Item> Appointment(std::vector<store::Item> schedule) {
    schedule.push_back(TextItem("Form", "Appointment"));
    schedule.push_back(TextItem("Subject", "Standup"));
    return schedule;
}

TEST_F(DocumentConversion, ASchedulePicksTheNextOccurrenceAndListsThemAll) {
    const struct {
        std::vector<store::Item> items;
        std::vector<std::string> lines, absent;
    } cases[] = {
        {{Times("CalendarDateTime", {"2006-05-17 01:00:00.00 +00:00"}),
          TimeItem("StartDateTime", "2006-05-17 01:00:00.00 +00:00"),
          TimeItem("EndDateTime", "2006-05-17 02:30:00.00 +00:00")},
         {"start_date: (GMT+08:00) 2006-5-17 9:00:00\r\nend_date: (GMT+08:00) 2006-5-17 "
          "10:30:00\r\nduration: 90\r\n"},
         {"recurrence_pattern"}},
        {{Times("CalendarDateTime",
                {"2006-05-17 01:00:00.00 +00:00", "2006-05-24 09:00:00.00 +08:00"}),
          TimeItem("StartDateTime", "2006-05-17 01:00:00.00 +00:00"),
          TimeItem("EndDateTime", "2006-05-17 02:30:00.00 +00:00")},
         {"start_date: (GMT+08:00) 2006-5-17 9:00:00\r\n",
          "recurrence_pattern: 05-17-2006 01:00:00 / 05-17-2006 02:30:00; 05-24-2006 01:00:00 / "
          "05-24-2006 02:30:00\r\n"},
         {}},
        // The occurrence to come is reported, the past ones only listed.
        {{Times("CalendarDateTime",
                {"2006-05-17 01:00:00.00 +00:00", "2090-05-24 01:00:00.00 +00:00",
                 "2090-05-31 01:00:00.00 +00:00"}),
          TimeItem("StartDateTime", "2006-05-17 01:00:00.00 +00:00"),
          TimeItem("EndDateTime", "2006-05-17 01:00:59.90 +00:00")},
         {"start_date: (GMT+08:00) 2090-5-24 9:00:00\r\nend_date: (GMT+08:00) 2090-5-24 "
          "9:00:59\r\n",
          "; 05-31-2090 01:00:00 / 05-31-2090 01:00:59\r\n"},
         {"duration"}},
        // Unreadable pieces are skipped; equal start and end have no duration.
        {{Times("CalendarDateTime", {"2006-05-17 01:00:00.00 +00:00"}),
          TextItem("StartDateTime", "2006-05-17 01:00:00.00 +00:00"),
          TextItem("EndDateTime", "2006-05-17 01:00:00.00 +00:00")},
         {"end_date: (GMT+08:00) 2006-5-17 9:00:00\r\n"},
         {"duration", "recurrence_pattern"}},
        {{TextItem("CalendarDateTime", "yesterday|2006-05-17 01:00:00.00 +00:00|noon"),
          TimeItem("StartDateTime", "2006-05-17 01:00:00.00 +00:00"),
          TimeItem("EndDateTime", "2006-05-17 03:00:00.00 +00:00")},
         {"duration: 120\r\n"},
         {"recurrence_pattern"}},
    };
    for (const auto& c : cases) {
        const std::string content = Convert(Appointment(c.items));
        EXPECT_TRUE(converted);
        for (const auto& line : c.lines)
            EXPECT_TRUE(Contains(content, line)) << line << "\nin: " << content;
        for (const auto& name : c.absent)
            EXPECT_FALSE(Contains(content, name + ":")) << name << "\nin: " << content;
    }
}

TEST_F(DocumentConversion, AnUnusableScheduleTakesTheDeletionRoad) {
    const std::string start = "2006-05-17 01:00:00.00 +00:00";
    const std::vector<std::vector<store::Item>> cases = {
        {Times("CalendarDateTime", {start}), TimeItem("StartDateTime", start)},
        {TextItem("CalendarDateTime", ""), TimeItem("StartDateTime", start),
         TimeItem("EndDateTime", start)},
        {Times("CalendarDateTime", {start}), TimeItem("StartDateTime", start),
         TimeItem("EndDateTime", "2006-05-17 00:59:59.00 +00:00")},
        {Times("CalendarDateTime", {start}), TextItem("StartDateTime", "soon"),
         TimeItem("EndDateTime", start)},
        {TextItem("CalendarDateTime", std::string(32768, '1')), TimeItem("StartDateTime", start),
         TimeItem("EndDateTime", start)},
    };
    for (const auto& items : cases) {
        Convert(Appointment(items));
        EXPECT_EQ(context.noteStatus, STORE_ERR_STUB) << items.size();
        for (const auto& subject : Added("subject"))
            EXPECT_NE(subject, "\"Standup\"") << "no calendar event was built";
    }
}

TEST_F(DocumentConversion, OnlyTheFirstHundredOccurrencesCount) {
    nlohmann::json starts = nlohmann::json::array();
    for (int day = 1; day <= 28; ++day)
        for (int hour : {1, 3, 5, 7})
            starts.push_back("2006-02-" + std::string(day < 10 ? "0" : "") + std::to_string(day) +
                             " 0" + std::to_string(hour) + ":00:00.00 +00:00");
    const std::string content =
        Convert(Appointment({{"CalendarDateTime", store::ItemType::TimeRange, false, starts},
                             TimeItem("StartDateTime", "2006-02-01 01:00:00.00 +00:00"),
                             TimeItem("EndDateTime", "2006-02-01 01:30:00.00 +00:00")}));
    ASSERT_EQ(starts.size(), 112u);
    const size_t pattern = content.find("recurrence_pattern: ");
    ASSERT_NE(pattern, std::string::npos) << content;
    const std::string line = content.substr(pattern, content.find("\r\n", pattern) - pattern);
    EXPECT_EQ(std::count(line.begin(), line.end(), ';'), 99) << line;
    EXPECT_TRUE(Contains(line, "02-25-2006 07:00:00 / 02-25-2006 07:30:00")) << "the 100th";
    EXPECT_FALSE(Contains(line, "02-26-2006")) << "the 101st";
}

// A daily meeting over three years: more dates than the item buffer holds as text.
TEST_F(DocumentConversion, AScheduleLongerThanTheBufferKeepsItsFirstHundredOccurrences) {
    nlohmann::json starts = nlohmann::json::array();
    char text[40];
    for (int day = 0; day < 1100; ++day) {
        const SYSTEMTIME first = {2026, 1, 0, 1, 9, 0, 0, 0};
        FILETIME time;
        SystemTimeToFileTime(&first, &time);
        ULARGE_INTEGER value{{time.dwLowDateTime, time.dwHighDateTime}};
        value.QuadPart += ULONGLONG(day) * 24 * 3600 * 10000000;
        time = {value.LowPart, value.HighPart};
        SYSTEMTIME date;
        FileTimeToSystemTime(&time, &date);
        std::snprintf(text, sizeof text, "%04d-%02d-%02d 09:00:00.00 +00:00", date.wYear,
                      date.wMonth, date.wDay);
        starts.push_back(text);
    }
    const store::Item dates = {"CalendarDateTime", store::ItemType::TimeRange, false, starts};
    const struct {
        const char* form;
        const char* endItem;
        const char* endLine;
    } cases[] = {{"Appointment", "EndDateTime", "end_date: "},
                 {"Task", "DueDateTime", "due_date: "}};
    for (const auto& c : cases) {
        const std::string content =
            Convert({TextItem("Form", c.form), TextItem("Subject", "Standup"), dates,
                     TimeItem("StartDateTime", "2026-01-01 09:00:00.00 +00:00"),
                     TimeItem(c.endItem, "2026-01-01 09:15:00.00 +00:00")});
        EXPECT_TRUE(converted) << c.form;
        EXPECT_EQ(context.noteStatus, 0) << c.form;
        EXPECT_TRUE(Contains(content, c.endLine)) << c.form << content;
        const size_t pattern = content.find("recurrence_pattern: ");
        ASSERT_NE(pattern, std::string::npos) << c.form << content;
        const std::string line = content.substr(pattern, content.find("\r\n", pattern) - pattern);
        EXPECT_EQ(std::count(line.begin(), line.end(), ';'), 99) << line;
        EXPECT_TRUE(Contains(line, "04-10-2026 09:00:00 / 04-10-2026 09:15:00")) << "the 100th";
    }
}

TEST_F(DocumentConversion, AttendeesJoinRequiredAndOptionalWithOneComma) {
    const struct {
        std::initializer_list<std::string> required, optional;
        const char* line;
    } cases[] = {
        {{"CN=Anna Berg/O=Acme", "r2"}, {"o1"}, "attendees: Anna Berg/Acme, r2,o1\r\n"},
        {{}, {"o1"}, "attendees: o1\r\n"},
        {{"r1"}, {}, "attendees: r1\r\n"},
        {{"r1"}, {""}, "attendees: r1\r\n"},
        {{}, {}, nullptr},
    };
    for (const auto& c : cases) {
        const std::string start = "2006-05-17 01:00:00.00 +00:00";
        const std::string content = Convert(Appointment(
            {Times("CalendarDateTime", {start}), TimeItem("StartDateTime", start),
             TimeItem("EndDateTime", start), ListItem("RequiredAttendees", c.required),
             ListItem("OptionalAttendees", c.optional), ListItem("Chair", {"CN=Bo/O=Acme"}),
             ListItem("Location", {"Room 1", "Floor 2"})}));
        if (c.line) {
            EXPECT_TRUE(Contains(content, c.line)) << c.line << "\nin: " << content;
        } else {
            EXPECT_FALSE(Contains(content, "attendees")) << content;
        }
        EXPECT_TRUE(Contains(content, "organizer: Bo/Acme\r\nattendees") || !c.line) << content;
        EXPECT_TRUE(Contains(content, "location: Room 1\r\nFloor 2\r\n")) << content;
    }
}

TEST_F(DocumentConversion, ATaskReportsItsStatusImportanceAndDueDate) {
    const struct {
        double type;
        bool posted;
        std::optional<double> dueState, importance;
        const char* status;
        const char* importanceLine;
    } cases[] = {
        {2, false, 0, 1, "status: 0", "importance: 2"},
        {2, true, 0, 2, "status: 3", "importance: 1"},
        {1, false, 2, 3, "status: 0", "importance: 0"},
        {1, false, 8, 4, "status: 4", nullptr},
        {1, false, 9, {}, "status: 2", nullptr},
        {1, false, {}, {}, "status: 1", nullptr},
        {1, false, 5, {}, "status: 1", nullptr},
    };
    for (const auto& c : cases) {
        std::vector<store::Item> items = {
            TextItem("Form", "Task"),
            TextItem("Subject", "Report"),
            NumberItem("TaskType", c.type),
            ListItem("Chair", {"CN=Bo/O=Acme"}),
            Times("CalendarDateTime", {"2006-05-17 01:00:00.00 +00:00"}),
            TimeItem("StartDateTime", "2006-05-17 01:00:00.00 +00:00"),
            TimeItem("DueDateTime", "2006-06-02 09:00:00.00 +00:00"),
            TimeItem("CompletedDateTime", "2006-06-02 09:00:00.00 +00:00")};
        if (c.posted)
            items.push_back(TimeItem("PostedDate", "2006-05-16"));
        if (c.dueState)
            items.push_back(NumberItem("DueState", *c.dueState));
        if (c.importance)
            items.push_back(NumberItem("Importance", *c.importance));
        const std::string content = Convert(items);
        EXPECT_TRUE(converted);
        EXPECT_TRUE(Contains(content, std::string(c.status) + "\r\n")) << c.status << content;
        EXPECT_EQ(Contains(content, "importance:"), c.importanceLine != nullptr) << content;
        if (c.importanceLine) {
            EXPECT_TRUE(Contains(content, c.importanceLine)) << content;
        }
        EXPECT_TRUE(Contains(content, "owner: Bo/Acme\r\n")) << content;
        EXPECT_TRUE(Contains(content, "due_date: (GMT+08:00) 2006-6-2 17:00:00\r\n")) << content;
        EXPECT_TRUE(Contains(content, "date_completed: (GMT+08:00) 2006-6-2 17:00:00\r\n"));
        EXPECT_FALSE(Contains(content, "duration")) << "tasks have no duration";
    }
}

TEST_F(DocumentConversion, ATaskWithoutDueDateHasNoScheduleAndOneWithoutDatesIsNotATask) {
    std::string content =
        Convert({TextItem("Form", "Task"), Times("CalendarDateTime", {"2006-05-17"}),
                 TimeItem("StartDateTime", "2006-05-17")});
    EXPECT_TRUE(converted);
    EXPECT_TRUE(Contains(content, "status: 1\r\n")) << content;
    EXPECT_FALSE(Contains(content, "start_date")) << content;
    EXPECT_FALSE(Contains(content, "due_date")) << content;

    Convert({TextItem("Form", "Task"), TimeItem("StartDateTime", "2006-05-17")});
    EXPECT_EQ(context.noteStatus, STORE_ERR_STUB);
}

TEST_F(DocumentConversion, MiscLabelsAreLookedForInsideTheFixedTexts) {
    const struct {
        const char* label;
        MiscKind kind;
    } cases[] = {
        {"Email", MiscKind::email},          {"e", MiscKind::email},
        {"Other Email 2", MiscKind::email},  {"name", MiscKind::onlineName},
        {"URL", MiscKind::homePage},         {"NICK", MiscKind::nickname},
        {"Business e-mail", MiscKind::none}, {"", MiscKind::none},
    };
    for (const auto& c : cases) {
        const NOTEHANDLE contact = db->Open(db->Put({TextItem("MiscLabel2", c.label)}));
        EXPECT_EQ(ClassifyMiscLabel(contact, 2), c.kind) << c.label;
        EXPECT_EQ(ClassifyMiscLabel(contact, 1), MiscKind::none);
    }
}

TEST_F(DocumentConversion, AddressesAndMiscValuesKeepTheirSeparatorsAndCapacity) {
    const NOTEHANDLE contact =
        db->Open(db->Put({TextItem("StreetAddress", "s1"), TextItem("City", "c1"),
                          TextItem("Zip", "z1"), TextItem("OfficeStreetAddress", "s2"),
                          TextItem("OfficeState", "st"), TextItem("OfficeCountry", "co"),
                          TextItem("MiscPhone1", "m1"), TextItem("MiscPhone3", "m3")}));
    const struct {
        bool office;
        WORD capacity;
        const char* text;
    } addresses[] = {
        {false, 100, "s1\r\nc1, z1 "}, {true, 100, "s2\r\nst co"},
        {false, 6, "s1\r\nc"},         {false, 5, "s1"},
        {false, 9, "s1\r\nc1"},
    };
    char buffer[100];
    for (const auto& a : addresses) {
        const WORD length =
            a.office ? AssembleAddress(contact, buffer, a.capacity, "OfficeStreetAddress",
                                       "OfficeCity", "OfficeState", "OfficeZip", "OfficeCountry")
                     : AssembleAddress(contact, buffer, a.capacity, "StreetAddress", "City",
                                       "State", "Zip", "Country");
        EXPECT_EQ(std::string(buffer, length), a.text) << a.capacity;
        EXPECT_LT(length, a.capacity);
    }
    const struct {
        bool take1, take2, take3;
        WORD capacity;
        const char* text;
    } misc[] = {
        {true, true, true, 100, "m1, m3"}, {false, true, true, 100, "m3"},
        {true, true, false, 100, "m1"},    {true, false, true, 6, "m1, m"},
        {true, false, true, 7, "m1, m3"},
    };
    for (const auto& m : misc) {
        const WORD length =
            CollectMiscValues(contact, buffer, m.capacity, m.take1, m.take2, m.take3);
        EXPECT_EQ(std::string(buffer, length), m.text) << m.capacity;
    }
}

TEST_F(DocumentConversion, AContactWritesItsRowsInOrderWithPrimaryNumbers) {
    const std::string content = Convert({
        TextItem("Form", "Person"),
        ListItem("FullName", {"CN=Anna Berg/O=Acme", "Anna"}),
        TextItem("PersPager", "555-1"),
        TextItem("PhoneNumber", "555-2"),
        TextItem("HomeFAXPhoneNumber", "555-3"),
        TextItem("Country", "Sweden"),
        TimeItem("Birthday", "1985-03-14"),
        TextItem("Anniversary", "not a date"),
        TextItem("MiscLabel1", "Email"),
        TextItem("MiscPhone1", "a@x"),
        TextItem("MiscLabel2", "email"),
        TextItem("MiscPhone2", "b@x"),
        TextItem("MiscLabel3", "Nickname"),
        TextItem("MiscPhone3", "Ann"),
    });
    EXPECT_TRUE(converted);
    EXPECT_TRUE(Contains(content, "mobile_phone: 555-1\r\npager: 555-1\r\nhome_phone: 555-2\r\n"
                                  "home_fax: 555-3\r\ndisplay_name: Anna Berg/Acme, Anna\r\n"))
        << content;
    EXPECT_TRUE(Contains(content, "birthday: (GMT+08:00) 1985-3-14 8:00:00\r\ncountry: Sweden\r\n"))
        << content;
    EXPECT_TRUE(Contains(content, "primary_phone: 555-1\r\nprimary_fax: 555-3\r\nnickname: Ann\r\n"
                                  "unknown type: a@x\r\nemail2: b@x\r\n"))
        << content;
    EXPECT_FALSE(Contains(content, "wedding_anniversary")) << content;
    EXPECT_EQ(Added("subject"), std::vector<std::string>{"\"Anna Berg/Acme, Anna\""});

    const std::string office =
        Convert({TextItem("Form", "Person"), TextItem("OfficePhoneNumber", "1"),
                 TextItem("CellPhoneNumber", "2")});
    EXPECT_TRUE(Contains(office, "primary_phone: 1\r\n")) << office;
    EXPECT_TRUE(Contains(office, "display_name: \r\n")) << "written even when empty";
    EXPECT_EQ(Added("subject"), std::vector<std::string>{"\"\""});
}

TEST_F(DocumentConversion, AJournalEntryHasAStartTimeOnlyWhenItWasCreated) {
    for (const bool created : {true, false}) {
        std::vector<store::Item> items = {TextItem("Form", "JournalEntry"),
                                          TextItem("Subject", "Notes")};
        if (created)
            items.push_back(TimeItem("TimeCreated", "2006-05-17 01:00:00.00 +00:00"));
        const std::string content = Convert(items);
        EXPECT_TRUE(converted);
        EXPECT_EQ(Contains(content, "start_time: (GMT+08:00) 2006-5-17 9:00:00\r\n"), created)
            << content;
        EXPECT_EQ(Added("subject"), std::vector<std::string>{"\"Notes\""});
    }
    EXPECT_TRUE(LogLines().empty()) << LogLines().front();
}

TEST_F(DocumentConversion, AnOtherDocumentIsTitledByItsFormsFormula) {
    db->Put(
        {TextItem("$TITLE", "Topic|MainTopic"), Formula("$WindowTitle", "\"Topic: \" + Subject")},
        store::NoteClass::Form);
    db->Put({TextItem("$TITLE", "Sum"), Formula("$WindowTitle", "Amount + 1")},
            store::NoteClass::Form);
    db->Put({TextItem("$TITLE", "When"), Formula("$WindowTitle", "Due")}, store::NoteClass::Form);
    db->Put({TextItem("$TITLE", "Tags"), Formula("$WindowTitle", "\"a\" : Subject")},
            store::NoteClass::Form);
    db->Put({TextItem("$TITLE", "Numbers"), Formula("$WindowTitle", "Amount : 2")},
            store::NoteClass::Form);
    db->Put({TextItem("$TITLE", "Times"), Formula("$WindowTitle", "Due : Due")},
            store::NoteClass::Form);
    db->Put({TextItem("$TITLE", "Broken"), Formula("$WindowTitle", "\"a\" + 1")},
            store::NoteClass::Form);
    db->Put({TextItem("$TITLE", "Unparsable"), Formula("$WindowTitle", "(\"a\"")},
            store::NoteClass::Form);
    const struct {
        const char* form;
        std::vector<store::Item> own;
        const char* subject;
    } cases[] = {
        {"maintopic", {}, "\"Topic: Lanterns\""},
        {"Sum", {}, "\"11.5\""},
        {"When", {}, "\"2006-05-17 09:00:00.00 +08:00\""},
        {"Tags", {}, "\"a, Lanterns\""},
        {"Numbers", {}, "\"10.5\""},
        {"Times", {}, "\"2006-05-17 09:00:00.00 +08:00\""},
        {"Broken", {}, "\"Anna's Mail\""},
        {"Unparsable", {Formula("$WindowTitle", "Subject")}, "\"Lanterns\""},
        {"Nobody's", {}, "\"Anna's Mail\""},
        {"Nobody's", {TextItem("$WindowTitle", "Subject")}, "\"Anna's Mail\""},
    };
    for (const auto& c : cases) {
        std::vector<store::Item> items = c.own;
        items.push_back(TextItem("Form", c.form));
        items.push_back(TextItem("Subject", "Lanterns"));
        items.push_back(NumberItem("Amount", 10.5));
        items.push_back(TimeItem("Due", "2006-05-17 09:00:00.00 +08:00"));
        Convert(items);
        EXPECT_TRUE(converted) << c.form;
        EXPECT_EQ(Added("subject"), std::vector<std::string>{c.subject}) << c.form;
    }
}

TEST_F(DocumentConversion, TheCompositeBodyGoesToOtherDataUnlessComputingIsAllowed) {
    const std::vector<store::Item> items = {
        TextItem("Form", "Expense"),        BodyItem("Body", {"standard body"}),
        BodyItem("Notes", {"first half"}),  TextItem("Amount", "12"),
        BodyItem("notes", {"second half"}),
    };
    const auto url = [&] {
        char text[documentUrlSize];
        return std::string(text, BuildNoteUrl(note, text));
    };
    const auto count = [](const std::string& text, const std::string& part) {
        size_t found = 0;
        for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
            ++found;
        return found;
    };
    const std::string plain = Convert(items);
    EXPECT_TRUE(Contains(plain, "content: standard body\r\n")) << plain;
    EXPECT_TRUE(Contains(plain, "other_data: " + url() + "\r\n")) << plain;
    const size_t composite = plain.find("other_data: Expense\r\nstandard body\r\nfirst half");
    ASSERT_NE(composite, std::string::npos) << plain;
    const std::string rest = plain.substr(composite);
    EXPECT_EQ(count(rest, "second half"), 1u) << "a split field, rendered once: " << rest;
    EXPECT_TRUE(Contains(rest, "12\r\n" + url())) << "every item, then the url: " << rest;

    IndexTypeMask &= ~indexFeatureOtherData;
    EXPECT_FALSE(Contains(Convert(items), "other_data")) << "only with bit 1024";

    UseSettings("DesktopSearchComputeOK=1\n");
    const std::string computed = Convert(items);
    EXPECT_TRUE(
        Contains(computed, "content: standard body\r\nfirst half\r\nsecond half\r\n" + url()))
        << "the rich text merged, then the url: " << computed;
    EXPECT_EQ(Added("url"), std::vector<std::string>{std::string("\"").append(url()).append("\"")})
        << "the document's own url, not the temporary body's";
}

TEST_F(DocumentConversion, ItemsOfUnexpectedTypesOrSizesNeverStopAConversion) {
    const struct {
        const char* form;
        std::vector<std::string> names;
        bool deleted;
    } kinds[] = {
        {"Appointment",
         {"CalendarDateTime", "StartDateTime", "EndDateTime", "Chair", "RequiredAttendees",
          "OptionalAttendees", "Location", "Subject", "Categories"},
         true}, // no usable schedule: the deletion road
        {"Task",
         {"CalendarDateTime", "StartDateTime", "DueDateTime", "Subject", "Categories", "Chair",
          "TaskType", "PostedDate", "DueState", "CompletedDateTime", "Importance"},
         false},
        {"Person",
         {"OfficeStreetAddress",
          "OfficeCity",
          "OfficeState",
          "OfficeZip",
          "OfficeCountry",
          "StreetAddress",
          "City",
          "State",
          "Zip",
          "Country",
          "OfficePhoneNumber",
          "CellPhoneNumber",
          "PersPager",
          "PhoneNumber_6",
          "PhoneNumber",
          "OfficeFAXPhoneNumber",
          "HomeFAXPhoneNumber",
          "FullName",
          "Assistant",
          "Birthday",
          "WebSite",
          "Categories",
          "Children",
          "CompanyName",
          "MailAddress",
          "Spouse",
          "JobTitle",
          "Manager",
          "Location",
          "Anniversary",
          "MiscLabel1",
          "MiscLabel2",
          "MiscLabel3",
          "MiscPhone1",
          "MiscPhone2",
          "MiscPhone3"},
         false},
        {"JournalEntry", {"Subject", "Categories", "TimeCreated"}, false},
        {"Expense", {"$WindowTitle", "Subject", "Body"}, false},
    };
    const std::string huge(40000, 'x');
    const std::function<store::Item(const std::string&)> values[] = {
        [](const std::string& name) { return NumberItem(name, 7); },
        [](const std::string& name) { return BodyItem(name, {"rich"}); },
        [](const std::string& name) {
            return ListItem(name, {"", "email", ""});
        },
        [&](const std::string& name) { return TextItem(name, huge); },
    };
    for (const auto& kind : kinds) {
        for (size_t v = 0; v < std::size(values); ++v) {
            std::vector<store::Item> items = {TextItem("Form", kind.form)};
            for (const auto& name : kind.names)
                items.push_back(values[v](name));
            const std::string content = Convert(items);
            EXPECT_TRUE(converted) << kind.form << " " << v;
            EXPECT_EQ(context.noteStatus, kind.deleted ? STORE_ERR_STUB : 0) << kind.form << v;
            EXPECT_LT(content.size(), 40u * 32768u) << "every text within its buffer";
        }
    }
}

TEST_F(DocumentConversion, AnEngineThatRefusesAPropertyFailsTheConversion) {
    const std::string start = "2006-05-17 01:00:00.00 +00:00";
    const std::vector<std::vector<store::Item>> kinds = {
        Appointment({Times("CalendarDateTime", {start}), TimeItem("StartDateTime", start),
                     TimeItem("EndDateTime", start)}),
        {TextItem("Form", "Task"), Times("CalendarDateTime", {start}), TextItem("Subject", "s")},
        {TextItem("Form", "Person"), TextItem("FullName", "s")},
        {TextItem("Form", "JournalEntry"), TextItem("Subject", "s")},
        {TextItem("Form", "Expense"), TextItem("Subject", "s")},
    };
    for (const char* property : {"AddProperty subject", "AddProperty folder_name", "Send"}) {
        for (const auto& items : kinds) {
            fakes.answers[property] = {E_ACCESSDENIED};
            Convert(items);
            fakes.answers.erase(property);
            EXPECT_FALSE(converted) << property;
            EXPECT_EQ(context.engineResult, E_ACCESSDENIED) << property;
            EXPECT_EQ(context.noteStatus, 0);
        }
    }
}

} // namespace
