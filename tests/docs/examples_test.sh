# The manual's example scripts, each played as the first script of a game folder with the demo's
# pictures and sounds: an example plays to its end with no message box, an example under errors/
# shows exactly the one box its "## expect: CAPTION|TEXT" line names, and veltrane-lint passes
# every example that is not about an error. Each manual has a section for every command word and
# names every transition of the engine's tables, and tells every program and option.

ARGS="BUILD REPO_ROOT" source "$(dirname "$0")/../cli_lib.sh"

# game folder with the example as txt/config.tda, in Shift-JIS with CR LF
make_game() {
    rm -rf "$WORK/game"
    mkdir -p "$WORK/game/txt"
    for d in gdat wav MIDI; do [ -d "$REPO_ROOT/demo/$d" ] && cp -r "$REPO_ROOT/demo/$d" "$WORK/game/"; done
    sed 's/$/\r/' "$1" | iconv -f UTF-8 -t CP932 >"$WORK/game/txt/config.tda" || fail "$1 is not CP932-clean"
}

# the boxes of a run as "caption|text" lines
play() {
    "$BUILD/veltrane-replay" --auto-click 250 --choose 3 --start-menu --until 600000 "$WORK/game" >"$WORK/out" 2>&1
    sed -n 's/^box [0-9]* \([^\t]*\)\t\(.*\)$/\1|\2/p' "$WORK/out"
}

examples=("$REPO_ROOT"/docs/examples/*.utf8.txt "$REPO_ROOT"/docs/examples/errors/*.utf8.txt)
for example in "${examples[@]}"; do
    name=${example#"$REPO_ROOT"/docs/examples/}
    make_game "$example"
    expected=$(sed -n 's/^## expect: //p' "$example")
    boxes=$(play)
    [ "$boxes" = "$expected" ] || fail "$name: boxes '$boxes', expected '$expected'"
    grep -q '^quit ' "$WORK/out" || fail "$name did not end within 600 s of story time"
    if [ -z "$expected" ] && [ -x "$BUILD/veltrane-lint" ]; then
        lint=$("$BUILD/veltrane-lint" "$WORK/game" 2>&1) || fail "$name: lint failed: $lint"
        [ -z "$lint" ] || fail "$name: lint reports: $lint"
    fi
done
[ ${#examples[@]} -ge 30 ] || fail "only ${#examples[@]} examples found"

# each manual has a section for every command of the engine's table, names every transition, and
# tells every program and every option its --help lists
commands=$("$BUILD/veltrane-lint" --commands)
[ "$(grep -c '^#' <<<"$commands")" -ge 29 ] || fail "the command list is short: $commands"
for manual in "$REPO_ROOT"/docs/manual.en.md "$REPO_ROOT"/docs/manual.ja.md; do
    for word in $(sed -n 's/^#\([a-z_0-9]*\).*/\1/p' <<<"$commands"); do
        grep -qx "#### $word" "$manual" || fail "${manual##*/} has no section for #$word"
    done
    for effect in $(sed -n 's/^effects://p' <<<"$commands"); do
        grep -qw "$effect" "$manual" || fail "${manual##*/} does not name the transition $effect"
    done
    for program in veltrane veltrane-replay veltrane-lint veltrane-convert veltrane-new veltrane-pack; do
        usage=$(timeout -s KILL 20 "$BUILD/$program" --help) || fail "$program --help exited with $?"
        options=$(grep -o -- '--[a-z][a-z0-9-]*' <<<"$usage" | sort -u)
        [ -n "$options" ] || fail "$program --help lists no option"
        grep -q "^\*\*$program\*\*" "$manual" || fail "${manual##*/} has no paragraph on $program"
        for option in $options; do
            grep -qF -- "$option" "$manual" || fail "${manual##*/} does not tell $program $option"
        done
    done
done

passed "examples: ${#examples[@]} played as the manual says"
