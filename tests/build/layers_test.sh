#!/usr/bin/env bash
# The layer check on two small layers: clean when the upper one calls down, and failing with the
# call and the include named when the lower one reaches up.
ARGS="ROOT" source "$(dirname "$0")/../cli_lib.sh"
set -e
check=$ROOT/tools/check_layers.sh
mkdir -p "$WORK/src/low" "$WORK/src/high"
echo 'int Low();' >"$WORK/src/low/low.h"
echo 'int High();' >"$WORK/src/high/high.h"
echo '#include "low.h"
int High() { return Low() + 1; }' >"$WORK/src/high/high.cpp"

build() { # the lower layer's source, then both archives and the layer list
    echo "$1" >"$WORK/src/low/low.cpp"
    for layer in low high; do
        c++ -c -I"$WORK/src/low" -I"$WORK/src/high" "$WORK/src/$layer/$layer.cpp" -o "$WORK/$layer.o"
        rm -f "$WORK/lib$layer.a" && ar rcs "$WORK/lib$layer.a" "$WORK/$layer.o"
    done
    printf 'low %s\nhigh %s low\n' "$WORK/liblow.a" "$WORK/libhigh.a" >"$WORK/layers.txt"
}

build 'int Low() { return 1; }'
bash "$check" "$WORK/layers.txt" "$WORK/src" || fail "a clean pair of layers was refused"

build '#include "high.h"
int Low() { return High(); }'
out=$(bash "$check" "$WORK/layers.txt" "$WORK/src") && fail "an upward call passed the check"
grep -qx 'layer low calls up into high: High()' <<<"$out" || fail "call not named: $out"
grep -qx "layer low includes high's high.h: low/low.cpp" <<<"$out" || fail "include not named: $out"
passed "layer check: 2 passed, 0 failed"
