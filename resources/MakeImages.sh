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
    -depth 8 -strip -define png:exclude-chunk=date,time PNG32:"$file"
}
# Each image is stored PNG-coded (read by LoadIcon since Windows Vista): about 1 KB for
# all three sizes, where the same pixels as 32-bit bitmaps with masks take 15 KB.
le16() { printf "\\x$(printf %02x $(($1 & 255)))\\x$(printf %02x $(($1 >> 8 & 255)))"; }
le32() { le16 $(($1 & 65535)); le16 $(($1 >> 16)); }
sizes=(16 32 48)
for size in "${sizes[@]}"; do icon_layer "$size" "$out/icon$size.png"; done
{
  le16 0; le16 1; le16 ${#sizes[@]}
  offset=$((6 + 16 * ${#sizes[@]}))
  for size in "${sizes[@]}"; do
    bytes=$(stat -c %s "$out/icon$size.png")
    printf "\\x$(printf %02x "$size")\\x$(printf %02x "$size")\\x00\\x00"; le16 1; le16 32; le32 "$bytes"; le32 "$offset"
    offset=$((offset + bytes))
  done
  for size in "${sizes[@]}"; do cat "$out/icon$size.png"; done
} >"$out/OvraSFX.ico.tmp"
mv "$out/OvraSFX.ico.tmp" "$out/OvraSFX.ico"
rm -f "$out"/icon16.png "$out"/icon32.png "$out"/icon48.png
