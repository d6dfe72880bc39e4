#!/bin/bash
# The real program on a desktop (Xvfb), on fixed scenes of its own. The typing scene: a black
# background, 318 Japanese characters typed 30 ms apart, then a click wait; run without sound, with the
# demo's MIDI piece playing from the start, and without sound in a window the reader doubled (--scale 2).
# The fade scene: a picture faded in, held 200 ms and faded out, over and over, in a window the reader
# resized to each of the sizes below (a fade changes the whole picture 20 times a second, so the scaled
# present is at its most expensive). One line per figure:
#   start-up    ms from the process start to the window mapped (shown after its first frame)
#   typing      CPU % of one core while the characters are typed
#   click wait  CPU % of one core and wake-ups a second (context switches of all threads) over 5 s
#   memory      peak resident memory (VmHWM) and the number of threads at the click wait
#   fade        CPU % of one core over 10 s of the fade loop, at each window size
# Takes about 65 s for the typing scene and 50 s for the fade scene. Not part of the tests: the figures
# depend on the machine.
#
# usage: bench/desktop.sh [PATH_TO_veltrane [typing|fade|all]]   (default build/veltrane, all)
set -u -o pipefail

root=$(dirname "$(realpath "$0")")/..
program=$(realpath "${1:-$root/build/veltrane}")
scenes=${2:-all}
title=$(<"$root/data/title.txt")
die() {
    echo "desktop: $*" >&2
    exit 1
}
[ -x "$program" ] || die "no program at $program"
[[ $scenes =~ ^(typing|fade|all)$ ]] || die "no scene '$scenes': typing, fade or all"
command -v xwininfo >/dev/null || die "xwininfo is not installed"
command -v iconv >/dev/null || die "iconv is not installed"
command -v xdotool >/dev/null || die "xdotool is not installed"
. "$root/bench/xvfb.sh"
Start_xvfb desktop 2560x1600

CHARACTERS=318
TYPING_START_S=1 # after the window maps: the background's transition is over
TYPING_S=8       # of the 9.5 s the characters take
CLICK_WAIT_AT_S=12
CLICK_WAIT_S=5
FADE_SIZES="640x480 1280x960 1920x1080 2560x1600"
FADE_SETTLE_S=1 # after the resize: the window's surface is made again at its new size
FADE_S=10

