# Shared by the run and test commands: building and a display to show on.
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
LINUX_BUILD="$ROOT/build/linux"
WIN32_BUILD="$ROOT/build/win32"

build_linux() {
    cmake -S "$ROOT" -B "$LINUX_BUILD" -DLEVRIN_WIN32_BUILD_DIR="$WIN32_BUILD" "$@" >/dev/null
    cmake --build "$LINUX_BUILD" -j"$(nproc)"
}

build_win32() {
    cmake -S "$ROOT" -B "$WIN32_BUILD" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" >/dev/null
    cmake --build "$WIN32_BUILD" -j"$(nproc)"
}

# Starts a virtual X display when none is set, and says so.
ensure_display() {
    [ -n "${DISPLAY:-}" ] && return 0
    local number=99
    while [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ]; do
        number=$((number + 1))
    done
    echo "No display is set: starting Xvfb on :$number"
    Xvfb ":$number" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    trap 'kill $XVFB_PID 2>/dev/null || true' EXIT
    export DISPLAY=":$number"
    for _ in $(seq 100); do
        [ -e "/tmp/.X11-unix/X$number" ] && return 0
        sleep 0.1
    done
    echo "Xvfb did not start" >&2
    return 1
}
