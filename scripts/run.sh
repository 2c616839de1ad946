#!/bin/bash
# Installs what is missing, builds Levrin for Linux and runs it.
set -euo pipefail
source "$(dirname "$0")/common.sh"
"$ROOT/scripts/deps.sh" run
build_linux -DBUILD_TESTING=OFF
ensure_display
"$LINUX_BUILD/levrin"
