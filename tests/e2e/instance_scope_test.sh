#!/bin/bash
# One copy at a time per user and display: copies on two displays both open their windows, and
# so do two users' copies on one display (tried when the test runs as root), while a second copy
# of the same user on the same display still gets the box.
source "$(dirname "$0")/lib.sh"

CAPTION="警告"

# opens_window NAME: a copy started on the current display opens the game window and no box.
opens_window() {
    start_game "$GAME_DIR" "$1"
    poll 10 has_window "$TITLE" || fail "$1 opened no window on $DISPLAY within 10 s"
    [ "$(window_pid "$(windows_named "$TITLE")")" = "$GAME_PID" ] || fail "the window on $DISPLAY is not $1's"
    [ -z "$(windows_named "$CAPTION")" ] || fail "$1 on $DISPLAY was told another copy runs"
}

make_game_folder game
start_xvfb
first_display=$DISPLAY
opens_window first
first=$GAME_PID

start_xvfb
opens_window other-display
running "$first" || fail "the first copy ended when a copy started on another display"

export DISPLAY=$first_display
start_game "$GAME_DIR" second
poll 10 has_window "$CAPTION" || fail "a second copy on $DISPLAY showed no box captioned $CAPTION within 10 s"
[ "$(window_pid "$(windows_named "$CAPTION")")" = "$GAME_PID" ] || fail "the box is not the second copy's"

if [ "$(id -u)" = 0 ] && command -v setpriv >/dev/null; then
    start_xvfb
    opens_window root
    # another user: the program and the game folder must be theirs to read
    chmod 755 "$WORK"
    start_game_as_nobody() {
        (cd / && exec setpriv --reuid=nobody --regid=nogroup --clear-groups env HOME=/nonexistent \
            "$VELTRANE" "$GAME_DIR") >"$WORK/nobody.log" 2>&1 &
        GAME_PID=$!
        STARTED_PIDS+=("$GAME_PID")
    }
    start_game_as_nobody
    nobody=$GAME_PID
    two_windows() { [ "$(windows_named "$TITLE" | wc -l)" = 2 ]; }
    poll 10 two_windows || fail "another user's copy opened no window beside root's on $DISPLAY"
    [ -z "$(windows_named "$CAPTION")" ] || fail "another user's copy was told a copy runs"
    running "$nobody" || fail "another user's copy ended"
else
    echo "not root: the check of another user's copy is left out"
fi

echo "PASS: copies on two displays and of two users run side by side; a second on one display gets the box"
