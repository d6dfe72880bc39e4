#!/bin/bash
# How much CPU the program burns while nothing happens: the demo's picture is up, no input comes.
# An unchanged frame is not sent again, and the loop sleeps until a task is due or input comes, so
# what is left is the cursor's blink and the music.
#
# usage: bench/idle_cpu.sh [PATH_TO_veltrane [GAME_FOLDER [SECONDS]]]
# defaults: build/veltrane, demo/ and 10 s, relative to the repository.
set -u -o pipefail

root=$(dirname "$(realpath "$0")")/..
program=$(realpath "${1:-$root/build/veltrane}")
game=$(realpath "${2:-$root/demo}")
seconds=${3:-10}
title=$(<"$root/data/title.txt")

die() {
    echo "idle_cpu: $*" >&2
    exit 1
}
[ -x "$program" ] || die "no program at $program"
[ -d "$game" ] || die "no game folder at $game"
command -v xwininfo >/dev/null || die "xwininfo is not installed"
. "$root/bench/xvfb.sh"
Start_xvfb idle

(cd "$game" && exec "$program") >"$work/game.log" 2>&1 &
game_pid=$!
for _ in $(seq 100); do
    xwininfo -root -children 2>/dev/null | grep -qF "\"$title\":" && break
    sleep 0.1
done
xwininfo -root -children | grep -qF "\"$title\":" || die "the game window did not open: $(cat "$work/game.log")"
sleep 1 # start-up (image loading, the first frames) is not idling

# utime + stime of every thread of the process, in clock ticks
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$game_pid/stat"; }
hz=$(getconf CLK_TCK)
before=$(cpu_ticks) || die "the program ended"
start_ns=$(date +%s%N)
sleep "$seconds"
after=$(cpu_ticks) || die "the program ended while idle: $(cat "$work/game.log")"
end_ns=$(date +%s%N)

awk -v t=$((after - before)) -v hz="$hz" -v ns=$((end_ns - start_ns)) -v s="$seconds" \
    'BEGIN { printf "idle CPU: %.1f %% of one core over %s s (%.2f s of CPU in %.2f s)\n", 100 * t / hz / (ns / 1e9), s, t / hz, ns / 1e9 }'
