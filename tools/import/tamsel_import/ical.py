"""Events and to-dos of an iCalendar file as calendar entries and tasks, as the client's
calendar templates write them."""
import datetime
import hashlib
import re

import icalendar
from dateutil import rrule

from . import store, times

# The converters read at most this many occurrences of a repeating entry.
MAX_OCCURRENCES = 100

# iCalendar priorities 1-4 are high, 5 medium, 6-9 low; the client's importance is 1 to 3.
_IMPORTANCE = {**{p: 1 for p in range(1, 5)}, 5: 2, **{p: 3 for p in range(6, 10)}}
_UNTIL = re.compile(r"UNTIL=(\d{8})(?:T(\d{6}))?Z?")
# A task's state as the client keeps it: 2 not started, 1 in progress, 9 complete, 8 deferred.
_DUE_STATE = {"NEEDS-ACTION": 2, "IN-PROCESS": 1, "COMPLETED": 9, "CANCELLED": 8}


def _time(component, name):
    if name not in component:
        return None
    return component.decoded(name)


def _text(component, name):
    value = component.get(name)
    return str(value).strip() if value is not None else ""


def _person(value):
    address = str(value)
    if address.lower().startswith("mailto:"):
        address = address[7:]
    name = value.params.get("CN", "") if hasattr(value, "params") else ""
    return f"{name} <{address}>" if name and address else name or address


def _list(component, name):
    value = component.get(name)
    if value is None:
        return []
    return value if isinstance(value, list) else [value]


def _categories(component):
    found = []
    for value in _list(component, "CATEGORIES"):
        found += [str(c) for c in getattr(value, "cats", [value])]
    return found


def _aware(value):
    """Dates and floating times as UTC, so that every date of a rule compares."""
    value = times.start_of_day(value)
    return value if value.tzinfo else value.replace(tzinfo=datetime.timezone.utc)


def occurrences(component, start):
    """The starts of every occurrence, up to what the converters read: the rule's dates and
    the extra dates, without the excluded ones."""
    if "RRULE" not in component and "RDATE" not in component:
        return [start]
    anchor = _aware(start)
    zone = anchor.tzinfo
    # dateutil keeps the start's offset on every date; a zone of the Olson database knows the
    # right one for each wall-clock time (summer time).
    localize = getattr(zone, "localize", None)

    def wall(date):
        return _aware(date).astimezone(zone).replace(tzinfo=None)

    rules = rrule.rruleset()
    for value in _list(component, "RRULE"):
        # With a start in a zone, dateutil wants the rule's end in UTC; writers also give a
        # date or a floating time there.
        rule_text = _UNTIL.sub(
            lambda m: f"UNTIL={m.group(1)}T{m.group(2) or '235959'}Z", value.to_ical().decode()
        )
        rules.rrule(rrule.rrulestr(rule_text, dtstart=anchor))
    for value in _list(component, "RDATE"):
        for date in value.dts:
            rules.rdate(wall(date.dt).replace(tzinfo=zone))
    excluded = {wall(date.dt) for value in _list(component, "EXDATE") for date in value.dts}
    found = []
    for date in rules:
        if date.replace(tzinfo=None) in excluded:
            continue
        found.append(localize(date.replace(tzinfo=None)) if localize else date)
        if len(found) == MAX_OCCURRENCES:
            break
    return found or [start]


def _common(component, form):
    # The key a second import knows the entry by.
    key = _text(component, "UID") or hashlib.sha1(component.to_ical()).hexdigest()
    items = {
        "Form": form,
        "Subject": _text(component, "SUMMARY"),
        "Body": {"richtext": _text(component, "DESCRIPTION")},
        "$MessageID": key,
    }
    recurrence = _time(component, "RECURRENCE-ID")
    if recurrence is not None:
        items["$MessageID"] += " " + times.time_text(recurrence)
    if "ORGANIZER" in component:
        items["Chair"] = _person(component["ORGANIZER"])
    categories = _categories(component)
    if categories:
        items["Categories"] = categories
    return items


def _event(component):
    start = _time(component, "DTSTART")
    if start is None:
        raise ValueError("an event without DTSTART")
    end = _time(component, "DTEND")
    if end is None:
        duration = _time(component, "DURATION")
        end = start + (
            duration or datetime.timedelta(0 if isinstance(start, datetime.datetime) else 1)
        )
    starts = occurrences(component, start)
    items = _common(component, "Appointment")
    items["StartDateTime"] = {"time": times.time_text(times.start_of_day(start))}
    items["EndDateTime"] = {"time": times.time_text(times.start_of_day(end))}
    items["CalendarDateTime"] = {"time": [times.time_text(s) for s in starts]}
    required, optional = [], []
    for attendee in _list(component, "ATTENDEE"):
        role = attendee.params.get("ROLE", "") if hasattr(attendee, "params") else ""
        (optional if role.upper() in ("OPT-PARTICIPANT", "NON-PARTICIPANT") else required).append(
            _person(attendee)
        )
    if required:
        items["RequiredAttendees"] = required
    if optional:
        items["OptionalAttendees"] = optional
    location = _text(component, "LOCATION")
    if location:
        items["Location"] = location
    # A meeting, an appointment or an all-day event.
    kind = "3" if required or optional else "0" if isinstance(start, datetime.datetime) else "2"
    items["AppointmentType"] = kind
    return store.note_record(items)


def _task(component):
    start = _time(component, "DTSTART")
    due = _time(component, "DUE")
    if due is None and start is not None and "DURATION" in component:
        due = start + _time(component, "DURATION")
    anchor = start or due or _time(component, "CREATED") or _time(component, "DTSTAMP")
    items = _common(component, "Task")
    items["TaskType"] = 1
    if anchor is not None:
        anchor = times.start_of_day(anchor)
        items["StartDateTime"] = {"time": times.time_text(anchor)}
        items["CalendarDateTime"] = {
            "time": [times.time_text(s) for s in occurrences(component, anchor)]
        }
    if due is not None:
        items["DueDateTime"] = {"time": times.time_text(times.start_of_day(due))}
    status = _text(component, "STATUS").upper()
    completed = _time(component, "COMPLETED")
    if completed is not None:
        items["CompletedDateTime"] = {"time": times.time_text(completed)}
        status = status or "COMPLETED"
    if status in _DUE_STATE:
        items["DueState"] = _DUE_STATE[status]
    priority = component.get("PRIORITY")
    if priority is not None and int(priority) in _IMPORTANCE:
        items["Importance"] = _IMPORTANCE[int(priority)]
    return store.note_record(items)


def calendar_notes(data):
    """(where, note or the error) for each event and to-do of the file's calendars."""
    for number, calendar in enumerate(icalendar.Calendar.from_ical(data, multiple=True), 1):
        for index, component in enumerate(calendar.walk(), 1):
            if component.name not in ("VEVENT", "VTODO"):
                continue
            uid = _text(component, "UID") or "no UID"
            where = f"calendar {number}, {component.name} {index} ({uid})"
            try:
                yield where, (_event if component.name == "VEVENT" else _task)(component)
            except Exception as error:  # pylint: disable=broad-exception-caught; one entry's fault
                yield where, error
