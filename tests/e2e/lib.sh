# Shared by the end-to-end tests: a private Xvfb, the game started as a child of the test, and
# cleanup of everything a test started. Sourced, never run, by tests run as: bash SCRIPT
# PATH_TO_veltrane REPO_ROOT. A failure ends the test at once, as what follows builds on it.

# its C.UTF-8 locale also has xwininfo and xprop print the boxes' Japanese captions as UTF-8
ARGS="VELTRANE REPO_ROOT" source "$(dirname "${BASH_SOURCE[0]}")/../cli_lib.sh"
TITLE=$(<"$REPO_ROOT/data/title.txt")
XVFB_PIDS=()
STARTED_PIDS=()

fail() {
    echo "FAIL: $*" >&2
    for log in "$WORK"/*.log; do
        [ -s "$log" ] && { echo "--- $(basename "$log")" >&2; cat "$log" >&2; }
    done
    exit 1
}

cleanup() {
    local pid
    for pid in "${STARTED_PIDS[@]}"; do reap KILL "$pid"; done
    for pid in "${XVFB_PIDS[@]}"; do reap TERM "$pid"; done
    rm -rf "$WORK"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

for tool in Xvfb xdotool xwininfo xprop import convert compare; do
    command -v "$tool" >/dev/null || fail "$tool is not installed"
done
[ -x "$VELTRANE" ] || fail "no program at $VELTRANE"

# start_xvfb [WxHxD]: starts Xvfb (1024x768x24 unless given) on a display it chooses itself, sets
# XVFB_PID and exports DISPLAY; a test may start several, the last one current.
start_xvfb() {
    local fifo="$WORK/displayfd.${#XVFB_PIDS[@]}"
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 "${1:-1024x768x24}" -nolisten tcp -noreset 3>"$fifo" 2>>"$WORK/xvfb.log" &
    XVFB_PID=$!
    XVFB_PIDS+=("$XVFB_PID")
    local number=""
    # the server writes its display number once it accepts clients
    read -r -t 10 number <"$fifo" || fail "Xvfb did not start within 10 s"
    [ -n "$number" ] || fail "Xvfb reported no display number"
    export DISPLAY=":$number"
    poll 5 display_answers || fail "display $DISPLAY does not answer"
}
display_answers() { xwininfo -root >/dev/null 2>&1; }

# make_game_folder NAME: a fresh copy of the demo game folder; sets GAME_DIR.
make_game_folder() {
    GAME_DIR="$WORK/$1"
    cp -r "$REPO_ROOT/demo" "$GAME_DIR" || fail "cannot copy $REPO_ROOT/demo"
}

# start_game FOLDER NAME [OPTION...]: runs the program with the options on the game folder FOLDER (named on
# its command line), output to $WORK/NAME.log; sets GAME_PID and GAME_NAME. SIGINT keeps its
# default, as from a terminal (a shell's background job would have it ignored).
start_game() {
    (cd "$WORK" && exec env --default-signal=INT "$VELTRANE" "${@:3}" "$(realpath "$1")") >"$WORK/$2.log" 2>&1 &
    GAME_PID=$!
    GAME_NAME=$2
    STARTED_PIDS+=("$GAME_PID")
}

# geometry WINDOW: the window's WIDTHxHEIGHT+X+Y on the screen.
geometry() {
    xwininfo -id "$1" | awk -F': *' '/Absolute upper-left X/ { x = $2 } /Absolute upper-left Y/ { y = $2 }
        /^ *Width/ { w = $2 } /^ *Height/ { h = $2 } END { print w "x" h "+" x "+" y }'
}

# says NAME LINE: the output of the run NAME has the line.
says() { grep -qsxF -- "$2" "$WORK/$1.log"; }

# wait_exit PID TIMEOUT NAME CODE: the process ends within TIMEOUT seconds, with CODE.
wait_exit() {
    poll "$2" not_running "$1" || fail "$3 still runs ${2} s later"
    wait "$1"
    local code=$?
    [ "$code" = "$4" ] || fail "$3 exited with $code, not $4"
}

# The top-level windows whose name (_NET_WM_NAME, else WM_NAME) is exactly $1, one id a line.
windows_named() {
    xwininfo -root -children 2>/dev/null | awk -v want=" \"$1\": " 'index($0, want) { print $1 }'
}

window_pid() {
    xprop -id "$1" _NET_WM_PID 2>/dev/null | awk -F' = ' '/^_NET_WM_PID/ { print $2 }'
}

# has_window [NAME]: a top-level window named NAME (the game's title if none) is there.
has_window() { [ -n "$(windows_named "${1:-$TITLE}")" ]; }

# play_story NAME LINE...: a copy of the demo, $WORK/NAME (made unless it is there), whose first
# script is these lines (CR LF) starts as the run NAME; its window must come within 30 s. Sets
# GAME_DIR, GAME_PID and WIN.
play_story() {
    GAME_DIR="$WORK/$1"
    [ -d "$GAME_DIR" ] || make_game_folder "$1"
    [ $# -eq 1 ] || printf '%s\r\n' "${@:2}" >"$GAME_DIR/txt/config.tda"
    start_game "$GAME_DIR" "$1"
    poll 30 has_window || fail "$1: no window named \"$TITLE\" within 30 s"
    WIN=$(windows_named "$TITLE")
}

# escape_ends [WINDOW]: Esc in the game window ends the game started last with code 0.
escape_ends() {
    xdotool windowfocus --sync "${1:-$(windows_named "$TITLE")}" && xdotool key Escape
    wait_exit "$GAME_PID" 30 "the run $GAME_NAME, after Esc," 0
}

# shows WINDOW PICTURE: the window shows exactly the picture; sets differing to the pixels that are not.
shows() {
    import -window "$1" "$WORK/shot.png" 2>/dev/null || return 1
    differing=$(compare -metric AE "$2" "$WORK/shot.png" null: 2>&1)
    [ "$differing" = 0 ]
}

# dark_pixels WINDOW: the window shows something dark (text or a label on its grey).
dark_pixels() {
    import -window "$1" "$WORK/dark.png" 2>/dev/null &&
        [ "$(convert "$WORK/dark.png" -colorspace Gray -format '%[fx:minima < 0.3]' info:)" = 1 ]
}
