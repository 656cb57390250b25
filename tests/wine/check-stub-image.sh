#!/usr/bin/env bash
# Static checks of a built stub that need no Windows: runs on the host for every
# MinGW build, so the 32-bit stub is checked even where 32-bit Wine cannot start.
#   check-stub-image.sh OvraSFX.exe TOOL_PREFIX EXPECTED_FORMAT CATALOGUE_DOCUMENT [MAX_BYTES]
set -euo pipefail
exe=$1 prefix=$2 format=$3 catalogue=$4 max_bytes=${5:-}
fail() { echo "check-stub-image: $*" >&2; exit 1; }

# Every installer carries the stub: a change that makes it grow shows here first.
if [ -n "$max_bytes" ]; then
  size=$(stat -c %s "$exe")
  [ "$size" -le "$max_bytes" ] ||
    fail "$size bytes, more than $max_bytes (the map beside it names what grew)"
fi

headers=$("${prefix}-objdump" -p "$exe")
grep -q "file format $format" <<<"$headers" || fail "not a $format image"
grep -qE 'Subsystem[[:space:]]+00000002' <<<"$headers" || fail "not a GUI-subsystem program"

# Statically linked: only system DLLs may be imported.
while read -r dll; do
  case "${dll,,}" in
    kernel32.dll|user32.dll|gdi32.dll|comctl32.dll|ole32.dll|oleaut32.dll|shell32.dll|shlwapi.dll|advapi32.dll|msvcrt.dll) ;;
    *) fail "imports non-system DLL $dll" ;;
  esac
done < <(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers")

# windres prints resources as rc source, where a quote inside a string is doubled.
resources=$("${prefix}-windres" -i "$exe" -O rc 2>/dev/null | sed 's/""/"/g')
for text in "Microsoft.Windows.Common-Controls" 'version="6.0.0.0"' 'level="asInvoker"' "<dpiAware>true</dpiAware>"; do
  grep -qF "$text" <<<"$resources" || fail "manifest lacks $text"
done
# Both the stub's identity and the common controls it asks for name its own processor.
case "$format" in
  pei-i386) arch=x86 ;;
  *) arch=amd64 ;;
esac
architectures=$(grep -o 'processorArchitecture="[^"]*"' <<<"$resources" | sort -u)
[ "$architectures" = "processorArchitecture=\"$arch\"" ] ||
  fail "manifest asks for $(tr '\n' ' ' <<<"$architectures")instead of processorArchitecture=\"$arch\""

# The product catalogue document travels as RCDATA 150, byte for byte (icoutils' reader).
wrestool -x --raw --type=10 --name=150 "$exe" | cmp -s - "$catalogue" ||
  fail "RCDATA 150 is not the product catalogue document $catalogue"

markers=$(grep -a -o 'SFXFIELD1:' "$exe" | wc -l)
[ "$markers" = 1 ] || fail "expected exactly one patch block, found $markers"
echo "check-stub-image: $exe is a statically linked $format GUI program with one patch block, its manifest and the catalogue document"
