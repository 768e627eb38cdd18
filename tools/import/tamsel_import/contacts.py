"""The cards of a vCard file as contacts, as the client's contact template writes them."""
import hashlib

import vobject

from . import mail, store, times

# Phone types to the contact's number items, the first matching row winning.
_PHONES = (
    ({"fax", "home"}, "HomeFAXPhoneNumber"),
    ({"fax"}, "OfficeFAXPhoneNumber"),
    ({"pager"}, "PersPager"),
    ({"cell"}, "CellPhoneNumber"),
    ({"car"}, "CellPhoneNumber"),
    ({"work"}, "OfficePhoneNumber"),
    ({"home"}, "PhoneNumber"),
    (set(), "PhoneNumber_6"),
)
_HOME_ADDRESS = ("StreetAddress", "City", "State", "Zip", "Country")
_OFFICE_ADDRESS = ("OfficeStreetAddress", "OfficeCity", "OfficeState", "OfficeZip", "OfficeCountry")


def _types(line):
    # vCard 2.1 writes the types bare: TEL;WORK;FAX.
    found = {value.lower() for value in line.singletonparams}
    for value in line.params.get("TYPE", []):
        found.update(t.strip().lower() for t in value.split(","))
    return found


def _values(card, name):
    return [line for line in card.contents.get(name, []) if str(line.value).strip()]


def _first(card, name):
    found = _values(card, name)
    return str(found[0].value).strip() if found else ""


def _date(line):
    """BDAY and ANNIVERSARY as the client's date-only text; None for what is no date."""
    value = str(line.value).strip()
    if value.startswith("--"):  # a birthday without its year
        return None
    date = mail.parse_date(value)
    return times.time_text(date.date()) if date else None


def _joined(parts, separator=", "):
    return separator.join(p for p in parts if p) if isinstance(parts, list) else str(parts or "")


def _addresses(card, items):
    for line in card.contents.get("adr", []):
        kinds = _types(line)
        names = _OFFICE_ADDRESS if "work" in kinds else _HOME_ADDRESS
        if names[0] in items or names[1] in items:
            continue
        address = line.value
        for name, part in zip(
            names, (address.street, address.city, address.region, address.code, address.country)
        ):
            part = _joined(part).strip()
            if part:
                items[name] = part


def _phones(card, items):
    numbers = {}
    for line in _values(card, "tel"):
        kinds = _types(line)
        item = next(item for needed, item in _PHONES if needed <= kinds)
        numbers.setdefault(item, []).append(str(line.value).strip())
    for item, found in numbers.items():
        items[item] = found[0] if len(found) == 1 else found


def _misc(card, items, emails):
    """The three labelled slots: further e-mail addresses first (the second and third slots
    are the second and third address), then the nickname and the web pages."""
    slots = [None, None, None]
    for slot, address in zip((1, 2), emails[1:]):
        slots[slot] = ("Email", address)
    rest = [("Nickname", str(line.value).strip()) for line in _values(card, "nickname")]
    rest += [
        ("URL", str(line.value).strip())
        for line in _values(card, "url")
        if str(line.value).strip() != items.get("WebSite")
    ]
    rest += [("Email", address) for address in emails[3:]]
    for entry in rest:
        if None not in slots:
            break
        slots[slots.index(None)] = entry
    for number, entry in enumerate(slots, 1):
        if entry:
            items[f"MiscLabel{number}"], items[f"MiscPhone{number}"] = entry


def _dates(card, items):
    for vcard_name, item in (
        ("bday", "Birthday"),
        ("anniversary", "Anniversary"),
        ("x-anniversary", "Anniversary"),
        ("x-ms-anniversary", "Anniversary"),
    ):
        for line in _values(card, vcard_name):
            date = _date(line)
            if date and item not in items:
                items[item] = {"time": date}


def _categories(card, items):
    categories = []
    for line in _values(card, "categories"):
        value = line.value
        categories += value if isinstance(value, list) else [c.strip() for c in value.split(",")]
    if categories:
        items["Categories"] = categories


def contact(card):
    """The note of one card."""
    items = {"Form": "Person"}
    name = card.contents.get("n", [None])[0]
    if name is not None:
        for part, item in ((name.value.given, "FirstName"), (name.value.family, "LastName")):
            if _joined(part, " "):
                items[item] = _joined(part, " ")
    emails = [str(line.value).strip() for line in _values(card, "email")]
    full = _first(card, "fn") or " ".join(
        filter(None, (items.get("FirstName"), items.get("LastName")))
    )
    organization = card.contents.get("org", [None])[0]
    company = organization.value if organization is not None else []
    if isinstance(company, str):
        company = [company]
    # A card without a name is shown by its company or its address.
    items["FullName"] = [
        full or (company[0] if company else "") or (emails[0] if emails else "") or "(no name)"
    ]
    if emails:
        items["MailAddress"] = emails[0]
    if company and company[0]:
        items["CompanyName"] = company[0]
    if len(company) > 1 and company[1]:
        items["Department"] = company[1]
    for vcard_name, item in (("title", "JobTitle"), ("note", "Body")):
        value = _first(card, vcard_name)
        if value:
            items[item] = {"richtext": value} if item == "Body" else value
    # The business home page; the others go into the labelled slots.
    work = [line for line in _values(card, "url") if "work" in _types(line)]
    if work:
        items["WebSite"] = str(work[0].value).strip()
    _dates(card, items)
    _categories(card, items)
    _addresses(card, items)
    _phones(card, items)
    _misc(card, items, emails)
    items["$MessageID"] = (
        _first(card, "uid") or hashlib.sha1(repr(sorted(items.items())).encode()).hexdigest()
    )
    return store.note_record(items)


def contact_notes(text):
    """(where, note or the error) for each card."""
    try:
        for number, card in enumerate(vobject.readComponents(text, ignoreUnreadable=True), 1):
            try:
                yield f"card {number}", contact(card)
            except Exception as error:  # pylint: disable=broad-exception-caught; one card's fault
                yield f"card {number}", error
    except vobject.base.ParseError as error:
        yield "after the last card read", error
