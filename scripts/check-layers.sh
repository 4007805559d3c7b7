#!/usr/bin/env bash
# Fails when a source file includes a header of a layer above its own. The layers and
# their order (lowest first) are the YENTAX_LAYERS list of CMakeLists.txt.
set -euo pipefail
cd "$(dirname "$0")/.."

read -r -a layers <<<"$(sed -n 's/^set(YENTAX_LAYERS \(.*\))$/\1/p' CMakeLists.txt)"
[ ${#layers[@]} -gt 0 ] || { echo "check-layers: no YENTAX_LAYERS in CMakeLists.txt" >&2; exit 1; }

declare -A rank
for i in "${!layers[@]}"; do rank[${layers[$i]}]=$i; done

status=0
for layer in "${layers[@]}"; do
  [ -d "$layer" ] || continue
  while IFS=: read -r file line include; do
    used=${include%%/*}
    if [ -n "${rank[$used]+x}" ] && [ "${rank[$used]}" -gt "${rank[$layer]}" ]; then
      echo "$file:$line: $layer includes $include from the higher layer $used" >&2
      status=1
    fi
  done < <(grep -Hn -o '^#include "[^"]*"' "$layer"/*.h "$layer"/*.cpp 2>/dev/null |
           sed 's/#include "\(.*\)"$/\1/')
done
exit $status
