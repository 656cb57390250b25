#!/usr/bin/env bash
# The layer check on a copy of the tree: it passes as the tree is, and fails, naming
# each, on an include up the framework's ranks, on a sideways include between two
# libraries of one rank, and on a portable header that reaches windows.h only
# through another header.
#
#   check-layers-rules.sh SOURCE_DIR
set -euo pipefail

source_dir=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir -p "$work/tree/scripts"
for folder in resources win32 payload framework dialog app tools; do
  cp -a "$source_dir/$folder" "$work/tree/"
done
cp "$source_dir/scripts/check-layers.sh" "$work/tree/scripts/"
check() { "$work/tree/scripts/check-layers.sh" "$work/tree" >"$work/out" 2>&1; }

failed=0
fail() {
  echo "FAIL: $1" >&2
  sed 's/^/  | /' "$work/out" >&2
  failed=1
}

check || fail "the clean tree does not pass"

# Planted after the include guard, where a real include would sit.
plant() { sed -i "0,/^#pragma once/s||#pragma once\n#include \"$2\"|" "$work/tree/$1"; }
plant framework/localization/Language.h framework/controls/MarkupText.h
plant framework/files/PortablePath.h framework/catalogue/Utf8Text.h
plant framework/files/PortableTime.h win32/Handle.h

if check; then
  fail "the check passes with the planted includes"
fi
expect() { grep -qF -- "$1" "$work/out" || fail "no complaint: $1"; }
expect "framework/localization/Language.h (framework/localization) includes framework/controls/MarkupText.h (framework/controls, a higher layer)"
expect "framework/files/PortablePath.h (framework/files) includes framework/catalogue/Utf8Text.h (framework/catalogue, a library of the same rank)"
# Every portable file that includes the planted header inherits the fault.
expect "framework/files/PortableTime.cpp is portable but reaches windows.h through win32/Handle.h"

exit "$failed"
