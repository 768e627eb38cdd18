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

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from tamsel_import import __main__ as cli  # noqa: E402

SUBJECTS = ["Quarterly report", "=?utf-8?q?Gr=C3=BC=C3=9Fe_aus_K=C3=B6ln?=", "Lunch?",
            "=?iso-8859-1?q?R=E9union_budg=E9taire?=", "Re: the tides"]


def mail(index):
    """Plain, multipart with an attachment, and HTML-only mails in turn."""
    head = ("From: Sender %d <s%d@example.org>\nTo: anna@example.org, bo@example.org\n"
            "Subject: %s %d\nDate: Tue, %d Dec 2026 %02d:%02d:00 +0100\n"
            "Message-ID: <%d@bench.example>\n" % (index % 97, index % 97, SUBJECTS[index % 5],
                                                  index, 1 + index % 28, index % 24,
                                                  index % 60, index))
    text = "Line %d of a mail about the tides and the budget.\n" % index * 12
    if index % 3 == 0:
        return head + "\n" + text
    if index % 3 == 1:
        return (head + 'MIME-Version: 1.0\nContent-Type: multipart/mixed; boundary="b"\n\n'
                "--b\nContent-Type: text/plain; charset=utf-8\n\n" + text +
                '--b\nContent-Type: application/pdf\nContent-Disposition: attachment; '
                'filename="figures.pdf"\nContent-Transfer-Encoding: base64\n\n' +
                "JVBERi0xLjQK" * 200 + "\n--b--\n")
    return (head + "Content-Type: text/html; charset=utf-8\n\n<html><body><p>" +
            text.replace("\n", "</p><p>") + "</p></body></html>\n")


def main():
    count = int(sys.argv[1]) if len(sys.argv) > 1 else 10000
    scratch = tempfile.mkdtemp(prefix="import-bench-")
    try:
        source = os.path.join(scratch, "bench.mbox")
        with open(source, "w", encoding="utf-8") as out:
            for index in range(count):
                out.write("From s@example.org Tue Dec  8 18:00:00 2026\n" + mail(index) + "\n")
        print("%d mails, %.1f MB of mbox" % (count, os.path.getsize(source) / 1e6))
        runs = []
        for run in range(3):
            database = os.path.join(scratch, "run%d.zrb" % run)
            started = time.monotonic()
            counts = cli.run(database, "mbox", source, "Anna Berg", "Bench", io.StringIO())
            runs.append(time.monotonic() - started)
            if counts["added"] != count:
                sys.exit("run %d stored %d of %d mails" % (run + 1, counts["added"], count))
            print("run %d: %.2f s" % (run + 1, runs[-1]))
        print("import of %d mails: median %.2f s (%.0f mails/s)"
              % (count, statistics.median(runs), count / statistics.median(runs)))
        started = time.monotonic()
        counts = cli.run(database, "mbox", source, "Anna Berg", "Bench", io.StringIO())
        print("the same mails again: %.2f s, %d new" % (time.monotonic() - started,
                                                        counts["added"]))
    finally:
        shutil.rmtree(scratch, ignore_errors=True)


if __name__ == "__main__":
    main()
