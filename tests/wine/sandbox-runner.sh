#!/usr/bin/env bash
# The 32-bit Wine sandbox's runner as the tests rely on it: full 32-bit exit codes,
# drives that reach the host folder, no host root, and a clean prefix for every run.
#   sandbox-runner.sh RUNNER SAMPLE_SETUP OVRARUN SCRATCH
# 77 (skipped) where this host runs 32-bit Wine itself or the sandbox is not set up.
set -euo pipefail
runner=$1 setup=$2 ovrarun=$3 scratch=$4
scripts=$(dirname "$runner")
fail() { echo "sandbox-runner: $*" >&2; exit 1; }

if "$scripts/win32-sandbox.sh" native; then
  echo "sandbox-runner: this host runs 32-bit Wine itself"
  exit 77
fi
if ! reason=$("$scripts/win32-sandbox.sh" status); then
  echo "sandbox-runner: $reason"
  exit 77
fi

rm -rf "$scratch"
mkdir -p "$scratch/tools"
cp "$setup" "$scratch/tools/setup.exe"
cp "$ovrarun" "$scratch/tools/ovrarun.exe"
cd "$scratch"

# Runs PROGRAM in the sandbox with t: on the scratch folder; sets status and code.
run() {
  status=0
  rm -f code.txt
  "$runner" --drive "t:=$scratch" --exit-code code.txt "$@" >out.txt 2>err.txt || status=$?
  code=$(cat code.txt 2>/dev/null || echo none)
}

# Exit codes beyond 8 bits arrive whole; the status says "above 255" instead of cutting.
for expected in 0 1 7 3010 3221225477; do
  OVRA_SETUP_EXIT_CODE=$expected OVRA_SETUP_RECORD='t:\record.txt' run tools/setup.exe
  [ "$code" = "$expected" ] || fail "exit code $expected came back as $code"
  if [ "$expected" -le 255 ]; then
    [ "$status" = "$expected" ] || fail "status $status for exit code $expected"
  else
    [ "$status" = 255 ] || fail "status $status for exit code $expected, not 255"
    grep -q "exit code $expected" err.txt || fail "exit code $expected not stated on stderr"
  fi
  # The drive is the host folder: what the program wrote is here.
  tr -d '\r' <record.txt | grep -qx "ExitCode: $expected" || fail "no record of exit code $expected on the host"
  rm -f record.txt
done

# The host's root is on no drive.
printf '%s\r\n' 'cmd.exe /c if exist z:\nul exit 9' >probe.txt
run tools/ovrarun.exe 't:\probe.txt'
[ "$code" = 0 ] || fail "z: exists in the sandbox (code $code)"

# What a run leaves in the prefix is gone for the next one.
printf '%s\r\n' 'cmd.exe /c echo left>c:\ovra-left-behind.txt' >leave.txt
run tools/ovrarun.exe 't:\leave.txt'
[ "$code" = 0 ] || fail "could not write into the prefix (code $code)"
printf '%s\r\n' 'cmd.exe /c if exist c:\ovra-left-behind.txt exit 8' >check.txt
run tools/ovrarun.exe 't:\check.txt'
[ "$code" = 0 ] || fail "a file from the previous run is still in the prefix (code $code)"

# A program on no drive is refused before anything starts.
status=0
"$runner" --drive "t:=$scratch/tools" "$scratch/probe.txt" 2>err.txt || status=$?
[ "$status" = 2 ] || fail "a program outside the drives gave status $status, not 2"

echo "sandbox-runner: full exit codes, drives, no host root, a clean prefix per run"
