#!/usr/bin/env bash
# Stream sizes of realistic packages under several LZMA settings (not a test: it prints
# figures), to choose the packaging tool's defaults. Sizes do not depend on the
# machine's load, so this may run beside other work.
#   tests/bench/settings.sh [OVRAPACK]
# Packages (from what Debian's Wine and the base system install):
#   dlls     the 30th to 90th largest 64-bit Windows DLLs (about 184 MiB)
#   small    the 200 smallest 64-bit DLLs, 60 of them again in an uncompressed cabinet,
#            20 duplicates (about 30 MB)
#   exes     every 64-bit Windows program (about 32 MiB)
#   mixed    the 64-bit programs, 40 mid-sized DLLs, a cabinet of 20 of them, the 32-bit
#            Wine support files, and Debian's documentation and message catalogues
#            (text, HTML, gzip) of the same packages
# Settings (SETTINGS, "lc/dictionary" words): default "0/64m 3/64m 8/64m 0/128m 8/128m".
# Each line gives the stream's bytes and the change against the first setting; the
# dictionary is always shrunk to the container, so it only matters for large packages.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
ovrapack=${1:-$root/build/release/tools/ovrapack/ovrapack}
stub=${BENCH_STUB:-$root/build/mingw/app/OvraSFX.exe}
work=${BENCH_DIR:-$root/build/bench-settings}
read -r -a settings <<<"${SETTINGS:-0/64m 3/64m 8/64m 0/128m 8/128m}"
packages=(${PACKAGES:-small exes mixed dlls})
x64=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows
[ -x "$ovrapack" ] || { echo "settings: no packaging tool at $ovrapack" >&2; exit 1; }
[ -f "$stub" ] || { echo "settings: no stub at $stub" >&2; exit 1; }

make_package() {  # make_package NAME DIR
  local name=$1 dir=$2 names doc dll mo target
  mkdir -p "$dir"
  case "$name" in
    dlls)
      mapfile -t names < <(cd "$x64" && ls -S -- *.dll | sed -n '30,90p' | sort)
      (cd "$x64" && cp -- "${names[@]}" "$dir/") ;;
    small)
      mkdir -p "$dir/x64" "$dir/cab" "$dir/dup"
      mapfile -t names < <(cd "$x64" && ls -S -- *.dll | tail -n 200 | sort)
      (cd "$x64" && cp -- "${names[@]}" "$dir/x64/")
      (cd "$x64" && gcab -c "$dir/cab/part1.cab" -- "${names[@]:0:60}")
      for dll in "${names[@]:60:20}"; do cp -- "$x64/$dll" "$dir/dup/"; done ;;
    exes)
      cp -- "$x64"/*.exe "$dir/" ;;
    mixed)
      mkdir -p "$dir/bin" "$dir/lib" "$dir/cab" "$dir/support" "$dir/doc" "$dir/locale"
      cp -- "$x64"/*.exe "$dir/bin/"
      mapfile -t names < <(cd "$x64" && ls -S -- *.dll | sed -n '200,240p' | sort)
      (cd "$x64" && cp -- "${names[@]}" "$dir/lib/")
      (cd "$x64" && gcab -c "$dir/cab/lib.cab" -- "${names[@]:0:20}")
      cp -r /usr/share/wine/. "$dir/support/"
      for doc in wine wine64 libwine gcab 7zip mingw-w64-common; do
        [ -d "/usr/share/doc/$doc" ] && cp -rL "/usr/share/doc/$doc" "$dir/doc/"
      done
      find /usr/share/locale -name 'wine.mo' -o -name 'gcab.mo' -o -name 'bash.mo' -o -name 'coreutils.mo' |
        while read -r mo; do
          target=$dir/locale/${mo#/usr/share/locale/}
          mkdir -p "$(dirname "$target")"
          cp -- "$mo" "$target"
        done ;;
  esac
}

printf '%-8s %12s  %-10s %12s %9s\n' package bytes setting stream change
for package in "${packages[@]}"; do
  src=$work/$package
  rm -rf "$src"
  make_package "$package" "$src"
  bytes=$(du -sb "$src" | cut -f1)
  first=""
  for setting in "${settings[@]}"; do
    lc=${setting%/*}
    dict=${setting#*/}
    "$ovrapack" pack "$src" --stub "$stub" --out "$work/Setup.exe" --setup setup --quiet \
      --lc "$lc" --dict "$dict" >"$work/pack.out" 2>"$work/pack.err" || { cat "$work/pack.err" >&2; exit 1; }
    stream=$(sed -n 's/^ *stream \([0-9]*\) bytes.*/\1/p' "$work/pack.out")
    [ -n "$first" ] || first=$stream
    change=$(awk "BEGIN { printf \"%+.2f%%\", 100 * ($stream / $first - 1) }")
    printf '%-8s %12s  %-10s %12s %9s\n' "$package" "$bytes" "lc $lc $dict" "$stream" "$change"
  done
  rm -rf "$src"
done
rm -f "$work/Setup.exe"
