# Installation into a staging prefix: the programs, the demo with its script sources, the manuals
# with their examples, the desktop entry and the icon land where a desktop and an author look for
# them, and the installed programs run: they play, check and convert what was installed.

ARGS="BUILD REPO_ROOT" source "$(dirname "$0")/../cli_lib.sh"

# a prefix with a blank in it, staged under DESTDIR as a package build does
PREFIX="/opt/vel trane"
DESTDIR="$WORK/stage" cmake --install "$BUILD" --prefix "$PREFIX" >"$WORK/log" 2>&1 || fail "install: $(cat "$WORK/log")"
ROOT="$WORK/stage$PREFIX"
for f in share/applications/veltrane.desktop \
    share/icons/hicolor/32x32/apps/veltrane.png share/veltrane/demo/txt/config.tda share/veltrane/demo/gdat/Parts.bgh \
    share/doc/veltrane/manual.en.md share/doc/veltrane/manual.ja.md share/doc/veltrane/examples/first_story.utf8.txt \
    share/doc/veltrane/examples/errors/missing_label.utf8.txt; do
    [ -f "$ROOT/$f" ] || fail "$f not installed"
done
# the programs, and not the tests or benchmarks
programs="veltrane veltrane-convert veltrane-lint veltrane-new veltrane-replay"
[ "$(ls "$ROOT/bin" | xargs)" = "$programs" ] || fail "bin holds not just the programs: $(ls "$ROOT/bin")"
for program in $programs; do
    [ -f "$ROOT/bin/$program" ] && [ -x "$ROOT/bin/$program" ] || fail "$program is not installed as a program"
done
# every script of the installed demo comes with its source, which converts to it byte for byte
for script in "$ROOT"/share/veltrane/demo/txt/*.tda; do
    source=${script%.tda}.utf8.txt
    [ -f "$source" ] || { fail "no source for ${script##*/}"; continue; }
    "$ROOT/bin/veltrane-convert" "$source" "$WORK/converted.tda" && cmp -s "$script" "$WORK/converted.tda" ||
        fail "${source##*/} does not convert to the installed ${script##*/}"
done
[ "$(identify -format '%w %h' "$ROOT/share/icons/hicolor/32x32/apps/veltrane.png" 2>&1)" = "32 32" ] || fail "icon is not 32 x 32"

entry="$ROOT/share/applications/veltrane.desktop"
desktop-file-validate "$entry" || fail "the desktop entry does not validate"
# the desktop groups the window under the entry by the window's class, which is the title
grep -qx "StartupWMClass=$(<"$REPO_ROOT/data/title.txt")" "$entry" || fail "the desktop entry does not name the window's class"
grep -qx "Exec=$PREFIX/bin/veltrane $PREFIX/share/veltrane/demo" "$entry" || fail "Exec line: $(grep Exec "$entry")"

# the installed replay plays the installed demo to its end, with no message box
"$ROOT/bin/veltrane-replay" --auto-click 300 --choose 1 --start-menu "$ROOT/share/veltrane/demo" >"$WORK/out" 2>&1 ||
    fail "installed demo: $(cat "$WORK/out")"
grep -q '^box' "$WORK/out" && fail "installed demo showed a box: $(grep '^box' "$WORK/out")"
grep -q '^quit ' "$WORK/out" || fail "installed demo did not reach its end"

# the installed checker finds nothing to say about the installed demo
lint=$("$ROOT/bin/veltrane-lint" "$ROOT/share/veltrane/demo" 2>&1) || fail "lint of the installed demo: $lint"
[ -z "$lint" ] || fail "lint of the installed demo: $lint"

# the installed maker makes a new folder (what is in it: new_test.sh)
"$ROOT/bin/veltrane-new" "$WORK/new game" >"$WORK/out" 2>&1 || fail "veltrane-new: $(cat "$WORK/out")"

# the program's own command line
timeout -s KILL 20 "$ROOT/bin/veltrane" --help >/dev/null 2>&1 || fail "veltrane --help did not exit 0"
exits 2 "veltrane: cannot enter $WORK/no such game: No such file or directory" \
    timeout -s KILL 20 "$ROOT/bin/veltrane" "$WORK/no such game"
refused timeout -s KILL 20 "$ROOT/bin/veltrane" a b
for args in "--flag 256" "--flag x" "--script" "--frobnicate"; do
    # shellcheck disable=SC2086
    refused timeout -s KILL 20 "$ROOT/bin/veltrane" "$ROOT/share/veltrane/demo" $args
done

passed "install: all checks passed"
