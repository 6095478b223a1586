#!/usr/bin/env bash
# Builds everything and runs the whole test suite headless.
# DORVAK_SANITIZE=1 builds into build-asan with ASan+UBSan instead.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
build=build
flags=()
if [ "${DORVAK_SANITIZE:-0}" = 1 ]; then
  build=build-asan
  flags+=(-DDORVAK_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug)
fi
cmake -S . -B "$build" "${flags[@]}" >/dev/null
cmake --build "$build" -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure -j"$(nproc)"