# Writes the scene, in the engine's CP932, into game folder $1; $2 is a first line or nothing.
Write_scene() {
    mkdir -p "$1/txt" "$1/MIDI"
    cp -r "$root/demo/gdat" "$1/gdat"
    cp "$root/demo/MIDI/theme.mid" "$1/MIDI/"
    local sentence="夜の港町に静かな雨が降り石畳に映る街灯の光が波のようにゆらいでいる" text=""
    while [ ${#text} -lt $CHARACTERS ]; do text+=$sentence; done
    text=${text:0:$CHARACTERS}
    {
        [ -n "$2" ] && printf '%s\r\n' "$2"
        printf '%s\r\n' '#g_load BG back_black.bgh' '#g_change STRETCH_Y' '#set_text_wait 30'
        for ((i = 0; i < CHARACTERS; i += 53)); do printf '%s\r\n' "${text:i:53}"; done
        printf '%s\r\n' '#wait'
    } | iconv -f UTF-8 -t CP932 >"$1/txt/config.tda" || die "cannot write the scene"
}

# Writes the fade loop into game folder $1.
Write_fade_scene() {
    mkdir -p "$1/txt"
    cp -r "$root/demo/gdat" "$1/gdat"
    printf '%s\r\n' '#g_load BG harbor.bgh' '*loop:' '#fade_in' '#delay 200' '#fade_out' '#jump *loop:' \
        >"$1/txt/config.tda" || die "cannot write the fade scene"
}

now_ms() { echo $(($(date +%s%N) / 1000000)); }
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$game_pid/stat"; }
# context switches of every thread still alive
switches() { cat /proc/"$game_pid"/task/*/status | awk '/ctxt_switches/ { n += $2 } END { print n }'; }
status_field() { awk -v f="$1:" '$1 == f { print $2 }' "/proc/$game_pid/status"; }
cpu_percent() { awk -v t="$1" -v hz="$(getconf CLK_TCK)" -v ms="$2" 'BEGIN { printf "%.1f", 100 * t / hz / (ms / 1000) }'; }

# Starts the program in game folder $1 (further arguments go to it) and waits for its window; prints
# the start-up time after $who.
Launch() {
    local started mapped folder=$1
    shift
    started=$(now_ms)
    (cd "$folder" && exec "$program" "$@") >"$work/game.log" 2>&1 &
    game_pid=$!
    for _ in $(seq 1000); do
        xwininfo -name "$title" 2>/dev/null | grep -q IsViewable && break
        sleep 0.01
    done
    mapped=$(now_ms)
    xwininfo -name "$title" 2>/dev/null | grep -q IsViewable || die "the window did not open: $(cat "$work/game.log")"
    echo "$who start-up: $((mapped - started)) ms to the window mapped"
}

Stop() {
    kill -TERM "$game_pid" 2>/dev/null
    wait "$game_pid" 2>/dev/null
    game_pid=""
}

# Runs the typing scene of game folder $1 and prints its figures, each line starting with $2; further
# arguments go to the program.
Measure() {
    local t0 c0 s0 t1 c1 s1 folder=$1 who=$2
    shift 2
    Launch "$folder" "$@"
    sleep $TYPING_START_S
    t0=$(now_ms) c0=$(cpu_ticks) || die "the program ended"
    sleep $TYPING_S
    t1=$(now_ms) c1=$(cpu_ticks) || die "the program ended"
    echo "$who typing: $(cpu_percent $((c1 - c0)) $((t1 - t0))) % of one core"

    sleep $((CLICK_WAIT_AT_S - TYPING_START_S - TYPING_S))
    t0=$(now_ms) c0=$(cpu_ticks) s0=$(switches) || die "the program ended"
    sleep $CLICK_WAIT_S
    t1=$(now_ms) c1=$(cpu_ticks) s1=$(switches) || die "the program ended"
    awk -v n=$((s1 - s0)) -v ms=$((t1 - t0)) -v cpu="$(cpu_percent $((c1 - c0)) $((t1 - t0)))" -v who="$who" \
        'BEGIN { printf "%s click wait: %s %% of one core, %.0f wake-ups a second\n", who, cpu, n / (ms / 1000) }'
    echo "$who memory: $(($(status_field VmHWM) / 1024)) MB peak resident, $(status_field Threads) threads"
    Stop
}

# Runs the fade scene of game folder $1 in a window resized to $2 (WIDTHxHEIGHT) and prints its CPU.
Measure_fade() {
    local t0 c0 t1 c1 window size=$2 who="fade $2:"
    Launch "$1"
    window=$(xdotool search --onlyvisible --name "^$title\$" | head -1)
    xdotool windowmove "$window" 0 0 windowsize "$window" "${size%x*}" "${size#*x}"
    sleep $FADE_SETTLE_S
    xwininfo -id "$window" | grep -q "Width: ${size%x*}$" || die "the window was not resized to $size"
    t0=$(now_ms) c0=$(cpu_ticks) || die "the program ended"
    sleep $FADE_S
    t1=$(now_ms) c1=$(cpu_ticks) || die "the program ended"
    echo "$who $(cpu_percent $((c1 - c0)) $((t1 - t0))) % of one core"
    Stop
}

export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-disk} SDL_DISKAUDIOFILE=/dev/null
if [ "$scenes" != fade ]; then
    Write_scene "$work/quiet" ""
    Write_scene "$work/midi" "#play_midi theme.mid"
    Measure "$work/quiet" "no sound:"
    Measure "$work/midi" "MIDI:"
    Measure "$work/quiet" "scaled 2x:" --scale 2
fi
if [ "$scenes" != typing ]; then
    Write_fade_scene "$work/fade"
    for size in $FADE_SIZES; do Measure_fade "$work/fade" "$size"; done
fi
