"""tamsel-import DATABASE --mbox FILE | --maildir DIR | --eml DIR | --ics FILE | --vcf FILE

Writes the mail, events and to-dos, or cards into DATABASE (created when missing) in one zrb
run. What cannot be read is named by its place in the source and skipped; a second import of
the same source adds nothing (mail is known by its message id, the others by their UID)."""
import argparse
import getpass
import os
import sys
import time

from . import contacts, ical, mail, mail_sources, store

KINDS = ("mbox", "maildir", "eml", "ics", "vcf")


class Progress:
    """A line that counts up on a terminal; elsewhere only the last count is written."""

    def __init__(self, stream):
        self.stream, self.read, self.skipped, self.shown = stream, 0, 0, 0.0
        self.live = stream.isatty()

    def count(self, skipped=False):
        self.read += 1
        self.skipped += skipped
        if self.live and time.monotonic() - self.shown > 0.5:
            self.show("\r")

    def show(self, end):
        self.shown = time.monotonic()
        self.stream.write(f"{end}import: {self.read} read, {self.skipped} skipped")
        self.stream.flush()

    def skip(self, where, why):
        start = "\r" if self.live else ""
        self.stream.write(f"{start}import: skipped {where}: {why}\n")
        self.count(skipped=True)


def mail_notes(kind, source, user):
    """(where, note or the error) for each message."""
    for found in mail_sources.SOURCES[kind](source):
        try:
            yield found.where, mail.memo(
                found.message(), found.raw, found.fallback_date, user if found.unread else None
            )
        # Messages are anyone's input: a nesting bomb ends in RecursionError, say.
        except Exception as error:  # pylint: disable=broad-exception-caught; one message's fault
            yield found.where, error


def notes(kind, source, user):
    if kind == "ics":
        with open(source, "rb") as data:
            return ical.calendar_notes(data.read())
    if kind == "vcf":
        with open(source, "rb") as data:
            return contacts.contact_notes(data.read().decode("utf-8", errors="replace"))
    return mail_notes(kind, source, user)


# pylint: disable-next=too-many-arguments; the command line's five settings and the report
def run(database, kind, source, user, title, stream):
    """Imports source (a kind of KINDS) into database, reporting to stream; returns zrb's
    counts."""
    if kind in ("maildir", "eml") and not os.path.isdir(source):
        raise OSError(f"{source} is not a folder")
    if kind in ("mbox", "ics", "vcf") and not os.path.isfile(source):
        raise OSError(f"{source} is not a file")
    store.ensure_database(database, title)
    progress = Progress(stream)
    batch = store.Batch(database)
    try:
        for where, note in notes(kind, source, user):
            if isinstance(note, Exception):
                progress.skip(where, str(note) or type(note).__name__)
                continue
            batch.put(where, note)
            if batch.closed:
                break
            progress.count()
    except ValueError as error:  # a calendar file that is not one at all
        progress.skip(source, error)
    counts, refused = batch.finish()
    for where, why in refused:
        progress.skip(where, "refused by the database: " + why)
    progress.read -= len(refused)
    progress.show("\r" if progress.live else "")
    stream.write(f", {counts['added']} new, {counts['present']} there already\n")
    return counts


def main(argv=None):
    """The command line; returns the exit status."""
    parser = argparse.ArgumentParser(
        prog="tamsel-import",
        description=__doc__,
        formatter_class=argparse.RawDescriptionHelpFormatter,
    )
    parser.add_argument("database")
    source = parser.add_mutually_exclusive_group(required=True)
    for kind in KINDS:
        source.add_argument("--" + kind, metavar="PATH")
    parser.add_argument(
        "--user",
        default=os.environ.get("TAMSEL_USER") or getpass.getuser(),
        help="whose unread marks the mailbox's unread messages get",
    )
    parser.add_argument("--title", default="Imported", help="title of a new database")
    arguments = parser.parse_args(argv)
    kind = next(k for k in KINDS if getattr(arguments, k))
    try:
        run(
            arguments.database,
            kind,
            getattr(arguments, kind),
            arguments.user,
            arguments.title,
            sys.stderr,
        )
    except (OSError, RuntimeError) as error:
        sys.stderr.write(f"import: {error}\n")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
