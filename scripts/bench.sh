#!/bin/bash
# Builds the Linux host with its benchmark drivers and prints the table of
# figures: each a ratio against a reference run side by side with it.
# Usage: scripts/bench.sh [runs]     (LEVRIN_BENCH_BUILD picks the build folder)
set -euo pipefail
source "$(dirname "$0")/common.sh"
BENCH_BUILD="${LEVRIN_BENCH_BUILD:-$ROOT/build/bench}"
"$ROOT/scripts/deps.sh" run
cmake -S "$ROOT" -B "$BENCH_BUILD" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build "$BENCH_BUILD" -j"$(nproc)" >/dev/null
ensure_display
/usr/bin/python3 "$ROOT/bench/run_benchmarks.py" --build "$BENCH_BUILD" --runs "${1:-7}"
