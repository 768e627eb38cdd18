"""Mail imports through the real zrb.exe, read back with zrb dump."""
import base64
import os

from importing import ImportTest, body_text


DATE = "Date: Tue, 8 Dec 2026 18:00:00 +0100\n"


def message(subject_header, extra="", body="Text.\n", date=DATE):
    head = f"From: Anna <anna@example.org>\nTo: bo@example.org\n{date}Subject: {subject_header}\n"
    return f"{head}{extra}\n{body}"


def mbox(*messages):
    return "".join(
        "From sender@example.org Tue Dec  8 18:00:00 2026\n" + m.rstrip("\n") + "\n\n"
        for m in messages
    ).encode("utf-8")


PDF = base64.b64encode(b"%PDF" + bytes(996)).decode()
MULTIPART = f"""MIME-Version: 1.0
Cc: =?iso-8859-1?q?J=F6rg_M=FCller?= <j@example.de>, c@example.org
Bcc: secret@example.org
Reply-To: replies@example.org
Message-ID: <multi@example.org>
Content-Type: multipart/mixed; boundary="outer"

--outer
Content-Type: multipart/alternative; boundary="inner"

--inner
Content-Type: text/plain; charset=utf-8
Content-Transfer-Encoding: quoted-printable

Gr=C3=BC=C3=9Fe aus K=C3=B6ln
--inner
Content-Type: text/html; charset=utf-8

<p>HTML twin</p>
--inner--
--outer
Content-Type: application/pdf; name="report.pdf"
Content-Disposition: attachment; filename="report.pdf"
Content-Transfer-Encoding: base64

{PDF}
--outer
Content-Type: text/plain; charset=utf-8
Content-Disposition: attachment; filename*=utf-8''R%C3%A9sum%C3%A9.txt

0123456789
--outer--
"""


