"""Writes the databases that the end-to-end import run indexes: mail in several charsets with
a broken message among them, a calendar and an address book, each imported by tamsel-import.
Usage: write_e2e_data.py OUTDIR (emptied first)."""
import io
import os
import shutil
import sys

from tamsel_import import __main__ as cli
from test_calendar_contacts import CALENDAR, CARDS
from test_mail import MULTIPART, mbox, message


def main(out):
    """Writes the sources into OUTDIR/sources and imports them."""
    shutil.rmtree(out, ignore_errors=True)
    os.makedirs(os.path.join(out, "sources"))
    sources = {
        "mail.mbox": mbox(
            message("=?iso-8859-1?q?Gr=FC=DFe_aus_K=F6ln?=", MULTIPART, body=""),
            message(
                "html only",
                "Content-Type: text/html; charset=utf-8\n",
                body="<p>Lanterns at the <b>harbour</b></p>",
            ),
        )
        + b"From x Tue Dec  8 18:00:00 2026\n\x00\x01 junk\n\n"
        + mbox(message("=?koi8-r?b?8NLJ18XU?=", "Status: O\n", body="Tide tables\n")),
        "cal.ics": CALENDAR.encode(),
        "cards.vcf": CARDS.encode(),
    }
    for name, data in sources.items():
        with open(os.path.join(out, "sources", name), "wb") as file:
            file.write(data)
    report = io.StringIO()
    for database, kind, name in (
        ("mail.zrb", "mbox", "mail.mbox"),
        ("mail.zrb", "ics", "cal.ics"),
        ("roster.zrb", "vcf", "cards.vcf"),
    ):
        cli.run(
            os.path.join(out, database),
            kind,
            os.path.join(out, "sources", name),
            os.environ.get("TAMSEL_USER", "Anna Berg"),
            database,
            report,
        )
    sys.stdout.write(report.getvalue())


if __name__ == "__main__":
    main(sys.argv[1])
