#!/usr/bin/env bash
# Runs each fuzz target of a fuzz build for a bounded time, starting from the sample pages
# and settings file; a crash leaves its input in <build>/crashes and fails the script.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:?usage: run-fuzzers.sh BUILD_DIR [SECONDS]}
seconds=${2:-60}
mkdir -p "$build/crashes"

seeds_for() {
  case "$1" in
    fuzz_settings_file) echo examples/demo.KVT ;;
    *) ls examples/*.htm examples/*.html ;;
  esac
}

status=0
for target in "$build"/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus="$build/corpus/$name"
  mkdir -p "$corpus"
  for seed in $(seeds_for "$name"); do cp -n "$seed" "$corpus/" 2>/dev/null || true; done
  echo "fuzz: $name for ${seconds}s"
  if ! "$target" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 \
      -artifact_prefix="$build/crashes/$name-" -print_final_stats=1 "$corpus" \
      > "$build/$name.log" 2>&1; then
    echo "fuzz: $name failed; see $build/$name.log and $build/crashes" >&2
    status=1
  fi
  grep -E '^stat::number_of_executed_units' "$build/$name.log" || true
done
exit $status
