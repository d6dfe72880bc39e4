#!/usr/bin/env bash
# Installs the Debian packages Veltrane needs; does nothing when all are there.
#   install-deps.sh         what building and playing need: the compiler, the libraries' -dev
#                           packages, the story's fonts and the MIDI soundfont
#   install-deps.sh --dev   those, and the developer toolchain: clang and its fuzzer runtime,
#                           clang-format, GoogleTest, Google Benchmark, and what the tests drive
#                           (Xvfb, xdotool, the X utilities, ImageMagick, Python, desktop-file-utils,
#                           a second Mincho font), and the browser build and its tests: emscripten,
#                           Debian's sources of FreeType and zlib, Chromium, fontTools
#   install-deps.sh --web   only what the browser build (make web) adds to the first
set -euo pipefail

runtime=(
    g++ cmake ninja-build pkg-config make
    libsdl2-dev libsdl2-mixer-dev libfluidsynth-dev libfreetype-dev libfontconfig-dev libpng-dev libx11-dev zlib1g-dev
    fonts-ipafont-mincho fonts-ipaexfont-gothic timgm6mb-soundfont
)
dev=(
    clang libclang-rt-14-dev clang-format
    libgtest-dev libbenchmark-dev
    xvfb xdotool x11-apps x11-utils openbox imagemagick python3 desktop-file-utils
    # beside IPA Mincho it takes over the fonts-japanese-mincho link: the text tests pick the face anyway
    fonts-ipaexfont-mincho
)
web=(emscripten dpkg-dev chromium python3-fonttools python3-websocket)

case "${1:-}" in
"") packages=("${runtime[@]}") ;;
--dev) packages=("${runtime[@]}" "${dev[@]}" "${web[@]}") ;;
--web) packages=("${runtime[@]}" "${web[@]}") ;;
*)
    echo "usage: $0 [--dev | --web]" >&2
    exit 2
    ;;
esac

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [ "$status" = "install ok installed" ] || missing+=("$p")
done
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
# the browser build compiles Debian's own FreeType and zlib sources: apt-get source needs their lists
refresh=0
if [ -n "${1:-}" ] && ! grep -rqs "^Types: deb-src\|^deb-src" /etc/apt/sources.list /etc/apt/sources.list.d/; then
    printf 'Types: deb-src\nURIs: http://deb.debian.org/debian\nSuites: bookworm\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' |
        $sudo tee /etc/apt/sources.list.d/veltrane-deb-src.sources >/dev/null
    refresh=1
fi
[ ${#missing[@]} -eq 0 ] && [ $refresh -eq 0 ] && exit 0
# a fresh machine's package lists are empty or stale
$sudo apt-get update
[ ${#missing[@]} -eq 0 ] && exit 0
echo "installing: ${missing[*]}"
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
