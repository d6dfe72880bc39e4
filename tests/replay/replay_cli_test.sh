# The replay tool run as outside checks run it: exit codes and reasons for bad command lines, the
# quit line, the state line, snapshots and a start past the wrap of the tick counter, and SIGTERM
# and SIGINT ending it at once. Nothing here depends on what the game folder's script does.

ARGS="REPLAY REPO_ROOT" source "$(dirname "$0")/../cli_lib.sh"
# type -P fails when any of them is missing
type -P identify compare >/dev/null || { echo "FAIL: ImageMagick's identify or compare is not installed" >&2; exit 1; }
mkdir -p "$WORK/game/gdat"
cp "$REPO_ROOT"/demo/gdat/*.bgh "$WORK/game/gdat/"
cd "$WORK"

for args in "--until 1x game" "--frobnicate game" "game game" "$WORK/no-such-game" "--events no-such-file game" \
    "--flag 256 game" "game --label"; do
    # shellcheck disable=SC2086
    refused "$REPLAY" $args
done
refused "$REPLAY" --event "5 key F13" game
printf '0 move 1 2\n# a note\n\n7 ldown 1 2 alt\n' >events.txt
exits 2 "veltrane-replay: events.txt:4: unknown ldown option 'alt'" "$REPLAY" --events events.txt game
exits 2 "veltrane-replay: --events: /dev/zero is not a file or a pipe" "$REPLAY" --events /dev/zero game
head -c 5000 /dev/zero | tr '\0' 'x' >long.txt
exits 2 "veltrane-replay: long.txt:1: line too long" "$REPLAY" --events long.txt game

# last LINE_PATTERN ARGS... : runs to the end with exit 0; the last line of stdout matches
last() {
    local pattern=$1
    shift
    "$REPLAY" "$@" >out 2>err || fail "$* exited with $?: $(cat err)"
    tail -n 1 out | grep -Eq "$pattern" || fail "$*: last line is not /$pattern/: $(tail -n 1 out)"
}

last '^quit 5$' --event "5 key ESCAPE" game
last '^quit 3$' --events /dev/stdin game <<<"3 close # the window's close button"
# the deadline counts from the start, not from the tick counter, which wraps on the way
last '^\{.*"ms":1000,.*\}$' --start-tick 4294967000 --until 1000 --state game
grep -q '^quit' out && fail "a run ended by --until printed a quit line"

# a snapshot path is taken from where the tool was started, not from the game folder
last '' --shot 10=shot.png --until 20 game
[ "$(identify -format '%w %h' shot.png 2>&1)" = "640 480" ] || fail "shot.png is not a 640 x 480 picture"
differ=$(compare -metric AE shot.png bmp:game/gdat/back_black.bgh null: 2>&1)
[ "$differ" = "0" ] || fail "shot.png differs from back_black.bgh in $differ pixels"

# a box's backslashes print doubled, so that its "\n" can only be a line feed
mkdir -p game/txt
printf '#play_midi nofile.mid\r\n' >game/txt/config.tda
last '' --until 100 game
grep -qF '.\\MIDI\\nofile.mid' out || fail "a box's backslashes are not doubled: $(grep '^box' out)"
# every box is a line on stderr too, with the script, its line and the file the box is about
printf 'A\r\n#g_load BG sunsett.bgh\r\n' >game/txt/config.tda
last '' --until 1000 game
grep -qxF 'txt/config.tda:2: Load_Bmp(): 画像読み込みに失敗しました (gdat/sunsett.bgh)' err ||
    fail "the box is not on stderr with its place: $(cat err)"

# a story started at a later script and label with flags on: the branch of flag 7 is typed (one
# character, not two) and waits, and the state names the script
printf '#set_text_wait 0\r\nA#wait\r\n' >game/txt/config.tda
printf 'X#wait\r\n*scene2:\r\n#if_flag 7 {\r\nB#wait\r\n/\r\nCC#wait\r\n}\r\n' >game/txt/chapter3.tda
last '"script":"txt/chapter3.tda","cur":[0-9]+,"text_x":30,.*"wait_run":1,.*"flags_on":\[0,7,255\]' \
    --script txt/chapter3.tda --label '*scene2' --flag 7 --flag 255 --flag 0 --until 1000 --state game
last '"text_x":40,.*"flags_on":\[\]' --script chapter3.tda --label scene2: --until 1000 --state game
exits 2 "veltrane-replay: there is no script txt/chapter4.tda in the game folder" "$REPLAY" --script txt/chapter4.tda game
exits 2 "veltrane-replay: there is no label *scene3 in txt/chapter3.tda" "$REPLAY" --script txt/chapter3.tda --label '*scene3' game
rm game/txt/config.tda game/txt/chapter3.tda

# the reader's keys: a quick save at a click-wait, a click that plays on and sets a flag, then F9 brings
# back the state and the picture of the save (the save folder is this run's own)
printf '#set_text_wait 10\r\nabc#wait\r\n#flag_on 5\r\ndef#wait\r\n' >game/txt/config.tda
export XDG_DATA_HOME="$WORK/data" XDG_CONFIG_HOME="$WORK/config"
strip_ms() { tail -n 1 | sed 's/"ms":[0-9]*,//'; }
"$REPLAY" --event "500 key F5" --shot 600=saved.png --until 600 --state game | strip_ms >saved.json
"$REPLAY" --event "500 key F5" --event "700 ldown 5 5" --event "1500 key F9" --shot 1600=restored.png \
    --until 1600 --state game | strip_ms >restored.json
grep -q '"flags_on":\[\]' saved.json || fail "the save was not taken at the first wait: $(cat saved.json)"
cmp -s saved.json restored.json || fail "F9 did not bring back the saved state: $(cat restored.json)"
[ "$(compare -metric AE saved.png restored.png null: 2>&1)" = 0 ] || fail "F9 did not bring back the saved picture"
ls "$WORK"/data/veltrane/saves/*/quick.sav >/dev/null 2>&1 || fail "no quick.sav under XDG_DATA_HOME"

