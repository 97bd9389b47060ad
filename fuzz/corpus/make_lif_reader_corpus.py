#!/usr/bin/env python3
"""Writes the small seed corpus of fuzz_lif_reader into fuzz/corpus/lif_reader/."""
import os
import struct

here = os.path.join(os.path.dirname(os.path.abspath(__file__)), "lif_reader")
os.makedirs(here, exist_ok=True)


def header(flags, w, h, data=48, pal=0, t0=0, t1=0):
    return b"Willy 7\0" + struct.pack("<10i", 260, flags, w, h, 9, 7, data, pal, t0, t1)


def palette():
    return bytes((i * 7 + c) & 255 for i in range(256) for c in range(4))


def table(step):
    return bytes((i * step) & 255 for i in range(256))


def write(name, content):
    with open(os.path.join(here, name), "wb") as f:
        f.write(content)


n = 4 * 3
write("standard", header(50, 4, 3, 48, 48 + n, 48 + n + 1024, 48 + n + 1280)
      + bytes(range(n)) + palette() + table(3) + table(5))
write("corrupt_flags", header(0, 2, 2, 48, 52, 52 + 1024, 52 + 1280) + bytes(4) + palette() + table(1) + table(2))
write("rgba", header(8, 2, 2) + bytes(range(16)))
write("rgb", header(2, 2, 1) + bytes([11, 12, 13, 21, 22, 23]))
write("paletted_no_tables", header(2, 2, 2, 48, 52) + bytes([0, 1, 2, 3]) + palette())
write("cut_palette", header(50, 2, 2, 48, 52, 60, 2000) + bytes([0, 1, 2, 3]) + palette()[:40])
