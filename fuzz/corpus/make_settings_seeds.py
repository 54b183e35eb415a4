#!/usr/bin/env python3
# SPDX-License-Identifier: Apache-2.0
# Writes the seed settings files into fuzz/corpus/settings/. The files are
# kept in the repository; run this again only to change them.
import os
import struct

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "settings")
DEFAULT_UNITS = [3, 6, 2, 6, 3, 1, 0, 3]


def ints(*values):
    return b"".join(struct.pack("<i", v) for v in values)


def record(prefix, text, units=DEFAULT_UNITS, user=0, tracker=1):
    return ints(user, tracker) + prefix + text + ints(*units)


def wide(text):
    return text.encode("utf-16-le")


ADDR = b"10.20.30.40"
seeds = {
    # What Save writes for a fresh record.
    "default": record(bytes([10]), b"192.0.2.10"),
    "empty_address": record(b"\x00", b"", [0, 0, 0, 0, 0, 0, 1, 0], user=2, tracker=0),
    "prefix_16bit": record(b"\xff" + struct.pack("<H", len(ADDR)), ADDR),
    "prefix_32bit": record(b"\xff\xff\xff" + struct.pack("<I", len(ADDR)), ADDR),
    "wide": record(b"\xff\xfe\xff" + bytes([len(ADDR)]), wide(ADDR.decode())),
    # A degree sign, a euro sign (both in the code page) and a pair.
    "wide_nonascii": record(b"\xff\xfe\xff\x04", wide("\u00b0\u20ac\U0001F600")),
    "wide_16bit": record(b"\xff\xfe\xff\xff" + struct.pack("<H", 3), wide("1.2")),
    # Longer than the text converter's output chunk.
    "wide_long": record(b"\xff\xfe\xff\xff" + struct.pack("<H", 300), wide("9" * 299 + "\u20ac")),
    # The shortest address that Save writes with the 16-bit prefix.
    "prefix_16bit_255": record(b"\xff\xff\x00", b"1" * 255),
    "odd_units": record(bytes([3]), b"a.b", [-1, -2147483648, 99, 2147483647, 4, -7, 2, 0]),
    "trailing_bytes": record(bytes([10]), b"192.0.2.10") + b"extra",
    "empty": b"",
    "short_ints": ints(1)[:3],
    "cut_in_address": record(bytes([10]), b"192.0.2.10")[:14],
    "cut_in_units": record(bytes([10]), b"192.0.2.10")[:45],
    "claims_too_much": ints(0, 1) + b"\xff\xff\xff\xff\xff\xff\x7f" + b"1.2.3.4",
}

os.makedirs(OUT, exist_ok=True)
for name, data in seeds.items():
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(data)
