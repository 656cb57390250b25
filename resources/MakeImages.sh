#!/usr/bin/env bash
# Draws the stub's icon and default background picture with ImageMagick.
#   MakeImages.sh OUTPUT_DIR
# The background is a 506 x 314 bitmap (BMP version 3, no alpha), light where the
# title and the guide text are drawn over it. A vertical gradient with soft circles
# needs fewer than 256 colours and repeats along every row: stored with a palette
# and run-length coded it takes some 6 KB instead of 466 KB at 24 bits per pixel.
set -euo pipefail
out=$1
mkdir -p "$out"

convert -size 506x314 gradient:'#f7fafd-#bcd3ea' \
  -fill '#ffffff60' -stroke none -draw 'circle 420,150 420,60' \
  -fill '#1f4e7920' -draw 'circle 90,170 90,110' \
  -fill '#1f4e7918' -draw 'circle 250,120 250,95' \
  -depth 8 +dither -treedepth 8 -colors 256 -type Palette -compress RLE BMP3:"$out/DefaultBackground.bmp.tmp"
mv "$out/DefaultBackground.bmp.tmp" "$out/DefaultBackground.bmp"

icon_layer() {
  local size=$1 file=$2
  local r=$((size / 2)) m=$((size / 8))
  convert -size "${size}x${size}" xc:none \
    -fill '#1f4e79' -draw "roundrectangle 0,0 $((size - 1)),$((size - 1)) $m,$m" \
    -fill '#ffffff' -draw "circle $r,$r $r,$((m * 2))" \
    -fill '#1f4e79' -draw "circle $r,$r $r,$((r - m))" \
    -depth 8 PNG32:"$file"
}
icon_layer 16 "$out/icon16.png"
icon_layer 32 "$out/icon32.png"
icon_layer 48 "$out/icon48.png"
convert "$out/icon16.png" "$out/icon32.png" "$out/icon48.png" "$out/OvraSFX.ico.tmp.ico"
mv "$out/OvraSFX.ico.tmp.ico" "$out/OvraSFX.ico"
rm -f "$out"/icon16.png "$out"/icon32.png "$out"/icon48.png
