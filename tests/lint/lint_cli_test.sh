# veltrane-lint run as authors run it: the report on stdout, the exit code, and refused command lines.

ARGS="LINT REPO_ROOT" source "$(dirname "$0")/../cli_lib.sh"

# expect CODE STDOUT ARGS...: the exit code and the whole of stdout
expect() {
    local code=$1 out=$2
    shift 2
    "$LINT" "$@" >"$WORK/out" 2>"$WORK/err"
    local got=$?
    [ $got -eq "$code" ] || fail "$*: exited with $got, not $code"
    [ "$(cat "$WORK/out")" = "$out" ] || fail "$*: printed '$(cat "$WORK/out")', not '$out'"
}

expect 0 "" "$REPO_ROOT/demo"
[ -s "$WORK/err" ] && fail "demo: printed on stderr: $(cat "$WORK/err")"

mkdir -p "$WORK/game/txt"
# the demo's pictures, with those the engine loads by name
cp -r "$REPO_ROOT/demo/gdat" "$WORK/game/"
printf '#wait\r\n\xb1\r\n' >"$WORK/game/txt/config.tda"
expect 0 "txt/config.tda:2: warning: half-width katakana 0xB1 is drawn together with the byte after it" "$WORK/game"

# the folder may be given as a relative path, and the report's names stay relative to it (each run in
# this shell, not a subshell, so that its failures count)
printf '## 第一章\r\n#dealy 100\r\n' | iconv -f UTF-8 -t CP932 >"$WORK/game/txt/config.tda"
cd "$WORK" && expect 1 "txt/config.tda:2: error: unknown command #dealy (did you mean #delay?)" game

# no folder named: the current one
cd "$WORK/game" && expect 1 "txt/config.tda:2: error: unknown command #dealy (did you mean #delay?)"
for help in -h --help; do
    "$LINT" $help >"$WORK/out" 2>"$WORK/err" || fail "$help exited with $?"
    grep -q '^usage: veltrane-lint \[GAME_DIR\]' "$WORK/out" || fail "$help printed no usage: $(cat "$WORK/out")"
done

for args in "-x" "$WORK/no-such-game" "$WORK/game $WORK/game"; do
    # shellcheck disable=SC2086
    expect 2 "" $args
    [ -s "$WORK/err" ] || fail "'$args': nothing on stderr"
done

passed "all lint command-line checks passed"
