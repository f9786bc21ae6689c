#!/usr/bin/env python3
"""Extracts the Lake Tanganyika shoreline and its islands from the GSHHG
full-resolution database (through GMT) and projects it to km.

Usage: tools/make_shoreline.py > data/tanganyika_shore.txt

Needs the Debian packages gmt, gmt-gshhg-full and proj-bin. The output is
committed, so the build never runs this script.
"""
import subprocess
import sys

# The lake lies wholly inside this box (west/east/south/north, degrees).
REGION = "29/31.3/-8.9/-3.2"
# Transverse Mercator about 30 E, origin on the equator: x east, y north, km.
PROJECTION = ["+proj=tmerc", "+lon_0=30", "+lat_0=0", "+k=1", "+ellps=WGS84", "+units=km"]
LAKE_LEVEL = 2
ISLAND_LEVEL = 3
# GMT prints full-resolution coordinates to this many digits; ends of pieces
# that meet are printed identically, so matching them exactly is safe.
KEY_DIGITS = 9


def gmt_pieces():
    """Returns [(level, [(lon, lat), ...]), ...]: the shore cut at 1-degree bins."""
    out = subprocess.run(
        ["gmt", "coast", "-R" + REGION, "-Df", "-A0/2/3", "-M", "-W"],
        check=True, capture_output=True, text=True).stdout
    pieces = []
    for line in out.splitlines():
        if line.startswith(">"):
            level = int(line.rsplit("Level", 1)[1])
            pieces.append((level, []))
        elif line.strip():
            lon, lat = (float(v) for v in line.split()[:2])
            pieces[-1][1].append((lon, lat))
    return [(lvl, pts) for lvl, pts in pieces if len(pts) >= 2]


def key(p):
    return (round(p[0], KEY_DIGITS), round(p[1], KEY_DIGITS))


def join_rings(pieces):
    """Joins pieces end to start into closed rings; open chains are dropped
    (they belong to water bodies cut by the box, not to the lake)."""
    by_start = {}
    for i, (_, pts) in enumerate(pieces):
        by_start.setdefault(key(pts[0]), []).append(i)
    used = set()
    rings = []
    for i, (level, pts) in enumerate(pieces):
        if i in used:
            continue
        used.add(i)
        chain = list(pts)
        while key(chain[-1]) != key(chain[0]):
            nxt = [j for j in by_start.get(key(chain[-1]), []) if j not in used]
            if not nxt:
                break
            used.add(nxt[0])
            chain.extend(pieces[nxt[0]][1][1:])
        if key(chain[-1]) == key(chain[0]) and len(chain) > 3:
            rings.append((level, chain[:-1]))
    return rings


def area(pts):
    return 0.5 * sum(pts[i - 1][0] * p[1] - p[0] * pts[i - 1][1] for i, p in enumerate(pts))


def inside(p, ring):
    x, y = p
    result = False
    for i, a in enumerate(ring):
        b = ring[i - 1]
        if (a[1] > y) != (b[1] > y):
            if x < a[0] + (y - a[1]) * (b[0] - a[0]) / (b[1] - a[1]):
                result = not result
    return result


def project(rings):
    text = "\n".join(f"{lon:.10f} {lat:.10f}" for _, ring in rings for lon, lat in ring)
    out = subprocess.run(["proj", *PROJECTION, "-f", "%.4f"], input=text + "\n",
                         check=True, capture_output=True, text=True).stdout.split("\n")
    projected = []
    row = 0
    for level, ring in rings:
        projected.append((level, [tuple(float(v) for v in out[row + k].split())
                                  for k in range(len(ring))]))
        row += len(ring)
    return projected


def main():
    rings = join_rings(gmt_pieces())
    lakes = [r for r in rings if r[0] == LAKE_LEVEL]
    shore = max(lakes, key=lambda r: abs(area(r[1])))
    islands = [r for r in rings if r[0] == ISLAND_LEVEL and inside(r[1][0], shore[1])]
    islands.sort(key=lambda r: (-r[1][0][1], r[1][0][0]))
    rings = project([shore] + islands)
    out = sys.stdout
    out.write("# Lake Tanganyika shoreline (ring 1) and its islands (rings 2 on).\n")
    out.write("# Source: GSHHG 2.3.7 full resolution (Wessel & Smith), levels 2 (lake)\n")
    out.write("# and 3 (islands in lakes), extracted with 'gmt coast -R" + REGION + " -Df\n")
    out.write("# -A0/2/3 -M -W' and the 1-degree bin pieces joined into closed rings.\n")
    out.write("# GSHHG is distributed under the GNU Lesser General Public License\n")
    out.write("# (LGPL) version 3 or later; this derived file is under the same licence.\n")
    out.write("# Projection: transverse Mercator, WGS84, central meridian 30 E, origin\n")
    out.write("# on the equator, scale 1: x east, y north, in km (" + " ".join(PROJECTION) + ").\n")
    out.write("# Produced by tools/make_shoreline.py.\n")
    out.write("# Layout: 'rings R', then per ring 'ring K N' and N lines 'x y' (the ring\n")
    out.write("# closes implicitly).\n")
    out.write(f"rings {len(rings)}\n")
    for k, (_, pts) in enumerate(rings, start=1):
        out.write(f"ring {k} {len(pts)}\n")
        for x, y in pts:
            out.write(f"{x:.4f} {y:.4f}\n")


if __name__ == "__main__":
    main()
