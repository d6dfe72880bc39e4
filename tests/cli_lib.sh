# Shared by the tests that run the programs from a shell: their arguments, strict mode, a scratch
# folder ($WORK) removed at exit, and failures counted so that one run tells them all. Sourced,
# never run, with ARGS naming the variables that take the test's arguments, all of them paths.

set -u -o pipefail
export LC_ALL=C.UTF-8
# the sanitizer build's list of the leaks it was told to leave unreported is not the programs' output
export LSAN_OPTIONS=${LSAN_OPTIONS:+$LSAN_OPTIONS:}print_suppressions=0
read -ra names <<<"$ARGS"
[ $# -eq ${#names[@]} ] || { echo "usage: $0 $ARGS" >&2; exit 2; }
for i in "${!names[@]}"; do printf -v "${names[i]}" %s "$(realpath "${@:i+1:1}")"; done
WORK=$(mktemp -d "${TMPDIR:-/tmp}/veltrane-test.XXXXXX")
trap 'rm -rf "$WORK"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# limited KIB PROGRAM ARGS...: runs the program with files limited to KIB KiB and SIGXFSZ at its
# default, as a shell leaves it: a write past the limit kills a program that does not ignore it.
limited() { (ulimit -f "$1" && exec env --default-signal=XFSZ "${@:2}"); }

# poll SECONDS COMMAND...: runs the command every 0.1 s until it succeeds; false on timeout.
poll() {
    local deadline=$((SECONDS + $1))
    shift
    while ! "$@"; do
        [ "$SECONDS" -ge "$deadline" ] && return 1
        sleep 0.1
    done
}

# True while PID runs (a child that has exited but is not yet reaped counts as ended).
running() {
    local state
    state=$(awk '{print $3}' "/proc/$1/stat" 2>/dev/null) || return 1
    [ "$state" != Z ]
}

not_running() { ! running "$1"; }

# reap SIGNAL [PID]: sends the signal to a child (the game started last if none) and waits for its end.
reap() {
    kill -"$1" "${2:-$GAME_PID}" 2>/dev/null
    wait "${2:-$GAME_PID}" 2>/dev/null
}

# passed MESSAGE: the end of a test: exit 1 after any failure, else MESSAGE.
passed() {
    [ $failures -eq 0 ] || exit 1
    echo "$1"
}

# play_cases FILE: plays a file of command-line cases in $WORK. Blank lines and lines starting with
# '#' are skipped; "$ SHELL" runs a line of set-up in this shell (a cd or a variable stays), and
# must succeed; "run COMMAND" runs a command line (shell words, stdin /dev/null unless it redirects
# it) in a subshell, and the lines after it tell its result: "exit N" its exit code (0 unless
# given), "out TEXT" and "out~ REGEX" the next line of stdout, exactly or matching the extended
# regular expression, "out ..." any lines after; "err" the same for stderr. Both streams must hold
# just the lines told (none: nothing) and end with a line feed.
play_cases() {
    local line at=0 where="" cmd="" code=0 outs=() errs=()
    cd "$WORK" || return
    while IFS= read -r -u 3 line || [ -n "$line" ]; do
        at=$((at + 1))
        case $line in
        '' | '#'*) ;;
        '$ '*) end_case && { eval "${line#??}" || fail "$1:$at: set-up failed: $line"; } ;;
        'run '*) end_case && where="$1:$at: ${line#run }" cmd=${line#run } code=0 outs=() errs=() ;;
        'exit '*) code=${line#exit } ;;
        out*) outs+=("${line#out}") ;;
        err*) errs+=("${line#err}") ;;
        *) fail "$1:$at: not a case line: $line" ;;
        esac
    done 3<"$1"
    end_case
    [ "$at" -gt 0 ] || fail "$1 holds no cases"
}

# end_case: runs the case read so far, if any, and checks what it did (play_cases' locals).
end_case() {
    [ -n "$cmd" ] || return 0
    (eval "$cmd") </dev/null >"$WORK/.out" 2>"$WORK/.err"
    local got=$?
    [ "$got" -eq "$code" ] || fail "$where: exited with $got, not $code: $(head -c 2000 "$WORK/.err")"
    lines_are stdout "$WORK/.out" "${outs[@]}"
    lines_are stderr "$WORK/.err" "${errs[@]}"
    cmd=""
}

# lines_are NAME FILE WANT...: the file's lines are as told (" TEXT", "~ REGEX", " ..." ends).
lines_are() {
    local name=$1 file=$2 lines want i=0
    shift 2
    mapfile -t lines <"$file"
    [ ! -s "$file" ] || [ -z "$(tail -c 1 "$file")" ] || fail "$where: $name does not end with a line feed"
    for want; do
        [ "$want" = " ..." ] && return
        { [ $i -lt ${#lines[@]} ] && case $want in
            '~ '*) [[ ${lines[i]} =~ ${want#??} ]] ;;
            *) [ "${lines[i]}" = "${want# }" ] ;;
            esac; } || { fail "$where: $name line $((i + 1)) is '${lines[i]-(none)}', not '$want'"; return; }
        i=$((i + 1))
    done
    [ $i -eq ${#lines[@]} ] || fail "$where: more on $name: $(printf '%s\n' "${lines[@]:i}" | head -c 2000)"
}
