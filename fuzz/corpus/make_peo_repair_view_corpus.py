#!/usr/bin/env python3
"""Writes the small seed corpus of fuzz_peo_repair_view into fuzz/corpus/peo_repair_view/: the shapes of the
repair window's tests."""
import os
import struct

here = os.path.join(os.path.dirname(os.path.abspath(__file__)), "peo_repair_view")
os.makedirs(here, exist_ok=True)


def header(version, public, local, materials, count):
    return b"RMF99ba\0" + struct.pack("<10i", version, 0, 0, 0, public, local, materials, materials, count, 0)[:36] \
        + b"\xab" * 24


def record(version, name=0, faces=0, vnormals=0, vertex_list=0, cvn=0, normals=0, polygons=0):
    fields = [name, 0, 0, faces, vnormals, 0, vertex_list]
    if version == 1280:
        fields.append(cvn)
    fields += [normals, polygons, 0, 0, 0]
    matrix = [1.0 if i % 5 == 0 else 0.0 for i in range(16)]
    return struct.pack("<%di" % len(fields), *fields) + struct.pack("<16f", *matrix)


def normal(x, y, z):
    return struct.pack("<3f", x, y, z) + b"\xab" * 4


def write(name, content):
    with open(os.path.join(here, name), "wb") as f:
        f.write(content)


def three_records(version, public, local, gap):
    size = 116 if version == 1280 else 112
    materials = 68 + 3 * size
    body = header(version, public, local, materials, 3) + record(version, polygons=materials + gap) \
        + record(version) + record(version)
    return body + b"\x11" * (gap + 64)


write("homeworld_counts_agree.peo", three_records(1026, 10, 2, 384))
write("homeworld_counts_zero.peo", three_records(1026, 0, 0, 384))
write("homeworld_half_count.peo", three_records(1026, 0, 0, 400))
write("cataclysm_three.peo", three_records(1280, 1, 2, 384))
for version in (1026, 1280):
    size = 116 if version == 1280 else 112
    start = 68 + size
    body = header(version, 0, 0, 0, 1) + record(version, name=start + 80, faces=1, vnormals=2, normals=start,
                                                 cvn=start, polygons=4444)
    body += normal(0.5, -1, 0.1) + normal(1e-5, 12345678, 2) + normal(9, 9, 9) + normal(0, 0.25, -0.75) \
        + normal(3, 1 / 3, -2.5) + b"Hull\0"
    write("normals_%d.peo" % version, body)
write("name_without_zero.peo", header(1026, 0, 0, 0, 1) + record(1026, name=180) + b"Tail")
write("huge_counts.peo", header(1026, 0, 0, 0, 0x7FFFFFFF)
      + record(1026, faces=10 ** 9, vnormals=10 ** 9, normals=180) + normal(1, 2, 3))
write("negative_offsets.peo", header(1026, 0, 0, -64, 1) + record(1026, name=-5, vnormals=3, normals=-100,
                                                                  polygons=-32))
write("ten_bytes", b"0123456789")
