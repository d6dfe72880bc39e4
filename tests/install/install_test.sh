# Installation into a staging prefix, with a blank in it, staged under DESTDIR as a package build
# does; what landed where and how the installed programs run: tests/cli/installed.txt.

ARGS="BUILD REPO_ROOT" source "$(dirname "$0")/../cli_lib.sh"
PREFIX="/opt/vel trane"
DESTDIR="$WORK/stage" cmake --install "$BUILD" --prefix "$PREFIX" >"$WORK/log" 2>&1 || fail "install: $(cat "$WORK/log")"
ROOT="$WORK/stage$PREFIX"
play_cases "$REPO_ROOT/tests/cli/installed.txt"
passed "install: all checks passed"
