#!/bin/bash
# One copy at a time per user and display:
# - a second copy says so in a box captioned 警告, whose legacy name reads 警告 from the moment it
#   shows, ends with code 0 once the box is answered, or at once on SIGTERM or SIGINT, and leaves the
#   first running;
# - copies on two displays both open their windows, and so do two users' copies on one display
#   (tried when the test runs as root);
# - a display server that dies under the program ends it promptly, with code 1 and one line saying
#   why: while the story types, and while a second copy's box is open beside the first copy;
# - closing the first copy's window ends it with code 0, and frees the lock, so that the next copy
#   starts normally, and SIGTERM ends that one with 0 as well.
source "$(dirname "$0")/lib.sh"

command -v python3 >/dev/null || fail "python3 is not installed"
CAPTION="警告"

# A loaded machine may be slow to start a copy or to end one: every wait is long, and ends early.
# opens_window NAME: a copy started on the current display opens the game window and no box; sets WIN.
opens_window() {
    start_game "$GAME_DIR" "$1"
    poll 30 has_window || fail "$1 opened no window on $DISPLAY within 30 s"
    WIN=$(windows_named "$TITLE")
    [ "$(window_pid "$WIN")" = "$GAME_PID" ] || fail "the window $WIN on $DISPLAY is not $1's"
    [ -z "$(windows_named "$CAPTION")" ] || fail "$1 on $DISPLAY was told another copy runs"
}

# the server takes a window away once it hears its client is gone
no_window() { ! has_window "$@"; }

# box_shown: one window is captioned 警告 (its _NET_WM_NAME is set as it is made), and it is mapped; sets BOX.
box_shown() {
    BOX=$(windows_named "$CAPTION")
    [ -n "$BOX" ] && [ "$(wc -l <<<"$BOX")" = 1 ] && xwininfo -id "$BOX" 2>/dev/null | grep -q 'Map State: IsViewable'
}

# gets_box NAME: a copy started on the current display shows one box captioned 警告, its own; sets BOX.
gets_box() {
    start_game "$GAME_DIR" "$1"
    poll 30 box_shown || fail "$1 on $DISPLAY showed no one box captioned $CAPTION within 30 s: ${BOX:-none}"
    # the legacy name decodes to the caption too, not to its UTF-8 bytes read as Latin-1
    [ "$(xprop -id "$BOX" WM_NAME)" = "WM_NAME(COMPOUND_TEXT) = \"$CAPTION\"" ] || fail "the box's $(xprop -id "$BOX" WM_NAME)"
    [ "$(window_pid "$BOX")" = "$GAME_PID" ] || fail "box $BOX belongs to process $(window_pid "$BOX"), not $1"
}

make_game_folder game
start_xvfb
first_display=$DISPLAY
opens_window first
first=$GAME_PID
first_win=$WIN
# every box of this display is heard as it maps, and its legacy name read then
python3 "$(dirname "$0")/x_client.py" watch >"$WORK/maps.log" 2>&1 &
STARTED_PIDS+=($!)
poll 30 grep -qsx watching "$WORK/maps.log" || fail "cannot watch the windows of $DISPLAY"

gets_box second
second=$GAME_PID
[ "$(windows_named "$TITLE")" = "$first_win" ] || fail "the second copy opened a game window too: $(windows_named "$TITLE")"
running "$second" || fail "the second copy ended without waiting for its box to be answered"
# the box draws its message and its OK button in black on grey
poll 30 dark_pixels "$BOX" || fail "the box shows no text"
xdotool windowfocus --sync "$BOX" || fail "cannot focus the box $BOX"
xdotool key Return
wait_exit "$second" 30 "the second copy, after Return on its box," 0
poll 30 no_window "$CAPTION" || fail "the box stays after the second copy ended"

# signals end a second copy whose box is open as they end the game window
for signal in TERM INT; do
    gets_box "second-$signal"
    kill -"$signal" "$GAME_PID"
    wait_exit "$GAME_PID" 30 "the second copy, after SIG$signal while its box was open," 0
    poll 30 no_window "$CAPTION" || fail "the box stays after SIG$signal ended the second copy"
done
# the three boxes were named before they mapped, and never renamed while shown (a rename is heard
# before the unmap)
three_boxes() { [ "$(grep -c '^unmapped' "$WORK/maps.log")" -ge 3 ]; }
poll 30 three_boxes || fail "the boxes were not all heard to map and unmap: $(cat "$WORK/maps.log")"
[ "$(sed -E 's/ 0x[0-9a-f]+//' "$WORK/maps.log")" = $'watching\nmapped 警告\nunmapped\nmapped 警告\nunmapped\nmapped 警告\nunmapped' ] ||
    fail "a box mapped under another legacy name, or was renamed while shown: $(cat "$WORK/maps.log")"

# another display has its own first copy, and its own second one with the box; when that display
# dies at once, as a crashed server or a lost session ends it, both end with 1 and say why
start_xvfb
opens_window other-display
other=$GAME_PID
sleep 1
gets_box other-second
reap KILL "$XVFB_PID"
wait_exit "$other" 30 "the typing copy, once its display was gone," 1
wait_exit "$GAME_PID" 30 "the copy showing the box, once its display was gone," 1
for name in other-display other-second; do
    says "$name" 'veltrane: the display connection was lost' || fail "$name did not say the display was lost"
done

# the first copy is untouched by all of it
export DISPLAY=$first_display
running "$first" || fail "the first copy ended when another copy did"
[ "$(windows_named "$TITLE")" = "$first_win" ] || fail "the first copy's window $first_win is gone"

# A window manager's close button sends WM_DELETE_WINDOW, which reaches the window procedure as
# WM_CLOSE; the default handling destroys the window, and its WM_DESTROY ends the program with 0.
# xdotool windowclose would instead destroy the X window under the program (no desktop does that;
# Xlib then ends the program on BadWindow), so the request is sent as a window manager sends it.
python3 "$(dirname "$0")/x_client.py" close "$first_win" || fail "cannot send WM_DELETE_WINDOW to $first_win"
wait_exit "$first" 30 "the first copy, asked to close its window," 0
poll 30 no_window || fail "the window stays after the program ended"

# The lock went with the first copy: the next one opens its window instead of the box.
opens_window third
# SIGTERM, as a session ending sends it, arrives through SDL as a quit request, which the backend
# hands to the window as WM_CLOSE: an orderly end with 0 as well.
kill -TERM "$GAME_PID"
wait_exit "$GAME_PID" 30 "the third copy, after SIGTERM," 0

if [ "$(id -u)" = 0 ] && command -v setpriv >/dev/null; then
    start_xvfb
    opens_window root
    # another user: the program and the game folder must be theirs to read
    chmod 755 "$WORK"
    (cd / && exec setpriv --reuid=nobody --regid=nogroup --clear-groups env HOME=/nonexistent \
        "$VELTRANE" "$GAME_DIR") >"$WORK/nobody.log" 2>&1 &
    nobody=$!
    STARTED_PIDS+=("$nobody")
    two_windows() { [ "$(windows_named "$TITLE" | wc -l)" = 2 ]; }
    poll 30 two_windows || fail "another user's copy opened no window beside root's on $DISPLAY"
    [ -z "$(windows_named "$CAPTION")" ] || fail "another user's copy was told a copy runs"
    running "$nobody" || fail "another user's copy ended"
else
    echo "not root: the check of another user's copy is left out"
fi

echo "PASS: one copy per user and display, a second gets the box; close, SIGTERM and a lost display end as they should"
