#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer in
# build-asan/ and runs every test there.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="$ROOT/build-asan"
probe="$(mktemp -d)"
trap 'rm -rf "$probe"' EXIT
echo 'int main() { return 0; }' > "$probe/p.cpp"
if ! g++ -fsanitize=address,undefined "$probe/p.cpp" -o "$probe/p" 2>/dev/null; then
  echo "sanitizers: the compiler lacks the AddressSanitizer/UBSan runtimes; sanitizer build skipped"
  exit 0
fi
# Asserts stay on (no NDEBUG) and the standard library checks every index.
FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer -D_GLIBCXX_ASSERTIONS"
cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLAKEDRIFT_BUILD_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="$FLAGS" -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
cmake --build "$BUILD" -j "$(nproc)"
cd "$BUILD"
# Leaks inside the system's font and GUI libraries are theirs, not ours.
export LSAN_OPTIONS="suppressions=$ROOT/scripts/lsan.supp:print_suppressions=0"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)"
