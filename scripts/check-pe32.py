#!/usr/bin/env python3
"""Check the 32-bit product's DLLs as files, without running them.

Usage: check-pe32.py BIN_DIR

BIN_DIR is the bin folder of the i686 build. Each DLL named in pe32_expected.py (beside this
script) must be a PE32 DLL for i386 whose export table is exactly the expected one (names and
ordinals), whose imports come only from the allowed DLLs (the client library by ordinal only)
and whose resources include the expected ones. Reads the files with no tool but Python, so it
runs where no 32-bit code can run.
"""
import os
import struct
import sys

sys.dont_write_bytecode = True  # no __pycache__ in the checkout
import pe32_expected as expected  # noqa: E402

MACHINE_I386 = 0x14C
FILE_DLL = 0x2000
MAGIC_PE32 = 0x10B
MAGIC_PE32_PLUS = 0x20B
DIR_EXPORT, DIR_IMPORT, DIR_RESOURCE, DIR_DELAY_IMPORT = 0, 1, 2, 13
MACHINES = {0x14C: "i386", 0x8664: "x86-64", 0xAA64: "arm64"}
MAX_LISTED = 10  # unexpected exports named; a DLL that exports everything has hundreds


class PeError(Exception):
    """The file is not a PE image this script can read."""


class PeFile:
    """The headers, exports, imports and resources of one PE image."""

    def __init__(self, path):
        with open(path, "rb") as f:
            self.data = f.read()
        if self.data[:2] != b"MZ":
            raise PeError("no MZ header")
        pe = self.u32(0x3C)
        if not self.data.startswith(b"PE\0\0", pe):
            raise PeError("no PE signature")
        self.machine, sections, _, _, _, optional_size, self.characteristics = struct.unpack_from(
            "<HHIIIHH", self.data, pe + 4
        )
        optional = pe + 24
        self.magic = self.u16(optional)
        # The data directories follow the fields that PE32+ widens.
        directories = optional + (96 if self.magic == MAGIC_PE32 else 112)
        count = self.u32(directories - 4)
        self.directories = [
            struct.unpack_from("<II", self.data, directories + 8 * i) for i in range(count)
        ]
        self.sections = []
        table = optional + optional_size
        for i in range(sections):
            size, rva, raw_size, raw = struct.unpack_from("<IIII", self.data, table + 40 * i + 8)
            self.sections.append((rva, max(size, raw_size), raw))

    def u16(self, offset):
        return struct.unpack_from("<H", self.data, offset)[0]

    def u32(self, offset):
        return struct.unpack_from("<I", self.data, offset)[0]

    def offset(self, rva):
        """The file offset of an address in the image."""
        for start, size, raw in self.sections:
            if start <= rva < start + size:
                return raw + rva - start
        raise PeError("address %#x is in no section" % rva)

    def text(self, rva):
        start = self.offset(rva)
        end = self.data.index(b"\0", start)
        return self.data[start:end].decode("latin-1")

    def directory(self, index):
        return self.directories[index] if index < len(self.directories) else (0, 0)

    def exports(self):
        """The DLL's own name and {ordinal: name or None (by ordinal only)}."""
        rva, _ = self.directory(DIR_EXPORT)
        if not rva:
            return None, {}
        fields = struct.unpack_from("<IIIIIII", self.data, self.offset(rva) + 12)
        name, base, functions, names, function_table, name_table, ordinal_table = fields
        result = {}
        for i in range(functions):
            if self.u32(self.offset(function_table) + 4 * i):  # 0: a gap in the numbering
                result[base + i] = None
        for i in range(names):
            index = self.u16(self.offset(ordinal_table) + 2 * i)
            result[base + index] = self.text(self.u32(self.offset(name_table) + 4 * i))
        return self.text(name), result

    def imports(self):
        """[(dll, [ordinal or name, ...], delay-loaded)] in the order of the import tables."""
        wide = self.magic == MAGIC_PE32_PLUS
        ordinal_flag = 1 << 63 if wide else 1 << 31
        result = []
        for index, entry_size, name_field, thunks_field in (
            (DIR_IMPORT, 20, 12, 0),
            (DIR_DELAY_IMPORT, 32, 4, 16),
        ):
            rva, _ = self.directory(index)
            while rva:
                d = self.offset(rva)
                name_rva = self.u32(d + name_field)
                if not name_rva:
                    break
                thunks = self.u32(d + thunks_field) or self.u32(d + 16)
                entries = []
                t = self.offset(thunks)
                while True:
                    thunk = struct.unpack_from("<Q" if wide else "<I", self.data, t)[0]
                    if not thunk:
                        break
                    if thunk & ordinal_flag:
                        entries.append(thunk & 0xFFFF)
                    else:
                        entries.append(self.text((thunk & 0x7FFFFFFF) + 2))
                    t += 8 if wide else 4
                result.append((self.text(name_rva), entries, index == DIR_DELAY_IMPORT))
                rva += entry_size
        return result

    def resources(self):
        """{(type, name, language): data}; type and name are numbers or upper-case texts."""
        rva, _ = self.directory(DIR_RESOURCE)
        if not rva:
            return {}
        root = self.offset(rva)
        found = {}

        def walk(table, path):
            named, numbered = struct.unpack_from("<HH", self.data, table + 12)
            for i in range(named + numbered):
                key, target = struct.unpack_from("<II", self.data, table + 16 + 8 * i)
                if key & 0x80000000:
                    at = root + (key & 0x7FFFFFFF)
                    start, end = at + 2, at + 2 + 2 * self.u16(at)
                    key = self.data[start:end].decode("utf-16-le")
                if target & 0x80000000:
                    walk(root + (target & 0x7FFFFFFF), path + (key,))
                else:
                    data_rva, size = struct.unpack_from("<II", self.data, root + target)
                    start = self.offset(data_rva)
                    end = start + size
                    found[path + (key,)] = self.data[start:end]

        walk(root, ())
        return found


