#!/usr/bin/env bash
# ovrapack.exe as a user of the Windows .zip runs it, under Wine: from a folder named
# with letters outside the ANSI code page and a blank, on source, output and
# installer paths named alike. Then the Linux tool and the Windows tool pack one real
# tree with the same options: the installers must be byte-identical, with a given
# build identifier and with the default one, and each tool extracts the other's.
# Without the .zip (built by ./run package) the build tree's tool and stub are
# arranged as the .zip has them.
#
# Every Windows command line goes through ovrarun.exe, which starts it exactly as
# written and reports the full exit code; the host shell would re-quote it and
# mangle its letters.
#   windows-tool.sh WINEBENCH OVRARUN OVRAPACK_EXE STUB HOST_OVRAPACK PACKAGES_DIR VERSION SCRATCH
# SCRATCH is the Wine bench's scratch folder, s: inside Wine.
set -euo pipefail
bench=$1 ovrarun=$2 tool_exe=$3 stub=$4 host_tool=$5 packages=$6 version=$7 scratch=$8
fail() { echo "windows-tool: FAIL: $*" >&2; exit 1; }
skip() { echo "windows-tool: $*; skipped"; exit 77; }

for program in gcab icotool convert unzip python3; do
  command -v $program >/dev/null || skip "$program is not installed"
done
x64=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows
[ -d "$x64" ] || skip "no Wine DLLs at $x64"
[ -x "$host_tool" ] || fail "no Linux tool at $host_tool (build the release preset first)"

mkdir -p "$scratch"
work=$(realpath "$scratch")/windows-tool
rm -rf "$work"
home="$work/Jürgen Ωμέγα"
mkdir -p "$home"

