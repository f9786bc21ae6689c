#!/usr/bin/env bash
# The import's speed and memory on large UGRID files: 10^5 nodes with 200
# hourly frames (read and interpolated; a geometry file holds at most 32767
# nodes, so it is not written), and 16384 nodes imported whole.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BENCH="${LAKEDRIFT_BUILD_DIR:-$ROOT/build}/bench/ugrid_import_bench"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT

"$BENCH" make "$WORK/large.nc" 317 200
echo "large file: $(du -m "$WORK/large.nc" | cut -f1) MB"
"$BENCH" read "$WORK/large.nc"
"$BENCH" make "$WORK/medium.nc" 128 200
mkdir "$WORK/out"
"$BENCH" import "$WORK/medium.nc" "$WORK/out"
