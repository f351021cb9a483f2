#!/usr/bin/env bash
# Contact sheets of the skin images on the window background, for review.
# Usage: contact.sh [OUTDIR]  (default /tmp/oakridge-contact). Needs imagemagick.
# small.png: controls at 4x (nearest neighbour, so every pixel shows);
# large.png: brand, illustrations and animation at 2x.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
img="$here/../../res/Skin/Image"
out="${1:-/tmp/oakridge-contact}"
mkdir -p "$out"
sheet() {  # sheet NAME ZOOM TILE FILES...
    local name=$1 zoom=$2 tile=$3; shift 3
    montage -label '%t' "$@" -background '#0F1115' -fill '#9AA1AD' -font DejaVu-Sans -pointsize 7 \
        -geometry '+34+8' -tile "$tile" "$out/$name.raw.png"
    convert "$out/$name.raw.png" -filter point -resize "$zoom" "$out/$name.png"
    rm "$out/$name.raw.png"
}
cd "$img"
sheet small 400% 6x caption_*.png btn_*.png combo_*.png list_*.png edit_*.png chip_*.png \
    check_*.png radio_*.png slider_*.png progress_*.png scroll_*.png msgbox_*.png
sheet large 200% 2x logo.png app_icon_48.png device_*.png app_icon.png
convert busy_ring.png -background '#0F1115' -flatten -filter point -resize 300% "$out/busy.png"
# Same controls on the panel colour, to judge contrast there too.
montage btn_*.png combo_*.png edit_*.png check_*.png radio_*.png chip_*.png list_*.png \
    -background '#171A20' -geometry '+6+6' -tile 10x "$out/panel.raw.png"
convert "$out/panel.raw.png" -filter point -resize 300% "$out/panel.png"; rm "$out/panel.raw.png"
ls "$out"
