#!/usr/bin/env bash
# A product's own CMake build making its installer with the installed package: the
# consumer project configured against the unpacked .deb (Ninja) and the unpacked
# .zip layout (Makefiles; its ovrapack.exe does not run on Linux, so the host tool
# is named in OVRASFX_OVRAPACK). Each: the first build packs, the second does
# nothing, a touched source, an added file and a touched stub pack again; the
# installer installs under Wine and starts the setup program; wrong arguments fail
# the configure naming them. Without the .zip the mingw64 build tree is installed
# into the same layout. Skipped (77) until `./run package` has built the .deb.
#   cmake-consumer.sh WINEBENCH OVRARUN STUB_X64 HOST_OVRAPACK PACKAGES_DIR VERSION MINGW64_BUILD SCRATCH
set -euo pipefail
bench=$1 ovrarun=$2 stub_x64=$3 host_tool=$(realpath -m "$4") packages=$5 version=$6 mingw64=$7 scratch=$8
here=$(dirname "$(readlink -f "$0")")
fail() { echo "cmake-consumer: FAIL: $*" >&2; exit 1; }

deb=$packages/ovrasfx_${version}_amd64.deb
[ -f "$deb" ] || { echo "cmake-consumer: no $deb (run ./run package); skipped"; exit 77; }
command -v ninja >/dev/null || { echo "cmake-consumer: ninja is not installed; skipped"; exit 77; }
[ -x "$host_tool" ] || fail "no Linux tool at $host_tool (build the release preset first)"

mkdir -p "$scratch"
work=$(realpath "$scratch")/cmake-consumer
rm -rf "$work"
mkdir -p "$work/deb root" "$work/zip root"
dpkg -x "$deb" "$work/deb root"
zip=$packages/ovrasfx-${version}-win64.zip
if [ -f "$zip" ]; then
  (cd "$work/zip root" && unzip -q "$zip")
else
  cmake --install "$mingw64" --prefix "$work/zip root/ovrasfx-${version}-win64" >/dev/null
fi
cp "$stub_x64" "$work/OvraSFX64.exe"

toolchain=(-DCMAKE_SYSTEM_NAME=Windows -DCMAKE_C_COMPILER=x86_64-w64-mingw32-gcc)
mtime() { stat -c %Y.%y "$1"; }

# check LABEL BUILD: the three builds and their logs.
check() {
  local label=$1 build=$2 setup=$2/Setup.exe
  cmake --build "$build" >"$work/$label-first.log" 2>&1 || { cat "$work/$label-first.log"; fail "$label: the first build"; }
  [ -f "$setup" ] || fail "$label: no installer after the first build"
  grep -q 'Packing the installer' "$work/$label-first.log" || fail "$label: the first build did not pack"
  "$host_tool" list "$setup" | grep -q 'readme.txt' || fail "$label: the installer holds no readme.txt"
  local before
  before=$(mtime "$setup")
  sleep 0.01  # a distinct time for anything the next build might write
  cmake --build "$build" >"$work/$label-second.log" 2>&1 || fail "$label: the second build"
  grep -q 'Packing' "$work/$label-second.log" && { cat "$work/$label-second.log"; fail "$label: the second build packed again"; }
  [ "$(mtime "$setup")" = "$before" ] || fail "$label: the second build wrote the installer"
  if [ -f "$build/build.ninja" ]; then
    grep -qx 'ninja: no work to do.' "$work/$label-second.log" || { cat "$work/$label-second.log"; fail "$label: ninja found work"; }
  fi
  repack "$label" "$build" touched touch "$here/consumer/data/readme.txt"
  repack "$label" "$build" added cp "$here/consumer/data/readme.txt" "$build/stage/added.txt"
  "$host_tool" list "$setup" | grep -q 'added.txt' || fail "$label: the added file is not in the installer"
  repack "$label" "$build" removed rm "$build/stage/added.txt"
  echo "cmake-consumer: $label: packs once, then only for a touched, an added and a removed file"
}
# repack LABEL BUILD NAME COMMAND...: after COMMAND the build packs again.
repack() {
  local label=$1 build=$2 name=$3
  shift 3
  "$@"
  cmake --build "$build" >"$work/$label-$name.log" 2>&1 || fail "$label: the build after $name"
  grep -q 'Packing the installer' "$work/$label-$name.log" || { cat "$work/$label-$name.log"; fail "$label: $name: not packed again"; }
}

