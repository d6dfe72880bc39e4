#!/bin/bash
# The real program started at a later script and label with a flag on: the first box comes from
# that scene; a label that is not there ends the program with code 2 and the reason on stderr.
source "$(dirname "$0")/lib.sh"

start_xvfb
make_game_folder game
start_game "$GAME_DIR" start --script txt/chapter3.tda --label '*灯室' --flag 10 --flag 255
shown() { grep -qxE 'txt/chapter3.tda:[0-9]+: Com_disp_flag\(\): Flag 10 = ON ' "$WORK/start.log" 2>/dev/null; }
poll 10 shown || fail "the scene's first box was not told: $(cat "$WORK/start.log")"
kill -KILL "$GAME_PID"
wait "$GAME_PID" 2>/dev/null

start_game "$GAME_DIR" start --script txt/chapter3.tda --label '*灯室です'
wait_exit "$GAME_PID" 10 "the program, started at a missing label," 2
grep -qxF 'veltrane: there is no label *灯室です in txt/chapter3.tda' "$WORK/start.log" ||
    fail "a missing label was not told: $(cat "$WORK/start.log")"
echo "start options: 2 passed, 0 failed"
