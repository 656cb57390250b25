#!/usr/bin/env bash
# Benchmark of the stub and the packaging tool (not a test: it prints figures and
# whether the targets hold). In one run:
#   - the shipping stub's size, section by section, against its 200 KB target, and the
#     five largest contributors from its link map;
#   - 'ovrapack pack' with one and with two encoder threads against '7zz a' with
#     -mmt=1 and -mmt=2 at the same LZMA settings (filters off): time, peak memory,
#     stream size against the .7z, and whether both thread counts wrote the same bytes
#     (each count always writes the same bytes; on large inputs the two may differ);
#   - extraction: 'ovrapack extract' against a plain decode of the same stream
#     ('lzma_alone d') and '7zz x' of the .7z: time and peak memory.
# Corpora (BENCH_CORPUS):
#   small (default)  the 200 smallest of Wine's 64-bit DLLs, 60 of them again as loose
#                    files inside an uncompressed cabinet and 20 duplicates (about 30 MB)
#   large            the 30th to 90th largest 64-bit DLLs (61 files, about 184 MiB)
# Other settings: BENCH_STUB (default the mingw build's OvraSFX.exe, built if missing),
# BENCH_DIR (work folder, default build/bench), BENCH_RUNS (extraction runs, best
# taken; default 3 for small, 1 for large), BENCH_PACK_RUNS (rounds of the two-thread
# packs, ovrapack and 7zz taking turns, best of each taken; default 3), LC LP PB DICT FB
# (LZMA settings for every archive; default the tool's own, with fb 64).
# Timings are wall-clock seconds. On a shared virtual machine the speed of the same run
# drifts by 10 % and more within minutes, so the two-thread packs, which the target
# compares, take turns over several rounds; the load average is printed before and after.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
corpus=${BENCH_CORPUS:-small}
work=${BENCH_DIR:-$root/build/bench}
lzma_args=()
[ -n "${LC:-}" ] && lzma_args+=(--lc "$LC")
[ -n "${LP:-}" ] && lzma_args+=(--lp "$LP")
[ -n "${PB:-}" ] && lzma_args+=(--pb "$PB")
[ -n "${DICT:-}" ] && lzma_args+=(--dict "$DICT")
fb=${FB:-64}
lzma_args+=(--fb "$fb")
case "$corpus" in
  small) runs=${BENCH_RUNS:-3} ;;
  large) runs=${BENCH_RUNS:-1} ;;
  *) echo "benchmark: BENCH_CORPUS must be small or large" >&2; exit 2 ;;
esac

say() { printf '%s\n' "$*"; }
for tool in 7zz lzma_alone gcab /usr/bin/time; do
  command -v "$tool" >/dev/null || { say "benchmark: $tool is missing; run scripts/bootstrap.sh" >&2; exit 1; }
done

say "== load before: $(uptime)"
say "== building the release preset"
cmake --preset release >/dev/null
cmake --build --preset release --target ovrapack >/dev/null
ovrapack=$root/build/release/tools/ovrapack/ovrapack

stub=${BENCH_STUB:-}
if [ -z "$stub" ]; then
  stub=$root/build/mingw/app/OvraSFX.exe
  say "== building the stub (mingw preset)"
  cmake --preset mingw >/dev/null
  cmake --build --preset mingw --target OvraSFX >/dev/null
fi

# --- the stub ------------------------------------------------------------------
stub_size=$(stat -c %s "$stub")
say ""
say "== stub $(basename "$stub"): $stub_size bytes"
objdump=objdump
command -v i686-w64-mingw32-objdump >/dev/null && objdump=i686-w64-mingw32-objdump
"$objdump" -h "$stub" | while read -r index name size _; do
  if [[ "$index" =~ ^[0-9]+$ ]]; then printf '   %-10s %9d bytes\n' "$name" "$((16#$size))"; fi
done
stub_target=204800
if [ "$stub_size" -le "$stub_target" ]; then
  say "   within the $stub_target-byte target ($((stub_target - stub_size)) bytes to spare)"
else
  say "   $((stub_size - stub_target)) bytes over the $stub_target-byte target"
fi
stub_map=${stub%.exe}.map
if [ -f "$stub_map" ]; then
  say "   largest contributors (link map $(basename "$stub_map")):"
  python3 "$root/tests/bench/map-contributors.py" "$stub_map" 5
fi

