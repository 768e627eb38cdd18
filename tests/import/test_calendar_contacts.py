"""Calendar and address book imports through the real zrb.exe, read back with zrb dump."""
from importing import ImportTest, body_text

CALENDAR = """BEGIN:VCALENDAR\r
VERSION:2.0\r
PRODID:-//test//EN\r
BEGIN:VTIMEZONE\r
TZID:Europe/Berlin\r
BEGIN:STANDARD\r
DTSTART:19701025T030000\r
TZOFFSETFROM:+0200\r
TZOFFSETTO:+0100\r
RRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU\r
END:STANDARD\r
BEGIN:DAYLIGHT\r
DTSTART:19700329T020000\r
TZOFFSETFROM:+0100\r
TZOFFSETTO:+0200\r
RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU\r
END:DAYLIGHT\r
END:VTIMEZONE\r
BEGIN:VEVENT\r
UID:weekly@test\r
SUMMARY:Weekly review\r
DTSTART;TZID=Europe/Berlin:20260309T100000\r
DTEND;TZID=Europe/Berlin:20260309T113000\r
RRULE:FREQ=WEEKLY;COUNT=4\r
EXDATE;TZID=Europe/Berlin:20260316T100000\r
ORGANIZER;CN=Anna Berg:mailto:anna@example.org\r
ATTENDEE;CN=Bo;ROLE=REQ-PARTICIPANT:mailto:bo@example.org\r
ATTENDEE;ROLE=OPT-PARTICIPANT:mailto:cecilia@example.org\r
LOCATION:Lighthouse\\, room 3\r
CATEGORIES:Work,Review\r
DESCRIPTION:Agenda:\\ntides\r
END:VEVENT\r
BEGIN:VEVENT\r
UID:forever@test\r
SUMMARY:Daily stand-up\r
DTSTART:20260101T090000Z\r
DURATION:PT15M\r
RRULE:FREQ=DAILY\r
END:VEVENT\r
BEGIN:VEVENT\r
UID:holiday@test\r
SUMMARY:Holiday\r
DTSTART;VALUE=DATE:20261224\r
END:VEVENT\r
BEGIN:VEVENT\r
UID:broken@test\r
SUMMARY:No start\r
END:VEVENT\r
BEGIN:VTODO\r
UID:todo@test\r
SUMMARY:File the report\r
DTSTART:20260401T080000Z\r
DUE:20260405T170000Z\r
COMPLETED:20260404T120000Z\r
STATUS:COMPLETED\r
PRIORITY:1\r
END:VTODO\r
BEGIN:VTODO\r
UID:open@test\r
SUMMARY:Open question\r
STATUS:IN-PROCESS\r
PRIORITY:7\r
DTSTAMP:20260402T080000Z\r
END:VTODO\r
END:VCALENDAR\r
"""

CARDS = """BEGIN:VCARD\r
VERSION:3.0\r
UID:card-1\r
N:Ødegaard;Kari;;;\r
FN:Kari Ødegaard\r
NICKNAME:Kå\r
ORG:Fjord AS;Research\r
TITLE:Engineer\r
EMAIL;TYPE=INTERNET,PREF:kari@fjord.example\r
EMAIL;TYPE=INTERNET:kari@home.example\r
EMAIL;TYPE=INTERNET:k@third.example\r
TEL;TYPE=WORK,VOICE:+47 1111\r
TEL;TYPE=HOME,VOICE:+47 2222\r
TEL;TYPE=CELL:+47 3333\r
TEL;TYPE=PAGER:+47 4444\r
TEL;TYPE=WORK,FAX:+47 5555\r
TEL;TYPE=HOME,FAX:+47 6666\r
TEL;TYPE=CAR:+47 7777\r
TEL:+47 8888\r
ADR;TYPE=WORK:;;Werkstraße 1;Bergen;Vestland;5003;Norway\r
ADR;TYPE=HOME:;;Hjemveien 2;Oslo;;0150;Norway\r
BDAY:1985-03-14\r
X-ANNIVERSARY:2012-06-20\r
URL;TYPE=WORK:https://fjord.example\r
URL:https://kari.example\r
CATEGORIES:Friends,Norway\r
NOTE:Met at the fjord.\r
END:VCARD\r
BEGIN:VCARD\r
VERSION:3.0\r
ORG:Nameless Ltd\r
EMAIL:info@nameless.example\r
END:VCARD\r
BEGIN:VCARD\r
VERSION:2.1\r
N;CHARSET=ISO-8859-1;ENCODING=QUOTED-PRINTABLE:M=FCller;J=F6rg\r
TEL;WORK;FAX:+49 1\r
TEL;CELL:+49 2\r
ADR;WORK;ENCODING=QUOTED-PRINTABLE;CHARSET=ISO-8859-1:;;Werkstra=DFe 5;K=F6ln;;50667;Germany\r
END:VCARD\r
"""


