#!/bin/bash
# End-to-end tests of the Windows build: runs Levrin.exe under Wine on an X
# display (a private Xvfb when none is set) and drives it from outside with
# levrin_driver.exe. One fresh Wine prefix serves every case of a run.
#
#   run-wine-tests.sh WINDOWS_BUILD_DIR [--screenshot PNG] [--about-screenshot PNG]
set -u

usage() {
    echo "usage: $0 WINDOWS_BUILD_DIR [--screenshot PNG] [--about-screenshot PNG]" >&2
    exit 2
}

if [ $# -lt 1 ] || [ ! -f "$1/Levrin.exe" ]; then
    usage
fi
BUILD_DIR=$(realpath "$1")
shift
SCREENSHOT=""
ABOUT_SCREENSHOT=""
while [ $# -ge 2 ]; do
    case $1 in
    --screenshot) SCREENSHOT=$(realpath -m "$2") ;;
    --about-screenshot) ABOUT_SCREENSHOT=$(realpath -m "$2") ;;
    *) usage ;;
    esac
    shift 2
done
[ $# -eq 0 ] || usage
APP="$BUILD_DIR/Levrin.exe"
DRIVER="$BUILD_DIR/tests/wine/levrin_driver.exe"
KEY='HKCU\Software\Duke3d\Levrin\Levrin'
NO_GAME_FOLDER_MESSAGE="Dude! You need to set your Duke Executable Dir.\\r\\nPush the 'Select Duke Dir' button'."
DELETED_MESSAGE="e1l1.map deleted, you may now play Hollywood Holocaust."
NO_GAME_MESSAGE="Dude! I can't find Duke3d.exe here 8-()"
MAP_FOLDER_TITLE="Where can I find your Duke3d .Map Files Dude?"
GAME_FOLDER_TITLE="Where can I find your Duke3d Exe Files Dude?"
ABOUT_CAPTION="About Levrin"
ERROR_FILE_NOT_FOUND=2

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

# Crops the screen to the windows of the given rectangles, with a margin.
take_screenshot() {
    local file=$1 l t r b rect left=99999 top=99999 right=-99999 bottom=-99999
    shift
    for rect in "$@"; do
        IFS=, read -r l t r b <<<"$rect"
        ((l < left)) && left=$l
        ((t < top)) && top=$t
        ((r > right)) && right=$r
        ((b > bottom)) && bottom=$b
    done
    import -window root -crop "$((right - left + 16))x$((bottom - top + 16))+$((left - 8))+$((top - 8))" +repage "$file"
}

# One stored value of the settings, or nothing when it is not there.
setting() {
    reg_query | sed -n "s/^    $1    REG_[A-Z_]*    //p"
}

expect_setting() {
    local name=$1 expected=$2 actual
    actual=$(setting "$name")
    [ "$actual" = "$expected" ] || fail "$CASE: \"$name\" is stored as '$actual', expected '$expected'"
}

# Closes the message box that the last command opened and checks its text.
expect_box() {
    local expected=$1 box text
    box=$(drive messagebox) || { fail "$CASE: no message box appeared, expected '$expected'"; return; }
    text=$(sed -n 's/^text=//p' <<<"$box")
    [ "$text" = "$expected" ] || fail "$CASE: the message box says '$text', expected '$expected'"
}

system_text() {
    drive errortext "$1" | sed -n 's/^text=//p'
}

installed_message() {
    printf '%s transfered to %s\\r\\n Select '"'"'Hollywood Holocaust'"'"' to play this map.' "$1" "$2"
}

win_path() {
    winepath -w "$1" 2>/dev/null
}

# A game folder with its executable in the given spelling.
make_game_folder() {
    mkdir -p "$1"
    touch "$1/$2"
}

# Map files whose bytes tell them apart.
make_map_folder() {
    mkdir -p "$1"
    head -c 4096 /dev/urandom >"$1/Castle.map"
    head -c 5000 /dev/urandom >"$1/arena.MAP"
    # Listed cut to 15 characters, a name that no file has.
    head -c 100 /dev/urandom >"$1/abcdefghijklmnopqr.map"
}

browse() {
    drive browse "$@" || fail "$CASE: could not answer the folder picker with '$*'"
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
    [ -n "$SCREENSHOT" ] && take_screenshot "$SCREENSHOT" "$(value rect)"
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

# The game folder guard comes first for every way to install, and for Kill.
case_no_game_folder() {
    CASE="no game folder"
    local maps="$WORK/Guard/Maps"
    make_map_folder "$maps"
    reset_settings
    set_setting MapDir REG_SZ "$(win_path "$maps")"
    start_app
    local way
    for way in "press 1" "dblclick 1" "press 1009"; do
        # shellcheck disable=SC2086
        drive $way || fail "$CASE: '$way' could not be sent"
        expect_box "$NO_GAME_FOLDER_MESSAGE"
    done
    expect_setting "Current Map" ""
    end_app press 2
}

# Each way to install copies the selected map over the level file; the
# name is recorded only once the copy is there. Kill removes the file, a
# second Kill finds none, and a copy of a map that is not there records
# nothing.
case_install_and_remove() {
    local maps="$WORK/Install/Maps" game="$WORK/Install/Game"
    make_map_folder "$maps"
    make_game_folder "$game" Duke3d.Exe
    local map_dir game_dir missing
    map_dir=$(win_path "$maps")
    game_dir=$(win_path "$game")
    missing=$(system_text $ERROR_FILE_NOT_FOUND)
    [ -n "$missing" ] || fail "install: the system has no text for a missing file"
    reset_settings
    set_setting MapDir REG_SZ "$map_dir"
    set_setting ExeDir REG_SZ "$game_dir"
    start_app
    local row index entry file way
    # index entry file way...: the list is abcdefghijklmno, arena, castle.
    for row in "2 castle Castle.map press 1" "1 arena arena.MAP key enter" "2 castle Castle.map dblclick 2"; do
        read -r index entry file way <<<"$row"
        CASE="install by '$way'"
        drive select "$index" || fail "$CASE: cannot select entry $index"
        # shellcheck disable=SC2086
        drive $way || fail "$CASE: '$way' could not be sent"
        expect_box "$(installed_message "$map_dir\\$entry.map" "$game_dir\\e1l1.map")"
        cmp -s "$maps/$file" "$game/e1l1.map" || fail "$CASE: e1l1.map does not hold $file"
        dump
        expect text.1006 "$entry"
        expect_setting "Current Map" "$entry"
    done
    CASE="kill"
    drive press 1009
    expect_box "$DELETED_MESSAGE"
    [ -e "$game/e1l1.map" ] && fail "$CASE: e1l1.map is still there"
    CASE="second kill"
    drive press 1009
    expect_box "$missing"
    CASE="install of a missing map"
    drive select 0 || fail "$CASE: cannot select the cut entry"
    drive press 1
    expect_box "$missing"
    [ -e "$game/e1l1.map" ] && fail "$CASE: the failed copy left an e1l1.map"
    dump
    expect text.1006 castle
    expect_setting "Current Map" castle
    end_app press 2
}

# The shell's picker, answered as a user would: open the folders down to
# the wanted one and confirm, or cancel.
case_folder_picker() {
    local maps="$WORK/Picker/Maps" game="$WORK/Picker/Game" other_game="$WORK/Picker/Other Game" empty="$WORK/Picker/Empty"
    make_map_folder "$maps"
    make_game_folder "$game" Duke3d.Exe
    make_game_folder "$other_game" DUKE3D.EXE
    mkdir -p "$empty"
    local map_dir game_dir other_dir before
    map_dir=$(win_path "$maps")
    game_dir=$(win_path "$game")
    other_dir=$(win_path "$other_game")
    reset_settings
    set_setting ExeDir REG_SZ "$game_dir"
    start_app

    CASE="picking the map folder"
    drive press 1000
    browse "$MAP_FOLDER_TITLE" ok "$map_dir"
    dump
    expect text.1001 "${map_dir,,}"
    expect_list "abcdefghijklmno|arena|castle|"
    expect_setting MapDir "$map_dir"
    expect_setting ExeDir "$game_dir"

    CASE="picking a game folder without the game"
    before=$(reg_query)
    drive press 1007
    browse "$GAME_FOLDER_TITLE" ok "$(win_path "$empty")"
    expect_box "$NO_GAME_MESSAGE"
    dump
    expect text.1008 "${game_dir,,}"
    [ "$(reg_query)" = "$before" ] || fail "$CASE: the settings changed"

    CASE="picking a game folder with DUKE3D.EXE"
    drive press 1007
    browse "$GAME_FOLDER_TITLE" ok "$other_dir"
    dump
    expect text.1008 "${other_dir,,}"
    expect_setting ExeDir "$other_dir"
    expect_setting MapDir "$map_dir"

    # Whatever was typed into the box gives way to the folder again.
    local row button box title
    for row in "1000 1001 $MAP_FOLDER_TITLE" "1007 1008 $GAME_FOLDER_TITLE"; do
        read -r button box title <<<"$row"
        CASE="cancelling the picker of button $button"
        before=$(reg_query)
        drive select 2
        drive settext "$box" 'z:\typed'
        drive press "$button"
        browse "$title" cancel
        dump
        expect text.1001 "${map_dir,,}"
        expect text.1008 "${other_dir,,}"
        expect list.1003.sel 0
        [ "$(reg_query)" = "$before" ] || fail "$CASE: the settings changed"
    done
    end_app key escape
}

# From nothing stored to a map played and removed again, through the
# dialog alone.
case_user_story() {
    CASE="user story"
    local maps="$WORK/Story/Maps" game="$WORK/Story/Game"
    make_map_folder "$maps"
    make_game_folder "$game" duke3d.exe
    local map_dir game_dir
    map_dir=$(win_path "$maps")
    game_dir=$(win_path "$game")
    reset_settings
    start_app
    drive press 1000
    browse "$MAP_FOLDER_TITLE" ok "$map_dir"
    drive press 1007
    browse "$GAME_FOLDER_TITLE" ok "$game_dir"
    drive select 1 || fail "$CASE: the map list has no arena"
    drive press 1
    expect_box "$(installed_message "$map_dir\\arena.map" "$game_dir\\e1l1.map")"
    cmp -s "$maps/arena.MAP" "$game/e1l1.map" || fail "$CASE: e1l1.map does not hold arena.MAP"
    drive press 1009
    expect_box "$DELETED_MESSAGE"
    [ -e "$game/e1l1.map" ] && fail "$CASE: e1l1.map is still there"
    end_app press 2
    expect_setting MapDir "$map_dir"
    expect_setting ExeDir "$game_dir"
    expect_setting "Current Map" arena
}

# Opens the About box, checks what it shows against the figures measured
# here, and closes it again.
check_about_box() {
    local open=$1 close=$2 figures memory free drive shown
    # shellcheck disable=SC2086
    drive $open || fail "$CASE: '$open' could not be sent"
    figures=$(drive about-figures) || fail "$CASE: no figures measured"
    drive --caption "$ABOUT_CAPTION" dump >"$WORK/dump" || { fail "$CASE: '$open' opened no About box"; return; }
    expect caption "$ABOUT_CAPTION"
    memory=$(sed -n 's/^memory.kb=//p' <<<"$figures")
    expect text.1004 "$memory KB"
    free=$(sed -n 's/^disk.kb=//p' <<<"$figures")
    drive=$(sed -n 's/^disk.drive=//p' <<<"$figures")
    shown=$(value text.1005)
    if [[ $shown =~ ^([0-9]+)\ KB\ Free\ on\ $drive:$ ]]; then
        # Other processes write meanwhile: within 64 MB.
        local difference=$((BASH_REMATCH[1] - free))
        [ ${difference#-} -le 65536 ] || fail "$CASE: the disk line says '$shown', measured $free KB"
    else
        fail "$CASE: the disk line says '$shown', expected '$free KB Free on $drive:'"
    fi
    [[ $(value static.1) == "Levrin Version 1.1 \\r\\n"* ]] || fail "$CASE: the version line is '$(value static.1)'"
    expect focus 1
    expect owner "Levrin (v1.1) "
    if [ -n "$ABOUT_SCREENSHOT" ] && [ "$open" = sysmenu-last ]; then
        local about_rect
        about_rect=$(value rect)
        dump
        take_screenshot "$ABOUT_SCREENSHOT" "$(value rect)" "$about_rect"
    fi
    # Modal: the main dialog takes no input until the box is closed.
    dump
    expect enabled 0
    # shellcheck disable=SC2086
    drive --caption "$ABOUT_CAPTION" $close || fail "$CASE: '$close' could not be sent"
    drive --caption "$ABOUT_CAPTION" wait-gone || fail "$CASE: '$close' did not close the About box"
    dump
    expect enabled 1
}

case_about_box() {
    reset_settings
    start_app
    local row open close
    # The window menu's own item by its access key, then the command itself,
    # also with low bits set, which belong to the system.
    for row in "sysmenu-last|press 1" "syscommand 0x0010|key escape" "syscommand 0x0013|close"; do
        IFS='|' read -r open close <<<"$row"
        CASE="About box by '$open', closed by '$close'"
        check_about_box "$open" "$close"
    done
    CASE="minimising"
    drive syscommand 0xF020
    drive wait-iconic || fail "$CASE: SC_MINIMIZE did not minimise the dialog"
    drive --caption "$ABOUT_CAPTION" --timeout 0 wait-dialog 2>/dev/null && fail "$CASE: SC_MINIMIZE opened the About box"
    drive syscommand 0xF120
    end_app press 2
}

[ -n "${DISPLAY:-}" ] || start_xvfb
make_prefix
case_first_start
case_stored_settings
case_missing_map_folder
case_keyboard
case_ways_out
case_current_map_of_another_type
case_no_game_folder
case_install_and_remove
case_folder_picker
case_user_story
case_about_box

if [ $FAILURES -ne 0 ]; then
    echo "$FAILURES failure(s)"
    exit 1
fi
echo "all Wine tests passed"
