# veltrane-convert run as authors run it: files and pipes, exit codes, and nothing written on a fault.

ARGS="CONVERT REPO_ROOT" source "$(dirname "$0")/../cli_lib.sh"
cd "$WORK" || exit 1

# to CP932 by default, file to file
printf '#wait\nあ〜\n' >a.utf8.txt
"$CONVERT" a.utf8.txt a.tda 2>err || fail "to-cp932 exited with $?: $(cat err)"
[ "$(od -An -tx1 a.tda | tr -d ' \n')" = "23776169740d0a82a081600d0a" ] || fail "to-cp932 wrote $(od -An -tx1 a.tda)"

# back to UTF-8 through pipes; the wave dash comes back as the fullwidth tilde CP932 has
out=$("$CONVERT" --to-utf8 - <a.tda) || fail "to-utf8 from stdin exited with $?"
[ "$out" = "$(printf '#wait\nあ～')" ] || fail "to-utf8 printed '$out'"
"$CONVERT" --to-utf8 a.tda - >b.txt || fail "to-utf8 to - exited with $?"
cmp -s b.txt <(printf '#wait\nあ～\n') || fail "to-utf8 to - wrote '$(cat b.txt)'"

# an emoji: its place on stderr, exit 1, and no output file, nor anything on stdout
printf 'ok\nはい😀\n' >bad.utf8.txt
said="bad.utf8.txt:2:3: U+1F600 😀 has no CP932 form"
exits 1 "$said" "$CONVERT" --to-cp932 bad.utf8.txt bad.tda
[ -e bad.tda ] && fail "emoji: the output file was written"
exits 1 "$said" "$CONVERT" bad.utf8.txt

# a byte that is not CP932
printf 'a\r\n\xff\r\n' >bad.tda
exits 1 "bad.tda:2:1: byte 0xFF is not CP932" "$CONVERT" --to-utf8 bad.tda

# past a hundred faults, only how many more
head -c 101 /dev/zero | tr '\0' '\377' >many.txt
"$CONVERT" many.txt many.tda 2>err
[ $? -eq 1 ] && [ "$(wc -l <err)" -eq 101 ] && [ "$(tail -n 1 err)" = "veltrane-convert: and 1 more error" ] ||
    fail "101 faults: $(wc -l <err) lines, the last '$(tail -n 1 err)'"

# a folder as the input
mkdir folder
exits 2 "veltrane-convert: cannot read folder" "$CONVERT" folder

# the output replaces its file only once it is whole: on a full disk (files limited to 1 KiB here)
# the file named, even the input itself, is left as it was, and no temporary file is left beside it
for i in $(seq 300); do echo "あいう"; done >long.utf8.txt
cp long.utf8.txt long.orig
chmod 640 a.tda
ln -s a.tda link.tda
listing=$(ls)
exits 1 "veltrane-convert: cannot write long.utf8.txt" limited 1 "$CONVERT" long.utf8.txt long.utf8.txt
cmp -s long.utf8.txt long.orig || fail "a failed write changed its input"
exits 1 "veltrane-convert: cannot write link.tda" limited 1 "$CONVERT" long.utf8.txt link.tda
[ "$(od -An -tx1 a.tda | tr -d ' \n')" = "23776169740d0a82a081600d0a" ] || fail "a failed write changed a.tda"
[ "$(ls)" = "$listing" ] || fail "a failed write left $(ls)"
# a file is replaced with its permissions, and through a symbolic link
"$CONVERT" long.utf8.txt link.tda || fail "writing through a link exited with $?"
[ -L link.tda ] && [ "$(stat -c %a a.tda)" = 640 ] && [ "$(wc -c <a.tda)" -eq 2400 ] ||
    fail "link.tda: $(ls -l link.tda a.tda)"

# the demo's sources give exactly the scripts that `make scripts` writes with iconv
for f in "$REPO_ROOT"/demo/txt/*.utf8.txt; do
    "$CONVERT" "$f" | cmp -s - "${f%.utf8.txt}.tda" || fail "$(basename "$f") does not give its .tda"
done

# help, and refused command lines
for help in -h --help; do
    "$CONVERT" $help >out 2>err || fail "$help exited with $?"
    grep -q '^usage: veltrane-convert' out || fail "$help printed '$(cat out)'"
done
for args in "" "--bogus a.utf8.txt" "a.utf8.txt b c" "--to-utf8 --to-cp932 a.utf8.txt" "missing.txt"; do
    # shellcheck disable=SC2086
    refused "$CONVERT" $args
done

passed "all veltrane-convert command-line checks passed"
