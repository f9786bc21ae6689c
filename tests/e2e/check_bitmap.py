#!/usr/bin/env python3
"""Checks a saved picture of a simulation run: reads the Windows bitmap
itself (standard library only) and counts the pixels of the coast (black),
the release disc (green 0,128,0) and the particle tracks (red 255,0,0).

Usage: check_bitmap.py FILE.bmp
Exit status 0 when every colour is present in its least amount."""
import struct
import sys

# Least pixel counts: the coast outline, a disc of a few pixels' radius
# partly drawn over by tracks, and a handful of track segments.
LEAST = {"coast": (0, 0, 0, 200), "disc": (0, 128, 0, 20), "tracks": (255, 0, 0, 10)}
BI_RGB, BI_BITFIELDS = 0, 3


def read_pixels(path):
    with open(path, "rb") as f:
        data = f.read()
    if data[:2] != b"BM":
        raise ValueError("not a Windows bitmap")
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height, planes, bits, compression = struct.unpack_from("<iiHHI", data, 18)
    if bits not in (24, 32) or compression not in (BI_RGB, BI_BITFIELDS):
        raise ValueError(f"unsupported bitmap: {bits} bits, compression {compression}")
    masks = (0x00FF0000, 0x0000FF00, 0x000000FF)
    if compression == BI_BITFIELDS:
        masks = struct.unpack_from("<III", data, 54)
    shifts = [(m & -m).bit_length() - 1 for m in masks]
    step = bits // 8
    stride = (width * step + 3) & ~3
    rows = abs(height)
    counts = {}
    for row in range(rows):
        start = offset + row * stride
        for col in range(width):
            i = start + col * step
            if step == 3:
                b, g, r = data[i], data[i + 1], data[i + 2]
            else:
                value = struct.unpack_from("<I", data, i)[0]
                r, g, b = ((value & m) >> s for m, s in zip(masks, shifts))
            counts[(r, g, b)] = counts.get((r, g, b), 0) + 1
    return width, rows, counts


def main():
    width, height, counts = read_pixels(sys.argv[1])
    ok = True
    for name, (r, g, b, least) in LEAST.items():
        found = counts.get((r, g, b), 0)
        print(f"{name}: {found} pixels of ({r}, {g}, {b}), at least {least} wanted")
        ok = ok and found >= least
    print(f"picture {width} x {height}: {'good' if ok else 'MISSING COLOURS'}")
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
