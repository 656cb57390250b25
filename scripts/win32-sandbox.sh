#!/usr/bin/env bash
# A sandbox for 32-bit Windows programs on hosts whose kernel cannot execute 32-bit
# code: a Debian root of its own holding 64-bit and 32-bit Wine, in which everything
# amd64 (apt, wineserver, the 64-bit half of Wine, Xvfb) runs natively and only i386
# code goes through qemu's user-mode emulator, registered with binfmt_misc.
#
#   win32-sandbox.sh setup    build the root once and register the emulator (idempotent)
#   win32-sandbox.sh status   exit 0 when a run can start, else say why and exit 1
#   win32-sandbox.sh root     print the folder of the ready root
#   win32-sandbox.sh native   exit 0 when the host's own 32-bit Wine runs natively
#
# The root holds a prepared 64-bit prefix (WoW64, as on a 64-bit Windows) and is
# cached outside the clone, in $OVRA_SANDBOX_CACHE (default /var/cache/ovrasfx),
# one folder per package list: a changed list builds a new root. The host's
# package state is never touched. scripts/win32-run.sh starts programs in it.
set -euo pipefail

suite=bookworm
mirror=${OVRA_DEBIAN_MIRROR:-http://deb.debian.org/debian}
# Release and -updates only: the security suite's i386 index can lag its amd64 one
# for days, and then no i386 library matches. Recommends stay on, as on the host.
packages=(wine wine64 wine32:i386 xvfb xauth)
# bookworm's qemu 7.2 needs a minute of CPU to start each 32-bit Wine process
# (its search for guest address space the preloader has reserved); 10.0 takes 0.3 s.
backports_packages=(qemu-user)
# Bump when the way the root or its prefix is prepared changes.
layout=1

cache=${OVRA_SANDBOX_CACHE:-/var/cache/ovrasfx}
key=$(printf '%s\n' "$layout" "$suite" "$mirror" "${packages[@]}" -- "${backports_packages[@]}" |
  sha256sum | cut -c1-16)
root_dir=$cache/win32-wine-$key
binfmt=/proc/sys/fs/binfmt_misc
binfmt_name=ovra-i386
prefix=/var/lib/ovra/prefix

say() { echo "win32-sandbox: $*" >&2; }

# An i386 handler in binfmt_misc (ours or another) means 32-bit code on this host is
# emulated: the host's own 32-bit Wine would then run in a prefix of its kind, not the
# sandbox's, and at the emulator's speed.
native() {
  /usr/lib/wine/wine --version >/dev/null 2>&1 || return 1
  local entry
  for entry in "$binfmt"/*; do
    # register is write-only and status holds no handler.
    case ${entry##*/} in register | status) continue ;; esac
    [ -f "$entry" ] && [ "$(head -n 1 "$entry")" = enabled ] || continue
    # ELF, 32-bit, machine 3 (i386) at offset 18.
    grep -qE '^magic 7f454c4601.{26}0300' "$entry" && return 1
  done
  return 0
}

# Every check the runner needs, with the reason it cannot run.
why_not() {
  [ "$(id -u)" -eq 0 ] || { echo "needs root (mount namespaces, chroot, binfmt_misc)"; return; }
  command -v unshare >/dev/null || { echo "unshare (util-linux) is missing"; return; }
  [ -f "$root_dir/.ovra-ready" ] || { echo "not set up yet: run scripts/win32-sandbox.sh setup"; return; }
  binfmt_registered || { echo "qemu is not registered for i386 programs: run scripts/win32-sandbox.sh setup"; return; }
}

binfmt_registered() {
  [ -f "$binfmt/$binfmt_name" ] && grep -qx 'enabled' "$binfmt/$binfmt_name" &&
    grep -qx "interpreter $root_dir/usr/bin/qemu-i386" "$binfmt/$binfmt_name"
}

# With the F flag the kernel opens the emulator now, so it serves inside any mount
# namespace or chroot; it is static, so it needs no libraries there either.
register_binfmt() {
  if [ ! -f "$binfmt/register" ]; then
    mount -t binfmt_misc binfmt_misc "$binfmt"
  fi
  binfmt_registered && return 0
  [ -f "$binfmt/$binfmt_name" ] && echo -1 >"$binfmt/$binfmt_name"
  local magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
  local mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
  echo ":$binfmt_name:M::$magic:$mask:$root_dir/usr/bin/qemu-i386:F" >"$binfmt/register"
}

# Runs a command in the root with /dev, /proc and /sys, in a mount namespace of
# its own so that nothing stays mounted on the host.
in_root() {
  local dir=$1
  shift
  unshare --mount --pid --fork --kill-child -- bash -euc '
    dir=$1; shift
    mount --rbind /dev "$dir/dev"
    mount -t proc proc "$dir/proc"
    mount --rbind /sys "$dir/sys"
    mount -t tmpfs tmpfs "$dir/tmp"
    exec chroot "$dir" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LC_ALL=C.UTF-8 \
      DEBIAN_FRONTEND=noninteractive "$@"' in-root "$dir" "$@"
}