def describe(key):
    """A resource key as the messages name it."""
    kind, name, language = key
    kind = {expected.RT_DIALOG: "DIALOG", expected.RT_STRING: "STRING block"}.get(kind, kind)
    code = expected.LANGUAGES.get(language)
    return "%s %s, language %s%s" % (kind, name, language, " (%s)" % code if code else "")


def check_exports(pe, dll, wanted, by_ordinal):
    errors = []
    own_name, exports = pe.exports()
    if own_name is None:
        errors.append("no export table")
    elif own_name != dll:
        errors.append("the export table names the DLL %r, expected %r" % (own_name, dll))
    by_name = {name: ordinal for ordinal, name in exports.items() if name}
    for ordinal, name in sorted(by_ordinal.items()):
        if ordinal not in exports:
            errors.append("missing export ordinal %d (%s)" % (ordinal, name))
        elif exports[ordinal] is not None:
            errors.append(
                "export ordinal %d (%s) has the name %s: it must be by ordinal only"
                % (ordinal, name, exports[ordinal])
            )
    for ordinal, name in sorted(wanted.items()):
        if name not in by_name:
            decorated = [n for n in by_name if n.split("@")[0] == name]
            errors.append(
                "missing export %s (ordinal %d)%s"
                % (name, ordinal, ", exported as %s instead" % decorated[0] if decorated else "")
            )
        elif by_name[name] != ordinal:
            errors.append("export %s has ordinal %d, expected %d" % (name, by_name[name], ordinal))
    unexpected = []
    for ordinal, name in sorted(exports.items()):
        if name is None:
            if ordinal not in by_ordinal:
                unexpected.append("unexpected export ordinal %d" % ordinal)
        # A name at one of by_ordinal, or a decorated one of wanted, has been reported above.
        elif ordinal not in by_ordinal and name.split("@")[0] not in wanted.values():
            unexpected.append("unexpected export %s (ordinal %d)" % (name, ordinal))
    if len(unexpected) > MAX_LISTED:
        count = len(unexpected) - MAX_LISTED
        unexpected[MAX_LISTED:] = ["and %d more unexpected exports" % count]
    return errors + unexpected


