#!/usr/bin/env bash
# The release packages as a user gets them: the .deb unpacked into a scratch root
# with dpkg -x, its tool packing a folder with the stub installed beside it (no
# --stub), testing and extracting the installer; the Windows .zip's layout.
# Skipped (77) until `./run package` has built the .deb.
#   installed-package.sh PACKAGES_DIR VERSION WORKDIR
set -euo pipefail
packages=$1 version=$2 work=$3
fail() { echo "installed-package: FAIL: $*" >&2; exit 1; }

deb=$packages/ovrasfx_${version}_amd64.deb
[ -f "$deb" ] || { echo "installed-package: no $deb (run ./run package); skipped"; exit 77; }

rm -rf "$work"
mkdir -p "$work/root"
cd "$work"
[ "$(dpkg-deb -f "$deb" Package)" = ovrasfx ] || fail "the package is not named ovrasfx"
[ "$(dpkg-deb -f "$deb" Architecture)" = amd64 ] || fail "the package is not for amd64"
dpkg -x "$deb" root
for file in usr/bin/ovrapack usr/share/ovrasfx/OvraSFX.exe usr/share/man/man1/ovrapack.1; do
  [ -f "root/$file" ] || fail "the package holds no $file"
done
grep -q '^\.SH COMMANDS' root/usr/share/man/man1/ovrapack.1 || fail "the man page has no COMMANDS section"
grep -q '^\.SS pack' root/usr/share/man/man1/ovrapack.1 || fail "the man page does not describe pack"

tool=root/usr/bin/ovrapack
"$tool" --version | grep -qx "ovrapack $version" || fail "--version does not say $version"

mkdir -p src/docs
printf 'installed package test\r\n' >src/docs/readme.txt
head -c 300000 /dev/urandom >src/data.bin
cp src/data.bin src/copy.bin
printf 'MZ' >src/setup.exe
"$tool" pack src --out Setup.exe --setup setup --quiet >pack.txt || fail "pack with the installed stub failed"
grep -qx "stub $work/root/usr/share/ovrasfx/OvraSFX.exe" pack.txt || { cat pack.txt; fail "pack did not use the installed stub"; }
tail -n 1 pack.txt | grep -qx "installer Setup.exe, $(stat -c %s Setup.exe) bytes" || { cat pack.txt; fail "pack's last line"; }
"$tool" test Setup.exe >/dev/null || fail "the installer does not test good"
"$tool" extract Setup.exe out >/dev/null || fail "extract failed"
diff -r src out >/dev/null || fail "the extracted files differ"
echo "installed-package: the .deb's tool packs with its own stub"

zip=$packages/ovrasfx-${version}-win64.zip
if [ -f "$zip" ]; then
  python3 - "$zip" "$version" <<'PY' || fail "the .zip does not hold the tool and the stub"
import sys, zipfile
names = set(zipfile.ZipFile(sys.argv[1]).namelist())
top = f"ovrasfx-{sys.argv[2]}-win64/"
for name in ("bin/ovrapack.exe", "share/ovrasfx/OvraSFX.exe"):
    assert top + name in names, (name, sorted(names))
PY
  echo "installed-package: the .zip holds bin/ovrapack.exe and share/ovrasfx/OvraSFX.exe"
fi
