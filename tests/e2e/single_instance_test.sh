#!/bin/bash
# One copy at a time: a second copy says so in a box captioned 警告, ends with code 0 once the box
# is answered, or at once on SIGTERM or SIGINT, and leaves the first running. Closing the first
# copy's window ends it with code 0, and frees the lock, so that the next copy starts normally.
source "$(dirname "$0")/lib.sh"

command -v python3 >/dev/null || fail "python3 is not installed"
CAPTION="警告"

start_xvfb
make_game_folder game

start_game "$GAME_DIR" first
first=$GAME_PID
poll 10 has_window || fail "the first copy opened no window within 10 s"
first_win=$(windows_named "$TITLE")
[ "$(window_pid "$first_win")" = "$first" ] || fail "window $first_win is not the first copy's"

start_game "$GAME_DIR" second
second=$GAME_PID
poll 10 has_window "$CAPTION" || fail "the second copy showed no box captioned $CAPTION within 10 s"
box=$(windows_named "$CAPTION")
[ "$(wc -l <<<"$box")" = 1 ] || fail "more than one box captioned $CAPTION: $box"
[ "$(window_pid "$box")" = "$second" ] || fail "box $box belongs to process $(window_pid "$box"), not the second copy"
[ "$(windows_named "$TITLE")" = "$first_win" ] || fail "the second copy opened a game window too: $(windows_named "$TITLE")"
running "$second" || fail "the second copy ended without waiting for its box to be answered"
# the legacy name of each window decodes to its caption too, not to its UTF-8 bytes read as Latin-1
wm_name() { xprop -id "$1" WM_NAME 2>/dev/null; }
[ "$(wm_name "$box")" = "WM_NAME(COMPOUND_TEXT) = \"$CAPTION\"" ] || fail "the box's WM_NAME: $(wm_name "$box")"
# the box draws its message and its OK button in black on grey
poll 5 dark_pixels "$box" || fail "the box shows no text"

xdotool windowfocus --sync "$box" || fail "cannot focus the box $box"
xdotool key Return
wait_exit "$second" 5 "the second copy, after Return on its box," 0
[ -z "$(windows_named "$CAPTION")" ] || fail "the box stays after the second copy ended"

# signals end a second copy whose box is open as they end the game window
for signal in TERM INT; do
    start_game "$GAME_DIR" "second-$signal"
    poll 10 has_window "$CAPTION" || fail "the second copy showed no box captioned $CAPTION within 10 s"
    kill -"$signal" "$GAME_PID"
    wait_exit "$GAME_PID" 5 "the second copy, after SIG$signal while its box was open," 0
    [ -z "$(windows_named "$CAPTION")" ] || fail "the box stays after SIG$signal ended the second copy"
done

# the first copy is untouched
sleep 0.3
running "$first" || fail "the first copy ended when the second did"
[ "$(windows_named "$TITLE")" = "$first_win" ] || fail "the first copy's window $first_win is gone"

# A window manager's close button sends WM_DELETE_WINDOW, which reaches the window procedure as
# WM_CLOSE; the default handling destroys the window, and its WM_DESTROY ends the program with 0.
# xdotool windowclose would instead destroy the X window under the program (no desktop does that;
# Xlib then ends the program on BadWindow), so the request is sent as a window manager sends it.
python3 "$(dirname "$0")/close_window.py" "$first_win" || fail "cannot send WM_DELETE_WINDOW to $first_win"
wait_exit "$first" 5 "the first copy, asked to close its window," 0
[ -z "$(windows_named "$TITLE")" ] || fail "the window stays after the program ended"

# The lock went with the first copy: the next one opens its window instead of the box.
start_game "$GAME_DIR" third
third=$GAME_PID
poll 10 has_window || fail "a copy started after the first ended opened no window within 10 s"
[ -z "$(windows_named "$CAPTION")" ] || fail "a copy started after the first ended still sees another copy"
# SIGTERM, as a session ending sends it, arrives through SDL as a quit request, which the backend
# hands to the window as WM_CLOSE: an orderly end with 0 as well.
kill -TERM "$third"
wait_exit "$third" 5 "the third copy, after SIGTERM," 0

echo "PASS: second copy shows $CAPTION and exits 0 when answered or signalled, first keeps running; window close and SIGTERM exit 0"
