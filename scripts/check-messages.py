#!/usr/bin/env python3
"""Check the message catalogue in a compiled resource file (.res).

Usage: check-messages.py FILE.res [message_ids.h]

Every language must carry string-table blocks 7..15 with a non-empty
entry for each id 100..227 and nothing else in those blocks; the fixed
texts (log lines, which stay English) must match across languages and the
placeholders of every translation must follow the English ones. With the
names header, every id 100..227 must have exactly one name there, every
name one number, and a name beyond 227 must have no text in any language
(the code gets an empty text for it on purpose).
"""
import re
import struct
import sys

LANGUAGES = {1033: "en", 1031: "de", 1034: "es", 1035: "fi", 1036: "fr",
             1040: "it", 1043: "nl", 1044: "no", 1046: "pt", 1053: "sv"}
FIRST, LAST = 100, 227
BLOCKS = range((FIRST >> 4) + 1, (LAST >> 4) + 2)  # 7..15
SAME_EVERYWHERE = [100, *range(121, 125), *range(126, 148), 161, *range(210, 223), *range(225, 228)]
RT_STRING = 6
PLACEHOLDER = re.compile(r"%[-+ #0]*\d*(?:\.\d+)?[a-zA-Z%]")


def read_id(data, pos):
    """Read a resource type or name: ordinal (0xFFFF, n) or UTF-16 string."""
    if struct.unpack_from("<H", data, pos)[0] == 0xFFFF:
        return struct.unpack_from("<H", data, pos + 2)[0], pos + 4
    end = pos
    while struct.unpack_from("<H", data, end)[0] != 0:
        end += 2
    return data[pos:end].decode("utf-16-le"), end + 2


def read_res(path):
    """Return {(type, name, language): data} for every resource in the file."""
    with open(path, "rb") as f:
        data = f.read()
    resources = {}
    pos = 0
    while pos + 8 <= len(data):
        size, header_size = struct.unpack_from("<II", data, pos)
        rtype, p = read_id(data, pos + 8)
        name, p = read_id(data, p)
        p = (p + 3) & ~3
        _version, _flags, lang = struct.unpack_from("<IHH", data, p)
        body = data[pos + header_size:pos + header_size + size]
        if size or rtype != 0:  # skip the empty leading entry
            resources[(rtype, name, lang)] = body
        pos = (pos + header_size + size + 3) & ~3
    return resources


def split_block(body):
    """Split a string-table block into its 16 entries."""
    entries = []
    pos = 0
    for _ in range(16):
        if pos + 2 > len(body):
            raise ValueError("block ends after %d entries" % len(entries))
        n = struct.unpack_from("<H", body, pos)[0]
        pos += 2
        if pos + 2 * n > len(body):
            raise ValueError("entry %d runs past the block" % len(entries))
        entries.append(body[pos:pos + 2 * n].decode("utf-16-le"))
        pos += 2 * n
    return entries


NAME = re.compile(r"^\s*(msg\w+)\s*=\s*(\d+)\s*,", re.MULTILINE)


def check_names(path, english):
    """Problems of the names header against the English texts."""
    with open(path, encoding="utf-8") as f:
        pairs = NAME.findall(f.read())
    errors = []
    names, ids = {}, {}
    for name, number in pairs:
        mid = int(number)
        if name in names:
            errors.append("names: %s given twice" % name)
        names[name] = mid
        ids.setdefault(mid, []).append(name)
    for mid in range(FIRST, LAST + 1):
        if len(ids.get(mid, [])) != 1:
            errors.append("names: message %d has %d names" % (mid, len(ids.get(mid, []))))
    for mid, given in ids.items():
        if not FIRST <= mid <= LAST and mid in english:
            errors.append("names: %s (%d) has a text" % (given[0], mid))
    return errors


def main(argv):
    if len(argv) not in (2, 3):
        print("usage: check-messages.py FILE.res [message_ids.h]", file=sys.stderr)
        return 2
    errors = []
    resources = read_res(argv[1])
    tables = {}
    for lang, code in LANGUAGES.items():
        if not any((RT_STRING, block, lang) in resources for block in BLOCKS):
            errors.append("%s: no string tables for language %d" % (code, lang))
            continue
        texts = {}
        for block in BLOCKS:
            body = resources.get((RT_STRING, block, lang))
            if body is None:
                errors.append("%s: string block %d missing" % (code, block))
                texts.update({mid: None for mid in range((block - 1) << 4, block << 4)})
                continue
            try:
                entries = split_block(body)
            except ValueError as e:
                errors.append("%s: block %d: %s" % (code, block, e))
                continue
            for i, text in enumerate(entries):
                mid = ((block - 1) << 4) + i
                if FIRST <= mid <= LAST:
                    texts[mid] = text
                elif text:
                    errors.append("%s: unexpected message %d" % (code, mid))
        for mid in range(FIRST, LAST + 1):
            if texts.get(mid, "") == "":
                errors.append("%s: message %d missing or empty" % (code, mid))
        tables[lang] = {mid: t for mid, t in texts.items() if t}

    en = tables.get(1033, {})
    for lang, texts in tables.items():
        code = LANGUAGES[lang]
        for mid in SAME_EVERYWHERE:
            if mid in texts and mid in en and texts[mid] != en[mid]:
                errors.append("%s: message %d differs from English" % (code, mid))
        for mid, text in texts.items():
            if mid in en and PLACEHOLDER.findall(text) != PLACEHOLDER.findall(en[mid]):
                errors.append("%s: message %d placeholders %s, English has %s"
                              % (code, mid, PLACEHOLDER.findall(text),
                                 PLACEHOLDER.findall(en[mid])))
        parts = texts.get(119, "").split("\0")
        if len(parts) != 4 or not all(parts) or parts[1] != "*.zrb" or parts[3] != "*.*":
            errors.append("%s: message 119 is not a four-part filter: %r"
                          % (code, texts.get(119)))
        if "%d%%" not in texts.get(109, ""):
            errors.append("%s: message 109 lost %%d%%%%" % code)
        item = texts.get(101, "")
        try:
            if len(item.encode("cp1252")) >= 63:
                errors.append("%s: menu item 101 longer than 62 bytes" % code)
        except UnicodeEncodeError:
            errors.append("%s: menu item 101 not representable in Windows-1252" % code)

    if en.get(119, "").count("\0") != 3:
        errors.append("en: message 119 must hold exactly three zero characters")
    if en.get(161) != " ":
        errors.append("en: message 161 must be a single space")
    if len(argv) == 3:
        errors += check_names(argv[2], en)

    for e in errors:
        print("FAIL " + e)
    if errors:
        print("%d problem(s) in %s" % (len(errors), argv[1]))
        return 1
    print("ok: %d languages, messages %d-%d in blocks %d-%d"
          % (len(tables), FIRST, LAST, BLOCKS[0], BLOCKS[-1]))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
