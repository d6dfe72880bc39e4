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
. "$root/bench/xvfb.sh"
Start_xvfb loop
cp -r "$root/demo" "$work/game"
printf '%s\r\n' '#play_mp3 evening.mp3' '#delay 18000' '#stop_mp3' '#delay 1500' '#play_midi theme.mid' \
    '#delay 26000' '#stop_midi' '#halt' >"$work/game/txt/config.tda"
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/out.raw"
(cd "$work/game" && exec "$program") >"$work/game.log" 2>&1 &
game_pid=$!

rss() { awk '/^VmRSS/ { print $2 }' "/proc/$game_pid/status"; }
sleep 8
mp3_rss=$(rss) || die "the program ended"
sleep 22
midi_rss=$(rss) || die "the program ended"
sleep 18
kill -TERM "$game_pid" 2>/dev/null

# stretches of sound in 2 ms windows with a low floor, never joined: a loop point shows as a gap
# between two stretches, or as none when no window of it is silent
python3 "$root/tests/e2e/audio_segments.py" "$work/out.raw" 30 0.001 0.002 >"$work/segments.log"
awk -v mp3="$mp3_rss" -v midi="$midi_rss" '
$1 == "total" { next }
{ n++; start[n] = $1; end[n] = $2 }
END {
    # the MP3 piece starts the first stretch, the MIDI piece the first after the long silence
    for (i = 2; i <= n; i++) if (start[i] - end[i - 1] > 1.2) midi_start = start[i]
    report("MP3", start[1], 16)
    report("MIDI", midi_start, 24)
    printf "resident memory: %.1f MB with the MP3 piece playing, %.1f MB with the MIDI piece\n", mp3 / 1024, midi / 1024
}
# the gap that ends nearest the loop point, piece seconds after the piece began
function report(name, begun, piece,    i, best) {
    for (i = 2; i <= n; i++)
        if (start[i] - end[i - 1] <= 1.2 && (best == 0 || abs(start[i] - begun - piece) < abs(start[best] - begun - piece)))
            best = i
    if (best && abs(start[best] - begun - piece) < 1)
        printf "%s loop gap: %.0f ms, %.2f s into the piece\n", name, (start[best] - end[best - 1]) * 1000, end[best - 1] - begun
    else
        printf "%s loop gap: under 2 ms (no silent window near its end)\n", name
}
function abs(x) { return x < 0 ? -x : x }' "$work/segments.log"
