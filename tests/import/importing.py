"""What the import tests share: a scratch folder, an import run and the database it wrote,
read back with zrb dump."""
import io
import json
import os
import shutil
import tempfile
import unittest

from tamsel_import import __main__ as cli
from tamsel_import import store


class ImportTest(unittest.TestCase):
    """A scratch folder with a database path in it, and ways to import and read back."""

    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="import-test-")
        self.addCleanup(shutil.rmtree, self.dir, ignore_errors=True)
        self.database = os.path.join(self.dir, "mail.zrb")

    def write(self, name, data):
        path = os.path.join(self.dir, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as out:
            out.write(data if isinstance(data, bytes) else data.encode("utf-8"))
        return path

    def run_import(self, kind, source, user="Anna Berg"):
        """The counts and what the import said."""
        report = io.StringIO()
        counts = cli.run(self.database, kind, source, user, "Imported", report)
        return counts, report.getvalue()

    def dump(self):
        result = store.run_zrb("dump", store.windows_path(self.database))
        self.assertEqual(result.returncode, 0, result.stderr)
        return json.loads(result.stdout)

    def notes(self):
        """Each note's items by name; several of one name (attachments) as a list."""
        found = []
        for note in self.dump()["notes"]:
            items = {}
            for item in note["items"]:
                if item["name"] == "$FILE":
                    items.setdefault("$FILE", []).append(item["value"])
                else:
                    items[item["name"]] = item["value"]
            items["note"] = note["note"]
            found.append(items)
        return found

    def by_subject(self):
        return {note.get("Subject"): note for note in self.notes()}


def body_text(value):
    """A rich text value as lines."""
    return "\n".join(
        "".join(r if isinstance(r, str) else r.get("text", "") for r in paragraph)
        for paragraph in value
    )
