#!/usr/bin/env bash
# Fails when a source file includes a header of a layer above its own, when code below
# the Qt shell includes a Qt header, or when the shell outside qt/browser/ includes the
# browser engine or the browser windows. The core's layers and their order (lowest
# first) are the YENTAX_LAYERS list of CMakeLists.txt; the Qt shell qt/ stands above all.
set -euo pipefail
cd "$(dirname "$0")/.."

read -r -a core <<<"$(sed -n 's/^set(YENTAX_LAYERS \(.*\))$/\1/p' CMakeLists.txt)"
[ ${#core[@]} -gt 0 ] || { echo "check-layers: no YENTAX_LAYERS in CMakeLists.txt" >&2; exit 1; }
layers=("${core[@]}" qt)

declare -A rank
for i in "${!layers[@]}"; do rank[${layers[$i]}]=$i; done

sources() { find "$1" -type f \( -name '*.h' -o -name '*.cpp' \) -print0 | sort -z; }

status=0
for layer in "${layers[@]}"; do
  [ -d "$layer" ] || continue
  while IFS=: read -r file line include; do
    used=${include%%/*}
    if [ -n "${rank[$used]+x}" ] && [ "${rank[$used]}" -gt "${rank[$layer]}" ]; then
      echo "$file:$line: $layer includes $include from the higher layer $used" >&2
      status=1
    fi
  done < <(sources "$layer" | xargs -0 -r grep -Hn -o '^#include "[^"]*"' |
           sed 's/#include "\(.*\)"$/\1/')
done

# Qt belongs to the shell and its tools; the core must build and run without it.
for layer in "${core[@]}"; do
  [ -d "$layer" ] || continue
  while IFS= read -r hit; do
    echo "$hit: Qt is included below qt/" >&2
    status=1
  done < <(sources "$layer" | xargs -0 -r grep -Hn -E '^#include <Q[A-Za-z]*(/|>)')
done
# The main window starts without the browser engine: only the windows that hold a
# browser, in their own module, include it.
while IFS= read -r hit; do
  echo "$hit: the browser engine is included outside qt/browser/" >&2
  status=1
done < <(find qt -path qt/browser -prune -o -type f \( -name '*.h' -o -name '*.cpp' \) -print0 |
         sort -z | xargs -0 -r grep -Hn -E '^#include <QWebEngine|^#include "qt/browser/')
exit $status
