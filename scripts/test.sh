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
