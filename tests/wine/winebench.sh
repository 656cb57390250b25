#!/usr/bin/env bash
# Runs a MinGW-built program under Wine, in a private prefix under the build folder.
#
#   winebench.sh PROGRAM.exe [ARGS...]
#
# The prefix is created once per build folder and shared by every test of a session.
# Its z: drive, which would expose the host's whole file system, is removed; t: maps
# the build folder (where the programs are) and s: a scratch folder for tests that
# extract or clean up. Exit codes are those of the program (only the low 8 bits
# reach a shell: tests that need the full code read it inside Wine).
#
# Where the host cannot run 32-bit code, 32-bit programs run in the sandbox of
# scripts/win32-sandbox.sh instead, with the same drives; 77 (skipped) when it
# is not set up, with the reason.
set -euo pipefail

program=$(readlink -f "$1")
shift

build_dir=$(dirname "$program")
while [ ! -f "$build_dir/CMakeCache.txt" ]; do
  [ "$build_dir" != / ] || { echo "winebench: $program is not inside a CMake build folder" >&2; exit 2; }
  build_dir=$(dirname "$build_dir")
done

# The loader follows the program's machine type: PE32+ needs 64-bit Wine.
pe_offset=$(od -An -t u4 -j 60 -N 4 "$program" | tr -d ' ')
machine=$(od -An -t x2 -j $((pe_offset + 4)) -N 2 "$program" | tr -d ' ')
case "$machine" in
  8664) loader=/usr/lib/wine/wine64; server=/usr/lib/wine/wineserver64; arch=win64 ;;
  014c) loader=/usr/lib/wine/wine;   server=/usr/lib/wine/wineserver32; arch=win32 ;;
  *) echo "winebench: unknown machine type $machine in $program" >&2; exit 2 ;;
esac
bench="$build_dir/wine"
mkdir -p "$bench/scratch"
scripts=$(dirname "$(readlink -f "$0")")/../../scripts
if [ "$arch" = win32 ] && ! "$scripts/win32-sandbox.sh" native; then
  # The host runs no 32-bit code itself: the sandbox's 32-bit Wine runs through qemu,
  # on a fresh copy of its own prefix for every program, with the same drives.
  if reason=$("$scripts/win32-sandbox.sh" status); then
    cd "$build_dir"
    exec "$scripts/win32-run.sh" --drive "t:=$build_dir" --drive "s:=$bench/scratch" "$program" "$@"
  fi
  echo "winebench: this host runs no 32-bit code and the 32-bit Wine sandbox cannot run: $reason" >&2
  exit 77
fi
if ! "$loader" --version >/dev/null 2>&1; then
  echo "winebench: $loader cannot run on this host (no ${arch} Wine here)" >&2
  exit 77
fi

export WINEPREFIX="$bench/prefix-$arch"
export WINEARCH=$arch
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINESERVER=$server

(
  flock 9
  if [ ! -f "$WINEPREFIX/.ovra-ready" ]; then
    rm -rf "$WINEPREFIX"
    "$loader" wineboot -i >/dev/null 2>&1 || true
    "$server" -w
    rm -f "$WINEPREFIX/dosdevices/z:"
    ln -sfn "$build_dir" "$WINEPREFIX/dosdevices/t:"
    ln -sfn "$bench/scratch" "$WINEPREFIX/dosdevices/s:"
    touch "$WINEPREFIX/.ovra-ready"
  fi
  # Wine re-creates z: when it updates a prefix; never let a test see the host root.
  rm -f "$WINEPREFIX/dosdevices/z:"
) 9>"$bench/.lock-$arch"

# One server and one set of system processes for the whole session keep start-ups
# short. Started with no inherited descriptors, so CTest's output pipes close when
# the test program ends.
"$server" -p 120 </dev/null >/dev/null 2>&1 || true
"$loader" wineboot </dev/null >/dev/null 2>&1 || true

# The host's working directory lies on no drive; the build folder is t:.
cd "$build_dir"
relative=${program#"$build_dir"/}
windows_path="t:\\${relative//\//\\}"
# Wine's helper processes (services, the desktop of a GUI test) inherit the standard
# handles of the program that starts them and outlive it; writing to files instead
# of the caller's pipes keeps a test runner from waiting for them.
out=$(mktemp "$bench/out.XXXXXX")
err=$(mktemp "$bench/err.XXXXXX")
trap 'rm -f "$out" "$err"' EXIT
status=0
"$loader" "$windows_path" "$@" >"$out" 2>"$err" </dev/null || status=$?
cat "$out"
cat "$err" >&2
exit $status