deb_build=$work/deb\ build
cmake -S "$here/consumer" -B "$deb_build" -G Ninja "${toolchain[@]}" -DCMAKE_PREFIX_PATH="$work/deb root/usr" \
  >"$work/deb-configure.log" 2>&1 || { cat "$work/deb-configure.log"; fail "configure against the .deb"; }
grep -qF "OvraSFX $version: stub $work/deb root/usr/share/ovrasfx/OvraSFX.exe" "$work/deb-configure.log" ||
  { cat "$work/deb-configure.log"; fail "the .deb's package does not name its stub"; }
check deb "$deb_build"
repack deb "$deb_build" stub touch "$work/deb root/usr/share/ovrasfx/OvraSFX.exe"

zip_prefix="$work/zip root/ovrasfx-${version}-win64"
if cmake -S "$here/consumer" -B "$work/zip without tool" "${toolchain[@]}" -DCMAKE_PREFIX_PATH="$zip_prefix" \
  >"$work/zip-without-tool.log" 2>&1; then
  fail "the .zip's package was found on Linux with no tool that runs here"
fi
grep -q 'OVRASFX_OVRAPACK' "$work/zip-without-tool.log" || { cat "$work/zip-without-tool.log"; fail "no word of OVRASFX_OVRAPACK"; }
zip_build=$work/zip\ build
cmake -S "$here/consumer" -B "$zip_build" -G "Unix Makefiles" "${toolchain[@]}" -DCMAKE_PREFIX_PATH="$zip_prefix" \
  -DOVRASFX_OVRAPACK="$host_tool" -DCONSUMER_STUB="$work/OvraSFX64.exe" >"$work/zip-configure.log" 2>&1 ||
  { cat "$work/zip-configure.log"; fail "configure against the .zip layout"; }
check zip "$zip_build"
repack zip "$zip_build" stub touch "$work/OvraSFX64.exe"

# Installed under Wine: the setup program writes its record.
cp "$zip_build/Setup.exe" "$work/Setup.exe"
printf '%s\n' '"s:\cmake-consumer\Setup.exe" /w /UFPATH=s:\cmake-consumer\installed' >"$work/command.txt"
OVRA_SETUP_RECORD='s:\cmake-consumer\setup-record.txt' "$bench" "$ovrarun" 's:\cmake-consumer\command.txt' \
  >"$work/wine.log" 2>&1 || true
[ -f "$work/setup-record.txt" ] || { cat "$work/wine.log"; fail "the installer did not start the setup program"; }
grep -q 'consumer setup ran' "$work/setup-record.txt" || fail "the setup record"
find "$work/installed" -name readme.txt | grep -q . || fail "readme.txt was not installed"
echo "cmake-consumer: the installer installs under Wine and starts the setup program"

# wrong ARGS MESSAGE: the configure fails and says MESSAGE.
wrong() {
  local log=$work/wrong.log
  if cmake -S "$here/consumer" -B "$work/wrong build" "${toolchain[@]}" -DCMAKE_PREFIX_PATH="$work/deb root/usr" \
    "-DCONSUMER_EXTRA=$1" >"$log" 2>&1; then
    fail "a configure with $1 passed"
  fi
  # CMake wraps its messages: the words are compared with the lines joined.
  tr '\n' ' ' <"$log" | tr -s ' ' | grep -qF "$2" || { cat "$log"; fail "the configure with $1 does not say: $2"; }
  rm -rf "$work/wrong build"
}
wrong "COMPRESSION;9" 'unknown argument "COMPRESSION"'
wrong "LP;5" 'LP 5 is not a number from 0 to 4'
wrong "VERSION_INFO;ProductName" 'VERSION_INFO "ProductName" is not KEY=VALUE'
wrong "DICT;huge" 'DICT huge is not a size'
wrong "BUILD_ID" 'BUILD_ID needs a value'
echo "cmake-consumer: wrong arguments fail the configure, naming them"
