#!/usr/bin/env bash
# Starts a Windows program in the 32-bit Wine sandbox of scripts/win32-sandbox.sh,
# on a throw-away overlay over its prepared prefix: every run starts clean and
# leaves nothing behind but what it writes to its drives.
#
#   win32-run.sh [--drive L:=DIR]... [--exit-code FILE] PROGRAM.exe [ARGS...]
#
# Each DIR becomes drive L: and keeps its host path inside the sandbox, so host
# paths handed over in the environment (LOCPATH) stay valid. PROGRAM must lie on
# one of the drives; it starts in the current folder when that lies on one too.
# Nothing else of the host is visible: the prefix has no z: drive. Without DISPLAY
# the program gets an Xvfb of its own.
#
# Exit status: the program's exit code when below 256, else 255; its full 32-bit
# code goes to FILE with --exit-code and to stderr when above 255. 77 when the
# sandbox cannot run here, with the reason on stderr.
set -euo pipefail

here=$(dirname "$(readlink -f "$0")")
prefix=/var/lib/ovra/prefix
batch=ovra-run.bat
code_name=ovra-exit-code.txt

usage() {
  echo "usage: win32-run.sh [--drive L:=DIR]... [--exit-code FILE] PROGRAM.exe [ARGS...]" >&2
  exit 2
}

