#!/usr/bin/env bash
# Checks that the engine's layers call and include only downwards.
#   check_layers.sh LAYERS [SRC_DIR]
# LAYERS has one line a layer, lowest first: "NAME ARCHIVE [LAYER ...]", the layers it links. A
# symbol that a layer's archive uses must be defined by the layer itself, by a layer it reaches
# through its links, or outside the engine. With SRC_DIR, a source of SRC_DIR/NAME may include
# only headers of the layers it reaches. Game_end is the one call allowed upward.
# Prints each upward call or include and exits 1 when there is one.
set -euo pipefail
export LC_ALL=C
layers_file=$1
src_dir=${2:-}
allowed_up='_Z8Game_endv'

declare -A archive deps reach
order=()
while read -r name file rest; do
    [ -n "$name" ] || continue
    order+=("$name")
    archive[$name]=$file
    deps[$name]=$rest
done <"$layers_file"

# the layers each layer reaches, itself included
for name in "${order[@]}"; do
    seen=" $name "
    todo=(${deps[$name]})
    while [ ${#todo[@]} -gt 0 ]; do
        next=${todo[0]}
        todo=("${todo[@]:1}")
        case "$seen" in *" $next "*) continue ;; esac
        seen+="$next "
        todo+=(${deps[$next]:-})
    done
    reach[$name]=$seen
done

# the layer that defines each symbol (strong definitions only: inline code is everyone's)
owners=$(mktemp)
trap 'rm -f "$owners"' EXIT
for name in "${order[@]}"; do
    nm -g --defined-only --format=posix "${archive[$name]}" 2>/dev/null |
        awk -v layer="$name" 'NF >= 2 && $2 ~ /^[TDBRC]$/ { print $1, layer }'
done | sort -u >"$owners"

bad=0
for name in "${order[@]}"; do
    while read -r symbol owner; do
        [ "$symbol" = "$allowed_up" ] && continue
        case "${reach[$name]}" in *" $owner "*) continue ;; esac
        echo "layer $name calls up into $owner: $(echo "$symbol" | c++filt)"
        bad=1
    done < <(nm -g --undefined-only --format=posix "${archive[$name]}" 2>/dev/null | awk '{ print $1 }' |
        sort -u | join - "$owners")
done

if [ -n "$src_dir" ]; then
    for name in "${order[@]}"; do
        [ -d "$src_dir/$name" ] || continue
        while IFS=: read -r file header; do
            home=""
            for other in "${order[@]}"; do
                [ -f "$src_dir/$other/$header" ] && home=$other
            done
            [ -z "$home" ] && continue # a generated header or one from outside the engine
            case "${reach[$name]}" in *" $home "*) continue ;; esac
            echo "layer $name includes $home's $header: ${file#$src_dir/}"
            bad=1
        done < <(grep -rHoE '^#include "[^"]+"' "$src_dir/$name" --include='*.cpp' --include='*.h' |
            sed -E 's/#include "(.*)"/\1/; s#^(.*):(.*/)?([^/]+)$#\1:\3#')
    done
fi
exit $bad
