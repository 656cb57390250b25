#!/usr/bin/env bash
# Installs everything the builds and tests need on a fresh Debian 12 machine.
# Idempotent: does nothing when every package is already there.
set -euo pipefail

packages=(
  # builds
  cmake make g++ clang libclang-rt-14-dev g++-mingw-w64-i686 g++-mingw-w64-x86-64 mingw-w64-tools
  lzma-dev libtinyxml-dev googletest libgtest-dev dpkg-dev
  # translations
  gettext libgettextpo-dev
  # locales the Wine tests generate into the build folder (localedef and its sources)
  locales
  # Wine bench: 64-bit Wine always; 32-bit Wine where the kernel runs 32-bit code
  wine wine64 wine32:i386 xvfb xauth x11-utils imagemagick
  # packaging tool tests and benchmark
  gcab osslsigncode openssl 7zip lzma-alone time
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  sudo=sudo
else
  sudo=
fi
echo "bootstrap: installing ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq "${missing[@]}" >/dev/null
