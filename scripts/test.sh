#!/bin/bash
# Installs what is missing, builds both hosts and runs every test: the
# headless tests, the Linux window under Xvfb and the Windows build under Wine.
set -euo pipefail
source "$(dirname "$0")/common.sh"
"$ROOT/scripts/deps.sh" test
build_win32
build_linux -DBUILD_TESTING=ON
ensure_display
ctest --test-dir "$LINUX_BUILD" --output-on-failure --timeout 600

# The headless and reliability tests once more with AddressSanitizer and
# UndefinedBehaviorSanitizer, then each fuzz target for a bounded time.
cmake -S "$ROOT" -B "$ROOT/build/asan" -DLEVRIN_SANITIZE=ON -DBUILD_TESTING=ON >/dev/null
cmake --build "$ROOT/build/asan" -j"$(nproc)"
ctest --test-dir "$ROOT/build/asan" -L 'unit|reliability' --output-on-failure
cmake -S "$ROOT" -B "$ROOT/build/fuzz" -DCMAKE_CXX_COMPILER=clang++ -DLEVRIN_FUZZ=ON \
    -DBUILD_TESTING=ON -DLEVRIN_FUZZ_SECONDS=60 >/dev/null
cmake --build "$ROOT/build/fuzz" -j"$(nproc)" --target settings_file map_name
ctest --test-dir "$ROOT/build/fuzz" -L fuzz --output-on-failure
