#!/bin/bash
# End-to-end tests of the Windows build: runs Levrin.exe under Wine on an X
# display (a private Xvfb when none is set) and drives it from outside with
# levrin_driver.exe. One fresh Wine prefix serves every case of a run.
#
#   run-wine-tests.sh WINDOWS_BUILD_DIR [--screenshot PNG]
set -u

if [ $# -lt 1 ] || [ ! -f "$1/Levrin.exe" ]; then
    echo "usage: $0 WINDOWS_BUILD_DIR [--screenshot PNG]" >&2
    exit 2
fi
BUILD_DIR=$(realpath "$1")
SCREENSHOT=""
if [ "${2:-}" = "--screenshot" ]; then
    SCREENSHOT=$(realpath -m "$3")
fi
APP="$BUILD_DIR/Levrin.exe"
DRIVER="$BUILD_DIR/tests/wine/levrin_driver.exe"
KEY='HKCU\Software\Duke3d\Levrin\Levrin'
NO_GAME_FOLDER_MESSAGE="Dude! You need to set your Duke Executable Dir.\\r\\nPush the 'Select Duke Dir' button'."

FAILURES=0
XVFB_PID=""
APP_PID=""
WORK=$(mktemp -d /tmp/levrin-wine.XXXXXX)
export WINEPREFIX="$WORK/prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

cleanup() {
    [ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null
    wineserver -k 2>/dev/null
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*"
    FAILURES=$((FAILURES + 1))
}

# Waits until the command succeeds, for at most the given seconds.
wait_until() {
    local seconds=$1
    shift
    local deadline=$((SECONDS + seconds))
    until "$@"; do
        [ $SECONDS -ge $deadline ] && return 1
        sleep 0.1
    done
}

start_xvfb() {
    local display=90
    while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do
        display=$((display + 1))
    done
    Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$display"
    wait_until 10 test -e "/tmp/.X11-unix/X$display" || { echo "Xvfb did not start" >&2; exit 1; }
}

# Wine draws its own caption (there is no window manager to draw one) with
# its own fonts, so that the dialog looks as on Windows: the prefix does not
# find the data folder's fonts by itself. No crash debugger: a crash ends
# the program at once and fails the case.
make_prefix() {
    wineboot -i >/dev/null 2>&1 || { echo "wineboot failed" >&2; exit 1; }
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
    wine reg delete 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /f >/dev/null 2>&1
    if [ -d /usr/share/wine/fonts ]; then
        cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
    fi
}

drive() {
    wine "$DRIVER" "$@" | tr -d '\r'
    return "${PIPESTATUS[0]}"
}

reg_query() {
    wine reg query "$KEY" 2>/dev/null | tr -d '\r'
    return "${PIPESTATUS[0]}"
}

reset_settings() {
    wine reg delete 'HKCU\Software\Duke3d' /f >/dev/null 2>&1
}

set_setting() {
    wine reg add "$KEY" /v "$1" /t "$2" /d "$3" /f >/dev/null 2>&1
}

app_running() {
    kill -0 "$APP_PID" 2>/dev/null
}

app_gone() {
    ! app_running
}

start_app() {
    wine "$APP" &
    APP_PID=$!
    drive wait-dialog || fail "$CASE: the dialog did not appear"
}

# Ends the run however the case asked (press 2, key escape, close) and
# checks that the program ended and wrote nothing.
end_app() {
    local before
    before=$(reg_query)
    drive "$@" || fail "$CASE: '$*' could not be sent"
    wait_until 15 app_gone || { fail "$CASE: '$*' did not end the program"; kill "$APP_PID"; }
    wait "$APP_PID" 2>/dev/null
    APP_PID=""
    [ "$(reg_query)" = "$before" ] || fail "$CASE: '$*' changed the settings"
}

dump() {
    drive dump >"$WORK/dump" || fail "$CASE: no dump"
}

value() {
    sed -n "s/^$1=//p" "$WORK/dump"
}

expect() {
    local key=$1 expected=$2 actual
    actual=$(value "$key")
    [ "$actual" = "$expected" ] || fail "$CASE: $key is '$actual', expected '$expected'"
}

expect_list() {
    local expected=$1 actual=""
    local count i
    count=$(value list.1003.count)
    for ((i = 0; i < ${count:-0}; i++)); do
        actual+="$(value "list.1003.$i")|"
    done
    [ "$actual" = "$expected" ] || fail "$CASE: the list holds '$actual', expected '$expected'"
}

# The placement rule of the modal run: centred on the work area, then
# pushed inside it.
expect_centred() {
    local l t r b wl wt wr wb
    IFS=, read -r l t r b <<<"$(value rect)"
    IFS=, read -r wl wt wr wb <<<"$(value workarea)"
    local width=$((r - l)) height=$((b - t))
    local left=$(((wl + wr) / 2 - width / 2)) top=$(((wt + wb) / 2 - height / 2))
    [ $left -lt "$wl" ] && left=$wl
    [ $top -lt "$wt" ] && top=$wt
    [ "$l,$t" = "$left,$top" ] || fail "$CASE: the dialog is at $l,$t, expected $left,$top in $wl,$wt,$wr,$wb"
}

take_screenshot() {
    local l t r b
    IFS=, read -r l t r b <<<"$(value rect)"
    import -window root -crop "$((r - l + 16))x$((b - t + 16))+$((l - 8))+$((t - 8))" +repage "$SCREENSHOT"
}

case_first_start() {
    CASE="first start"
    reset_settings
    start_app
    dump
    expect text.1001 ""
    expect text.1008 ""
    expect text.1006 ""
    expect list.1003.count 0
    expect list.1003.sel -1
    expect focus 1
    # Enter goes to Set Map, whose first guard wants a game folder.
    drive key enter
    local box
    box=$(drive messagebox) || fail "$CASE: Enter showed no message box"
    local expected_box="text=$NO_GAME_FOLDER_MESSAGE
buttons=OK
owner=Levrin (v1.1) "
    [ "$box" = "$expected_box" ] || fail "$CASE: Enter showed '$box'"
    drive wait-dialog || fail "$CASE: the dialog closed after the message"
    end_app press 2
    local stored
    stored=$(reg_query) || fail "$CASE: the reads did not create $KEY"
    grep -q REG_ <<<"$stored" && fail "$CASE: the reads stored values: $stored"
}

# The stored folders and map show as stored; the folder boxes lower-case
# their text as it enters them.
case_stored_settings() {
    CASE="stored settings"
    local maps="$WORK/Maps"
    mkdir -p "$maps"
    touch "$maps/Castle.map" "$maps/arena.MAP" "$maps/E1L1.MAP" "$maps/my.level.map" "$maps/abcdefghijklmnopqr.map"
    local map_dir
    map_dir=$(winepath -w "$maps" 2>/dev/null)
    reset_settings
    set_setting MapDir REG_SZ "$map_dir"
    set_setting ExeDir REG_SZ 'Z:\Games\Duke3D'
    set_setting "Current Map" REG_SZ Castle
    start_app
    dump
    expect text.1001 "${map_dir,,}"
    expect text.1008 'z:\games\duke3d'
    expect text.1006 Castle
    expect_list "abcdefghijklmno|arena|castle|my|"
    expect list.1003.sel 0
    expect focus 1
    expect caption "Levrin (v1.1) "
    expect_centred
    [ -n "$SCREENSHOT" ] && take_screenshot
    end_app key escape
}

case_missing_map_folder() {
    CASE="missing map folder"
    reset_settings
    set_setting MapDir REG_SZ 'Z:\no\such\folder'
    start_app
    dump
    expect_list "No map files :-(|"
    expect list.1003.sel 0
    end_app close
}

# Tab walks the controls in template order; Enter presses the focused push
# button, here Exit.
case_keyboard() {
    CASE="keyboard"
    reset_settings
    start_app
    local id
    for id in 2 1000 1001 1003 1007 1008 1009 1 2; do
        drive key tab
        drive wait-focus "$id" || fail "$CASE: Tab did not move the focus to $id"
    done
    end_app key enter
}

# Every way out ends the program in the same way, and none writes a setting.
case_ways_out() {
    local way
    for way in "press 2" "key escape" "close" "key alt+f4"; do
        CASE="ending with $way"
        reset_settings
        set_setting MapDir REG_SZ 'Z:\no\such\folder'
        set_setting "Current Map" REG_SZ castle
        start_app
        # shellcheck disable=SC2086
        end_app $way
    done
}

# A value of another type is read as its bytes up to the first zero byte.
case_current_map_of_another_type() {
    local row dword expected
    for row in "0x00636261 abc" "0x64636261 abcd" "0x00000000 "; do
        read -r dword expected <<<"$row"
        CASE="REG_DWORD Current Map $dword"
        reset_settings
        set_setting "Current Map" REG_DWORD "$dword"
        start_app
        dump
        expect text.1006 "$expected"
        end_app key escape
    done
}

[ -n "${DISPLAY:-}" ] || start_xvfb
make_prefix
case_first_start
case_stored_settings
case_missing_map_folder
case_keyboard
case_ways_out
case_current_map_of_another_type

if [ $FAILURES -ne 0 ]; then
    echo "$FAILURES failure(s)"
    exit 1
fi
echo "all Wine tests passed"
