#!/usr/bin/env python3
"""Writes the client's three 32x32 icons (mail, calendar, search) as .ico files."""
import struct
import sys

SIZE = 32


def pixels(kind):
    """Rows of colours, top row first; None is transparent."""
    rows = []
    for y in range(SIZE):
        row = []
        for x in range(SIZE):
            border = x in (2, SIZE - 3) or y in (6, SIZE - 7)
            inside = 2 <= x <= SIZE - 3 and 6 <= y <= SIZE - 7
            if kind == 0:  # envelope: a flap drawn as a V
                flap = inside and (
                    abs((x - 2) - (y - 6) * 1.2) < 1.2 or abs((SIZE - 3 - x) - (y - 6) * 1.2) < 1.2
                )
                colour = (60, 60, 160) if border or flap else (250, 240, 200) if inside else None
            elif kind == 1:  # calendar: a red header band over a white sheet
                if border:
                    colour = (40, 40, 40)
                elif inside:
                    colour = (200, 40, 40) if y < 12 else (255, 255, 255)
                else:
                    colour = None
            else:  # magnifier: a ring and a handle
                distance = ((x - 13) ** 2 + (y - 13) ** 2) ** 0.5
                handle = 18 <= x <= 28 and abs((x - 18) - (y - 18)) <= 1 and y >= 18
                ring = 7 <= distance <= 10 or handle
                colour = (30, 110, 40) if ring else (210, 240, 255) if distance < 7 else None
            row.append(colour)
        rows.append(row)
    return rows


def icon(kind):
    """One .ico file: a 32-bit image with its AND mask, bottom row first."""
    data = pixels(kind)
    xor = b"".join(
        bytes((colour[2], colour[1], colour[0], 255)) if colour else b"\0\0\0\0"
        for row in reversed(data)
        for colour in row
    )
    mask_rows = []
    for row in reversed(data):
        bits = 0
        for x, colour in enumerate(row):
            if colour is None:
                bits |= 1 << (31 - x)
        mask_rows.append(struct.pack(">I", bits))
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0, len(xor) + 128, 0, 0, 0, 0)
    image = header + xor + b"".join(mask_rows)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 32, len(image), 22)
    return struct.pack("<HHH", 0, 1, 1) + entry + image


def main(paths):
    for kind, path in enumerate(paths):
        with open(path, "wb") as out:
            out.write(icon(kind))


if __name__ == "__main__":
    main(sys.argv[1:4])
