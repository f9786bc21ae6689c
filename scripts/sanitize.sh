#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer in
# build-asan/ and runs every test there.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
probe="$(mktemp -d)"
trap 'rm -rf "$probe"' EXIT
echo 'int main() { return 0; }' > "$probe/p.cpp"
if ! g++ -fsanitize=address,undefined "$probe/p.cpp" -o "$probe/p" 2>/dev/null; then
  echo "sanitizers: the compiler lacks the AddressSanitizer/UBSan runtimes; sanitizer build skipped"
  exit 0
fi
cd "$ROOT"
# The "asan" preset holds the flags; its test preset the sanitizer options
# (leaks inside the system's font and GUI libraries are theirs, not ours:
# scripts/lsan.supp).
cmake --preset asan >/dev/null
cmake --build --preset asan -j "$(nproc)"
ctest --preset asan -j "$(nproc)"
