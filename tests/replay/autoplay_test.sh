# Auto-play of veltrane-replay: waits clicked after their time, choices and start menus picked,
# a picture at every wait and choice; and the demo played to its end down each branch of its choice.

ARGS="REPLAY REPO_ROOT" source "$(dirname "$0")/../cli_lib.sh"

# a crafted story: a click-wait, a start menu, a choice, then the end
mkdir -p "$WORK/game/txt"
cp -r "$REPO_ROOT/demo/gdat" "$WORK/game/"
printf '#set_text_wait 0\r\nA#wait\r\n#start_menu 100,100\r\n#select3 {\r\none\r\ntwo\r\nthree\r\n/#flag_on 1\r\n/#flag_on 2\r\n/#flag_on 3\r\n}\r\nB' \
    >"$WORK/game/txt/config.tda"
cd "$WORK"

# flags_on of the last state line, as "1" or ""
flags() { python3 -c 'import json,sys; print(",".join(map(str, json.loads(sys.argv[1])["flags_on"])))' "$(tail -n 1 out)"; }

# shots of a longer earlier run go; files of the author's own stay
mkdir -p shots && touch shots/0007-wait.png shots/0012-page.png shots/notes.png
"$REPLAY" --auto-click 500 --choose 2 --start-menu --shots shots --state game >out 2>err || fail "crafted run: $(cat err)"
[ "$(flags)" = "2" ] || fail "choice 2 not taken: flags $(flags)"
grep -q '^box' out && fail "a message box: $(grep '^box' out)"
quit=$(sed -n 's/^quit \([0-9]*\)$/\1/p' out)
# the wait lasts 500 ms, the menu at least 200 ms, the halt 500 ms
{ [ -n "$quit" ] && [ "$quit" -ge 1200 ] && [ "$quit" -lt 1300 ]; } || fail "quit at '$quit', not 1200 to 1299 ms"
[ "$(ls shots | tr '\n' ' ')" = "0001-wait.png 0002-choice.png notes.png " ] || fail "shots: $(ls shots)"
[ "$(identify -format '%w %h' shots/0002-choice.png 2>&1)" = "640 480" ] || fail "the choice shot is not 640 x 480"

# without --start-menu the menu stays and the run ends at its deadline; without --choose the choice stays
"$REPLAY" --auto-click 500 --until 5000 --state game >out 2>err
grep -q '"menu_state":201' out || fail "the start menu was picked without --start-menu"
"$REPLAY" --auto-click 500 --start-menu --until 5000 --state game >out 2>err
grep -q '"select_run":1' out || fail "a choice was picked without --choose"

# a menu and choices placed at the far end of the coordinates: the pointer wraps, nothing overflows
printf '#start_menu 2147483647, 2147483647\r\n#set_text_area -2147483648,400,2147483647,2147483647\r\n#select3 {\r\na\r\nb\r\nc\r\n/\r\n/\r\n/}\r\n' \
    | iconv -f UTF-8 -t CP932 >game/txt/config.tda
"$REPLAY" --auto-click 100 --choose 1 --start-menu --until 3000 game >out 2>err || fail "far menu: $(cat err)"

# the demo to its end down each branch, with no message box
for pick in 1 2 3; do
    "$REPLAY" --auto-click 300 --choose $pick --start-menu --state "$REPO_ROOT/demo" >out 2>err || fail "demo $pick: $(cat err)"
    grep -q '^box' out && fail "demo $pick: $(grep '^box' out)"
    grep -q '^quit ' out || fail "demo $pick did not reach its end"
    flags | grep -Eq "(^|,)$((9 + pick))(,|$)" || fail "demo $pick: flag $((9 + pick)) not on: $(flags)"
done

passed "autoplay: all checks passed"
