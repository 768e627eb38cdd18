"""Imports N generated mails (10,000 unless given) from an mbox into a new database three
times and prints each run's time and the median, then the time of importing them again (all
already there). Run from anywhere with BUILD_DIR set to a build whose zrb.exe to use."""
import io
import os
import shutil
import statistics
import sys
import tempfile
import time

# Python puts this script's folder, where tamsel_import is, first on the path.
from tamsel_import import __main__ as cli

SUBJECTS = [
    "Quarterly report",
    "=?utf-8?q?Gr=C3=BC=C3=9Fe_aus_K=C3=B6ln?=",
    "Lunch?",
    "=?iso-8859-1?q?R=E9union_budg=E9taire?=",
    "Re: the tides",
]


def mail(index):
    """Plain, multipart with an attachment, and HTML-only mails in turn."""
    sender, day, hour, minute = index % 97, 1 + index % 28, index % 24, index % 60
    head = (
        f"From: Sender {sender} <s{sender}@example.org>\nTo: anna@example.org, bo@example.org\n"
        f"Subject: {SUBJECTS[index % 5]} {index}\n"
        f"Date: Tue, {day} Dec 2026 {hour:02d}:{minute:02d}:00 +0100\n"
        f"Message-ID: <{index}@bench.example>\n"
    )
    text = f"Line {index} of a mail about the tides and the budget.\n" * 12
    if index % 3 == 0:
        return head + "\n" + text
    if index % 3 == 1:
        return (
            head + 'MIME-Version: 1.0\nContent-Type: multipart/mixed; boundary="b"\n\n'
            "--b\nContent-Type: text/plain; charset=utf-8\n\n"
            + text
            + "--b\nContent-Type: application/pdf\nContent-Disposition: attachment; "
            'filename="figures.pdf"\nContent-Transfer-Encoding: base64\n\n'
            + "JVBERi0xLjQK" * 200
            + "\n--b--\n"
        )
    return (
        head
        + "Content-Type: text/html; charset=utf-8\n\n<html><body><p>"
        + text.replace("\n", "</p><p>")
        + "</p></body></html>\n"
    )


def main():
    """Writes the mbox, runs the imports and prints the times."""
    count = int(sys.argv[1]) if len(sys.argv) > 1 else 10000
    scratch = tempfile.mkdtemp(prefix="import-bench-")
    try:
        source = os.path.join(scratch, "bench.mbox")
        with open(source, "w", encoding="utf-8") as out:
            for index in range(count):
                out.write("From s@example.org Tue Dec  8 18:00:00 2026\n" + mail(index) + "\n")
        print(f"{count} mails, {os.path.getsize(source) / 1e6:.1f} MB of mbox")
        runs = []
        for run in range(3):
            database = os.path.join(scratch, f"run{run}.zrb")
            started = time.monotonic()
            counts = cli.run(database, "mbox", source, "Anna Berg", "Bench", io.StringIO())
            runs.append(time.monotonic() - started)
            if counts["added"] != count:
                sys.exit(f"run {run + 1} stored {counts['added']} of {count} mails")
            print(f"run {run + 1}: {runs[-1]:.2f} s")
        median = statistics.median(runs)
        print(f"import of {count} mails: median {median:.2f} s ({count / median:.0f} mails/s)")
        started = time.monotonic()
        counts = cli.run(database, "mbox", source, "Anna Berg", "Bench", io.StringIO())
        again = time.monotonic() - started
        print(f"the same mails again: {again:.2f} s, {counts['added']} new")
    finally:
        shutil.rmtree(scratch, ignore_errors=True)


if __name__ == "__main__":
    main()
