#!/usr/bin/env bash
# Fails when a tracked C++ source differs from what clang-format makes of it.
set -euo pipefail
cd "$(dirname "$0")/.."

format=$(command -v clang-format || command -v clang-format-14 || true)
[ -n "$format" ] || { echo "check-format: clang-format is not installed" >&2; exit 1; }

mapfile -t sources < <(git ls-files '*.cpp' '*.h')
[ ${#sources[@]} -gt 0 ] || exit 0
"$format" --dry-run --Werror "${sources[@]}"
