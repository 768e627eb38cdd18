#!/usr/bin/env python3
"""Check the message catalogue in a compiled resource file (.res).

Usage: check-messages.py FILE.res [message_ids.h]

Every language must carry string-table blocks 7..15 with a non-empty
entry for each id 100..228 and nothing else in those blocks; the fixed
texts (log lines, which stay English) must match across languages and the
placeholders of every translation must follow the English ones. With the
names header, every id 100..228 must have exactly one name there, every
name one number, and a name beyond 228 must have no text in any language
(the code gets an empty text for it on purpose).
"""
import importlib
import re
import struct
import sys

# No __pycache__ in the checkout: the shared table is imported once bytecode writing is off.
sys.dont_write_bytecode = True
LANGUAGES = importlib.import_module("catalogue_languages").LANGUAGES
FIRST, LAST = 100, 228
BLOCKS = range((FIRST >> 4) + 1, (LAST >> 4) + 2)  # 7..15
SAME_EVERYWHERE = [100, *range(121, 125), *range(126, 148), 161, *range(210, 223), *range(225, 229)]
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
    with open(path, "rb") as source:
        data = source.read()
    resources = {}
    pos = 0
    while pos + 8 <= len(data):
        size, header_size = struct.unpack_from("<II", data, pos)
        rtype, end = read_id(data, pos + 8)
        name, end = read_id(data, end)
        end = (end + 3) & ~3
        _version, _flags, lang = struct.unpack_from("<IHH", data, end)
        body = data[pos + header_size : pos + header_size + size]
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
            raise ValueError(f"block ends after {len(entries)} entries")
        length = struct.unpack_from("<H", body, pos)[0]
        pos += 2
        if pos + 2 * length > len(body):
            raise ValueError(f"entry {len(entries)} runs past the block")
        entries.append(body[pos : pos + 2 * length].decode("utf-16-le"))
        pos += 2 * length
    return entries


NAME = re.compile(r"^\s*(msg\w+)\s*=\s*(\d+)\s*,", re.MULTILINE)


def check_names(path, english):
    """Problems of the names header against the English texts."""
    with open(path, encoding="utf-8") as source:
        pairs = NAME.findall(source.read())
    errors = []
    names, ids = {}, {}
    for name, number in pairs:
        mid = int(number)
        if name in names:
            errors.append(f"names: {name} given twice")
        names[name] = mid
        ids.setdefault(mid, []).append(name)
    for mid in range(FIRST, LAST + 1):
        if len(ids.get(mid, [])) != 1:
            errors.append(f"names: message {mid} has {len(ids.get(mid, []))} names")
    for mid, given in ids.items():
        if not FIRST <= mid <= LAST and mid in english:
            errors.append(f"names: {given[0]} ({mid}) has a text")
    return errors


def language_texts(resources, lang, code, errors):
    """The non-empty texts of messages FIRST..LAST in one language's string blocks; what is
    wrong with the blocks goes to errors."""
    texts = {}
    for block in BLOCKS:
        body = resources.get((RT_STRING, block, lang))
        if body is None:
            errors.append(f"{code}: string block {block} missing")
            texts.update({mid: None for mid in range((block - 1) << 4, block << 4)})
            continue
        try:
            entries = split_block(body)
        except ValueError as error:
            errors.append(f"{code}: block {block}: {error}")
            continue
        for i, text in enumerate(entries):
            mid = ((block - 1) << 4) + i
            if FIRST <= mid <= LAST:
                texts[mid] = text
            elif text:
                errors.append(f"{code}: unexpected message {mid}")
    for mid in range(FIRST, LAST + 1):
        if texts.get(mid, "") == "":
            errors.append(f"{code}: message {mid} missing or empty")
    return {mid: t for mid, t in texts.items() if t}


def check_translation(code, texts, english):
    """Problems of one language's texts against the English ones."""
    errors = []
    for mid in SAME_EVERYWHERE:
        if mid in texts and mid in english and texts[mid] != english[mid]:
            errors.append(f"{code}: message {mid} differs from English")
    for mid, text in texts.items():
        found = PLACEHOLDER.findall(text)
        if mid in english and found != PLACEHOLDER.findall(english[mid]):
            errors.append(
                f"{code}: message {mid} placeholders {found}, "
                f"English has {PLACEHOLDER.findall(english[mid])}"
            )
    parts = texts.get(119, "").split("\0")
    if len(parts) != 4 or not all(parts) or parts[1] != "*.zrb" or parts[3] != "*.*":
        errors.append(f"{code}: message 119 is not a four-part filter: {texts.get(119)!r}")
    if "%d%%" not in texts.get(109, ""):
        errors.append(f"{code}: message 109 lost %d%%")
    item = texts.get(101, "")
    try:
        if len(item.encode("cp1252")) >= 63:
            errors.append(f"{code}: menu item 101 longer than 62 bytes")
    except UnicodeEncodeError:
        errors.append(f"{code}: menu item 101 not representable in Windows-1252")
    return errors


def main(argv):
    """Prints each problem and returns 1, or prints what was checked and returns 0."""
    if len(argv) not in (2, 3):
        print("usage: check-messages.py FILE.res [message_ids.h]", file=sys.stderr)
        return 2
    errors = []
    resources = read_res(argv[1])
    tables = {}
    for lang, code in LANGUAGES.items():
        if not any((RT_STRING, block, lang) in resources for block in BLOCKS):
            errors.append(f"{code}: no string tables for language {lang}")
            continue
        tables[lang] = language_texts(resources, lang, code, errors)

    english = tables.get(1033, {})
    for lang, texts in tables.items():
        errors += check_translation(LANGUAGES[lang], texts, english)

    if english.get(119, "").count("\0") != 3:
        errors.append("en: message 119 must hold exactly three zero characters")
    if english.get(161) != " ":
        errors.append("en: message 161 must be a single space")
    if len(argv) == 3:
        errors += check_names(argv[2], english)

    for error in errors:
        print("FAIL " + error)
    if errors:
        print(f"{len(errors)} problem(s) in {argv[1]}")
        return 1
    blocks = f"{BLOCKS[0]}-{BLOCKS[-1]}"
    print(f"ok: {len(tables)} languages, messages {FIRST}-{LAST} in blocks {blocks}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
