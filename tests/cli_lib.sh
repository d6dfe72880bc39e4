# Shared by the tests that run the programs from a shell: their arguments, strict mode, a scratch
# folder ($WORK) removed at exit, and failures counted so that one run tells them all. Sourced,
# never run, with ARGS naming the variables that take the test's arguments, all of them paths.

set -u -o pipefail
export LC_ALL=C.UTF-8
read -ra names <<<"$ARGS"
[ $# -eq ${#names[@]} ] || { echo "usage: $0 $ARGS" >&2; exit 2; }
for i in "${!names[@]}"; do printf -v "${names[i]}" %s "$(realpath "${@:i+1:1}")"; done
WORK=$(mktemp -d "${TMPDIR:-/tmp}/veltrane-test.XXXXXX")
trap 'rm -rf "$WORK"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# exits CODE MESSAGE PROGRAM ARGS...: the run ends with CODE, prints nothing on stdout, and says
# MESSAGE (any one line if empty) as the one line on stderr ($WORK/err).
exits() {
    local code=$1 message=$2
    shift 2
    "$@" >"$WORK/out" 2>"$WORK/err"
    local got=$?
    [ $got -eq "$code" ] || fail "$* exited with $got, not $code"
    [ "$(wc -l <"$WORK/err")" -eq 1 ] || fail "$*: not one line on stderr: $(cat "$WORK/err")"
    [ -z "$message" ] || [ "$(cat "$WORK/err")" = "$message" ] || fail "$*: stderr is not '$message': $(cat "$WORK/err")"
    [ ! -s "$WORK/out" ] || fail "$*: printed on stdout: $(cat "$WORK/out")"
}

# refused PROGRAM ARGS...: the command line is refused with exit 2.
refused() { exits 2 "" "$@"; }

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

# passed MESSAGE: the end of a test: exit 1 after any failure, else MESSAGE.
passed() {
    [ $failures -eq 0 ] || exit 1
    echo "$1"
}
