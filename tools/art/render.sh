#!/usr/bin/env bash
# Regenerates every skin PNG into res/Skin/Image/ from the sources in this folder, and the desktop
# icon packaging/oakridge.svg (the same drawing as app_icon.png; the build renders its PNG sizes).
# Needs: python3, rsvg-convert (librsvg2-bin). Output is deterministic.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
out="$root/res/Skin/Image"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

python3 "$here/gen.py" "$tmp"
mkdir -p "$out"
for f in "$tmp"/*.svg; do
    name="$(basename "$f" .svg)"
    rsvg-convert --format=png -o "$out/$name.png" "$f"
done
cp "$tmp/app_icon.svg" "$root/packaging/oakridge.svg"
python3 "$here/check.py" "$out"