class MailImport(ImportTest):
    """mbox, Maildir and .eml imports."""

    def test_headers_bodies_and_attachments_in_every_charset(self):
        raw = mbox(
            message("multipart", MULTIPART, body=""),
            message("=?utf-8?b?w5xiZXJzaWNodA==?= =?utf-8?q?_und_mehr?="),
            message("=?koi8-r?b?8NLJ18XU?="),
            message("=?shift_jis?b?k/qWe4zq?="),
            message("=?iso-8859-15?q?Preis_=A4?="),
            message(
                "html only",
                "Content-Type: text/html; charset=windows-1252\n",
                body="<html><body><h1>Title</h1><p>caf\xe9 &amp; <b>more</b></p></body>" "</html>",
            ),
            message(
                "bad charset",
                "Content-Type: text/plain; charset=x-no-such-charset\n",
                body="plain words\n",
            ),
            message("raw 8-bit K\xf6ln"),
            message("=?x-no-such-charset?q?Caf=E9?= =?utf-8?q?_ok?="),
        )
        # The last message's subject and the html body are 8-bit bytes without a declaration
        # that Python could read as UTF-8: written as Latin-1.
        path = self.write(
            "charsets.mbox",
            raw.replace("café".encode(), b"caf\xe9").replace("K\xf6ln".encode(), b"K\xf6ln"),
        )
        counts, report = self.run_import("mbox", path)
        self.assertEqual(counts, {"added": 9, "present": 0, "refused": 0}, report)
        notes = self.by_subject()
        self.assertEqual(
            set(notes),
            {
                "multipart",
                "Übersicht und mehr",
                "Привет",
                "日本語",
                "Preis €",
                "html only",
                "bad charset",
                "raw 8-bit Köln",
                "Café ok",
            },
        )
        multi = notes["multipart"]
        self.assertEqual(multi["From"], "Anna <anna@example.org>")
        self.assertEqual(multi["SendTo"], ["bo@example.org"])
        self.assertEqual(multi["CopyTo"], ["Jörg Müller <j@example.de>", "c@example.org"])
        self.assertEqual(multi["BlindCopyTo"], ["secret@example.org"])
        self.assertEqual(multi["ReplyTo"], "replies@example.org")
        self.assertEqual(multi["PostedDate"], "2026-12-08 18:00:00.00 +01:00")
        self.assertEqual(multi["$MessageID"], "<multi@example.org>")
        self.assertEqual(
            body_text(multi["Body"]),
            "Grüße aus Köln",
            "the plain part of an alternative, not its HTML twin",
        )
        self.assertEqual(
            multi["$FILE"],
            [{"file": "report.pdf", "size": 1000}, {"file": "Résumé.txt", "size": 10}],
        )
        html = body_text(notes["html only"]["Body"])
        self.assertIn("Title", html)
        self.assertIn("café & more", html)
        self.assertNotIn("<", html)
        self.assertEqual(body_text(notes["bad charset"]["Body"]), "plain words")

    def test_broken_messages_are_named_and_the_others_imported(self):
        raw = (
            mbox(
                message(
                    "first",
                    body="From here on it is a body line.\n\n"
                    "From the start: not a separator either\n"
                    ">From an escaped line\n",
                )
            )
            + b"From x Tue Dec  8 18:00:00 2026\n\x00\x01\x02\xff\xfe binary junk\n\n"
            + mbox(message("last", date=""), "To: nobody@example.org\nSubject: no sender\n\nx\n")
        )
        path = self.write("broken.mbox", raw)
        counts, report = self.run_import("mbox", path)
        self.assertEqual(counts["added"], 3, report)
        self.assertIn(f"broken.mbox: message 2 (byte {raw.index(b'From x')})", report)
        notes = self.by_subject()
        self.assertEqual(set(notes), {"first", "last", "no sender"})
        self.assertEqual(
            body_text(notes["first"]["Body"]),
            "From here on it is a body line.\n\nFrom the start: not a separator "
            "either\nFrom an escaped line",
        )
        self.assertNotIn("From", notes["no sender"])
        # Without a date the "From " line's date stands in.
        self.assertEqual(notes["last"]["PostedDate"], "2026-12-08 18:00:00.00 +00:00")

    def test_dates_the_standards_allow_and_some_they_do_not(self):
        cases = [
            ("Tue, 08 Dec 2026 18:00:00 +0100", "2026-12-08 18:00:00.00 +01:00"),
            ("8 Dec 2026 18:00 -0330", "2026-12-08 18:00:00.00 -03:30"),
            ("Tue, 8 Dec 26 18:00:00 EST", "2026-12-08 18:00:00.00 -05:00"),
            ("Tue, 8 Dec 2026 18:00:00 GMT", "2026-12-08 18:00:00.00 +00:00"),
            ("Tue, 8 Dec 2026 18:00:00 +0100 (CET)", "2026-12-08 18:00:00.00 +01:00"),
            ("Tue,  8 Dec 2026 18:00:00 -0000", "2026-12-08 18:00:00.00 +00:00"),
            ("2026-12-08T18:00:00+05:45", "2026-12-08 18:00:00.00 +05:45"),
            ("2026-12-08 18:00:00", "2026-12-08 18:00:00.00 +00:00"),
            ("Tuesday, December 8, 2026 6:00 PM", "2026-12-08 18:00:00.00 +00:00"),
            # An offset the client cannot keep, in quarter hours: the instant in UTC.
            ("Tue, 8 Dec 2026 18:00:00 +0107", "2026-12-08 16:53:00.00 +00:00"),
        ]
        raw = mbox(
            *(message(f"date {i}", date=f"Date: {d}\n") for i, (d, _) in enumerate(cases)),
            message(
                "no date at all",
                date="Date: not a date\n",
                extra="Received: from a by b; Mon, 7 Dec 2026 09:30:00 +0200\n",
            ),
        )
        counts, report = self.run_import("mbox", self.write("dates.mbox", raw))
        self.assertEqual(counts["added"], len(cases) + 1, report)
        notes = self.by_subject()
        for i, (date, expected) in enumerate(cases):
            self.assertEqual(notes[f"date {i}"].get("PostedDate"), expected, date)
        self.assertEqual(
            notes["no date at all"]["PostedDate"],
            "2026-12-07 09:30:00.00 +02:00",
            "the last hop's date",
        )

    def test_a_second_import_adds_nothing_and_unread_marks_follow_the_mailbox(self):
        raw = mbox(
            message("read", "Status: RO\n"), message("unread", "Status: O\n"), message("no status")
        )
        path = self.write("box.mbox", raw)
        first, _ = self.run_import("mbox", path)
        second, _ = self.run_import("mbox", path)
        self.assertEqual((first["added"], second["added"], second["present"]), (3, 0, 3))
        dump = self.dump()
        self.assertEqual(len(dump["notes"]), 3)
        unread = {n["note"] for n in self.notes() if n["Subject"] == "unread"}
        self.assertEqual(dump["unread"], {"Anna Berg": sorted(unread)})

    def test_maildir_and_eml_folders(self):
        self.write("md/new/1.host", message("new one"))
        self.write("md/cur/2.host:2,S", message("seen"))
        self.write("md/cur/3.host:2,", message("not seen"))
        os.makedirs(os.path.join(self.dir, "md", "tmp"))
        counts, report = self.run_import("maildir", os.path.join(self.dir, "md"))
        self.assertEqual(counts["added"], 3, report)
        unread = sorted(n["note"] for n in self.notes() if n["Subject"] != "seen")
        self.assertEqual(self.dump()["unread"], {"Anna Berg": unread})

        self.write("eml/a.eml", message("from a file"))
        self.write("eml/b.eml", b"\x89PNG\r\n\x1a\n\x00\x00binary")
        self.write("eml/c.txt", message("not an eml"))
        counts, report = self.run_import("eml", os.path.join(self.dir, "eml"))
        self.assertEqual(counts["added"], 1, report)
        self.assertIn("b.eml", report)
        self.assertIn("from a file", self.by_subject())

    def test_truncated_binary_and_huge_input(self):
        whole = mbox(message("complete"), message("multipart", MULTIPART, body=""))
        truncated = self.write("cut.mbox", whole[: whole.index(b"--outer--") - 40])
        counts, report = self.run_import("mbox", truncated)
        self.assertEqual(counts["added"], 2, report)

        binary = self.write("random.mbox", bytes(range(256)) * 64)
        counts, report = self.run_import("mbox", binary)
        self.assertEqual(counts["added"], 0)
        self.assertIn("random.mbox: message 1", report)

        huge = base64.encodebytes(os.urandom(50 * 1024 * 1024 * 3 // 4)).decode()
        big = self.write(
            "big.mbox",
            mbox(
                message(
                    "big",
                    'Content-Type: multipart/mixed; boundary="b"\n',
                    body="--b\nContent-Type: text/plain\n\nsee attachment\n--b\n"
                    "Content-Type: application/octet-stream\nContent-Disposition: attachment; "
                    f'filename="big.bin"\nContent-Transfer-Encoding: base64\n\n{huge}--b--\n',
                )
            ),
        )
        self.assertGreater(os.path.getsize(big), 50 * 1024 * 1024)
        counts, report = self.run_import("mbox", big)
        self.assertEqual(counts["added"], 1, report)
        self.assertEqual(
            self.by_subject()["big"]["$FILE"],
            [{"file": "big.bin", "size": 50 * 1024 * 1024 * 3 // 4}],
        )

    def test_a_file_that_is_no_database_ends_the_import_with_the_stores_reason(self):
        self.write("mail.zrb", b"a letter, not a database\n")
        with self.assertRaises(RuntimeError) as ended:
            self.run_import(
                "mbox", self.write("box.mbox", mbox(*(message(f"m {i}") for i in range(2000))))
            )
        self.assertIn("not a database", str(ended.exception))
