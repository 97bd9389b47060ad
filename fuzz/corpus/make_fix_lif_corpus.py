#!/usr/bin/env python3
"""Writes the small seed corpus of fuzz_fix_lif into fuzz/corpus/fix_lif/: the shapes of the Fix Lif tests."""
import os
import struct

here = os.path.join(os.path.dirname(os.path.abspath(__file__)), "fix_lif")
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


write("standard_flags0", header(0, 2, 2, 48, 52, 52 + 1024, 52 + 1280) + bytes([0, 1, 2, 3]) + palette()
      + table(3) + table(5))
write("reordered_blocks", header(50, 2, 2, 48 + 1536, 48 + 512, 48 + 256, 48) + table(5) + table(3) + palette()
      + bytes([3, 2, 1, 0]))
write("missing_tables", header(50, 2, 2, 48, 52, 0, -5) + bytes([0, 1, 2, 3]) + palette() + bytes(512))
write("missing_palette", header(34, 2, 2, 48, -1, 52, 308) + bytes([0, 1, 2, 3]) + table(3) + table(5) + bytes(1024))
write("block_past_end", header(0, 2, 2, 48, 565, 1076, 1332) + bytes(1540))
write("rgb_red_red_blue_red", header(0, 2, 2) + bytes([255, 0, 0, 255, 0, 0, 0, 0, 255, 255, 0, 0]))
write("rgba_one_colour", header(8, 2, 1) + bytes([10, 20, 30, 10, 10, 20, 30, 200]))
write("rgb_flags16", header(16, 3, 2) + bytes(range(0, 180, 10)))
write("paletted_no_tables", header(2, 2, 2, 48, 52) + bytes([0, 1, 2, 3]) + palette())
write("short", bytes(40))
write("negative_width", header(50, -2, 2) + bytes(100))
# A header that claims far more pixels than the file holds.
write("huge_claim", header(0, 2, 0x32000002) + bytes(12))
