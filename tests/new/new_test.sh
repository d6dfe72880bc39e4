# veltrane-new as an author runs it: the new folder has every picture at its size, a script that is
# its UTF-8 source converted, checks clean and plays to its end down each branch of its choice; a
# folder that is not new and empty is refused untouched, and a run that fails leaves nothing.

ARGS="BUILD" source "$(dirname "$0")/../cli_lib.sh"
cd "$WORK"

"$BUILD/veltrane-new" --help | grep -q '^usage: veltrane-new' || fail "--help printed no usage"
for args in "" "--title" "--frob x" "a b"; do
    # shellcheck disable=SC2086
    refused "$BUILD/veltrane-new" $args
done

# the folders above it are made too
"$BUILD/veltrane-new" games/first >out 2>err || fail "veltrane-new: $(cat err)"
game=games/first
for f in Parts:75x25 back_black:640x480 start:600x200 first:640x480; do
    size=$(identify -format '%wx%h' "bmp:$game/gdat/${f%%:*}.bgh" 2>&1)
    [ "$size" = "${f#*:}" ] || fail "gdat/${f%%:*}.bgh is $size, not ${f#*:}"
done
[ -s "$game/README.txt" ] && grep -q 'veltrane-convert txt/config.utf8.txt txt/config.tda' "$game/README.txt" ||
    fail "README.txt does not tell how to convert"
sed 's/$/\r/' "$game/txt/config.utf8.txt" | iconv -f UTF-8 -t CP932 | cmp -s - "$game/txt/config.tda" ||
    fail "txt/config.tda is not txt/config.utf8.txt in CP932 with CR LF"

lint=$("$BUILD/veltrane-lint" "$game" 2>&1) || fail "lint: $lint"
[ -z "$lint" ] || fail "lint reports: $lint"
for pick in 1 2 3; do
    "$BUILD/veltrane-replay" --auto-click 300 --choose $pick --start-menu --state "$game" >out 2>err || fail "play $pick: $(cat err)"
    grep -q '^box' out && fail "play $pick showed a box: $(grep '^box' out)"
    grep -q '^quit ' out || fail "play $pick did not reach the end"
    tail -n 1 out | grep -q "\"flags_on\":\\[$pick\\]" || fail "play $pick: $(tail -n 1 out)"
done

# a title is drawn on the start menu; one CP932 cannot draw is refused before anything is made
"$BUILD/veltrane-new" --title "港の物語" titled >out 2>err || fail "--title: $(cat err)"
cmp -s titled/gdat/start.bgh "$game/gdat/start.bgh" && fail "the title is not on the start menu"
cmp -s titled/gdat/first.bgh "$game/gdat/first.bgh" || fail "the background depends on the title"
exits 2 "veltrane-new: --title:1:2: U+1F600 😀 has no CP932 form" "$BUILD/veltrane-new" --title "星😀" emoji
[ -e emoji ] && fail "a title with an emoji made $(find emoji)"
# a folder's name that CP932 cannot draw still makes its folder: the title keeps what CP932 has, with
# look-alikes for their twins, and is Untitled when nothing is left
for pair in café:caf 星〜:星～ $'a\xffb:ab' 😀:Untitled; do
    name=${pair%%:*} title=${pair#*:}
    "$BUILD/veltrane-new" "$name" >out 2>err || fail "veltrane-new $name: $(cat err)"
    "$BUILD/veltrane-new" --title "$title" "titled-$title" >out 2>err || fail "--title $title: $(cat err)"
    cmp -s "$name/gdat/start.bgh" "titled-$title/gdat/start.bgh" || fail "$name: the title is not $title"
done

# never over an author's files: a folder with anything in it, or a file, is refused untouched
before=$(find "$game" -type f -exec md5sum {} + | sort)
echo "my notes" >"$game/notes.txt"
exits 2 "veltrane-new: $game is not empty: name a new folder (veltrane-new never writes over files)" \
    "$BUILD/veltrane-new" "$game"
[ "$(find "$game" -type f ! -name notes.txt -exec md5sum {} + | sort)" = "$before" ] || fail "the folder in use was changed"
touch plain-file
exits 2 "veltrane-new: plain-file exists and is not a folder" "$BUILD/veltrane-new" plain-file
mkdir empty
"$BUILD/veltrane-new" empty >out 2>err && [ -s empty/txt/config.tda ] || fail "an empty folder was not used: $(cat err)"

# a run that cannot finish takes back what it made: here the files may not pass 200 KiB, so the
# cursor is written and the first 640 x 480 picture is not (SIGXFSZ at its default, as a shell leaves it)
exits 1 "veltrane-new: cannot make cut/gdat/back_black.bgh: File too large; nothing was kept" \
    limited 200 "$BUILD/veltrane-new" cut
[ -e cut ] && fail "a failed run left $(find cut)"
exits 1 "veltrane-new: cannot make plain-file/sub: Not a directory; nothing was kept" "$BUILD/veltrane-new" plain-file/sub
# the folders above it that the run made go too, and never one that was there before
mkdir above
exits 1 "veltrane-new: cannot make above/a/b/cut/gdat/back_black.bgh: File too large; nothing was kept" \
    limited 200 "$BUILD/veltrane-new" above/a/b/cut
[ -z "$(ls above)" ] || fail "a failed run left $(find above)"

passed "veltrane-new: all checks passed"
