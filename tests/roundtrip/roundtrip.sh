#!/usr/bin/env bash
# Round trips through 'ovrapack pack' and 'ovrapack extract' on real trees: Windows
# DLLs from the Wine packages, uncompressed cabinets made with gcab, duplicates,
# empty files, non-ASCII names, and a package signed after packing. Every file must
# come back byte for byte.
#   roundtrip.sh OVRAPACK MAKE_TEST_STUB WORKDIR
# OVRA_ROUNDTRIP_STUB=path uses a real stub instead of the generated stand-in.
set -euo pipefail
ovrapack=$(realpath "$1") make_stub=$(realpath "$2") work=$3
skip() { echo "roundtrip: $*; skipped"; exit 77; }
fail() { echo "roundtrip: FAIL: $*" >&2; exit 1; }

usage=$("$ovrapack" extract 2>&1 || true)
if grep -q 'unknown command' <<<"$usage"; then
  skip "this ovrapack has no extract command"
fi
x64=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows
x86=/usr/lib/i386-linux-gnu/wine/i386-windows
[ -d "$x64" ] || skip "no Wine DLLs at $x64"
for tool in gcab osslsigncode openssl; do
  command -v $tool >/dev/null || skip "$tool is not installed"
done

rm -rf "$work"
mkdir -p "$work"
cd "$work"
if [ -n "${OVRA_ROUNDTRIP_STUB:-}" ]; then
  cp "$OVRA_ROUNDTRIP_STUB" stub.exe
else
  "$make_stub" stub.exe --pe32plus
fi

# The smallest DLLs keep the run short; sorting by name keeps it the same every time.
mapfile -t dlls < <(cd "$x64" && ls -S -- *.dll | tail -n 250 | sort)
src=$work/src
mkdir -p "$src/x64" "$src/x86" "$src/dup/a" "$src/dup/b" "$src/cab" "$src/Überblick" "$src/empty dir"
(cd "$x64" && cp -- "${dlls[@]}" "$src/x64/")
if [ -d "$x86" ]; then
  for dll in "${dlls[@]:0:100}"; do
    [ -f "$x86/$dll" ] && cp -- "$x86/$dll" "$src/x86/"
  done
fi
# Without 32-bit Wine there are no x86 DLLs to take; no empty folder is left behind.
rmdir "$src/x86" 2>/dev/null || true
for dll in "${dlls[@]:100:10}"; do
  cp -- "$x64/$dll" "$src/dup/a/"
  cp -- "$x64/$dll" "$src/dup/b/copy-of-$dll"
done
# A cabinet whose members also lie loose, and one that holds the same content twice.
(cd "$x64" && gcab -c "$src/cab/loose-members.cab" -- "${dlls[@]:0:30}")
mkdir -p twice
cp -- "$x64/${dlls[40]}" twice/first.dll
cp -- "$x64/${dlls[40]}" twice/second.dll
cp -- "$x64/${dlls[41]}" twice/other.dll
(cd twice && gcab -c "$src/cab/twice.cab" first.dll other.dll second.dll)
: >"$src/empty.txt"
: >"$src/empty dir/zero.bin"
echo "Grüße" >"$src/Überblick/café.txt"
cp -- "$x64/${dlls[5]}" "$src/Überblick/naïve résumé.dll"
cp -- "$x64/${dlls[6]}" "$src/setup.exe"
count=$(find "$src" -type f | wc -l)
echo "roundtrip: tree of $count files, $(du -sb "$src" | cut -f1) bytes"

compare() {  # compare PACKAGE LABEL
  local package=$1 label=$2 out=$work/out-$2
  rm -rf "$out"
  "$ovrapack" extract "$package" "$out" >/dev/null || fail "$label: extract failed"
  local root=$out
  local nested
  nested=$(find "$out" -mindepth 1 -maxdepth 1 -type d -name 'OVRA*' | head -n 1)
  [ -n "$nested" ] && [ ! -e "$out/setup.exe" ] && root=$nested
  diff -r "$src" "$root" >/dev/null || { diff -rq "$src" "$root" | head -n 20 >&2; fail "$label: extracted tree differs"; }
  local listed
  listed=$("$ovrapack" list "$package" | sed -n 's/^\([0-9]*\) files,.*/\1/p')
  [ "$listed" = "$count" ] || fail "$label: list shows $listed files instead of $count"
  echo "roundtrip: $label: $count files identical"
}

"$ovrapack" pack "$src" --stub stub.exe --out Setup.exe --setup setup --quiet
compare Setup.exe default
"$ovrapack" pack "$src" --stub stub.exe --out Again.exe --setup setup --quiet
cmp -s Setup.exe Again.exe || fail "packing the same tree twice gave different bytes"
echo "roundtrip: packing twice gave identical bytes"

"$ovrapack" pack "$src" --stub stub.exe --out Lc8.exe --lc 8 --lp 0 --pb 2 --dict 4m --quiet
compare Lc8.exe lc8

# Signed with a throwaway key made here, for this run only.
openssl req -x509 -newkey rsa:2048 -nodes -keyout key.pem -out cert.pem -days 2 \
  -subj "/CN=OvraSFX round trip" >/dev/null 2>&1
osslsigncode sign -certs cert.pem -key key.pem -in Setup.exe -out Signed.exe >/dev/null
osslsigncode verify -CAfile cert.pem Signed.exe >/dev/null || fail "the signed package does not verify"
compare Signed.exe signed
echo "roundtrip: all passed"
