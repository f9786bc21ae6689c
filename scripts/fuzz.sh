#!/usr/bin/env bash
# Builds the fuzzers with clang and runs each for a bounded time from its
# committed seed corpus; any crash, hang or sanitizer report fails.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
SECONDS_EACH="${LAKEDRIFT_FUZZ_SECONDS:-20}"
BUILD="$ROOT/build-fuzz"
if ! command -v clang++ >/dev/null; then
  echo "fuzz: clang++ is not installed; fuzzers skipped"
  exit 0
fi
# A folder configured from fuzz/ alone, as the fuzzers once were, is started afresh.
if grep -qs '^CMAKE_HOME_DIRECTORY:INTERNAL=.*/fuzz$' "$BUILD/CMakeCache.txt"; then rm -rf "$BUILD"; fi
(cd "$ROOT" && cmake --preset fuzz >/dev/null && cmake --build --preset fuzz -j "$(nproc)" >/dev/null)
# Leaks inside the system's font and GUI libraries are theirs, not ours.
export LSAN_OPTIONS="suppressions=$ROOT/scripts/lsan.supp:print_suppressions=0"
status=0
for name in geometry flow numbers batch mesh; do
  work="$BUILD/corpus-$name"
  rm -rf "$work" && mkdir -p "$work" "$BUILD/artifacts"
  cp "$ROOT/fuzz/corpus/$name/"* "$work/"
  if "$BUILD/fuzz/fuzz_$name" -max_total_time="$SECONDS_EACH" -timeout=10 -rss_limit_mb=2048 \
       -artifact_prefix="$BUILD/artifacts/$name-" "$work" > "$BUILD/fuzz_$name.log" 2>&1; then
    echo "fuzz $name: $(grep -Eo 'Done [0-9]+ runs in [0-9]+ second' "$BUILD/fuzz_$name.log" | tail -1), no failure"
  else
    echo "fuzz $name: FAILED, see $BUILD/fuzz_$name.log"
    tail -40 "$BUILD/fuzz_$name.log"
    status=1
  fi
done
exit $status
