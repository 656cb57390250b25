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
if [ ${#missing[@]} -eq 0 ] && [ ${#missing_optional[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  sudo=sudo
else
  sudo=
fi
echo "bootstrap: installing ${missing[*]} ${missing_optional[*]}"
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
else
  # Only the optional package is missing: one try, no waiting.
  $sudo apt-get update -qq || true
fi
if [ ${#missing_optional[@]} -gt 0 ] &&
  ! $sudo apt-get install -y -qq "${missing_optional[@]}" >/dev/null; then
  echo "bootstrap: warning: could not install ${missing_optional[*]}; 32-bit Wine tests will be skipped" >&2
fi