# a save past the file-size limit (SIGXFSZ at its default) fails as on a full disk: the story plays
# on to its end, the old save stays and no temporary is left
saves=$(dirname "$WORK"/data/veltrane/saves/*/quick.sav)
cp "$saves/quick.sav" old.sav
if limited 1 "$REPLAY" --event "500 key F5" --event "600 key ESCAPE" game >out 2>err; then
    grep -qx 'quit 600' out || fail "a save past the file-size limit ended the run: $(cat out)"
else
    fail "a save past the file-size limit: veltrane-replay exited with $?: $(cat err)"
fi
cmp -s old.sav "$saves/quick.sav" || fail "a save past the file-size limit changed the old one"
[ "$(ls "$saves")" = quick.sav ] || fail "a save past the file-size limit left $(ls "$saves")"
# the next save removes the slots' temporaries of saves cut short, and nothing else
cut_short=(quick.sav.Ab12Cz 9.sav.000000)
kept=(quick.sav.Ab12C quick.sav.Ab12Cz9 quick.sav.Ab-2Cz 10.sav.Ab12Cz notes.sav.Ab12Cz quick.savXAb12Cz)
for f in "${cut_short[@]}" "${kept[@]}"; do touch "$saves/$f"; done
last '^quit 600$' --event "500 key F5" --event "600 key ESCAPE" game
left=$(find "$saves" -mindepth 1 -printf '%f\n' | sort)
[ "$left" = "$(printf '%s\n' quick.sav "${kept[@]}" | sort)" ] || fail "the next save left $left"

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
    if poll 10 audio_started "$pid"; then
        kill -"$signal" "$pid"
        poll 5 not_running "$pid" || fail "SIG$signal: veltrane-replay still runs 5 s later"
    else
        fail "SIG$signal: the MP3 piece started no audio within 10 s: $(cat out)"
    fi
    kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    pid=""
done

passed "replay CLI: all checks passed"
