"""One parsed message as the items of a memo, as the client's mail templates write them."""
import datetime
import email.errors
import email.header
import email.utils
import hashlib
import re

from dateutil import parser as date_parser

from . import store, text, times

# The standard's shape, obsolete forms included: [day,] d mon yy[yy] hh:mm[:ss] [zone].
_STANDARD_DATE = re.compile(
    r"\s*([A-Za-z]{3},?\s*)?\d{1,2}\s+[A-Za-z]{3}\s+\d{2,4}\s+"
    r"\d{1,2}:\d\d(:\d\d)?\s*([+-]\d{4}|[A-Za-z]{1,5})?\s*(\(.*\))?\s*$"
)
_ADDRESS_ITEMS = (("To", "SendTo"), ("Cc", "CopyTo"), ("Bcc", "BlindCopyTo"))


class Unreadable(Exception):
    """The bytes are not a message: nothing in them reads as a header."""


def header_text(value):
    """A header with its encoded words decoded, each in its own charset."""
    if value is None:
        return ""
    if isinstance(value, email.header.Header):
        # Undeclared 8-bit bytes: the parser wraps them whole, encoded words and all.
        value = "".join(
            text.decode_bytes(piece, charset) if isinstance(piece, bytes) else piece
            for piece, charset in email.header.decode_header(value)
        )
    value = text.repair_surrogates(value)
    try:
        pieces = email.header.decode_header(value)
    except (email.errors.HeaderParseError, ValueError):
        return value
    decoded = []
    for piece, charset in pieces:
        if isinstance(piece, str):
            decoded.append(piece)
        elif charset:
            decoded.append(text.decode_bytes(piece, charset))
        else:  # text between encoded words, handed back in this codec
            decoded.append(piece.decode("raw-unicode-escape"))
    return " ".join("".join(decoded).split())


def addresses(message, header):
    values = [header_text(v) for v in message.get_all(header, [])]
    found = []
    for name, address in email.utils.getaddresses(values):
        if not address and not name:
            continue
        found.append(f"{name} <{address}>" if name and address else address or name)
    return found


def parse_date(value):
    """The standard's date forms, the obsolete ones, and what mailers write besides (ISO 8601,
    missing weekday or seconds, zone names); None when nothing in it is a date."""
    if not value:
        return None
    if _STANDARD_DATE.match(value):
        try:
            return email.utils.parsedate_to_datetime(value)
        except (TypeError, ValueError, IndexError, OverflowError):
            pass
    try:
        return date_parser.parse(value, fuzzy=True)
    except (ValueError, OverflowError, TypeError):
        return None


def received_date(message):
    """The date the last hop stamped on a message without a date of its own."""
    for received in message.get_all("Received", []):
        date = parse_date(str(received).rpartition(";")[2].strip())
        if date:
            return date
    return None


def _is_attachment(part):
    disposition = (part.get("Content-Disposition") or "").split(";")[0].strip().lower()
    return disposition == "attachment" or (
        part.get_filename() is not None and part.get_content_maintype() != "multipart"
    )


def _part_text(part):
    payload = part.get_payload(decode=True) or b""
    return text.decode_bytes(payload, part.get_content_charset())


def _attachment(part, index):
    """The "$FILE" entry of a part: its name (or a made-up one) and its decoded size."""
    name = part.get_filename()
    return {
        "attachment": header_text(name) if name else f"attachment-{index}",
        "size": len(part.get_payload(decode=True) or b""),
    }


def body_and_attachments(message):
    """The text of the message (plain parts, else its HTML rendered), and each attachment's
    name and size."""
    plain, markup, files = [], [], []
    for part in message.walk():
        if part.is_multipart():
            continue
        kind = part.get_content_type()
        # An inline picture is an attachment too; other inline text parts are not.
        if _is_attachment(part) or part.get_content_maintype() != "text":
            files.append(_attachment(part, len(files) + 1))
        elif kind == "text/plain":
            plain.append(_part_text(part))
        elif kind == "text/html":
            markup.append(_part_text(part))
    body = "\n\n".join(plain) if plain else "\n\n".join(text.html_to_text(m) for m in markup)
    return body.replace("\r\n", "\n").rstrip(), files


def message_id(message, raw):
    """The message's own id, or one made from its bytes, so that a second import finds it."""
    found = header_text(message.get("Message-ID", "")).strip()
    if found:
        return found
    return f"<{hashlib.sha1(raw).hexdigest()}@import>"


def memo(message, raw, fallback_date, unread_user=None):
    """The note of one message; `fallback_date` stands in when neither the message nor its
    hops give a date."""
    if not message.keys():
        raise Unreadable("no header")
    items = {"Form": "Memo", "$MessageID": message_id(message, raw)}
    senders = addresses(message, "From") or addresses(message, "Sender")
    if senders:
        items["From"] = senders[0]
    for header, item in _ADDRESS_ITEMS:
        found = addresses(message, header)
        if found:
            items[item] = found
    reply_to = addresses(message, "Reply-To")
    if reply_to:
        items["ReplyTo"] = reply_to[0]
    items["Subject"] = header_text(message.get("Subject", ""))
    date = parse_date(header_text(message.get("Date"))) or received_date(message) or fallback_date
    if isinstance(date, datetime.datetime):
        items["PostedDate"] = {"time": times.time_text(date)}
    body, files = body_and_attachments(message)
    items["Body"] = {"richtext": body}
    if files:
        items["$FILE"] = files
    return store.note_record(items, unread_user)
