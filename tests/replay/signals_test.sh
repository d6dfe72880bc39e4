# SIGTERM and SIGINT end veltrane-replay at once, also once an MP3 piece has started SDL's audio
# (whose start would otherwise turn them into quit requests that no headless run reads; a MIDI
# piece is only read, and starts no audio).

ARGS="REPLAY REPO_ROOT" source "$(dirname "$0")/../cli_lib.sh"
pid=""
trap '[ -n "$pid" ] && kill -KILL "$pid" 2>/dev/null; rm -rf "$WORK"' EXIT

# the demo's MP3 piece, then a wait for a click that never comes
mkdir -p "$WORK/game/gdat" "$WORK/game/MIDI" "$WORK/game/txt"
cp "$REPO_ROOT"/demo/gdat/*.bgh "$WORK/game/gdat/"
cp "$REPO_ROOT"/demo/MIDI/evening.mp3 "$WORK/game/MIDI/"
printf '%s\r\n' '#play_mp3 evening.mp3' '#wait' >"$WORK/game/txt/config.tda"

# true once the process runs SDL's audio thread: the piece was opened
audio_started() { grep -qs '^SDLAudio' /proc/"$1"/task/*/comm; }

for signal in TERM INT; do
    # SIGINT keeps its default, as from a terminal
    env --default-signal=INT "$REPLAY" --until 4000000000 "$WORK/game" >"$WORK/out" 2>&1 &
    pid=$!
    if poll 10 audio_started "$pid"; then
        kill -"$signal" "$pid"
        poll 5 not_running "$pid" || fail "SIG$signal: veltrane-replay still runs 5 s later"
    else
        fail "SIG$signal: the MP3 piece started no audio within 10 s: $(cat "$WORK/out")"
    fi
    kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    pid=""
done

passed "PASS: SIGTERM and SIGINT end veltrane-replay once its audio runs"
