#!/usr/bin/env bash
# Builds the two C libraries the browser build links, FreeType and zlib, with emcc from Debian's own
# source packages (the versions the desktop build links), into DEPS/include and DEPS/lib.
# usage: tools/web/build-deps.sh DEPS
set -euo pipefail
deps=$(realpath -m "${1:?usage: build-deps.sh DEPS}")
here=$(cd "$(dirname "$0")" && pwd)
[ -f "$deps/lib/libfreetype.a" ] && [ -f "$deps/licences/zlib.txt" ] && [ -f "$deps/synth/synth.js" ] && exit 0
# emcc's optimiser needs Debian's acorn, which a newer node finds only on this path
export NODE_PATH=/usr/share/nodejs
src="$deps/src"
mkdir -p "$src"
cd "$src"
if ! ls -d freetype-*/ zlib-*/ >/dev/null 2>&1; then
    apt-get source -q freetype zlib=1:1.2.13.dfsg-1 >/dev/null
fi
ft=$(ls -d freetype-*/ | head -1)
zl=$(ls -d zlib-*/ | head -1)

# zlib's own CMake file names a Windows resource the Debian source leaves out: its sources directly
mkdir -p "$deps/lib" "$deps/include" zlib-build
cp "$zl/zconf.h.in" zlib-build/zconf.h
for c in adler32 crc32 deflate inflate inftrees inffast trees zutil compress uncompr; do
    emcc -Oz -Izlib-build -c "$zl/$c.c" -o "zlib-build/$c.o"
done
emar rcs "$deps/lib/libz.a" zlib-build/*.o
cp "$zl/zlib.h" zlib-build/zconf.h "$deps/include/"

# FreeType on that zlib (its own copy would clash), with only the modules TrueType faces need (our
# module list), the rest of its options as Debian builds them, so that glyphs come out as on the desktop
emcmake cmake -S "$ft" -B ft-build -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$deps" \
    -DFT_REQUIRE_ZLIB=ON -DZLIB_LIBRARY="$deps/lib/libz.a" -DZLIB_INCLUDE_DIR="$deps/include" -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON -DFT_DISABLE_HARFBUZZ=ON \
    -DFT_DISABLE_BROTLI=ON -DCMAKE_C_FLAGS="-Oz -DFT_CONFIG_MODULES_H='<ftmodule_web.h>' -I$here" >/dev/null
cmake --build ft-build >/dev/null
cmake --install ft-build >/dev/null

# the licence texts the published page ships beside the code built from these
mkdir -p "$deps/licences"
cp "$ft/docs/FTL.TXT" "$deps/licences/freetype.txt"
sed -n '/Copyright (C)/,/\*\//p' "$zl/zlib.h" | sed 's/\*\/$//' >"$deps/licences/zlib.txt"

# the page's MIDI synthesizer, from the npm registry at the versions package-lock.json pins; the
# soundfonts it reads are SF2, so the SF3 decoder it imports is left out
if [ ! -f "$deps/synth/synth.js" ]; then
    mkdir -p "$deps/synth"
    cp "$here/synth/package.json" "$here/synth/package-lock.json" "$deps/synth/"
    (cd "$deps/synth" && npm ci --ignore-scripts --no-audit --no-fund >/dev/null)
    core="$deps/synth/node_modules/spessasynth_core"
    sed 's|^import { StbVorbis } from "stb-vorbis";$|const StbVorbis = { ready: Promise.resolve(), decode() { throw new Error("SF3 soundfonts are not read"); } };|' \
        "$core/dist/index.js" >"$deps/synth/synth.js"
    grep -q '^const StbVorbis' "$deps/synth/synth.js"
    cp "$core/LICENSE" "$deps/licences/spessasynth.txt"
fi
