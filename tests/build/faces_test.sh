#!/usr/bin/env bash
# What each floor may see of the others. The platform's private headers are out of reach of the
# engine and the tools: with the include flags the build gives their sources, a file that includes
# backend.h or window_internal.h does not compile, no private header is found under any of its
# path's tails, and the public face compiles; the platform's own unit tests, which link
# veltrane_platform_internals, do reach them. The reader stands above app: app's flags find none of
# its headers, and an app archive that calls a reader routine fails the layer check, which names it.
ARGS="BUILD ROOT" source "$(dirname "$0")/../cli_lib.sh"
platform=$ROOT/src/platform

# include_flags REGEX: the distinct include flags of the objects whose path matches, one set a line
include_flags() {
    python3 - "$BUILD/compile_commands.json" "$1" <<'EOF'
import json, re, shlex, sys
sets = set()
for entry in json.load(open(sys.argv[1])):
    words = shlex.split(entry["command"])
    if re.match(sys.argv[2], words[words.index("-o") + 1]):
        sets.add(shlex.join(w for i, w in enumerate(words)
                            if w.startswith("-I") or w == "-isystem" or words[i - 1] == "-isystem"))
print("\n".join(sorted(sets)))
EOF
}
# the engine's layers, its program and the tools, by their objects
engine=$(include_flags '(src|tools/[a-z]+)/CMakeFiles/(?!veltrane_platform\.dir)')
unit=$(include_flags 'tests/CMakeFiles/veltrane-unit-tests\.dir/')
[ -n "$engine" ] && [ -n "$unit" ] || { echo "FAIL: no compile commands in $BUILD" >&2; exit 1; }

# every private header under each tail of its path: view.h, window/view.h, platform/window/view.h...
while read -r header; do
    tail=${header#"$ROOT/"}
    while :; do
        printf '#if __has_include("%s")\n#include "%s"\n#endif\n' "$tail" "$tail"
        [ "$tail" = "${tail#*/}" ] && break
        tail=${tail#*/}
    done
done < <(find "$platform" -name '*.h' -not -path "$platform/include/*") >"$WORK/probe.cpp"

# reached FLAGS: the private headers the probe finds with these flags
reached() {
    eval "set -- $1"
    c++ -std=c++20 -M -MG "$@" "$WORK/probe.cpp" | tr ' \\' '\n\n' | grep "^$platform/" |
        grep -v "^$platform/include/" | sort -u
}
while read -r flags; do
    found=$(reached "$flags")
    [ -z "$found" ] || fail "the engine's flags $flags reach private headers: $found"
done <<<"$engine"
while read -r flags; do
    reached "$flags" | grep -q "/window/window_internal.h$" || fail "the unit tests' flags $flags miss window_internal.h"
done <<<"$unit"

# compiles FLAGS LINES...: a source of these lines compiles with the flags (its errors in $WORK/err)
compiles() {
    local flags=$1
    shift
    printf '%s\n' "$@" 'int main() { return 0; }' >"$WORK/file.cpp"
    eval "set -- $flags"
    c++ -std=c++20 -fsyntax-only "$@" "$WORK/file.cpp" 2>"$WORK/err"
}
core=$(include_flags 'src/CMakeFiles/veltrane_core\.dir/')
for header in backend.h window_internal.h; do
    compiles "$core" "#include \"$header\"" && fail "an engine file including $header compiled"
    grep -q "$header: No such file" "$WORK/err" || fail "including $header failed otherwise: $(cat "$WORK/err")"
done
while read -r flags; do
    compiles "$flags" '#include "platform.h"' '#include "headless.h"' '#include "sdl.h"' '#include "cp932.h"' \
        '#include "midi_length.h"' || fail "the public face does not compile with $flags: $(cat "$WORK/err")"
done < <(grep -F -- "-I$platform/include" <<<"$engine")

app=$(include_flags 'src/CMakeFiles/veltrane_app\.dir/')
for header in reader.h keys.h save_format.h; do
    compiles "$app" "#include \"$header\"" && fail "an app file including the reader's $header compiled"
done
printf 'void Reader_tick();\nvoid Up() { Reader_tick(); }\n' >"$WORK/up.cpp"
c++ -c "$WORK/up.cpp" -o "$WORK/up.o" || fail "cannot compile the upward call"
cp "$BUILD/src/libveltrane_app.a" "$WORK/libapp.a" && ar rs "$WORK/libapp.a" "$WORK/up.o" 2>/dev/null
sed "s#^app [^ ]*#app $WORK/libapp.a#" "$BUILD/layers.txt" >"$WORK/layers.txt"
out=$(bash "$ROOT/tools/check_layers.sh" "$WORK/layers.txt") && fail "an app call into the reader passed the layer check"
grep -qx 'layer app calls up into reader: Reader_tick()' <<<"$out" || fail "the upward call is not named: $out"
passed "faces: private headers out of the engine's reach, public ones in it, the reader out of app's"
