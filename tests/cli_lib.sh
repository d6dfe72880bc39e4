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

# passed MESSAGE: the end of a test: exit 1 after any failure, else MESSAGE.
passed() {
    [ $failures -eq 0 ] || exit 1
    echo "$1"
}
