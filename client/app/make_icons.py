#!/usr/bin/env python3
"""Writes the client's three 32x32 icons (mail, calendar, search) as .ico files."""
import struct
import sys

SIZE = 32


def pixels(kind):
    rows = []
    for y in range(SIZE):
        row = []
        for x in range(SIZE):
            border = x in (2, SIZE - 3) or y in (6, SIZE - 7)
            inside = 2 <= x <= SIZE - 3 and 6 <= y <= SIZE - 7
            if kind == 0:  # envelope: a flap drawn as a V
                flap = inside and abs((x - 2) - (y - 6) * 1.2) < 1.2 or inside and abs((SIZE - 3 - x) - (y - 6) * 1.2) < 1.2
                colour = (60, 60, 160) if border or flap else (250, 240, 200) if inside else None
            elif kind == 1:  # calendar: a red header band over a white sheet
                colour = (40, 40, 40) if border else (200, 40, 40) if inside and y < 12 else (255, 255, 255) if inside else None
            else:  # magnifier: a ring and a handle
                d = ((x - 13) ** 2 + (y - 13) ** 2) ** 0.5
                handle = 18 <= x <= 28 and abs((x - 18) - (y - 18)) <= 1 and y >= 18
                colour = (30, 110, 40) if 7 <= d <= 10 or handle else (210, 240, 255) if d < 7 else None
            row.append(colour)
        rows.append(row)
    return rows


def icon(kind):
    data = pixels(kind)
    xor = b"".join(
        bytes((c[2], c[1], c[0], 255)) if c else b"\0\0\0\0"
        for row in reversed(data) for c in row)
    mask_rows = []
    for row in reversed(data):
        bits = 0
        for x, c in enumerate(row):
            if c is None:
                bits |= 1 << (31 - x)
        mask_rows.append(struct.pack(">I", bits))
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0, len(xor) + 128, 0, 0, 0, 0)
    image = header + xor + b"".join(mask_rows)
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 32, len(image), 22)
    return directory + image


if __name__ == "__main__":
    for kind, path in enumerate(sys.argv[1:4]):
        with open(path, "wb") as out:
            out.write(icon(kind))
