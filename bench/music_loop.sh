#!/bin/bash
# The real program's music, recorded by SDL's disk audio driver: the gap of silence at the loop
# point of the demo's MP3 piece (16 s) and MIDI piece (24 s), from the end of the piece to sound
# again, and the resident memory while each plays. Takes about 50 s.
#
# usage: bench/music_loop.sh [PATH_TO_veltrane]   (default build/veltrane)
set -u -o pipefail

root=$(dirname "$(realpath "$0")")/..
program=$(realpath "${1:-$root/build/veltrane}")
die() {
    echo "music_loop: $*" >&2
    exit 1
}
[ -x "$program" ] || die "no program at $program"
command -v Xvfb >/dev/null || die "Xvfb is not installed"
grep -q '@veltrane-instance:' /proc/net/unix && die "another Veltrane is running on this machine"

work=$(mktemp -d "${TMPDIR:-/tmp}/veltrane-loop.XXXXXX")
xvfb_pid="" game_pid=""
cleanup() {
    [ -n "$game_pid" ] && kill -KILL "$game_pid" 2>/dev/null && wait "$game_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill -TERM "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

cp -r "$root/demo" "$work/game"
printf '%s\r\n' '#play_mp3 evening.mp3' '#delay 18000' '#stop_mp3' '#delay 1500' '#play_midi theme.mid' \
    '#delay 26000' '#stop_midi' '#halt' >"$work/game/txt/config.tda"
mkfifo "$work/displayfd"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/displayfd" 2>"$work/xvfb.log" &
xvfb_pid=$!
read -r -t 10 number <"$work/displayfd" || die "Xvfb did not start"
export DISPLAY=":$number" SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/out.raw"
(cd "$work/game" && exec "$program") >"$work/game.log" 2>&1 &
game_pid=$!

rss() { awk '/^VmRSS/ { print $2 }' "/proc/$game_pid/status"; }
sleep 8
mp3_rss=$(rss) || die "the program ended"
sleep 22
midi_rss=$(rss) || die "the program ended"
sleep 18
kill -TERM "$game_pid" 2>/dev/null

# stretches of sound with a low floor and no joining: a loop point shows as a gap between two
python3 "$root/tests/e2e/audio_segments.py" "$work/out.raw" 30 0 >"$work/segments.log"
awk -v mp3="$mp3_rss" -v midi="$midi_rss" '
$1 == "total" { next }
{ n++; start[n] = $1; end[n] = $2 }
END {
    # the first stretch is the MP3 piece: its loop point 16 s in; the MIDI piece starts after the long silence
    for (i = 2; i <= n; i++) {
        gap = start[i] - end[i - 1]
        if (gap > 1.2) { midi_start = start[i]; continue }
        if (!midi_start && start[i] - start[1] > 15) printf "MP3 loop gap: %.0f ms\n", gap * 1000
        if (midi_start && start[i] - midi_start > 23) printf "MIDI loop gap: %.0f ms\n", gap * 1000
    }
    printf "resident memory: %.1f MB with the MP3 piece playing, %.1f MB with the MIDI piece\n", mp3 / 1024, midi / 1024
}' "$work/segments.log"