# --- the corpus ----------------------------------------------------------------
x64=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows
rm -rf "$work"
src=$work/src
mkdir -p "$src"
if [ "$corpus" = large ]; then
  mapfile -t names < <(cd "$x64" && ls -S -- *.dll | sed -n '30,90p' | sort)
  (cd "$x64" && cp -- "${names[@]}" "$src/")
else
  mkdir -p "$src/x64" "$src/cab" "$src/dup"
  mapfile -t names < <(cd "$x64" && ls -S -- *.dll | tail -n 200 | sort)
  (cd "$x64" && cp -- "${names[@]}" "$src/x64/")
  (cd "$x64" && gcab -c "$src/cab/part1.cab" -- "${names[@]:0:60}")
  for dll in "${names[@]:60:20}"; do cp -- "$x64/$dll" "$src/dup/"; done
fi
files=$(find "$src" -type f | wc -l)
bytes=$(du -sb "$src" | cut -f1)
say ""
say "== corpus '$corpus': $files files, $bytes bytes"

# elapsed seconds and peak resident kilobytes of one run: timed NAME COMMAND...
timed() {
  local name=$1; shift
  /usr/bin/time -f '%e %M' -o "$work/$name.time" "$@" >"$work/$name.out" 2>"$work/$name.err" || {
    cat "$work/$name.err" >&2; return 1; }
  cat "$work/$name.time"
}

# --- packing -------------------------------------------------------------------
say ""
say "== packing with one thread (one run each)"
pack() {  # pack THREADS
  timed "pack$1" "$ovrapack" pack "$src" --stub "$stub" --out "$work/Setup$1.exe" --setup setup --quiet \
    "${lzma_args[@]}" --threads "$1"
}
read -r pack1_time pack1_rss < <(pack 1)
# The settings the tool chose (the dictionary shrunk to the container) for every archive.
listing=$("$ovrapack" list "$work/Setup1.exe")
dictionary=$(sed -n 's/.*dictionary \([0-9]*\),.*/\1/p' <<<"$listing")
read -r lc lp pb < <(sed -n 's/^stream at [0-9]*: lc \([0-9]*\) lp \([0-9]*\) pb \([0-9]*\),.*/\1 \2 \3/p' <<<"$listing")
say "   LZMA lc $lc lp $lp pb $pb, dictionary $dictionary bytes, fb $fb"

seven() {  # seven THREADS
  rm -f "$work/same$1.7z"
  (cd "$src" && timed "7z-pack$1" 7zz a -bd -bso0 -t7z -mx=9 -mf=off -ms=on "-mmt=$1" \
    "-m0=LZMA:d=${dictionary}b:lc=$lc:lp=$lp:pb=$pb:fb=$fb:mf=bt4" "$work/same$1.7z" .)
}
read -r seven1_time seven1_rss < <(seven 1)

# lower NEW OLD: the smaller of two times ("" counts as none)
lower() { if [ -z "$2" ] || awk "BEGIN { exit !($1 < $2) }"; then echo "$1"; else echo "$2"; fi; }
pack_runs=${BENCH_PACK_RUNS:-3}
say "== packing with two threads: $pack_runs rounds, ovrapack and 7zz taking turns, the best of each"
pack2_time="" seven2_time="" pack2_rss=0 seven2_rss=0
for round in $(seq "$pack_runs"); do
  read -r t rss < <(pack 2)
  pack2_time=$(lower "$t" "$pack2_time")
  [ "$rss" -gt "$pack2_rss" ] && pack2_rss=$rss
  read -r t7 rss < <(seven 2)
  seven2_time=$(lower "$t7" "$seven2_time")
  [ "$rss" -gt "$seven2_rss" ] && seven2_rss=$rss
  say "   round $round: ovrapack $t s, 7zz $t7 s"
done
same_bytes=no
cmp -s "$work/Setup1.exe" "$work/Setup2.exe" && same_bytes=yes
stream_offset=$(sed -n 's/^stream at \([0-9]*\):.*/\1/p' <<<"$listing")  # the same stub in both
stream_size=$(sed -n 's/^ *stream \([0-9]*\) bytes.*/\1/p' "$work/pack2.out")
stream1_size=$(sed -n 's/^ *stream \([0-9]*\) bytes.*/\1/p' "$work/pack1.out")
tail -c +$((stream_offset + 1)) "$work/Setup2.exe" | head -c "$stream_size" >"$work/stream.lzma"
seven_size=$(stat -c %s "$work/same2.7z")
seven1_size=$(stat -c %s "$work/same1.7z")

