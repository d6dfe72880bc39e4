#!/bin/bash
# The real time auto-play takes to play the demo to its end, down each branch of its choice: the
# story's minutes of virtual time, with every picture drawn and every piece of music decoded.
#
# usage: bench/autoplay.sh [PATH_TO_veltrane-replay [GAME_FOLDER]]   (defaults: build/, demo/)
set -u -o pipefail

root=$(dirname "$(realpath "$0")")/..
replay=$(realpath "${1:-$root/build/veltrane-replay}")
game=$(realpath "${2:-$root/demo}")
[ -x "$replay" ] || { echo "autoplay: no program at $replay" >&2; exit 1; }

for pick in 1 2 3; do
    best=""
    for _ in 1 2 3; do
        start=$(date +%s%N)
        end_line=$("$replay" --auto-click 300 --choose $pick --start-menu "$game" | tail -n 1)
        ms=$((($(date +%s%N) - start) / 1000000))
        [ -z "$best" ] || [ "$ms" -lt "$best" ] && best=$ms
    done
    echo "choice $pick: ${end_line#quit } ms of story in $best ms (best of 3)"
done
