#!/usr/bin/env bash
# Installs the Debian packages Oakridge needs to build, run and test, skipping those already present.
set -euo pipefail
packages=(
    build-essential cmake ninja-build pkg-config
    libgtk-3-dev libpugixml-dev libudev-dev
    libglib2.0-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-14-dev clang-format
    xvfb xauth xdotool x11-utils imagemagick librsvg2-bin
    fonts-dejavu-core fonts-noto-cjk fonts-thai-tlwg
    dpkg-dev man-db desktop-file-utils appstream lintian
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq || true
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
