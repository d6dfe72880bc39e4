#!/usr/bin/env bash
# Installs the Debian packages Veltrane builds, runs and tests with; does nothing when all are there.
set -euo pipefail

packages=(
    g++ cmake ninja-build pkg-config make
    clang libclang-rt-14-dev clang-format
    libsdl2-dev libsdl2-mixer-dev libfluidsynth-dev libfreetype-dev libfontconfig-dev libpng-dev
    libgtest-dev libbenchmark-dev
    fonts-ipafont-mincho fonts-ipaexfont-gothic timgm6mb-soundfont
    xvfb xdotool x11-apps x11-utils openbox imagemagick python3 desktop-file-utils
)

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [ "$status" = "install ok installed" ] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "installing: ${missing[*]}"
$sudo apt-get update
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
