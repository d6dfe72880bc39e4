#!/usr/bin/env bash
# The layer check on two small layers: clean when the upper one calls down, and failing with the
# call and the include named when the lower one reaches up.
set -euo pipefail
check=$1/tools/check_layers.sh
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
mkdir -p "$dir/src/low" "$dir/src/high"
echo 'int Low();' >"$dir/src/low/low.h"
echo 'int High();' >"$dir/src/high/high.h"
echo '#include "low.h"
int High() { return Low() + 1; }' >"$dir/src/high/high.cpp"

build() { # the lower layer's source, then both archives and the layer list
    echo "$1" >"$dir/src/low/low.cpp"
    for layer in low high; do
        c++ -c -I"$dir/src/low" -I"$dir/src/high" "$dir/src/$layer/$layer.cpp" -o "$dir/$layer.o"
        rm -f "$dir/lib$layer.a" && ar rcs "$dir/lib$layer.a" "$dir/$layer.o"
    done
    printf 'low %s\nhigh %s low\n' "$dir/liblow.a" "$dir/libhigh.a" >"$dir/layers.txt"
}

build 'int Low() { return 1; }'
bash "$check" "$dir/layers.txt" "$dir/src" || { echo "FAIL: a clean pair of layers was refused"; exit 1; }

build '#include "high.h"
int Low() { return High(); }'
if out=$(bash "$check" "$dir/layers.txt" "$dir/src"); then
    echo "FAIL: an upward call passed the check"; exit 1
fi
grep -qx 'layer low calls up into high: High()' <<<"$out" || { echo "FAIL: call not named: $out"; exit 1; }
grep -qx "layer low includes high's high.h: low/low.cpp" <<<"$out" || { echo "FAIL: include not named: $out"; exit 1; }
echo "layer check: 2 passed, 0 failed"
