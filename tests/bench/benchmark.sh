#!/usr/bin/env bash
# Benchmark of the packaging tool (not a test: it prints figures and targets).
# Builds the release preset, packs one package from real Windows DLLs (with loose
# copies inside uncompressed cabinets and duplicate files), then compares on that
# package:
#   - extraction time of 'ovrapack extract' against a plain LZMA decode of the same
#     stream ('lzma_alone d') and against '7zz x' of a .7z of the same files made
#     with the same LZMA settings;
#   - peak memory of each (/usr/bin/time -v);
#   - the package's stream size against that .7z.
# Settings: BENCH_DLLS (number of x86_64 DLLs, default 400), BENCH_STUB (stub to
# use; default the MinGW build's OvraSFX.exe, built if missing), BENCH_DIR (work
# folder, default build/bench), LC LP PB DICT FB (LZMA settings for both archives).
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
dlls=${BENCH_DLLS:-400}
work=${BENCH_DIR:-$root/build/bench}
lc=${LC:-0} lp=${LP:-0} pb=${PB:-2} dict=${DICT:-64m} fb=${FB:-64}
runs=3

say() { printf '%s\n' "$*"; }

say "== building the release preset"
cmake --preset release >/dev/null
cmake --build --preset release --target ovrapack >/dev/null
ovrapack=$root/build/release/tools/ovrapack/ovrapack

stub=${BENCH_STUB:-}
if [ -z "$stub" ]; then
  stub=$root/build/mingw/app/OvraSFX.exe
  if [ ! -f "$stub" ]; then
    say "== building the stub (mingw preset)"
    cmake --preset mingw >/dev/null
    cmake --build --preset mingw --target OvraSFX >/dev/null
  fi
fi

x64=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows
x86=/usr/lib/i386-linux-gnu/wine/i386-windows
rm -rf "$work"
mkdir -p "$work/src/x64" "$work/src/x86" "$work/src/cab" "$work/src/dup"
src=$work/src
mapfile -t names < <(cd "$x64" && ls -S -- *.dll | tail -n "$dlls" | sort)
(cd "$x64" && cp -- "${names[@]}" "$src/x64/")
for dll in "${names[@]}"; do
  [ -f "$x86/$dll" ] && cp -- "$x86/$dll" "$src/x86/"
done
(cd "$x64" && gcab -c "$src/cab/part1.cab" -- "${names[@]:0:60}")
for dll in "${names[@]:60:20}"; do cp -- "$x64/$dll" "$src/dup/"; done
files=$(find "$src" -type f | wc -l)
bytes=$(du -sb "$src" | cut -f1)
say "== package: $files files, $bytes bytes (DLLs, one uncompressed cabinet of loose files, duplicates)"

say "== packing (lc $lc lp $lp pb $pb dict $dict fb $fb)"
/usr/bin/time -f '%e %M' -o "$work/pack.time" \
  "$ovrapack" pack "$src" --stub "$stub" --out "$work/Setup.exe" --setup setup --quiet \
  --lc "$lc" --lp "$lp" --pb "$pb" --dict "$dict" --fb "$fb" | tee "$work/pack.out" | sed 's/^/   /'
listing=$("$ovrapack" list "$work/Setup.exe")
stream_offset=$(sed -n 's/^stream at \([0-9]*\):.*/\1/p' <<<"$listing")
dictionary=$(sed -n 's/.*dictionary \([0-9]*\),.*/\1/p' <<<"$listing")
package_size=$(stat -c %s "$work/Setup.exe")
tail -c +$((stream_offset + 1)) "$work/Setup.exe" >"$work/stream.lzma"
stream_size=$(sed -n 's/^ *stream \([0-9]*\) bytes.*/\1/p' "$work/pack.out")

say "== making the .7z with the same settings"
rm -f "$work/same.7z"
(cd "$src" && /usr/bin/time -f '%e %M' -o "$work/7z-pack.time" \
  7zz a -bd -bso0 -t7z "-m0=LZMA:d=${dictionary}b:lc=$lc:lp=$lp:pb=$pb:fb=$fb:mf=bt4" -mf=off -ms=on -mmt=1 \
  "$work/same.7z" .)
sevenzip_size=$(stat -c %s "$work/same.7z")

