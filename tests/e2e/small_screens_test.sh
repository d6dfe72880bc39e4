#!/bin/bash
# The reader's screens in windows smaller than the picture, 320 x 240 and 480 x 360: the menu, the
# settings, the history and the save screen each show every row of their page as a line of text of its
# own, none running into the next, and a click on a row's place in the window acts on that row.
source "$(dirname "$0")/lib.sh"

export XDG_CONFIG_HOME="$WORK/config" XDG_DATA_HOME="$WORK/data"
start_xvfb 1024x768x24
# four lines on one page, then no click-wait: its cursor would blink, and the picture never settle
play_story small '#g_load BG harbor.bgh' '#fade_in' '#set_text_wait 0' 'The rain fell on the harbour.;' \
    'Gulls cried over the boats.;' 'A lamp burned in the window.;' 'Someone was waiting.' '#halt'
differing=""
shot() { import -window "$WIN" "$WORK/$1.png" 2>/dev/null; }
still() { shot before && [ "$(identify -format '%wx%h' "$WORK/before.png")" = "$1" ] && sleep 0.3 &&
    shows "$WIN" "$WORK/before.png"; }
# lines SHOT [BASE]: the shot's lines of white text (bands.py), as "TOP BOTTOM" words in $bands
lines() { bands=($(python3 "$(dirname "$0")/bands.py" "$WORK/$1.png" ${2:+"$WORK/$2.png"})); }
# shows_lines N SHOT [BASE]: a new shot, a screen over the story (whose own four lines would count
# before a slow screen opens), with N lines, each no taller than the screens' text
shows_lines() {
    shot "$2" && [ "$(compare -metric AE "$WORK/before.png" "$WORK/$2.png" null: 2>&1)" != 0 ] &&
        lines "$2" "${3:-}" && [ ${#bands[@]} = $(($1 * 2)) ] || return 1
    for ((i = 0; i < ${#bands[@]}; i += 2)); do [ $((bands[i + 1] - bands[i])) -le 16 ] || return 1; done
}
# the middle of line I (from 0)
middle() { echo $(((bands[$1 * 2] + bands[$1 * 2 + 1]) / 2)); }
click_line() { xdotool mousemove --window "$WIN" $((W / 2)) "$(middle "$1")" click 1; }
told() { echo "${bands[*]}"; }
# changed_within TOP BOTTOM: new white text since the shot "pressed", and all of it between the two
changed_within() {
    shot changed && lines changed pressed && [ ${#bands[@]} -gt 0 ] || return 1
    for ((i = 0; i < ${#bands[@]}; i += 2)); do [ "${bands[i]}" -ge "$1" ] && [ "${bands[i + 1]}" -le "$2" ] || return 1; done
}
saved() { compgen -G "$XDG_DATA_HOME/veltrane/saves/*/$1.sav" >/dev/null; }

# size: the lines of the settings' first page (a value beside its label, or under it), the save
# screen's lines (its title and a label a slot), the settings line that holds the second row's value,
# the menu's lines (nine a page in the smaller window, all eleven in the other)
for case in "320 240 8 3 3 9" "480 360 11 4 1 11"; do
    read -r W H settings_lines save_lines value_line menu_lines <<<"$case"
    xdotool windowmove "$WIN" 0 0 windowsize "$WIN" "$W" "$H"
    poll 10 still "${W}x$H" || fail "at ${W}x$H the picture did not settle ($differing)"

    xdotool mousemove --window "$WIN" $((W / 2)) $((H / 2)) click 3
    poll 3 shows_lines "$menu_lines" menu || fail "at ${W}x$H the menu's rows are not $menu_lines lines: $(told)"
    click_line 2
    poll 3 shows_lines 4 history || fail "at ${W}x$H a click on the menu's third row did not show" \
        "the history's four lines: $(told)"
    xdotool key Escape
    poll 5 shows "$WIN" "$WORK/before.png" || fail "at ${W}x$H the history left $differing pixels changed"

    xdotool mousemove --window "$WIN" $((W / 2)) $((H / 2)) click 3
    poll 3 shows_lines "$menu_lines" menu || fail "at ${W}x$H the menu did not open again: $(told)"
    # the pointer on the sixth row first, so that only the click changes the menu beneath
    xdotool mousemove --window "$WIN" $((W / 2)) "$(middle 5)"
    sleep 0.3
    shot menu && lines menu && [ ${#bands[@]} = $((menu_lines * 2)) ] || fail "at ${W}x$H the menu changed: $(told)"
    click_line 5
    poll 3 shows_lines "$settings_lines" settings menu || fail "at ${W}x$H a click on the menu's sixth" \
        "row did not show the settings in $settings_lines lines: $(told)"
    # a click on the second row's label raises its value, and nothing else changes
    read -r top bottom <<<"$(told | cut -d' ' -f$((value_line * 2 + 1))-$((value_line * 2 + 2)))"
    xdotool mousemove --window "$WIN" $((W / 2)) "$(middle $((value_line == 1 ? 1 : 2)))"
    sleep 0.3
    shot pressed
    xdotool click 1
    poll 3 changed_within "$top" "$bottom" || fail "at ${W}x$H the click on the second row changed" \
        "the lines at $(told), not only its value at $top $bottom"
    xdotool key Escape Escape
    poll 5 shows "$WIN" "$WORK/before.png" || fail "at ${W}x$H the menu left $differing pixels changed"

    # an empty slot saves at once: the last slot shown on the first page
    xdotool key F2
    poll 3 shows_lines "$save_lines" slots || fail "at ${W}x$H the save screen is not $save_lines lines: $(told)"
    click_line $((save_lines - 1))
    poll 3 saved $((save_lines - 2)) || fail "at ${W}x$H a click on slot $((save_lines - 2)) did not save it"
    # the save's notice goes after two seconds
    poll 5 shows "$WIN" "$WORK/before.png" || fail "at ${W}x$H the save left $differing pixels changed"
    # every slot empty again: a used one shows its first lines as text too
    rm "$XDG_DATA_HOME"/veltrane/saves/*/*.sav
done
escape_ends "$WIN"
echo "small_screens: 2 passed, 0 failed"
