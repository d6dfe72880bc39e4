#!/usr/bin/env bash
# Installs the Debian packages Veltrane needs; does nothing when all are there.
#   install-deps.sh         what building and playing need: the compiler, the libraries' -dev
#                           packages, the story's fonts and the MIDI soundfont
#   install-deps.sh --dev   those, and the developer toolchain: clang and its fuzzer runtime,
#                           clang-format, GoogleTest, Google Benchmark, and what the tests drive
#                           (Xvfb, xdotool, the X utilities, ImageMagick, Python, desktop-file-utils,
#                           a second Mincho font)
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

case "${1:-}" in
"") packages=("${runtime[@]}") ;;
--dev) packages=("${runtime[@]}" "${dev[@]}") ;;
*)
    echo "usage: $0 [--dev]" >&2
    exit 2
    ;;
esac

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [ "$status" = "install ok installed" ] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "installing: ${missing[*]}"
# a fresh machine's package lists are empty or stale
$sudo apt-get update
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
