#!/usr/bin/env bash
# Builds the program and starts it on the demo price list.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -DDORVAK_BUILD_TESTS=OFF >/dev/null
cmake --build build -j"$(nproc)" --target Dorvak
# Settings live beside the executable; give a fresh build the demo ones.
[ -f build/src/app/Set.ini ] || cp demo/Set.ini build/src/app/Set.ini
cd demo
exec ../build/src/app/Dorvak
