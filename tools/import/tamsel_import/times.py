"""Python dates and times as the client's time texts."""
import datetime

# The client keeps zone offsets in quarter hours up to 14 hours either way.
_QUARTER = datetime.timedelta(minutes=15)
_MAX_OFFSET = datetime.timedelta(hours=14)


def time_text(value):
    """A date, or a date and time, as the client's text. Naive times are taken as UTC; an
    offset the client cannot keep is turned into UTC."""
    if not isinstance(value, datetime.datetime):
        return f"{value.year:04d}-{value.month:02d}-{value.day:02d}"
    offset = value.utcoffset()
    if offset is None:
        offset = datetime.timedelta(0)
        value = value.replace(tzinfo=datetime.timezone.utc)
    if offset % _QUARTER or abs(offset) > _MAX_OFFSET:
        value = value.astimezone(datetime.timezone.utc)
        offset = datetime.timedelta(0)
    minutes = int(offset.total_seconds()) // 60
    sign = "-" if minutes < 0 else "+"
    zone = f"{sign}{abs(minutes) // 60:02d}:{abs(minutes) % 60:02d}"
    hundredths = value.microsecond // 10000
    clock = f"{value.hour:02d}:{value.minute:02d}:{value.second:02d}.{hundredths:02d}"
    return f"{time_text(value.date())} {clock} {zone}"


def start_of_day(value):
    """A date as midnight UTC: the client's schedules need a time of day."""
    if isinstance(value, datetime.datetime):
        return value
    return datetime.datetime(value.year, value.month, value.day, tzinfo=datetime.timezone.utc)
