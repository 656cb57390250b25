#!/usr/bin/env bash
# Reads the branded test installer back with icoutils' wrestool, a reader that shares
# nothing with the packaging tool, and checks its signature with osslsigncode:
#   - group 131 repeats the icon file's directory entries, and each of its RT_ICON
#     images is the file's image byte for byte; wrestool rebuilds the file itself
#   - the version resource holds every given string and the numeric file version
#   - every other resource of the stub came through byte for byte
#   - the patch block and the payload's tables read as in the unbranded installer
#   - the image checksum is the one osslsigncode calculates over the whole file
#   - the signed copy verifies and carries the same resources
#
#   check-branding.sh PACKER STUB PACKAGES_DIR
set -euo pipefail

if [ $# -ne 3 ]; then
  echo "usage: check-branding.sh PACKER STUB PACKAGES_DIR" >&2
  exit 2
fi
packer=$1 stub=$2 packages=$3
branded=$packages/Installer-branded.exe
signed=$packages/Installer-branded-signed.exe
icon=$packages/product.ico
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failures=0
fail() {
  echo "check-branding: $*" >&2
  failures=$((failures + 1))
}

u16() { od -An -tu2 --endian=little -j "$2" -N 2 "$1" | tr -d ' '; }
u32() { od -An -tu4 --endian=little -j "$2" -N 4 "$1" | tr -d ' '; }
slice() { tail -c +$(($2 + 1)) "$1" | head -c "$3"; }
hex() { od -An -tx1 -v | tr -d ' \n'; }
utf16() { printf '%s' "$1" | iconv -f UTF-8 -t UTF-16LE | hex; }

# The icon: the group's entries are the file's (less the file offset), and each
# entry's number names the file's image.
wrestool -x --raw --type=14 --name=131 "$branded" >"$work/group.bin"
count=$(u16 "$icon" 4)
[ "$(u16 "$work/group.bin" 4)" = "$count" ] || fail "group 131 holds $(u16 "$work/group.bin" 4) images, the icon file $count"
for ((i = 0; i < count; i++)); do
  entry=$((6 + 14 * i)) file_entry=$((6 + 16 * i))
  cmp -s <(slice "$work/group.bin" "$entry" 12) <(slice "$icon" "$file_entry" 12) ||
    fail "group entry $i differs from the icon file's"
  id=$(u16 "$work/group.bin" $((entry + 12)))
  wrestool -x --raw --type=3 --name="$id" "$branded" >"$work/image-$i.bin"
  cmp -s "$work/image-$i.bin" <(slice "$icon" "$(u32 "$icon" $((file_entry + 12)))" "$(u32 "$icon" $((file_entry + 8)))") ||
    fail "icon image $i (RT_ICON $id) differs from the icon file's"
done
# wrestool pads the icon files it rebuilds with zeros (the stub's own icon too).
wrestool -x --type=14 --name=131 "$branded" >"$work/rebuilt.ico"
cmp -s -n "$(stat -c %s "$icon")" "$work/rebuilt.ico" "$icon" || fail "wrestool's icon file from group 131 differs from the icon file"
[ -z "$(tail -c +$(($(stat -c %s "$icon") + 1)) "$work/rebuilt.ico" | tr -d '\0')" ] || fail "wrestool's icon file has more than zeros behind the icon file's bytes"
icons=$(wrestool -l --type=3 "$branded" | wc -l)
[ "$icons" = "$count" ] || fail "$icons RT_ICON images, expected only the icon file's $count"

# The version resource.
wrestool -x --raw --type=16 --name=1 --language=1033 "$branded" >"$work/version.bin"
version=$(hex <"$work/version.bin")
[ "$(u16 "$work/version.bin" 0)" = "$(stat -c %s "$work/version.bin")" ] || fail "the version block's length is not the resource's"
[[ $version == *"$(utf16 VS_VERSION_INFO)0000"* ]] || fail "no VS_VERSION_INFO key"
[[ $version == *"$(utf16 040904B0)0000"* ]] || fail "no US English Unicode string table"
while IFS= read -r pair; do
  key=${pair%%=*} value=${pair#*=}
  [[ $version == *"$(utf16 "$key")0000"*"$(utf16 "$value")0000"* ]] || fail "version string $key is not \"$value\""
done <"$packages/version-info.txt"
# Signature, structure version, file version 4.3.2.1; "4.3 beta" sets no product number;
# the flags mask.
[[ $version == *bd04effe00000100030004000100020000000000000000003f000000* ]] ||
  fail "the fixed version information does not hold 4.3.2.1"

# Everything else of the stub, byte for byte.
checked=0
while IFS= read -r line; do
  read -r -a selector <<<"${line%%\[*}"
  case " ${selector[*]} " in
    *" --type=3 "* | *" --type=14 "* | *" --type=16 "*) continue ;;
  esac
  cmp -s <(wrestool -x --raw "${selector[@]}" "$stub") <(wrestool -x --raw "${selector[@]}" "$branded") ||
    fail "resource ${selector[*]} changed"
  checked=$((checked + 1))
done < <(wrestool -l "$stub")
[ "$checked" -ge 5 ] || fail "only $checked of the stub's other resources were found"

# Patch block and payload tables: as in the unbranded installer but for the stream offset.
"$packer" info "$branded" >"$work/info.txt" || fail "ovrapack info cannot read the branded installer"
grep -q 0123456789ABCDEF "$work/info.txt" || fail "the branded installer lost its build identifier"
diff <("$packer" list "$packages/Installer.exe" | grep -v '^stream at') \
  <("$packer" list "$branded" | grep -v '^stream at') >/dev/null ||
  fail "the branded installer's tables differ from the unbranded one's"

# The image checksum covers the finished file, payload included.
osslsigncode verify -in "$branded" >"$work/checksum.txt" 2>&1 || true
if ! grep -q '^PE checksum' "$work/checksum.txt" || grep -q 'invalid PE checksum' "$work/checksum.txt"; then
  fail "the branded installer's checksum is wrong: $(grep -i checksum "$work/checksum.txt" | tr '\n' ' ')"
fi

# The signature covers the branded file and verifies; the resources survive signing.
osslsigncode verify -CAfile "$packages/signer-cert.pem" -in "$signed" >"$work/verify.txt" 2>&1 ||
  fail "osslsigncode does not verify the signed branded installer: $(tail -3 "$work/verify.txt")"
cmp -s <(wrestool -x --raw --type=14 --name=131 "$signed") "$work/group.bin" ||
  fail "the signed copy's icon group differs"

if [ "$failures" -gt 0 ]; then
  echo "check-branding: $failures check(s) failed" >&2
  exit 1
fi
echo "check-branding: $count icon images, $(wc -l <"$packages/version-info.txt") version strings, $checked other resources and the signature check out"
