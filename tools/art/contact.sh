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

# stretch.png: nine-slice images stretched the way the skin draws them, at 3x.
stretch() {  # stretch FILE L T R B W H -> prints the path of the stretched image
    local f=$1 l=$2 t=$3 r=$4 b=$5 W=$6 H=$7 w h
    w=$(identify -format %w "$f"); h=$(identify -format %h "$f")
    local mw=$((w - l - r)) mh=$((h - t - b)) MW=$((W - l - r)) MH=$((H - t - b))
    local o="$out/st_$(basename "$f")"
    [ "$mh" -eq 0 ] && { mh=$h; MH=$H; t=0; b=0; }
    [ "$mw" -eq 0 ] && { mw=$w; MW=$W; l=0; r=0; }
    local parts=()
    for rowspec in "0 $t" "$t $mh" "$((h - b)) $b"; do
        set -- $rowspec; local y=$1 rh=$2 RH=$2
        [ "$rh" -eq "$mh" ] && [ "$y" -eq "$t" ] && RH=$MH
        [ "$rh" -eq 0 ] && continue
        local cells=()
        [ "$l" -gt 0 ] && cells+=( \( "$f" -crop "${l}x${rh}+0+${y}" +repage -resize "${l}x${RH}!" \) )
        cells+=( \( "$f" -crop "${mw}x${rh}+${l}+${y}" +repage -resize "${MW}x${RH}!" \) )
        [ "$r" -gt 0 ] && cells+=( \( "$f" -crop "${r}x${rh}+$((w - r))+${y}" +repage -resize "${r}x${RH}!" \) )
        convert "${cells[@]}" -filter point +append +repage "$out/row_$y.png"
        parts+=("$out/row_$y.png")
    done
    convert "${parts[@]}" -background none -append +repage "$o"
    rm -f "$out"/row_*.png
    echo "$o"
}
items=()
for spec in "btn_primary_normal 6 6 6 6 120 32" "btn_primary_hot 6 6 6 6 120 32" \
            "btn_secondary_normal 6 6 6 6 120 32" "btn_secondary_pushed 6 6 6 6 120 32" \
            "combo_normal 8 8 32 8 180 32" "combo_pushed 8 8 32 8 180 32" \
            "edit_focused 6 6 6 6 180 32" "edit_normal 6 6 6 6 180 32" \
            "list_item_hot 4 4 4 4 160 28" "list_item_selected 5 5 5 5 160 28" \
            "chip_hot 6 6 6 6 56 24" "chip_selected 6 6 6 6 56 24" \
            "combo_drop_bk 6 6 6 6 180 90" "slider_track 3 0 3 0 180 6" "slider_fill 3 0 3 0 90 6" \
            "progress_track 4 0 4 0 180 8" "progress_fill 4 0 4 0 120 8" "scroll_thumb_normal 0 4 0 4 8 90"; do
    set -- $spec
    items+=("$(stretch "$1.png" "$2" "$3" "$4" "$5" "$6" "$7")")
done
montage "${items[@]}" -background '#171A20' -geometry '+8+8' -tile 4x "$out/stretch.raw.png"
convert "$out/stretch.raw.png" -filter point -resize 300% "$out/stretch.png"
rm -f "$out/stretch.raw.png" "$out"/st_*.png
ls "$out"
