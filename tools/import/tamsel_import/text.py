"""Bytes in any declared (or wrong, or missing) charset as the client's character set, UTF-8;
HTML as plain text."""
import codecs

import html2text


def decode_bytes(data, charset=None):
    """Decodes with the declared charset when Python knows it, else as UTF-8, else as
    Windows-1252, which maps nearly every byte; what still fails is replaced."""
    for candidate in (charset, "utf-8", "cp1252"):
        if not candidate:
            continue
        try:
            codecs.lookup(candidate)
            return data.decode(candidate)
        except (LookupError, UnicodeDecodeError):
            continue
    return data.decode("utf-8", errors="replace")


def repair_surrogates(text):
    """Undeclared 8-bit bytes in a header come back from the parser as surrogate escapes."""
    if not any("\udc80" <= c <= "\udcff" for c in text):
        return text
    return decode_bytes(text.encode("utf-8", errors="surrogateescape"))


def html_to_text(markup):
    """The text of HTML, without pictures or emphasis marks and with its lines unwrapped."""
    converter = html2text.HTML2Text()
    converter.body_width = 0
    converter.ignore_images = True
    converter.ignore_emphasis = True
    converter.unicode_snob = True
    try:
        return converter.handle(markup).strip("\n")
    except Exception:  # pylint: disable=broad-exception-caught; odd markup must not cost the body
        return markup