# Best of several runs: elapsed seconds and peak resident kilobytes.
measure() {  # measure NAME COMMAND...
  local name=$1; shift
  local best_time="" best_rss=0
  for _ in $(seq $runs); do
    rm -rf "$work/out"
    mkdir -p "$work/out"
    /usr/bin/time -v -o "$work/$name.time" "$@" >/dev/null 2>"$work/$name.err" || {
      cat "$work/$name.err" >&2; return 1; }
    local t rss
    t=$(sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$work/$name.time" |
        awk -F: '{ s = 0; for (i = 1; i <= NF; i++) s = s * 60 + $i; print s }')
    rss=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$work/$name.time")
    if [ -z "$best_time" ] || awk "BEGIN { exit !($t < $best_time) }"; then best_time=$t; fi
    [ "$rss" -gt "$best_rss" ] && best_rss=$rss
  done
  printf '%s %s\n' "$best_time" "$best_rss"
}

say "== extracting (best of $runs runs each)"
read -r plain_time plain_rss < <(measure plain lzma_alone d "$work/stream.lzma" "$work/out/container.bin")
read -r seven_time seven_rss < <(measure 7z 7zz x -y -bd -bso0 "-o$work/out" "$work/same.7z")
extract_time="" extract_rss=""
usage=$("$ovrapack" extract 2>&1 || true)
if grep -q 'unknown command' <<<"$usage"; then
  say "   'ovrapack extract' is not available in this build: its figures are missing"
else
  read -r extract_time extract_rss < <(measure extract "$ovrapack" extract "$work/Setup.exe" "$work/out")
  extracted=$work/out
  nested=$(find "$work/out" -mindepth 1 -maxdepth 1 -type d -name 'OVRA*' | head -n 1)
  [ -n "$nested" ] && extracted=$nested
  diff -r "$src" "$extracted" >/dev/null || say "   WARNING: the extracted files differ from the source"
fi

mib() { awk "BEGIN { printf \"%.1f MiB\", $1 / 1024 }"; }
check() { if awk "BEGIN { exit !($1) }"; then echo "met"; else echo "MISSED"; fi; }
limit_kib=$((dictionary / 1024 + 16 * 1024))

say ""
say "== results"
printf '  %-34s %10s %14s\n' "" "time (s)" "peak memory"
[ -n "$extract_time" ] && printf '  %-34s %10s %14s\n' "ovrapack extract" "$extract_time" "$(mib "$extract_rss")"
printf '  %-34s %10s %14s\n' "lzma_alone d (plain decode)" "$plain_time" "$(mib "$plain_rss")"
printf '  %-34s %10s %14s\n' "7zz x (.7z, same settings)" "$seven_time" "$(mib "$seven_rss")"
say ""
printf '  %-34s %14s bytes\n' "source files" "$bytes"
printf '  %-34s %14s bytes\n' "ovrapack stream (payload)" "$stream_size"
printf '  %-34s %14s bytes\n' ".7z with the same settings" "$sevenzip_size"
printf '  %-34s %14s bytes (stub and padding included)\n' "installer file" "$package_size"
printf '  %-34s %14s s, %s\n' "ovrapack pack" "$(cut -d' ' -f1 "$work/pack.time")" "$(mib "$(cut -d' ' -f2 "$work/pack.time")")"
printf '  %-34s %14s s, %s\n' "7zz a" "$(cut -d' ' -f1 "$work/7z-pack.time")" "$(mib "$(cut -d' ' -f2 "$work/7z-pack.time")")"
say ""
say "== targets"
if [ -n "$extract_time" ]; then
  ratio=$(awk "BEGIN { printf \"%.2f\", $extract_time / $plain_time }")
  say "  extraction <= 1.10 x plain decode:        ${ratio}x  $(check "$ratio <= 1.10")"
  say "  peak memory <= dictionary + 16 MiB:       $(mib "$extract_rss") of $(mib "$limit_kib")  $(check "$extract_rss <= $limit_kib")"
else
  say "  extraction and memory targets: not measured (no extract command)"
fi
saving=$(awk "BEGIN { printf \"%.2f\", 100 * (1 - $stream_size / $sevenzip_size) }")
say "  stream never larger than the .7z:         ${saving}% smaller  $(check "$stream_size <= $sevenzip_size")"
