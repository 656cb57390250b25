#!/usr/bin/env bash
# Fails when a source file includes a header of a layer above its own.
#
#   scripts/check-layers.sh [SOURCE_DIR]
#
# Layers, bottom to top: win32 and payload, then framework, then dialog, then app.
# resources/ holds identifiers every layer may use. tools/ may use payload and the
# portable (windows.h-free) headers of framework and app. tests/ may use anything.
set -euo pipefail

root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root"

rank() {
  case $1 in
    resources) echo 0 ;;
    win32 | payload) echo 1 ;;
    framework) echo 2 ;;
    dialog) echo 3 ;;
    app) echo 4 ;;
    *) echo -1 ;;
  esac
}

# A header is portable when it does not include windows.h itself.
portable() {
  ! grep -qE '^#include <windows\.h>' "$1"
}

failures=0
complain() {
  echo "layers: $1" >&2
  failures=$((failures + 1))
}

while IFS= read -r -d '' file; do
  layer=${file%%/*}
  while IFS= read -r included; do
    target=${included%%/*}
    [ "$target" != "$included" ] || continue
    target_rank=$(rank "$target")
    [ "$target_rank" -ge 0 ] || continue
    if [ "$layer" = tools ]; then
      case $target in
        payload | resources) ;;
        framework | app)
          portable "$included" || complain "$file includes $included, which is not portable" ;;
        *) complain "$file includes $included: tools use only portable code" ;;
      esac
      continue
    fi
    own_rank=$(rank "$layer")
    if [ "$target_rank" -gt "$own_rank" ] || { [ "$target_rank" -eq 1 ] && [ "$own_rank" -eq 1 ] && [ "$target" != "$layer" ]; }; then
      complain "$file ($layer) includes $included ($target)"
    fi
  done < <(sed -nE 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]+)".*/\1/p' "$file")
done < <(find win32 payload framework dialog app tools -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.rc' \) -print0)

if [ "$failures" -gt 0 ]; then
  echo "layers: $failures upward include(s)" >&2
  exit 1
fi
echo "layers: every include points down"
