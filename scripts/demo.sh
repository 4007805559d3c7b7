#!/usr/bin/env bash
# Converts the sample shop pages of examples/ unattended, as a scheduled job would:
# build/yentax with a copy of examples/demo.KVT that names this checkout's folders; then
# moves the food shop's prices to another rate and back.
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
  exit "$status"
fi

# The second step: a rate-change day at the food shop of examples/food_shop. Food goes
# from 8 % to a temporary 0 %, check confirms it; the end of the 0 % is shown both ways:
# restore puts back the backups the move kept, and a move back from 0 % to 8 % gives the
# pages as they were too.
shop="$out/food_shop"
cp -r "$root/examples/food_shop" "$shop"
same_as_examples() {
  for page in "$root"/examples/food_shop/*; do
    cmp "$page" "$shop/$(basename "$page")"
  done
}
echo
echo "Rate change: food from 8% to 0% in $shop"
"$program" rerate --from 8 --to 0 --items reduced --in-place --verbose \
  --log "$out/rerate.LOG" "$shop"
"$program" check --reduced-rate 0 "$shop"
echo "check --reduced-rate 0: every amount shows its rate"
echo "Rate change log: $out/rerate.LOG"
"$program" restore "$shop"
same_as_examples
echo "Restored from the backups: the pages are as they were"
"$program" rerate --from 8 --to 0 --items reduced --in-place --no-backup "$shop"
"$program" rerate --from 0 --to 8 --items reduced --in-place --no-backup "$shop"
same_as_examples
echo "Moved to 0% and back to 8%: the pages are as they were"
