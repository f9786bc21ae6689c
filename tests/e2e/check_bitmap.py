#!/usr/bin/env python3
"""Checks a saved picture of a run: the coast (black), the release disc
(green 0,128,0) and the tracks (red) each have their least pixel count.
Reads the 24- or 32-bit Windows bitmap itself. Usage: check_bitmap.py FILE.bmp"""
import collections
import struct
import sys

LEAST = {"coast": ((0, 0, 0), 200), "disc": ((0, 128, 0), 20), "tracks": ((255, 0, 0), 10)}

data = open(sys.argv[1], "rb").read()
if data[:2] != b"BM":
    sys.exit("not a Windows bitmap")
offset = struct.unpack_from("<I", data, 10)[0]
width, height, _, bits = struct.unpack_from("<iiHH", data, 18)
step = bits // 8
stride = (width * step + 3) & ~3
counts = collections.Counter()
for row in range(abs(height)):
    start = offset + row * stride
    for i in range(start, start + width * step, step):
        counts[(data[i + 2], data[i + 1], data[i])] += 1  # stored blue, green, red
ok = True
for name, (colour, least) in LEAST.items():
    print(f"{name}: {counts[colour]} pixels of {colour}, at least {least} wanted")
    ok = ok and counts[colour] >= least
sys.exit(0 if ok else 1)