class CalendarImport(ImportTest):
    """.ics imports."""

    def test_events_and_todos(self):
        counts, report = self.run_import("ics", self.write("cal.ics", CALENDAR))
        self.assertEqual(counts["added"], 5, report)
        self.assertIn("broken@test", report)
        notes = self.by_subject()
        weekly = notes["Weekly review"]
        self.assertEqual(weekly["Form"], "Appointment")
        self.assertEqual(
            weekly["CalendarDateTime"],
            [
                "2026-03-09 10:00:00.00 +01:00",
                "2026-03-23 10:00:00.00 +01:00",
                "2026-03-30 10:00:00.00 +02:00",
            ],
            "the excluded date left out, summer time kept",
        )
        self.assertEqual(weekly["StartDateTime"], "2026-03-09 10:00:00.00 +01:00")
        self.assertEqual(weekly["EndDateTime"], "2026-03-09 11:30:00.00 +01:00")
        self.assertEqual(weekly["Chair"], "Anna Berg <anna@example.org>")
        self.assertEqual(weekly["RequiredAttendees"], ["Bo <bo@example.org>"])
        self.assertEqual(weekly["OptionalAttendees"], ["cecilia@example.org"])
        self.assertEqual(weekly["Location"], "Lighthouse, room 3")
        self.assertEqual(weekly["Categories"], ["Work", "Review"])
        self.assertEqual(body_text(weekly["Body"]), "Agenda:\ntides")
        forever = notes["Daily stand-up"]
        self.assertEqual(len(forever["CalendarDateTime"]), 100, "a rule without end")
        self.assertEqual(forever["CalendarDateTime"][99], "2026-04-10 09:00:00.00 +00:00")
        self.assertEqual(forever["EndDateTime"], "2026-01-01 09:15:00.00 +00:00")
        holiday = notes["Holiday"]
        self.assertEqual(
            (holiday["StartDateTime"], holiday["EndDateTime"]),
            ("2026-12-24 00:00:00.00 +00:00", "2026-12-25 00:00:00.00 +00:00"),
        )
        self.assertEqual(holiday["AppointmentType"], "2")

        done = notes["File the report"]
        self.assertEqual(done["Form"], "Task")
        self.assertEqual(done["DueDateTime"], "2026-04-05 17:00:00.00 +00:00")
        self.assertEqual(done["CalendarDateTime"], ["2026-04-01 08:00:00.00 +00:00"])
        self.assertEqual(done["CompletedDateTime"], "2026-04-04 12:00:00.00 +00:00")
        self.assertEqual((done["DueState"], done["Importance"]), (9, 1))
        open_task = notes["Open question"]
        self.assertEqual((open_task["DueState"], open_task["Importance"]), (1, 3))
        self.assertEqual(open_task["CalendarDateTime"], ["2026-04-02 08:00:00.00 +00:00"])
        self.assertNotIn("DueDateTime", open_task)

        again, _ = self.run_import("ics", self.write("cal.ics", CALENDAR))
        self.assertEqual((again["added"], again["present"]), (0, 5))

    def test_a_file_that_is_no_calendar_is_reported(self):
        counts, report = self.run_import("ics", self.write("bad.ics", b"\x00\x01not ical"))
        self.assertEqual(counts["added"], 0)
        self.assertIn("bad.ics", report)


class ContactImport(ImportTest):
    """.vcf imports."""

    def test_a_card_with_every_field_and_one_without_a_name(self):
        counts, report = self.run_import("vcf", self.write("cards.vcf", CARDS))
        self.assertEqual(counts["added"], 3, report)
        notes = {n["FullName"][0]: n for n in self.notes()}
        kari = notes["Kari Ødegaard"]
        expected = {
            "Form": "Person",
            "FirstName": "Kari",
            "LastName": "Ødegaard",
            "MailAddress": "kari@fjord.example",
            "CompanyName": "Fjord AS",
            "Department": "Research",
            "JobTitle": "Engineer",
            "OfficePhoneNumber": "+47 1111",
            "PhoneNumber": "+47 2222",
            "CellPhoneNumber": ["+47 3333", "+47 7777"],
            "PersPager": "+47 4444",
            "OfficeFAXPhoneNumber": "+47 5555",
            "HomeFAXPhoneNumber": "+47 6666",
            "PhoneNumber_6": "+47 8888",
            "OfficeStreetAddress": "Werkstraße 1",
            "OfficeCity": "Bergen",
            "OfficeState": "Vestland",
            "OfficeZip": "5003",
            "OfficeCountry": "Norway",
            "StreetAddress": "Hjemveien 2",
            "City": "Oslo",
            "Zip": "0150",
            "Country": "Norway",
            "Birthday": "1985-03-14",
            "Anniversary": "2012-06-20",
            "WebSite": "https://fjord.example",
            "Categories": ["Friends", "Norway"],
            "MiscLabel1": "Nickname",
            "MiscPhone1": "Kå",
            "MiscLabel2": "Email",
            "MiscPhone2": "kari@home.example",
            "MiscLabel3": "Email",
            "MiscPhone3": "k@third.example",
        }
        self.assertEqual({k: kari.get(k) for k in expected}, expected)
        self.assertEqual(body_text(kari["Body"]), "Met at the fjord.")
        nameless = notes["Nameless Ltd"]
        self.assertEqual(nameless["MailAddress"], "info@nameless.example")
        self.assertNotIn("FirstName", nameless)
        old = notes["Jörg Müller"]
        self.assertEqual(
            {k: old.get(k) for k in ("OfficeFAXPhoneNumber", "CellPhoneNumber", "OfficeCity")},
            {"OfficeFAXPhoneNumber": "+49 1", "CellPhoneNumber": "+49 2", "OfficeCity": "Köln"},
            "vCard 2.1: bare types",
        )
