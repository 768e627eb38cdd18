#!/usr/bin/env python3
"""Check the 32-bit product's DLLs as files, without running them.

Usage: check-pe32.py BIN_DIR

BIN_DIR is the bin folder of the i686 build. Each DLL named in pe32_expected.py (beside this
script) must be a PE32 DLL for i386 whose export table is exactly the expected one (names and
ordinals), whose imports come only from the allowed DLLs (the client library by ordinal only)
and whose resources include the expected ones. Reads the files with no tool but Python, so it
runs where no 32-bit code can run.
"""
import importlib
import os
import struct
import sys

# No __pycache__ in the checkout: the expectations are imported once bytecode writing is off.
sys.dont_write_bytecode = True
expected = importlib.import_module("pe32_expected")

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
        with open(path, "rb") as image:
            self.data = image.read()
        if self.data[:2] != b"MZ":
            raise PeError("no MZ header")
        signature = self.u32(0x3C)
        if not self.data.startswith(b"PE\0\0", signature):
            raise PeError("no PE signature")
        self.machine, sections, _, _, _, optional_size, self.characteristics = struct.unpack_from(
            "<HHIIIHH", self.data, signature + 4
        )
        optional = signature + 24
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
        raise PeError(f"address {rva:#x} is in no section")

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
                descriptor = self.offset(rva)
                name_rva = self.u32(descriptor + name_field)
                if not name_rva:
                    break
                thunks = self.u32(descriptor + thunks_field) or self.u32(descriptor + 16)
                entries = []
                slot = self.offset(thunks)
                while True:
                    thunk = struct.unpack_from("<Q" if wide else "<I", self.data, slot)[0]
                    if not thunk:
                        break
                    if thunk & ordinal_flag:
                        entries.append(thunk & 0xFFFF)
                    else:
                        entries.append(self.text((thunk & 0x7FFFFFFF) + 2))
                    slot += 8 if wide else 4
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
                    name = root + (key & 0x7FFFFFFF)
                    start, end = name + 2, name + 2 + 2 * self.u16(name)
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
    suffix = f" ({code})" if code else ""
    return f"{kind} {name}, language {language}{suffix}"


def check_exports(image, dll, wanted, by_ordinal):
    """What is wrong with the export table: the DLL it names, and the exports it lacks or has
    beyond the wanted ones, those by name and those by ordinal only."""
    errors = []
    own_name, exports = image.exports()
    if own_name is None:
        errors.append("no export table")
    elif own_name != dll:
        errors.append(f"the export table names the DLL {own_name!r}, expected {dll!r}")
    errors += check_ordinal_exports(exports, by_ordinal)
    errors += check_named_exports(exports, wanted)
    return errors + unexpected_exports(exports, wanted, by_ordinal)


def check_ordinal_exports(exports, by_ordinal):
    """The exports that must be there by ordinal only (their callers link by number)."""
    errors = []
    for ordinal, name in sorted(by_ordinal.items()):
        if ordinal not in exports:
            errors.append(f"missing export ordinal {ordinal} ({name})")
        elif exports[ordinal] is not None:
            errors.append(
                f"export ordinal {ordinal} ({name}) has the name {exports[ordinal]}: "
                "it must be by ordinal only"
            )
    return errors


def check_named_exports(exports, wanted):
    """The exports that must be there by name, each at its ordinal."""
    by_name = {name: ordinal for ordinal, name in exports.items() if name}
    errors = []
    for ordinal, name in sorted(wanted.items()):
        if name not in by_name:
            # A stdcall function exported with its decoration (Name@8) is not found by its name.
            decorated = [found for found in by_name if found.split("@")[0] == name]
            instead = f", exported as {decorated[0]} instead" if decorated else ""
            errors.append(f"missing export {name} (ordinal {ordinal}){instead}")
        elif by_name[name] != ordinal:
            errors.append(f"export {name} has ordinal {by_name[name]}, expected {ordinal}")
    return errors


def unexpected_exports(exports, wanted, by_ordinal):
    """The exports nobody asked for, the first MAX_LISTED of them by name or ordinal."""
    unexpected = []
    for ordinal, name in sorted(exports.items()):
        if name is None:
            if ordinal not in by_ordinal:
                unexpected.append(f"unexpected export ordinal {ordinal}")
        # A name at one of by_ordinal, or a decorated one of wanted, has been reported already.
        elif ordinal not in by_ordinal and name.split("@")[0] not in wanted.values():
            unexpected.append(f"unexpected export {name} (ordinal {ordinal})")
    if len(unexpected) > MAX_LISTED:
        count = len(unexpected) - MAX_LISTED
        unexpected[MAX_LISTED:] = [f"and {count} more unexpected exports"]
    return unexpected


