#!/usr/bin/env bash
# Packs the installers the end-to-end Wine tests install, with the host's packaging
# tool, the way a release engineer builds them on Linux:
#   Installer.exe            the sample folder (the sample setup program as setup.exe)
#   Installer-picture.exe    the same with a red background picture
#   Installer-png.exe        the same with a PNG picture: green above, blue below
#   Installer-jpeg.exe       the same with a JPEG picture: yellow above, purple below
#   Installer-signed.exe     Installer.exe signed with a throw-away certificate
#   Installer-truncated.exe  Installer.exe cut inside its stream
#   Installer-huge-dictionary.exe  Installer.exe whose stream header asks for a 1.5 GiB
#                            dictionary: more than a 32-bit process can allocate
#   Installer-branded.exe    the sample with the product's icon (product.ico) and version
#                            information (version-info.txt, one KEY=VALUE a line)
#   Installer-branded-signed.exe  the same, signed
#   sample/                  the packed folder, to compare extracted bytes against
#   Installer-deep.exe       deep/: the sample setup program and a file 321 characters
#                            below the package folder, past the classic path limit
#                            wherever the package is extracted
#
#   pack-test-packages.sh PACKER STUB SAMPLE_SETUP OUT_DIR
set -euo pipefail

if [ $# -ne 4 ]; then
  echo "usage: pack-test-packages.sh PACKER STUB SAMPLE_SETUP OUT_DIR" >&2
  exit 2
fi
packer=$1 stub=$2 setup=$3 out=$4

if [ ! -x "$packer" ]; then
  echo "pack-test-packages: no packaging tool at $packer;" \
    "build it first (cmake --preset release && cmake --build --preset release)" >&2
  exit 1
fi

rm -rf "$out"
sample=$out/sample
mkdir -p "$sample/data" "$sample/sub/deeper"
cp "$setup" "$sample/setup.exe"
printf 'OvraSFX sample package\r\n' >"$sample/readme.txt"
# Incompressible, so that decoding takes long enough for the caption to count.
head -c 24M /dev/urandom >"$sample/data/random.bin"
cp "$sample/data/random.bin" "$sample/sub/copy of random.bin"
seq 1 300000 >"$sample/data/numbers.txt"
: >"$sample/sub/deeper/empty.txt"
# The caption's last step is 250 + (N - 1) / N * 250 fifths of a percent: "99 %" needs
# more than 250 files.
mkdir -p "$sample/many"
for i in $(seq 1 300); do
  printf 'file %d of the sample package\r\n' "$i" >"$sample/many/file-$i.txt"
done
printf 'caf\xc3\xa9\r\n' >"$sample/caf$(printf '\xc3\xa9').txt"

pack() {
  "$packer" pack "$sample" --stub "$stub" --setup setup --build-id 0123456789ABCDEF "$@" 2>&1 |
    sed 's/^/  /'
  return "${PIPESTATUS[0]}"
}
pack --out "$out/Installer.exe"

deep=$out/deep
nested=$deep
for level in 1 2 3 4 5 6 7 8; do
  nested=$nested/nested-folder-with-a-long-name-0$level
done
mkdir -p "$nested"
cp "$setup" "$deep/setup.exe"
printf 'deep inside the package\r\n' >"$nested/deeply-nested-component-with-a-long-file-name.dll"
"$packer" pack "$deep" --stub "$stub" --setup setup --build-id 0123456789ABCDEF --out "$out/Installer-deep.exe" 2>&1 |
  sed 's/^/  /'

convert -size 50x30 xc:'rgb(200,0,0)' -type truecolor BMP3:"$out/red.bmp"
pack --out "$out/Installer-picture.exe" --picture "$out/red.bmp"
# Two halves, so that a picture turned upside down shows.
convert -size 60x20 xc:'rgb(0,180,0)' -size 60x20 xc:'rgb(0,0,200)' -append "$out/halves.png"
pack --out "$out/Installer-png.exe" --picture "$out/halves.png"
convert -size 64x32 xc:'rgb(230,200,0)' -size 64x32 xc:'rgb(120,0,160)' -append -quality 95 "$out/halves.jpg"
pack --out "$out/Installer-jpeg.exe" --picture "$out/halves.jpg"

openssl req -x509 -newkey rsa:2048 -nodes -subj "/CN=OvraSFX test signer" -days 2 \
  -keyout "$out/signer-key.pem" -out "$out/signer-cert.pem" 2>/dev/null
osslsigncode sign -certs "$out/signer-cert.pem" -key "$out/signer-key.pem" -n "OvraSFX sample" \
  -in "$out/Installer.exe" -out "$out/Installer-signed.exe" >/dev/null

# The product's icon: one solid colour for each size, so that a reader can tell which
# image a window shows, in a 4-bit, a 32-bit and an 8-bit bitmap and a PNG.
for shape in "16:rgb(0,0,200)" "32:rgb(0,160,64)" "48:rgb(200,0,0)" "256:rgb(230,200,0)"; do
  size=${shape%%:*}
  convert -size "${size}x${size}" xc:"${shape#*:}" PNG32:"$out/icon-$size.png"
done
icotool -c -o "$out/product.ico" -b 4 "$out/icon-16.png" -b 32 "$out/icon-32.png" -b 8 "$out/icon-48.png" \
  -r "$out/icon-256.png"
cat >"$out/version-info.txt" <<'INFO'
FileDescription=Ovra Sample Setup
ProductName=Ovra Sample Product
CompanyName=Ovra Test Company
LegalCopyright=© 2026 Ovra, Straße 1
FileVersion=4.3.2.1
ProductVersion=4.3 beta
INFO
version_options=()
while IFS= read -r pair; do
  version_options+=(--version-info "$pair")
done <"$out/version-info.txt"
pack --out "$out/Installer-branded.exe" --icon "$out/product.ico" "${version_options[@]}"
osslsigncode sign -certs "$out/signer-cert.pem" -key "$out/signer-key.pem" -n "Ovra Sample Product" \
  -in "$out/Installer-branded.exe" -out "$out/Installer-branded-signed.exe" >/dev/null

size=$(stat -c %s "$out/Installer.exe")
head -c $((size - 4 * 1024 * 1024)) "$out/Installer.exe" >"$out/Installer-truncated.exe"
# The dictionary size is the stream header's bytes 1 to 4, little-endian; a larger
# dictionary than the encoder used decodes the same stream.
stream=$("$packer" info "$out/Installer.exe" | sed -n 's/^field 2 stream offset: *//p')
cp "$out/Installer.exe" "$out/Installer-huge-dictionary.exe"
printf '\x00\x00\x00\x60' | dd of="$out/Installer-huge-dictionary.exe" bs=1 seek=$((stream + 1)) conv=notrunc status=none
echo "packed the test installers into $out"
