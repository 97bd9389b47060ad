#!/usr/bin/env python3
# Writes the small seed corpus of fuzz_mex_reader: the first byte chooses the ship definition (bit 0) and
# the variant written back (bit 1); the rest is a .mex file.
import os, struct

here = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus", "mex_reader")

def field(text, width, fill):
    b = text.encode() + b"\0"
    return b + bytes([fill]) * (width - len(b))

def chunk(tag, cid, body):
    return field(tag, 4, 0) + field(cid, 8, 0xAB) + struct.pack("<i", len(body)) + body

def cone(pos=(0, 0, 0), normal=(0, 0, 1), cone=10.0, edge=5.0):
    return struct.pack("<8f", *pos, *normal, cone, edge)

def header(version, count):
    return field("mannngo", 8, 0) + struct.pack("<hh", version, count)

def cat_block():
    return b"\0" + b"\xCD" * 31

def seeds():
    hw = header(258, 9)
    hw += chunk("Col", "Col0", struct.pack("<i4f", 1, 0, 0, 0, 10))
    hw += chunk("Rct", "Rct0", struct.pack("<i6f", 1, -1, -1, -1, 2, 2, 2))
    hw += chunk("Gun", "Gun0", cone())
    hw += chunk("Gun", "BEAM0", cone())
    hw += chunk("Dmg", "Dmg0", cone(cone=0, edge=0))
    hw += chunk("Eng", "Eng0", cone())
    hw += chunk("Dok", "DOCK", cone() + field("TOW1", 20, 0xCD))
    hw += chunk("Sal", "SALVAGE", cone() + field("Salvage1", 20, 0xCD))
    hw += chunk("Nav", "NAV", struct.pack("<3f", 1, 2, 3) + bytes([255, 128, 0, 0xCD]) + field("Light1", 20, 0xCD))
    yield "homeworld_all_types", bytes([0]) + hw
    yield "homeworld_with_shp", bytes([1]) + hw

    cat = header(262, 4)
    cat += chunk("Gun", "GUN1", struct.pack("<6f", 0, 0, 0, 0, 0, 1) + b"\xCD" * 8)
    cat += chunk("Eng", "Eng0", cone() + cat_block())
    cat += chunk("Xyz", "What", b"\x11" * 8)
    cat += chunk("Nav", "NAV", struct.pack("<3f", 1, 2, 3) + bytes([1, 2, 3, 0xCD]) + field("Light1", 20, 0xCD) + cat_block())
    yield "cataclysm_with_shp", bytes([3]) + cat
    yield "truncated", bytes([1]) + cat[:-10]
    yield "count_zero", bytes([0]) + header(258, 0)

os.makedirs(here, exist_ok=True)
for name, data in seeds():
    with open(os.path.join(here, name), "wb") as f:
        f.write(data)
