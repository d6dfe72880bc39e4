#!/bin/bash
# Live editing in the real window (--watch): the script of the page being read, saved as editors save it
# (a new file renamed over the old), shows its new text within a second, and at the same page: once the
# notice goes, the window shows exactly what the new script shows at that page played from its start. A
# save with an error is told on the terminal, and the window keeps its picture. --watch is refused before
# any window opens where there is no txt/ to watch, or no veltrane-lint to check with.
source "$(dirname "$0")/lib.sh"

export XDG_CONFIG_HOME="$WORK/config" XDG_DATA_HOME="$WORK/data"
start_xvfb
# the second page ends at a halt, whose picture settles (a click-wait's cursor blinks); its text lies
# low in the picture, clear of the notice's plate
story() { printf '%s\r\n' '#set_text_wait 0' '#set_text_area 40, 240, 600, 460' '一ページ目。#wait' '#page' "$1#halt"; }
# a script in CP932 with this text on its second page, written anew and renamed over the old one
save() {
    story "$1" | iconv -f UTF-8 -t CP932 >"$GAME_DIR/txt/config.new" &&
        mv -f "$GAME_DIR/txt/config.new" "$GAME_DIR/txt/config.tda"
}
differing=""
shot() { import -window "$WIN" "$WORK/$1.png" 2>/dev/null; }
settled() { shot "$1" && sleep 0.3 && shows "$WIN" "$WORK/$1.png"; }
# a page's first four characters, where the first page and the second differ and no cursor blinks
first_chars() { compare -metric AE "$WORK/$1.png[80x26+40+240]" "$WORK/$2.png[80x26+40+240]" null: 2>&1; }
lit() { shot first && [ "$(convert "$WORK/first.png" -crop 80x26+40+240 -format '%[fx:maxima > 0.5]' info:)" = 1 ]; }
turned() { settled "$1" && [ "$(first_chars first "$1")" != 0 ]; }
# the second page: the first one's text shown, a click once its wait has begun, then the second's
# picture once it stands still (a click there would end the story, at its halt)
second_page() {
    poll 10 lit || fail "the first page's text was not shown"
    sleep 0.5
    xdotool windowfocus --sync "$WIN" key space
    poll 10 turned "$1" || fail "the second page did not come, or did not settle ($differing)"
}
# the text's band of the picture differs from the one in PICTURE
text_changed() {
    shot now && [ "$(compare -metric AE "$WORK/$1.png[600x60+20+230]" "$WORK/now.png[600x60+20+230]" null: 2>&1)" != 0 ]
}

# the notice's plate at its corner, or not
noticed() { shot now && convert "$WORK/now.png" -crop 1x1+9+13 txt:- | grep -qi '#181828'; }
no_notice() { ! noticed; }

make_game_folder edit
# the story here is written as the CP932 script alone: a UTF-8 source beside it would be one it differs from
rm -f "$GAME_DIR"/txt/*.utf8.txt
save '春の朝。'
start_game "$GAME_DIR" edit --watch
poll 30 has_window || fail "no window within 30 s"
WIN=$(windows_named "$TITLE")
second_page before
# the new text, saved: within a second the window shows it
started=$(date +%s%N)
save '夏の夜、遠くで花火が鳴った。'
until text_changed before; do
    [ $(($(date +%s%N) - started)) -lt 1000000000 ] || fail "the saved text was not shown within a second"
    sleep 0.05
done
shown_ms=$((($(date +%s%N) - started) / 1000000))
poll 5 no_notice || fail "the notice stayed"
poll 10 settled reloaded || fail "the page did not settle after the reload ($differing)"
grep -qE '^(veltrane: |txt/)' "$WORK/edit.log" && fail "the reload told the terminal of a fault"

# a save with an error: told on the terminal as veltrane-lint tells it, and the picture stays
save '#wiat '
poll 5 says edit 'txt/config.tda:5: error: unknown command #wiat (did you mean #wait?)' ||
    fail "the error was not told on the terminal"
poll 2 noticed || fail "the error was not told in a notice"
poll 5 shows "$WIN" "$WORK/reloaded.png" || fail "after a save with an error the picture changed ($differing pixels)"
escape_ends "$WIN"

# the same page of the new script, played from its start, is the reloaded page exactly
save '夏の夜、遠くで花火が鳴った。'
play_story edit
second_page fresh
shows "$WIN" "$WORK/reloaded.png" || fail "the reloaded page differs from the new script's own by $differing pixels"
escape_ends "$WIN"

mkdir -p "$WORK/bare"
start_game "$WORK/bare" bare --watch
wait_exit "$GAME_PID" 10 "the program, watching a folder without txt/," 2
says bare 'veltrane: --watch: cannot watch txt/: No such file or directory' || fail "a missing txt/ was not told"
if ! PATH=/usr/bin:/bin command -v veltrane-lint >/dev/null; then
    mkdir -p "$WORK/alone" && cp "$VELTRANE" "$WORK/alone/veltrane"
    VELTRANE="$WORK/alone/veltrane" PATH=/usr/bin:/bin start_game "$GAME_DIR" alone --watch
    wait_exit "$GAME_PID" 10 "the program, with no veltrane-lint," 2
    says alone 'veltrane: --watch: each script saved is checked with veltrane-lint, which is neither beside veltrane nor on PATH' ||
        fail "a missing veltrane-lint was not told"
fi
has_window && fail "a refused --watch opened a window"
echo "live_edit: shown ${shown_ms} ms after the save; 5 passed, 0 failed"
