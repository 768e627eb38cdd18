"""The messages of an mbox file, a Maildir or a folder of .eml files, each with where it was
found (for reports), its bytes, whether the mailbox marks it unread and a date to fall back on."""
import datetime
import email
import mailbox
import os
import re
from dataclasses import dataclass

from . import mail

# A separator is a "From " line after a blank line (or at the start) that carries a time of
# day, so that an unescaped "From here on..." in a body does not cut the message in two.
_SEPARATOR = re.compile(rb"^From \S*.*\d{1,2}:\d\d")
_ESCAPED_FROM = re.compile(rb"^>(>*From )", re.MULTILINE)


@dataclass
class Found:
    where: str
    raw: bytes
    unread: bool
    fallback_date: datetime.datetime

    def message(self):
        return email.message_from_bytes(self.raw)


def _mtime(path):
    return datetime.datetime.fromtimestamp(os.path.getmtime(path), datetime.timezone.utc)


def _from_line_date(line):
    """The date after the sender on a "From " line."""
    words = line[5:].decode("latin-1").split(None, 1)
    return mail.parse_date(words[1]) if len(words) == 2 else None


def _mbox_message(where, from_line, lines, file_date):
    raw = _ESCAPED_FROM.sub(rb"\1", b"".join(lines))
    found = Found(where, raw, False, (from_line and _from_line_date(from_line)) or file_date)
    # Only a mailbox that keeps read marks can say a message is unread.
    status = re.search(rb"^Status:[ \t]*([A-Z]*)", raw.split(b"\n\n", 1)[0], re.MULTILINE)
    found.unread = bool(status) and b"R" not in status.group(1)
    return found


def mbox_messages(path):
    """The messages of an mbox file, each named by its number and the byte it starts at."""
    file_date = _mtime(path)
    number, offset, start, from_line, lines, blank = 0, 0, 0, None, [], True
    with open(path, "rb") as source:
        for line in source:
            if blank and line.startswith(b"From ") and _SEPARATOR.match(line):
                if lines or from_line:
                    number += 1
                    where = f"{path}: message {number} (byte {start})"
                    yield _mbox_message(where, from_line, lines, file_date)
                start, from_line, lines = offset, line, []
            else:
                lines.append(line)
            offset += len(line)
            blank = line in (b"\n", b"\r\n")
    if lines or from_line:
        where = f"{path}: message {number + 1} (byte {start})"
        yield _mbox_message(where, from_line, lines, file_date)


def maildir_messages(path):
    box = mailbox.Maildir(path, factory=None, create=False)
    for key in sorted(box.iterkeys()):
        entry = box.get_message(key)
        unread = entry.get_subdir() == "new" or "S" not in entry.get_flags()
        delivered = datetime.datetime.fromtimestamp(entry.get_date(), datetime.timezone.utc)
        yield Found(f"{path}: {key}", box.get_bytes(key), unread, delivered)


def eml_messages(path):
    for name in sorted(os.listdir(path)):
        file = os.path.join(path, name)
        if name.lower().endswith(".eml") and os.path.isfile(file):
            with open(file, "rb") as source:
                yield Found(file, source.read(), False, _mtime(file))


SOURCES = {"mbox": mbox_messages, "maildir": maildir_messages, "eml": eml_messages}
