#!/usr/bin/env bash
# Converts the sample shop pages of examples/ unattended, as a scheduled job would:
# build/yentax with a copy of examples/demo.KVT that names this checkout's folders.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-build}"
case "$build" in
  /*) ;;
  *) build="$root/$build" ;;
esac
program="$build/yentax"
out="$build/demo-out"
settings="$build/demo.KVT"
log="$out/demo.LOG"

if [ ! -x "$program" ]; then
  echo "demo: $program is missing; build it with make first" >&2
  exit 1
fi

rm -rf "$out"
mkdir -p "$out"

# The settings file holds absolute paths in code page 932 with CR LF line ends; only
# the path keys change, every other line stays as written.
iconv -f CP932 -t UTF-8 "$root/examples/demo.KVT" |
  LC_ALL=C awk -v src="$root/examples" -v dest="$out" -v page="$root/examples/shop_sjis.htm" \
    -v logfile="$log" '
    { sub(/\r$/, "") }
    /^変換元フォルダ=/ { $0 = "変換元フォルダ=" src }
    /^変換先フォルダ=/ { $0 = "変換先フォルダ=" dest }
    /^変換先フォルダ1=/ { $0 = "変換先フォルダ1=" dest }
    /^HTMLファイル=/ { $0 = "HTMLファイル=" page }
    /^ログファイル名=/ { $0 = "ログファイル名=" logfile }
    { printf "%s\r\n", $0 }' |
  iconv -f UTF-8 -t CP932 >"$settings"

shopt -s nullglob
status=0
"$program" "$settings" || status=$?

echo "Converted pages in $out:"
for page in "$out"/*; do
  [ "$page" = "$log" ] || echo "  $(basename "$page")"
done
echo "Conversion log: $log"
echo "Settings used: $settings"
if [ "$status" -ne 0 ]; then
  echo "demo: yentax reported problems (exit status $status)" >&2
fi
exit "$status"
