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
