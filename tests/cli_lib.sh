# Shared by the tests that run the programs from a shell: strict mode, a scratch folder ($WORK)
# removed at exit, and failures counted so that one run tells them all. Sourced, never run, once
# the test has checked its own arguments.

set -u -o pipefail
export LC_ALL=C.UTF-8
WORK=$(mktemp -d "${TMPDIR:-/tmp}/veltrane-test.XXXXXX")
trap 'rm -rf "$WORK"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# refused PROGRAM ARGS...: the command line is refused: exit 2, one line on stderr ($WORK/err),
# nothing on stdout.
refused() {
    "$@" >"$WORK/out" 2>"$WORK/err"
    local code=$?
    [ $code -eq 2 ] || fail "$* exited with $code, not 2"
    [ "$(wc -l <"$WORK/err")" -eq 1 ] || fail "$*: not one line on stderr: $(cat "$WORK/err")"
    [ ! -s "$WORK/out" ] || fail "$*: printed on stdout: $(cat "$WORK/out")"
}

# passed MESSAGE: the end of a test: exit 1 after any failure, else MESSAGE.
passed() {
    [ $failures -eq 0 ] || exit 1
    echo "$1"
}