apt_in_root() {
  local dir=$1 attempt
  shift
  for attempt in 1 2 3; do
    in_root "$dir" apt-get "$@" && return 0
    say "apt-get $1 failed (attempt $attempt)"
    sleep $((attempt * 10))
  done
  return 1
}

build_root() {
  local dir=$1
  command -v debootstrap >/dev/null || { say "debootstrap is missing (scripts/bootstrap.sh installs it)"; return 1; }
  say "building the root in $dir (a few minutes, once)"
  rm -rf "$dir"
  mkdir -p "$dir"
  debootstrap --variant=minbase --components=main "$suite" "$dir" "$mirror" >"$dir.log" 2>&1 || {
    tail -n 20 "$dir.log" >&2
    say "debootstrap failed (no network to $mirror?); its log is $dir.log"
    return 1
  }
  cat >"$dir/etc/apt/sources.list" <<EOF
deb $mirror $suite main
deb $mirror $suite-updates main
deb $mirror $suite-backports main
EOF
  cp -L /etc/resolv.conf "$dir/etc/resolv.conf"
  in_root "$dir" dpkg --add-architecture i386
  apt_in_root "$dir" update -qq
  apt_in_root "$dir" install -y -qq "${packages[@]}" >/dev/null
  apt_in_root "$dir" install -y -qq -t "$suite-backports" "${backports_packages[@]}" >/dev/null
  in_root "$dir" apt-get clean
  rm -rf "$dir"/var/lib/apt/lists/*
  if ! file_is_static "$dir/usr/bin/qemu-i386"; then
    say "$dir/usr/bin/qemu-i386 is not statically linked; it cannot serve inside the sandbox"
    return 1
  fi
}

file_is_static() {
  # A dynamic ELF names its interpreter in a PT_INTERP header.
  ! LC_ALL=C grep -q 'ld-linux' <(head -c 4096 "$1")
}

# The prefix every run starts from: a 64-bit Windows with its 32-bit half, no z:
# drive (the host's root), no Mono or Gecko prompts.
prepare_prefix() {
  local dir=$1
  say "preparing the Wine prefix (32-bit parts emulated, about a minute)"
  rm -rf "${dir:?}$prefix"
  mkdir -p "$(dirname "$dir$prefix")"
  in_root "$dir" /bin/sh -c "
    export WINEPREFIX=$prefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d'
    /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1 || true
    /usr/lib/wine/wineserver64 -w
    rm -f $prefix/dosdevices/z:"
  if [ ! -f "$dir$prefix/system.reg" ] || [ ! -d "$dir$prefix/drive_c/windows/syswow64" ]; then
    say "wineboot did not create a 64-bit prefix with its 32-bit half"
    return 1
  fi
  # A 32-bit program must start in the prepared prefix.
  local out
  out=$(in_root "$dir" /bin/sh -c "
    export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d'
    cd $prefix/drive_c && /usr/lib/wine/wine64 c:\\\\windows\\\\syswow64\\\\cmd.exe /c echo ovra-i386-ok" 2>&1) || true
  if ! grep -q 'ovra-i386-ok' <<<"$out"; then
    printf '%s\n' "$out" | tail -n 20 >&2
    say "a 32-bit program does not start in the prepared prefix"
    return 1
  fi
}

setup() {
  if [ "$(id -u)" -ne 0 ]; then
    say "needs root (mount namespaces, chroot, binfmt_misc)"
    return 1
  fi
  mkdir -p "$cache"
  exec 9>"$cache/win32-wine.lock"
  flock 9
  if [ -f "$root_dir/.ovra-ready" ]; then
    register_binfmt
    return 0
  fi
  local started=$SECONDS
  if [ ! -f "$root_dir/.ovra-root" ]; then
    build_root "$root_dir.partial"
    touch "$root_dir.partial/.ovra-root"
    rm -rf "$root_dir"
    mv "$root_dir.partial" "$root_dir"
    rm -f "$root_dir.partial.log"
  fi
  # Registered from the root's final place: the kernel keeps the file it opened.
  register_binfmt
  prepare_prefix "$root_dir"
  touch "$root_dir/.ovra-ready"
  # Roots of older package lists are of no further use.
  find "$cache" -maxdepth 1 -name 'win32-wine-*' ! -name "win32-wine-$key" -exec rm -rf {} +
  say "ready in $((SECONDS - started)) s: $root_dir"
}

case "${1:-}" in
  setup) setup ;;
  status)
    reason=$(why_not)
    [ -z "$reason" ] || { echo "$reason"; exit 1; }
    ;;
  root) echo "$root_dir" ;;
  native) native ;;
  *) echo "usage: win32-sandbox.sh setup | status | root | native" >&2; exit 2 ;;
esac