def check_imports(image, allowed):
    """The imports that are neither from Windows' own DLLs nor allowed ordinals of the
    product's DLLs."""
    errors = []
    for library, entries, delayed in image.imports():
        key = library.lower()
        if key in allowed:
            errors += check_product_imports(library, entries, allowed[key])
        elif key not in expected.SYSTEM_DLLS:
            how = "delay-loaded " if delayed else ""
            runtime = key.startswith(expected.STATIC_RUNTIME)
            why = ": the compiler's runtime is to be linked statically" if runtime else ""
            errors.append(f"unexpected {how}import from {library} ({list_imports(entries)}){why}")
    return errors


def check_product_imports(library, entries, allowed):
    """Imports from one of the product's DLLs: by ordinal only, and only the allowed ones."""
    errors = []
    # The client library's ordinals have names to show in the messages.
    known = expected.CLIENT_LIBRARY if library.lower() == "ntamsel.dll" else {}
    names = [entry for entry in entries if isinstance(entry, str)]
    if names:
        errors.append(
            f"imports {', '.join(names)} from {library} by name: "
            "only ordinals may be imported from it"
        )
    for ordinal in sorted(entry for entry in entries if isinstance(entry, int)):
        if ordinal not in allowed:
            label = f" ({known[ordinal]})" if ordinal in known else ""
            errors.append(f"imports ordinal {ordinal}{label} from {library}, which it may not use")
    return errors


def list_imports(entries):
    """The first few imports from a DLL, as a message names them."""
    shown = ", ".join(
        entry if isinstance(entry, str) else f"ordinal {entry}" for entry in entries[:5]
    )
    return shown + (", ..." if len(entries) > 5 else "")


def check_resources(image, wanted, root):
    """The wanted resources that are missing or whose content is not the wanted one."""
    errors = []
    resources = image.resources()
    missing = {}
    for key, content in wanted.items():
        data = resources.get(key)
        if data is None:
            missing.setdefault((key[0], key[2]), []).append(key)
            continue
        if isinstance(content, str):
            with open(os.path.join(root, content), "rb") as source:
                if source.read() != data:
                    errors.append(f"resource {describe(key)} differs from {content}")
        elif isinstance(content, bytes) and not data.startswith(content):
            errors.append(f"resource {describe(key)} does not start with {content!r}")
        elif not data:
            errors.append(f"resource {describe(key)} is empty")
    return errors + missing_resources(resources, wanted, missing)


def missing_resources(resources, wanted, missing):
    """One message for each type and language of missing resources, naming the languages the
    same resources are in instead."""
    errors = []
    for (kind, language), keys in sorted(missing.items(), key=str):
        names = ", ".join(str(key[1]) for key in keys)
        # In a language not wanted for it: a LANGUAGE statement that went wrong, say.
        elsewhere = sorted(
            {
                found[2]
                for found in resources
                if found not in wanted and any(found[:2] == key[:2] for key in keys)
            }
        )
        there = f"; it is there in language {', '.join(map(str, elsewhere))}" if elsewhere else ""
        errors.append(f"missing resource {describe((kind, names, language))}{there}")
    return errors


def check_dll(path, wanted, root):
    """What is wrong with one DLL, or why it cannot be read."""
    try:
        return check_image(PeFile(path), os.path.basename(path), wanted, root)
    except (OSError, PeError, struct.error, ValueError) as error:
        return [f"cannot be read as a PE image: {error}"]


def check_image(image, dll, wanted, root):
    """What is wrong with one DLL's image; no more than that when it is not PE32 for i386."""
    if image.machine != MACHINE_I386 or image.magic != MAGIC_PE32:
        kind = {MAGIC_PE32: "PE32", MAGIC_PE32_PLUS: "PE32+"}.get(image.magic, hex(image.magic))
        machine = MACHINES.get(image.machine, hex(image.machine))
        return [f"not PE32 for i386: {kind} for {machine}"]
    errors = []
    if not image.characteristics & FILE_DLL:
        errors.append(f"not a DLL (characteristics {image.characteristics:#x})")
    by_ordinal = wanted.get("exports_by_ordinal", {})
    errors += check_exports(image, dll, wanted["exports"], by_ordinal)
    errors += check_imports(image, wanted["imports"])
    errors += check_resources(image, wanted["resources"], root)
    return errors


def main(argv):
    """Prints each DLL's problems and returns 1, or prints what was checked and returns 0."""
    if len(argv) != 2:
        print("usage: check-pe32.py BIN_DIR", file=sys.stderr)
        return 2
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    failed = 0
    for dll, wanted in expected.DLLS.items():
        errors = check_dll(os.path.join(argv[1], dll), wanted, root)
        for error in errors:
            print(f"FAIL {dll}: {error}")
        failed += bool(errors)
    if failed:
        print(f"check-pe32: {failed} of {len(expected.DLLS)} DLLs in {argv[1]} are not as expected")
        return 1
    print(
        f"check-pe32: {len(expected.DLLS)} DLLs in {argv[1]}: "
        "PE32 for i386, exports, imports and resources as expected"
    )
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
