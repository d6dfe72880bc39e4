# The replay tool run as outside checks run it: the cases of tests/cli/replay.txt, then SIGTERM and
# SIGINT ending it at once. Nothing here depends on what the game folder's script does.

ARGS="REPLAY REPO_ROOT" source "$(dirname "$0")/../cli_lib.sh"
# type -P fails when any of them is missing
type -P identify compare >/dev/null || { echo "FAIL: ImageMagick's identify or compare is not installed" >&2; exit 1; }
play_cases "$REPO_ROOT/tests/cli/replay.txt"
cd "$WORK" || exit 1

# SIGTERM and SIGINT end the tool at once, also once an MP3 piece has started SDL's audio (whose
# start would otherwise turn them into quit requests that no headless run reads; a MIDI piece is
# only read, and starts no audio): the piece, then a wait for a click that never comes
mkdir -p game/MIDI && cp "$REPO_ROOT"/demo/MIDI/evening.mp3 game/MIDI/
printf '%s\r\n' '#play_mp3 evening.mp3' '#wait' >game/txt/config.tda
# true once the process runs SDL's audio thread: the piece was opened
audio_started() { grep -qs '^SDLAudio' /proc/"$1"/task/*/comm; }
pid=""
trap '[ -n "$pid" ] && kill -KILL "$pid" 2>/dev/null; rm -rf "$WORK"' EXIT
for signal in TERM INT; do
    # SIGINT keeps its default, as from a terminal
    env --default-signal=INT "$REPLAY" --until 4000000000 game >out 2>&1 &
    pid=$!
    poll 10 audio_started "$pid" || fail "SIG$signal: the MP3 piece started no audio within 10 s: $(cat out)"
    kill -"$signal" "$pid"
    poll 5 not_running "$pid" || fail "SIG$signal: veltrane-replay still runs 5 s later"
    reap KILL "$pid"
    pid=""
done

passed "replay CLI: all checks passed"
