#!/usr/bin/env bash
# Builds the project and runs every test; then builds it again with
# AddressSanitizer and UndefinedBehaviorSanitizer (build-asan/) and runs
# every test there too, leaks included. QUILLWORK_SKIP_SANITIZERS=1 skips
# the second pass.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${QUILLWORK_BUILD_DIR:-$root/build}"
"$root/scripts/build.sh"
(cd "$build" && ctest --output-on-failure --parallel "$(nproc)" "$@")

if [ "${QUILLWORK_SKIP_SANITIZERS:-0}" != 1 ]; then
  asan="${QUILLWORK_ASAN_BUILD_DIR:-$root/build-asan}"
  # -O1 and line tables only (-g1): what the sanitizers' reports need, and
  # about half the compile time of -O2 -g.
  cmake -S "$root" -B "$asan" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLWORK_SANITIZE=ON \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" -DQUILLWORK_BUILD_BENCH=OFF >/dev/null
  cmake --build "$asan" --parallel "$(nproc)"
  cd "$asan"
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --output-on-failure --parallel "$(nproc)" "$@"
fi
