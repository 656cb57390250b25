#!/usr/bin/env bash
# Installs everything the builds and tests need on a fresh Debian 12 machine.
# Idempotent: does nothing when every package is already there.
set -euo pipefail

packages=(
  # builds
  cmake make g++ clang libclang-rt-14-dev g++-mingw-w64-i686 g++-mingw-w64-x86-64 mingw-w64-tools
  lzma-dev libtinyxml-dev googletest libgtest-dev dpkg-dev
  # packaging tool: command line, JSON, pictures, man page
  libcli11-dev nlohmann-json3-dev libstb-dev help2man
  # named time zones the time tests switch between (Europe/Berlin, Australia/Sydney)
  tzdata
  # translations
  gettext libgettextpo-dev
  # locales the Wine tests generate into the build folder (localedef and its sources)
  locales
  # Wine bench: 64-bit Wine always; 32-bit Wine where the kernel runs 32-bit code
  wine wine64 xvfb xauth x11-utils imagemagick
  # the 32-bit Wine sandbox for hosts that cannot (scripts/win32-sandbox.sh)
  debootstrap
  # packaging tool tests and benchmark
  gcab osslsigncode openssl 7zip lzma-alone time
  # the branded installer read back by an independent resource reader (wrestool, icotool)
  icoutils
  # the CMake consumer test builds one of its trees with Ninja
  ninja-build
)

# 32-bit Wine, for hosts whose kernel runs 32-bit code. Wanted, not needed: where
# it cannot be installed (i386 indexes behind the amd64 ones during a mirror sync),
# the mingw64 build carries the Windows tests.
optional_packages=(wine32:i386)

is_installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}

missing=()
for p in "${packages[@]}"; do
  is_installed "$p" || missing+=("$p")
done
missing_optional=()
for p in "${optional_packages[@]}"; do
  is_installed "$p" || missing_optional+=("$p")
done
# Sources from Debian's source packages, kept out of git: TinyXML for the MinGW builds,
# and the LZMA SDK's encoder with its threaded match finder (lzma-dev carries only the
# single-threaded one).
repo_root=$(cd "$(dirname "$0")/.." && pwd)
tinyxml_dir="$repo_root/third-party/tinyxml"
tinyxml_files=(tinyxml.h tinystr.h tinyxml.cpp tinystr.cpp tinyxmlerror.cpp tinyxmlparser.cpp)
lzma_mt_dir="$repo_root/third-party/lzma-mt"
lzma_mt_files=(LzmaEnc.c LzmaEnc.h LzFind.c LzFind.h LzFindMt.c LzFindMt.h LzFindOpt.c LzHash.h
  Threads.c Threads.h CpuArch.c CpuArch.h Compiler.h Precomp.h 7zTypes.h 7zWindows.h)

# have_sources DIR FILE...
have_sources() {
  local dir=$1 f
  shift
  for f in "$@"; do [ -f "$dir/$f" ] || return 1; done
}
have_tinyxml_sources() { have_sources "$tinyxml_dir" "${tinyxml_files[@]}"; }
have_lzma_mt_sources() { have_sources "$lzma_mt_dir" "${lzma_mt_files[@]}"; }

if [ ${#missing[@]} -eq 0 ] && [ ${#missing_optional[@]} -eq 0 ] && have_tinyxml_sources && have_lzma_mt_sources; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  sudo=sudo
else
  sudo=
fi
if [ ${#missing[@]} -gt 0 ] || [ ${#missing_optional[@]} -gt 0 ]; then
  echo "bootstrap: installing ${missing[*]} ${missing_optional[*]}"
fi
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
# Mirrors being synced make `apt-get update` fail now and then: retry, and if the
# indexes stay inconsistent, try the install with what was fetched.
update_indexes() {
  local attempt
  for attempt in 1 2 3; do
    $sudo apt-get update -qq && return 0
    echo "bootstrap: apt-get update failed (attempt $attempt), retrying" >&2
    sleep $((attempt * 10))
  done
  echo "bootstrap: going on with the package indexes there are" >&2
}
install_missing() {
  local attempt
  [ ${#missing[@]} -gt 0 ] || return 0
  for attempt in 1 2 3; do
    $sudo apt-get install -y -qq "${missing[@]}" >/dev/null && return 0
    echo "bootstrap: apt-get install failed (attempt $attempt)" >&2
    sleep $((attempt * 10))
    update_indexes
  done
  return 1
}
if [ ${#missing[@]} -gt 0 ]; then
  update_indexes
  install_missing
elif [ ${#missing_optional[@]} -eq 0 ]; then
  :
else
  # Only the optional package is missing: one try, no waiting.
  $sudo apt-get update -qq || true
fi
if [ ${#missing_optional[@]} -gt 0 ] &&
  ! $sudo apt-get install -y -qq "${missing_optional[@]}" >/dev/null; then
  echo "bootstrap: note: could not install ${missing_optional[*]}; the 32-bit tests run in their sandbox instead" >&2
fi

# `apt-get source` needs deb-src entries: add them for the suites the machine
# already uses when there are none.
has_deb_src() {
  grep -rqsE '^(deb-src|Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/
}
add_deb_src() {
  local list=/etc/apt/sources.list.d/ovra-deb-src.sources
  local f
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] && [ "$f" != "$list" ] || continue
    grep -q 'deb.debian.org\|debian-security' "$f" || continue
    sed -e 's/^Types: deb$/Types: deb-src/' "$f"
    echo
  done | $sudo tee "$list" >/dev/null
  if [ -f /etc/apt/sources.list ]; then
    sed -n 's/^deb \(.*\)$/deb-src \1/p' /etc/apt/sources.list | $sudo tee -a "$list.list" >/dev/null
    [ -s "$list.list" ] && $sudo mv "$list.list" /etc/apt/sources.list.d/ovra-deb-src.list || $sudo rm -f "$list.list"
  fi
  [ -s "$list" ] || $sudo rm -f "$list"
  update_indexes
}
ensure_deb_src() {
  has_deb_src || add_deb_src
}

# Copies the named files of a Debian source package (patches applied) into a folder.
#   copy_from_source_package PACKAGE SUBFOLDER DEST FILE...
copy_from_source_package() {
  local package=$1 subfolder=$2 dest=$3
  shift 3
  local work
  work=$(mktemp -d)
  if (cd "$work" && apt-get source -qq --download-only "$package" >/dev/null 2>&1 &&
      dpkg-source -x --no-check ./"${package}"_*.dsc src >/dev/null); then
    mkdir -p "$dest"
    local f
    for f in "$@"; do cp "$work/src/$subfolder/$f" "$dest/"; done
    rm -rf "$work"
    echo "bootstrap: $package sources in $dest"
  else
    rm -rf "$work"
    echo "bootstrap: could not fetch the $package source package" >&2
    return 1
  fi
}

if ! have_lzma_mt_sources; then
  ensure_deb_src
  copy_from_source_package 7zip C "$lzma_mt_dir" "${lzma_mt_files[@]}"
fi
if ! have_tinyxml_sources; then
  ensure_deb_src
  copy_from_source_package tinyxml . "$tinyxml_dir" "${tinyxml_files[@]}"
fi
