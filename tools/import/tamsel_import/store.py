"""Writing notes into a database with zrb.exe, run under Wine the way the scripts run it."""
import json
import os
import shlex
import subprocess

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__)))))


def note_record(items, unread_user=None):
    """A note as zrb put reads it: a document (class 1) with these items, unread for
    `unread_user` when given."""
    record = {"class": 1, "items": items}
    if unread_user:
        record["unread"] = unread_user
    return record


def zrb_command():
    """TAMSEL_ZRB (a command line), else the build's zrb.exe under the build's Wine; without
    BUILD_DIR, wine-env takes the checkout's build that runs on this host."""
    if os.environ.get("TAMSEL_ZRB"):
        return shlex.split(os.environ["TAMSEL_ZRB"])
    return [
        "bash",
        "-c",
        'source "$0"; exec "$WINE" "$BUILD_DIR/bin/zrb.exe" "$@"',
        os.path.join(ROOT, "scripts", "wine-env"),
    ]


def windows_path(path):
    """Wine's Z: drive is the Unix root."""
    return "Z:" + os.path.abspath(path)


def run_zrb(*arguments, stdin=None):
    return subprocess.run(
        zrb_command() + list(arguments), stdin=stdin, capture_output=True, check=False
    )


def ensure_database(path, title):
    if os.path.exists(path):
        return
    created = run_zrb("create", windows_path(path), "--title", title)
    if created.returncode != 0:
        raise RuntimeError(created.stderr.decode(errors="replace").strip() or "zrb create failed")


class Batch:
    """One zrb run that stores the notes written to it as they come."""

    def __init__(self, path):
        self.lines = []  # where each line's note came from, to name refused ones
        self.closed = False
        # zrb reads the notes as put() writes them, so the process outlives this call.
        self.process = subprocess.Popen(  # pylint: disable=consider-using-with; finish() waits
            zrb_command() + ["put", windows_path(path), "--batch", "--unique", "$MessageID"],
            stdin=subprocess.PIPE,
            stdout=subprocess.PIPE,
            stderr=subprocess.PIPE,
        )

    def put(self, where, note):
        self.lines.append(where)
        if self.closed:
            return
        try:
            # A stray surrogate some parser let through must not end the import.
            line = json.dumps(note, ensure_ascii=False).encode("utf-8", errors="replace")
            self.process.stdin.write(line + b"\n")
        except BrokenPipeError:
            self.closed = True  # zrb gave up; finish() says why

    def finish(self):
        """The counts zrb reports, and the sources of the notes it refused with why."""
        out, err = self.process.communicate()
        refused = []
        other = []
        for line in err.decode("utf-8", errors="replace").splitlines():
            _, found, rest = line.partition(": line ")
            number, _, why = rest.partition(": ")
            if found and number.isdigit() and 0 < int(number) <= len(self.lines):
                refused.append((self.lines[int(number) - 1], why))
            elif line.strip():
                other.append(line)
        try:
            counts = json.loads(out.decode().strip().splitlines()[-1])
        except (ValueError, IndexError):
            # The reason is in zrb's messages, not in the missing counts.
            raise RuntimeError("\n".join(other) or "zrb put ended without its counts") from None
        return counts, refused