def check_imports(pe, allowed):
    errors = []
    for library, entries, delayed in pe.imports():
        how = "delay-loaded " if delayed else ""
        key = library.lower()
        if key in allowed:
            names = [e for e in entries if isinstance(e, str)]
            if names:
                errors.append(
                    "imports %s from %s by name: only ordinals may be imported from it"
                    % (", ".join(names), library)
                )
            for ordinal in sorted(e for e in entries if isinstance(e, int)):
                if ordinal not in allowed[key]:
                    known = expected.CLIENT_LIBRARY.get(ordinal) if key == "ntamsel.dll" else None
                    errors.append(
                        "imports ordinal %d%s from %s, which it may not use"
                        % (ordinal, " (%s)" % known if known else "", library)
                    )
        elif key not in expected.SYSTEM_DLLS:
            runtime = key.startswith(expected.STATIC_RUNTIME)
            errors.append(
                "unexpected %simport from %s (%s)%s"
                % (
                    how,
                    library,
                    ", ".join(e if isinstance(e, str) else "ordinal %d" % e for e in entries[:5])
                    + (", ..." if len(entries) > 5 else ""),
                    ": the compiler's runtime is to be linked statically" if runtime else "",
                )
            )
    return errors


def check_resources(pe, wanted, root):
    errors = []
    resources = pe.resources()
    missing = {}
    for key, content in wanted.items():
        data = resources.get(key)
        if data is None:
            missing.setdefault((key[0], key[2]), []).append(key)
            continue
        if isinstance(content, str):
            with open(os.path.join(root, content), "rb") as f:
                if f.read() != data:
                    errors.append("resource %s differs from %s" % (describe(key), content))
        elif isinstance(content, bytes) and not data.startswith(content):
            errors.append("resource %s does not start with %r" % (describe(key), content))
        elif not data:
            errors.append("resource %s is empty" % describe(key))
    for (kind, language), keys in sorted(missing.items(), key=str):
        names = ", ".join(str(k[1]) for k in keys)
        # In a language not wanted for it: a LANGUAGE statement that went wrong, say.
        elsewhere = sorted(
            {k[2] for k in resources if k not in wanted and any(k[:2] == m[:2] for m in keys)}
        )
        errors.append(
            "missing resource %s%s"
            % (
                describe((kind, names, language)),
                "; it is there in language %s" % ", ".join(map(str, elsewhere))
                if elsewhere
                else "",
            )
        )
    return errors


def check_dll(path, wanted, root):
    try:
        return check_image(PeFile(path), os.path.basename(path), wanted, root)
    except (OSError, PeError, struct.error, ValueError) as e:
        return ["cannot be read as a PE image: %s" % e]


def check_image(pe, dll, wanted, root):
    if pe.machine != MACHINE_I386 or pe.magic != MAGIC_PE32:
        return [
            "not PE32 for i386: %s for %s"
            % (
                {MAGIC_PE32: "PE32", MAGIC_PE32_PLUS: "PE32+"}.get(pe.magic, hex(pe.magic)),
                MACHINES.get(pe.machine, hex(pe.machine)),
            )
        ]
    errors = []
    if not pe.characteristics & FILE_DLL:
        errors.append("not a DLL (characteristics %#x)" % pe.characteristics)
    by_ordinal = wanted.get("exports_by_ordinal", {})
    errors += check_exports(pe, dll, wanted["exports"], by_ordinal)
    errors += check_imports(pe, wanted["imports"])
    errors += check_resources(pe, wanted["resources"], root)
    return errors


def main(argv):
    if len(argv) != 2:
        print("usage: check-pe32.py BIN_DIR", file=sys.stderr)
        return 2
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    failed = 0
    for dll, wanted in expected.DLLS.items():
        errors = check_dll(os.path.join(argv[1], dll), wanted, root)
        for e in errors:
            print("FAIL %s: %s" % (dll, e))
        failed += bool(errors)
    if failed:
        print(
            "check-pe32: %d of %d DLLs in %s are not as expected"
            % (failed, len(expected.DLLS), argv[1])
        )
        return 1
    print(
        "check-pe32: %d DLLs in %s: PE32 for i386, exports, imports and resources as expected"
        % (len(expected.DLLS), argv[1])
    )
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
