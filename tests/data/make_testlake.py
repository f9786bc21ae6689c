#!/usr/bin/env python3
"""Writes the small test lake used by the tests: a 10 km square of 2 km cells,
each cut into two counter-clockwise triangles, with the middle cell left out as
an island. testlake.inp is its geometry file, testlake.fld a flow-field file of
84 frames for it (uniform current that turns slowly over the week).

Run from this folder: python3 make_testlake.py
"""
import math
import struct

CELL_KM = 2.0
CELLS = 5
ISLAND = (2, 2)  # the cell (column, row) that is land
FRAMES = 84


def node_number(i, j):
    return j * (CELLS + 1) + i + 1


def build_mesh():
    nodes = []
    for j in range(CELLS + 1):
        for i in range(CELLS + 1):
            nodes.append((i * CELL_KM, j * CELL_KM))
    elements = []
    for j in range(CELLS):
        for i in range(CELLS):
            if (i, j) == ISLAND:
                continue
            a, b = node_number(i, j), node_number(i + 1, j)
            c, d = node_number(i + 1, j + 1), node_number(i, j + 1)
            elements.append((a, b, c))  # lower-right triangle, counter-clockwise
            elements.append((a, c, d))  # upper-left triangle
    return nodes, elements


def neighbours(elements):
    edge_owner = {}
    for e, tri in enumerate(elements, start=1):
        for k in range(3):
            edge_owner[(tri[k], tri[(k + 1) % 3])] = e
    result = []
    for tri in elements:
        result.append([edge_owner.get((tri[(k + 1) % 3], tri[k]), 0) for k in range(3)])
    return result


def rings():
    outer = []
    for i in range(CELLS):
        outer.append((i, 0))
    for j in range(CELLS):
        outer.append((CELLS, j))
    for i in range(CELLS, 0, -1):
        outer.append((i, CELLS))
    for j in range(CELLS, 0, -1):
        outer.append((0, j))
    ci, cj = ISLAND
    island = [(ci, cj), (ci + 1, cj), (ci + 1, cj + 1), (ci, cj + 1)]
    return [outer, island]


def write_geometry(path, nodes, elements):
    coast = rings()
    boundary = [p for ring in coast for p in ring]
    with open(path, "w") as f:
        f.write(f"{len(coast)}\n")
        f.write(" ".join(str(len(r)) for r in coast) + "\n")
        f.write(f"{len(nodes)} {len(elements)} 3 {len(boundary)}\n")
        for e, (tri, nb) in enumerate(zip(elements, neighbours(elements)), start=1):
            f.write(f"{e} {tri[0]} {tri[1]} {tri[2]} {nb[0]} {nb[1]} {nb[2]}\n")
        for n, (x, y) in enumerate(nodes, start=1):
            f.write(f"{n} {x:.3f} {y:.3f}\n")
        for b, (i, j) in enumerate(boundary, start=1):
            f.write(f"{b} {node_number(i, j)} {i * CELL_KM:.3f} {j * CELL_KM:.3f}\n")


def write_flow(path, node_count):
    with open(path, "wb") as f:
        for k in range(FRAMES):
            angle = 2.0 * math.pi * k / FRAMES
            u = 0.02 * math.cos(angle) + 0.0001 * k
            v = 0.01 * math.sin(angle)
            f.write(struct.pack("<%df" % node_count, *([u] * node_count)))
            f.write(struct.pack("<%df" % node_count, *([v] * node_count)))


if __name__ == "__main__":
    mesh_nodes, mesh_elements = build_mesh()
    write_geometry("testlake.inp", mesh_nodes, mesh_elements)
    write_flow("testlake.fld", len(mesh_nodes))