# One argument as CommandLineToArgvW reads it back, and as a batch file passes it on.
quote_arg() {
  local arg=$1
  if [[ -n $arg && $arg =~ ^[A-Za-z0-9_=:.,/\\+*@#~-]+$ ]]; then
    printf '%s' "$arg"
    return
  fi
  local out='"' i c slashes=0
  for ((i = 0; i < ${#arg}; i++)); do
    c=${arg:i:1}
    case $c in
      '\') slashes=$((slashes + 1)); continue ;;
      '"') out+=$(printf '%*s' $((slashes * 2 + 1)) '' | tr ' ' '\\')'"' ;;
      *) out+=$(printf '%*s' "$slashes" '' | tr ' ' '\\')$c ;;
    esac
    slashes=0
  done
  out+=$(printf '%*s' $((slashes * 2)) '' | tr ' ' '\\')'"'
  printf '%s' "${out//%/%%}"
}

# Host path to Windows path through the drive table; fails when on no drive.
windows_path() {
  local path=$1 entry letter dir
  for entry in "${drives[@]}"; do
    letter=${entry%%=*} dir=${entry#*=}
    if [ "$path" = "$dir" ]; then
      printf '%s\\' "$letter"
      return
    elif [[ $path == "$dir"/* ]]; then
      local relative=${path#"$dir"/}
      printf '%s\\%s' "$letter" "${relative//\//\\}"
      return
    fi
  done
  return 1
}

# Inside the private mount and process namespaces: everything mounted here goes away
# with the last process, Wine's servers and helpers included.
inside() {
  local root=$OVRA_SANDBOX_ROOT work=$OVRA_SANDBOX_WORK
  mount -t tmpfs -o mode=700 tmpfs "$work"
  mkdir "$work/upper" "$work/work" "$work/root"
  mount -t overlay overlay -o "lowerdir=$root,upperdir=$work/upper,workdir=$work/work" "$work/root"
  local r=$work/root
  mount --rbind /dev "$r/dev"
  mount -t proc proc "$r/proc"
  mount --rbind /sys "$r/sys"
  mount -t tmpfs tmpfs "$r/tmp"
  if [ -n "${DISPLAY:-}" ] && [ -d /tmp/.X11-unix ]; then
    mkdir -p "$r/tmp/.X11-unix"
    mount --bind /tmp/.X11-unix "$r/tmp/.X11-unix"
  fi
  if [ -n "${XAUTHORITY:-}" ] && [ -f "$XAUTHORITY" ]; then
    mkdir -p "$r$(dirname "$XAUTHORITY")"
    touch "$r$XAUTHORITY"
    mount --bind "$XAUTHORITY" "$r$XAUTHORITY"
  fi
  local entry letter dir
  while IFS= read -r entry; do
    letter=${entry%%=*} dir=${entry#*=}
    mkdir -p "$r$dir"
    mount --bind "$dir" "$r$dir"
    ln -sfn "$dir" "$r$prefix/dosdevices/${letter,,}"
  done <<<"$OVRA_SANDBOX_DRIVES"
  rm -f "$r$prefix/dosdevices/z:"
  # The batch file's next line reads the full code, which Wine's own exit status cuts to 8
  # bits; the space keeps a one-digit code from being read as a handle to redirect.
  printf '@echo off\r\n%s\r\necho %%ERRORLEVEL%% >c:\\%s\r\n' "$OVRA_SANDBOX_COMMAND" "$code_name" \
    >"$r$prefix/drive_c/$batch"

  local display=()
  [ -n "${DISPLAY:-}" ] || display=(xvfb-run -a)
  local status=0
  chroot "$r" /usr/bin/env -u WINESERVER -u WINELOADER -u WINEARCH -u OVRA_SANDBOX_COMMAND \
    -u OVRA_SANDBOX_DRIVES -u OVRA_SANDBOX_ROOT -u OVRA_SANDBOX_WORK \
    PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root WINEPREFIX=$prefix \
    WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" \
    /bin/sh -c 'cd "$1" 2>/dev/null || cd "$WINEPREFIX/drive_c"; shift; exec "$@"' run "$OVRA_SANDBOX_CWD" \
    "${display[@]}" /usr/lib/wine/wine64 cmd /c "c:\\$batch" </dev/null || status=$?
  if [ -f "$r$prefix/drive_c/$code_name" ]; then
    tr -d '\r\n ' <"$r$prefix/drive_c/$code_name" >"$OVRA_SANDBOX_CODE"
  else
    echo "win32-run: the program did not run to its end (Wine's status $status)" >&2
  fi
}

if [ "${1:-}" = --inside ]; then
  inside
  exit 0
fi

drives=()
exit_file=
while [ $# -gt 0 ]; do
  case $1 in
    --drive)
      [ $# -ge 2 ] && [[ $2 =~ ^[A-Ya-y]:=.+ ]] || usage
      [ -d "${2#*=}" ] || { echo "win32-run: no folder ${2#*=}" >&2; exit 2; }
      drives+=("${2%%=*}=$(readlink -f "${2#*=}")")
      shift 2 ;;
    --exit-code) [ $# -ge 2 ] || usage; exit_file=$2; shift 2 ;;
    --) shift; break ;;
    -*) usage ;;
    *) break ;;
  esac
done
[ $# -ge 1 ] || usage

if ! reason=$("$here/win32-sandbox.sh" status); then
  echo "win32-run: the 32-bit Wine sandbox cannot run here: $reason" >&2
  exit 77
fi

program=$(readlink -f "$1")
shift
[ -f "$program" ] || { echo "win32-run: no program $program" >&2; exit 2; }
command=$(windows_path "$program") || { echo "win32-run: $program lies on no drive" >&2; exit 2; }
command=$(quote_arg "$command")
for arg in "$@"; do
  command+=" $(quote_arg "$arg")"
done

work=$(mktemp -d)
code_file=$(mktemp)
trap 'rmdir "$work" 2>/dev/null || true; rm -f "$code_file"' EXIT
status=0
OVRA_SANDBOX_ROOT=$("$here/win32-sandbox.sh" root) OVRA_SANDBOX_WORK=$work OVRA_SANDBOX_CODE=$code_file \
  OVRA_SANDBOX_COMMAND=$command OVRA_SANDBOX_CWD=$(pwd -P) \
  OVRA_SANDBOX_DRIVES=$(printf '%s\n' "${drives[@]}") \
  unshare --mount --pid --fork --kill-child -- "$0" --inside || status=$?
[ $status -eq 0 ] || { echo "win32-run: the sandbox failed (status $status)" >&2; exit 1; }

code=$(cat "$code_file")
[[ $code =~ ^-?[0-9]+$ ]] || exit 1
((code < 0)) && code=$((code + 4294967296))
[ -z "$exit_file" ] || echo "$code" >"$exit_file"
if ((code > 255)); then
  echo "win32-run: exit code $code" >&2
  exit 255
fi
exit "$code"
