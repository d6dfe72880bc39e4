#!/bin/bash
# What changes on the work surface reaches the window, and only the changed parts are sent: one
# pixel at each corner and each edge of the picture, several drawn within one present, all show;
# covered by another window and uncovered, the window shows the whole picture again.
source "$(dirname "$0")/lib.sh"

start_xvfb
make_game_folder game
convert -size 640x480 xc:black -type TrueColor "BMP3:$GAME_DIR/gdat/back_black.bgh" || fail "no background"
# PT's mask cell is white at (25, 0): one pixel of it onto each corner and edge, a text step (1 ms)
# apart, so that several land between two presents
points="0,0 639,0 0,479 639,479 320,0 320,479 0,240 639,240"
{
    printf '#delay 1500\r\n#set_text_wait 1\r\n'
    for p in $points; do printf '#g_copy BS %s PT 25,0 1,1\r\n' "$p"; done
    printf '#halt\r\n'
} >"$GAME_DIR/txt/config.tda"
draw=""
for p in $points; do draw+=" point ${p/,/,}"; done
expected="$WORK/expected.png"
convert -size 640x480 xc:black -fill white -draw "$draw" "$expected" || fail "no expected picture"

start_game "$GAME_DIR" game
poll 10 has_window || fail "no window named \"$TITLE\" within 10 s"
win=$(windows_named "$TITLE")
differing=""
matches() { shows "$win" "$expected"; }
poll 10 matches || fail "the window differs from the picture in $differing pixels after the copies"

# covered whole by another window, then uncovered: what the window lost is drawn again
xclock -geometry 640x480+192+144 -update 1 >"$WORK/xclock.log" 2>&1 &
cover=$!
STARTED_PIDS+=("$cover")
covered() { [ -n "$(windows_named xclock)" ] && ! matches; }
poll 5 covered || fail "the covering window did not cover the game window"
kill "$cover"
poll 5 matches || fail "after an expose the window differs from the picture in $differing pixels"
echo "present: 2 passed, 0 failed"