# A host path below the work folder as Windows names it.
winpath() {
  local relative=${1#"$work"/}
  printf 's:\\windows-tool\\%s' "${relative//\//\\}"
}

zip=$packages/ovrasfx-${version}-win64.zip
if [ -f "$zip" ]; then
  (cd "$home" && unzip -q "$zip")
  installed=$home/ovrasfx-${version}-win64
  echo "windows-tool: the tool of $zip"
else
  installed=$home/ovrasfx
  mkdir -p "$installed/bin" "$installed/share/ovrasfx"
  cp "$tool_exe" "$installed/bin/ovrapack.exe"
  cp "$stub" "$installed/share/ovrasfx/OvraSFX.exe"
  echo "windows-tool: no $zip (./run package); the build tree's tool and stub arranged as in the .zip"
fi
tool=$(winpath "$installed/bin/ovrapack.exe")
installed_stub=$installed/share/ovrasfx/OvraSFX.exe

# run NAME ARGS...: the tool with ARGS, each quoted; $work/NAME.out and NAME.err hold
# its standard output and error, $code its exit code. on_console NAME ARGS...: the
# same on a console, whose rows end in $work/NAME.screen.
run() { launch "$1" "s:\\windows-tool\\$1.cmd" "s:\\windows-tool\\$1.out" "s:\\windows-tool\\$1.err" "${@:2}"; }
on_console() { launch "$1" --console "s:\\windows-tool\\$1.cmd" "s:\\windows-tool\\$1.screen" "${@:2}"; }
launch() {
  local name=$1 line="\"$tool\""
  local launcher=("$2" "$3" "$4")
  shift 4
  for arg in "$@"; do
    line+=" \"$arg\""
  done
  printf '%s\n' "$line" >"$work/$name.cmd"
  "$bench" "$ovrarun" "${launcher[@]}" >"$work/$name.run" 2>&1 || true
  code=$(tr -d '\r' <"$work/$name.run" | sed -n 's/^exit code: //p')
  [ -n "$code" ] || { cat "$work/$name.run" >&2; fail "$name: the tool did not run"; }
}
show() { cat "$work/$1.out" "$work/$1.err" >&2; }
expect() {  # expect NAME CODE: the run's exit code
  [ "$code" = "$2" ] || { show "$1"; fail "$1: exit code $code, expected $2"; }
}

run help --help
expect help 0
grep -q '^Usage: ovrapack' "$work/help.out" || { show help; fail "--help prints no usage line"; }
run pack-help pack --help
expect pack-help 0
grep -qxF "  $(winpath "$installed_stub")" "$work/pack-help.out" ||
  { show pack-help; fail "pack --help does not name the installed stub as it lies"; }
run version --version
expect version 0
[ "$(cat "$work/version.out")" = "ovrapack $version" ] || { show version; fail "--version"; }
run usage Ωμέγα
expect usage 2
[ "$(cat "$work/usage.err")" = "ovrapack: unknown command \"Ωμέγα\" (see 'ovrapack --help')" ] ||
  { show usage; fail "the usage error is not the one line expected"; }
echo "windows-tool: --help, --version and a usage error"

source_dir="$home/source files"
mkdir -p "$source_dir/docs"
printf 'Grüße aus dem Paket\r\n' >"$source_dir/docs/Jürgen.txt"
head -c 200000 /dev/urandom >"$source_dir/data.bin"
cp "$source_dir/data.bin" "$source_dir/copy of data.bin"
cp "$x64/$(cd "$x64" && ls -S -- *.dll | tail -n 1)" "$source_dir/setup.exe"
setup="$home/Setup Ωμέγα.exe"
run pack pack "$(winpath "$source_dir")" --out "$(winpath "$setup")" --setup setup
expect pack 0
grep -qxF "stub $(winpath "$installed_stub")" "$work/pack.out" || { show pack; fail "pack did not use the installed stub"; }
tail -n 1 "$work/pack.out" | grep -qxF "installer $(winpath "$setup"), $(stat -c %s "$setup") bytes" ||
  { show pack; fail "pack's last line"; }
grep -q $'\r' "$work/pack.err" && { show pack; fail "progress rewrites its line in a file"; }
grep -qx 'compressing\.\.\.' "$work/pack.err" || { show pack; fail "no progress lines in the redirected output"; }

# On a console: the paths in their own letters, the progress rewriting its line.
console_setup="$home/Console Ωμέγα.exe"
on_console console pack "$(winpath "$source_dir")" --out "$(winpath "$console_setup")" --setup setup
expect console 0
screen=$(tr -d '\n' <"$work/console.screen")
[[ $screen == *"installer $(winpath "$console_setup"), $(stat -c %s "$console_setup") bytes"* ]] ||
  { cat "$work/console.screen" >&2; fail "the console does not show the installer's path as it is"; }
grep -qx 'compressing: done' "$work/console.screen" || { cat "$work/console.screen" >&2; fail "no progress line on the console"; }
grep -q 'compressing\.\.\.' "$work/console.screen" && { cat "$work/console.screen" >&2; fail "the console shows the redirected progress"; }

run list list "$(winpath "$setup")" --json
expect list 0
python3 - "$work/list.out" <<'PY' || fail "list --json"
import json, sys
document = json.load(open(sys.argv[1], encoding="utf-8"))
names = sorted(f["name"] for f in document["files"])
assert names == ["copy of data.bin", "data.bin", "docs\\Jürgen.txt", "setup.exe"], names
PY
run test test "$(winpath "$setup")"
expect test 0
grep -q 'no damage found$' "$work/test.out" || { show test; fail "test of the good installer"; }
damaged="$home/Setup Ωμέγα damaged.exe"
cp "$setup" "$damaged"
size=$(stat -c %s "$damaged")
printf '\xff\x00\xff\x00' | dd of="$damaged" bs=1 seek=$((size - 70000)) conv=notrunc status=none
run damaged test "$(winpath "$damaged")"
expect damaged 1
out="$home/extracted Ωμέγα"
run extract extract "$(winpath "$setup")" "$(winpath "$out")"
expect extract 0
diff -r "$source_dir" "$out" >/dev/null || { diff -rq "$source_dir" "$out" >&2; fail "the extracted files differ"; }
patched="$home/Setup Ωμέγα patched.exe"
cp "$setup" "$patched"
run patch patch "$(winpath "$patched")" --build-id PATCHED-ID
expect patch 0
run info info "$(winpath "$patched")"
expect info 0
grep -qxF 'field 1 build id:       "PATCHED-ID"' "$work/info.out" || { show info; fail "info after patch"; }
echo "windows-tool: pack with the installed stub, list --json, test (good and damaged), extract, patch, info"

# One real tree: DLLs, a cabinet, duplicates, branding and a PNG picture.
tree="$home/real tree"
mkdir -p "$tree/bin" "$tree/cab" "$tree/dup"
mapfile -t dlls < <(cd "$x64" && ls -S -- *.dll | tail -n 60 | sort)
(cd "$x64" && cp -- "${dlls[@]}" "$tree/bin/")
(cd "$x64" && gcab -c "$tree/cab/members.cab" -- "${dlls[@]:0:12}")
for dll in "${dlls[@]:20:5}"; do
  cp -- "$x64/$dll" "$tree/dup/copy of $dll"
done
cp -- "$x64/${dlls[3]}" "$tree/setup.exe"
assets="$home/assets Ωμέγα"
mkdir -p "$assets"
convert -size 16x16 xc:'rgb(0,0,200)' PNG32:"$work/icon-16.png"
convert -size 32x32 xc:'rgb(0,160,64)' PNG32:"$work/icon-32.png"
icotool -c -o "$assets/product Ωμέγα.ico" -b 8 "$work/icon-16.png" -b 32 "$work/icon-32.png"
convert -size 60x20 xc:'rgb(0,180,0)' -size 60x20 xc:'rgb(0,0,200)' -append "$assets/picture Ωμέγα.png"
options=(--setup setup --version-info "ProductName=Ωμέγα Product" --version-info "FileVersion=1.2.3.4"
  --version-info "LegalCopyright=© Jürgen" --quiet)

# cross LABEL [--build-id ID]: both tools pack the tree; the installers must match.
cross() {
  local label=$1
  shift
  "$host_tool" pack "$tree" --stub "$installed_stub" --icon "$assets/product Ωμέγα.ico" \
    --picture "$assets/picture Ωμέγα.png" --out "$home/linux $label.exe" "${options[@]}" "$@" >/dev/null ||
    fail "$label: the Linux tool cannot pack"
  run "pack-$label" pack "$(winpath "$tree")" --stub "$(winpath "$installed_stub")" \
    --icon "$(winpath "$assets/product Ωμέγα.ico")" --picture "$(winpath "$assets/picture Ωμέγα.png")" \
    --out "$(winpath "$home/windows $label.exe")" "${options[@]}" "$@"
  expect "pack-$label" 0
  cmp "$home/linux $label.exe" "$home/windows $label.exe" ||
    fail "$label: the Windows tool's installer differs from the Linux tool's"
  rm -rf "$home/out-$label"
  run "extract-$label" extract "$(winpath "$home/linux $label.exe")" "$(winpath "$home/out-$label/windows")"
  expect "extract-$label" 0
  diff -r "$tree" "$home/out-$label/windows" >/dev/null || fail "$label: the Windows tool extracts the Linux installer wrong"
  "$host_tool" extract "$home/windows $label.exe" "$home/out-$label/linux" >/dev/null ||
    fail "$label: the Linux tool cannot extract the Windows installer"
  diff -r "$tree" "$home/out-$label/linux" >/dev/null || fail "$label: the Linux tool extracts the Windows installer wrong"
  echo "windows-tool: $label: byte-identical installers, $(stat -c %s "$home/linux $label.exe") bytes"
}
cross given --build-id 0123456789ABCDEF
cross default
grep -q '^  build id 0123456789ABCDEF,' "$work/pack-given.out" || { show pack-given; fail "the build id was not taken"; }