# --- extraction ----------------------------------------------------------------
best() {  # best NAME COMMAND...: the fastest of $runs runs, the largest peak memory
  local name=$1; shift
  local best_time="" best_rss=0 t rss
  for _ in $(seq "$runs"); do
    rm -rf "$work/out"
    mkdir -p "$work/out"
    read -r t rss < <(timed "$name" "$@")
    if [ -z "$best_time" ] || awk "BEGIN { exit !($t < $best_time) }"; then best_time=$t; fi
    [ "$rss" -gt "$best_rss" ] && best_rss=$rss
  done
  printf '%s %s\n' "$best_time" "$best_rss"
}
say "== extracting (best of $runs runs each)"
read -r plain_time plain_rss < <(best plain lzma_alone d "$work/stream.lzma" "$work/out/container.bin")
read -r sevenx_time sevenx_rss < <(best 7z-x 7zz x -y -bd -bso0 "-o$work/out" "$work/same2.7z")
read -r extract_time extract_rss < <(best extract "$ovrapack" extract "$work/Setup2.exe" "$work/out")
extracted=$work/out
nested=$(find "$work/out" -mindepth 1 -maxdepth 1 -type d -name 'OVRA*' | head -n 1)
[ -n "$nested" ] && extracted=$nested
extracted_ok=yes
diff -r "$src" "$extracted" >/dev/null || extracted_ok=NO

# --- report --------------------------------------------------------------------
mib() { awk "BEGIN { printf \"%.1f MiB\", $1 / 1024 }"; }
check() { if awk "BEGIN { exit !($1) }"; then echo "met"; else echo "MISSED"; fi; }
pct() { awk "BEGIN { printf \"%+.2f%%\", 100 * ($1 / $2 - 1) }"; }
limit_kib=$((dictionary / 1024 + 16 * 1024))
stub_limit=$((400 * 1024))

say ""
say "== results"
printf '  %-38s %9s %12s %14s\n' "packing" "time (s)" "peak memory" "size (bytes)"
printf '  %-38s %9s %12s %14s\n' "ovrapack pack --threads 1" "$pack1_time" "$(mib "$pack1_rss")" "$stream1_size"
printf '  %-38s %9s %12s %14s\n' "ovrapack pack --threads 2 (best)" "$pack2_time" "$(mib "$pack2_rss")" "$stream_size"
printf '  %-38s %9s %12s %14s\n' "7zz a -mmt=1 (.7z)" "$seven1_time" "$(mib "$seven1_rss")" "$seven1_size"
printf '  %-38s %9s %12s %14s\n' "7zz a -mmt=2 (.7z, best)" "$seven2_time" "$(mib "$seven2_rss")" "$seven_size"
say ""
printf '  %-38s %9s %12s\n' "extraction" "time (s)" "peak memory"
printf '  %-38s %9s %12s\n' "ovrapack extract" "$extract_time" "$(mib "$extract_rss")"
printf '  %-38s %9s %12s\n' "lzma_alone d (plain decode)" "$plain_time" "$(mib "$plain_rss")"
printf '  %-38s %9s %12s\n' "7zz x (.7z)" "$sevenx_time" "$(mib "$sevenx_rss")"
say ""
say "  source $bytes bytes; stream dictionary $dictionary bytes; extracted files identical: $extracted_ok"
say "  one and two encoder threads wrote the same installer: $same_bytes"
say "  (the two-thread stream is the one compared and extracted)"
say ""
say "== targets"
say "  stub <= 400 KiB:                          $stub_size bytes  $(check "$stub_size <= $stub_limit")"
say "  pack (2 threads) <= 7zz a -mmt=2:         ${pack2_time} s vs ${seven2_time} s  $(check "$pack2_time <= $seven2_time")"
say "  stream <= .7z (same settings):            $(pct "$stream_size" "$seven_size")  $(check "$stream_size <= $seven_size")"
ratio=$(awk "BEGIN { printf \"%.2f\", $extract_time / ($plain_time > 0 ? $plain_time : 0.01) }")
say "  extraction <= 1.10 x plain decode:        ${ratio}x  $(check "$ratio <= 1.10")"
say "  peak memory <= dictionary + 16 MiB:       $(mib "$extract_rss") of $(mib "$limit_kib")  $(check "$extract_rss <= $limit_kib")"
say ""
say "== load after: $(uptime)"
