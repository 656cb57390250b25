#!/usr/bin/env bash
# Fails when a source file includes a header of a layer above its own, or of another
# library of its own rank, or when portable code reaches windows.h by any path.
#
#   scripts/check-layers.sh [SOURCE_DIR]
#
# Layers, bottom to top (a folder may use its own files and those of lower ranks):
#   0 resources/          identifiers every layer may use
#   1 win32/, payload/    neither uses the other
#   2 framework/files/ (the portable core), framework/catalogue/, framework/console/
#   3 framework/files/windows/
#   4 framework/localization/
#   5 framework/controls/
#   6 framework/application/
#   7 dialog/
#   8 app/
# tools/ may use payload, resources and the portable code of framework, dialog and
# app; tests/ may use anything.
#
# Portable code (payload, tools, and every source of the libraries that are not
# Windows-only in the CMake files of framework, dialog and app) must not reach
# windows.h through any chain of includes: the preprocessor's own dependency list
# of each portable file decides, not the file's own lines.
set -euo pipefail

root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root"

# The ranks, as the table above gives them.
ranks='resources 0
win32 1
payload 1
framework/files 2
framework/catalogue 2
framework/console 2
framework/files/windows 3
framework/localization 4
framework/controls 5
framework/application 6
dialog 7
app 8
tools 9'

failures=0
complain() {
  echo "layers: $1" >&2
  failures=$((failures + 1))
}

check_includes() {
  local report
  report=$(find win32 payload framework dialog app tools -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.rc' \) |
    awk -v ranks="$ranks" '
      # Its framework library, else its top folder.
      function layer_of(path,   parts, n) {
        n = split(path, parts, "/")
        if (n < 2) return ""
        if (parts[1] != "framework") return parts[1]
        if (n >= 4 && parts[2] == "files" && parts[3] == "windows") return "framework/files/windows"
        return n >= 3 ? "framework/" parts[2] : ""
      }
      BEGIN {
        n = split(ranks, lines, "\n")
        for (i = 1; i <= n; i++) { split(lines[i], f, " "); rank[f[1]] = f[2] }
      }
      {
        file = $0
        layer = layer_of(file)
        while ((getline line < file) > 0) {
          if (line !~ /^[ \t]*#[ \t]*include[ \t]*"/) continue
          included = line
          sub(/^[ \t]*#[ \t]*include[ \t]*"/, "", included)
          sub(/".*/, "", included)
          target = layer_of(included)
          if (target == "" || target == layer || !(target in rank)) continue
          if (layer == "tools") {
            if (target == "win32") print file " includes " included ": tools use only portable code"
          } else if (rank[target] + 0 > rank[layer] + 0) {
            print file " (" layer ") includes " included " (" target ", a higher layer)"
          } else if (rank[target] == rank[layer] && rank[target] + 0 > 0) {
            print file " (" layer ") includes " included " (" target ", a library of the same rank)"
          }
        }
        close(file)
      }')
  local line
  while IFS= read -r line; do
    [ -z "$line" ] || complain "$line"
  done <<<"$report"
}

# The sources of every library a CMake file and the folders it adds define outside
# their Windows-only branches (if(WIN32), or the else() of if(NOT WIN32)), relative
# to the tree.
portable_sources() {
  local list line
  for list in "$@"; do
    while IFS= read -r line; do
      case $line in
        @*) portable_sources "${line#@}/CMakeLists.txt" ;;
        *) echo "$line" ;;
      esac
    done < <(awk -v dir="$(dirname "$list")" '
      function windows_only(   i) { for (i = 1; i <= depth; i++) if (branch[i] == 1) return 1; return 0 }
      {
        line = $0
        sub(/#.*/, "", line)
        if (line ~ /^[ \t]*if[ \t]*\(/) {
          depth++
          condition[depth] = line ~ /if[ \t]*\([ \t]*WIN32[ \t]*\)/ ? "win" : line ~ /if[ \t]*\([ \t]*NOT[ \t]+WIN32[ \t]*\)/ ? "notwin" : "other"
          branch[depth] = condition[depth] == "win" ? 1 : 0
          next
        }
        if (line ~ /^[ \t]*else[ \t]*\(/) {
          if (condition[depth] == "win") branch[depth] = 0
          else if (condition[depth] == "notwin") branch[depth] = 1
          next
        }
        if (line ~ /^[ \t]*elseif[ \t]*\(/) { branch[depth] = 0; condition[depth] = "other"; next }
        if (line ~ /^[ \t]*endif[ \t]*\(/) { depth--; next }
        if (line ~ /add_subdirectory[ \t]*\(/ && !windows_only()) {
          sub(/.*add_subdirectory[ \t]*\([ \t]*/, "", line)
          sub(/[ \t)].*/, "", line)
          print "@" dir "/" line
          next
        }
        if (!collecting && line ~ /(add_library|target_sources)[ \t]*\(/ && !windows_only()) collecting = 1
        if (collecting) {
          n = split(line, words, /[ \t()]+/)
          for (i = 1; i <= n; i++)
            if (words[i] ~ /\.cpp$/ && words[i] !~ /\$/) print dir "/" words[i]
          if (line ~ /\)/) collecting = 0
        }
      }' "$list")
  done
}

# Prints "FILE DEPENDENCY..." for every file, one line each, from the compiler's
# dependency list. Headers that do not exist here (third-party, the system's
# Windows headers) are listed as written instead of failing the run.
dependencies() {
  xargs -0 -n 24 -P 2 "${CXX:-g++}" -std=c++20 -x c++ -w -nostdinc -nostdinc++ -M -MG -I. |
    sed -e ':join' -e '/\\$/{N; s/\\\n//; b join}' -e 's/^[^:]*:[[:space:]]*//' -e 's/[[:space:]]\+/ /g'
}

check_portable() {
  local listed=() file
  while IFS= read -r file; do
    [ -f "$file" ] && listed+=("$file")
  done < <(portable_sources framework/CMakeLists.txt dialog/CMakeLists.txt app/CMakeLists.txt)
  local source deps dep via
  while read -r source deps; do
    [ -n "$source" ] || continue
    for dep in $deps; do
      case ${dep##*/} in
        [Ww]indows.h) ;;
        *) continue ;;
      esac
      via=
      for header in $deps; do
        if [ -f "$header" ] && grep -qiE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]windows\.h[>"]' "$header"; then
          via=$header
          break
        fi
      done
      if [ -z "$via" ] || [ "$via" = "$source" ]; then
        complain "$source is portable but includes windows.h"
      else
        complain "$source is portable but reaches windows.h through $via"
      fi
      break
    done
  done < <({ find payload tools -type f \( -name '*.h' -o -name '*.cpp' \) -print0; printf '%s\0' "${listed[@]}"; } |
    sort -zu | dependencies)
}

check_includes
check_portable

if [ "$failures" -gt 0 ]; then
  echo "layers: $failures fault(s)" >&2
  exit 1
fi
echo "layers: every include points down and portable code stays free of windows.h"
