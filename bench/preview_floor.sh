#!/usr/bin/env bash
# The preview's floor: a bare QWebEngineView (bench/webengine_floor) loading price lists
# of 100 KB, 1 MB, 5 MB and 13 MB, offscreen. For each page: the seconds to loadFinished
# and the peak memory of the whole process tree (the engine's helper processes included),
# sampled every 0.1 s; best of three. The preview opens the same pages in the window.
# Usage: bench/preview_floor.sh [build folder configured with YENTAX_GUI and YENTAX_BENCH]
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build-bench}"
floor="$build/webengine_floor"
if [ ! -x "$floor" ]; then
  echo "preview_floor: $floor is missing; build the target webengine_floor" >&2
  exit 1
fi
export QT_QPA_PLATFORM=offscreen
# As root the engine needs its sandbox off; there is no GPU offscreen.
export QTWEBENGINE_CHROMIUM_FLAGS="--no-sandbox --disable-gpu"

work="$(mktemp -d "${TMPDIR:-/tmp}/yentax-floor-XXXXXX")"
trap 'rm -rf "$work"' EXIT

# The rows of bench/reference_figures.sh, in code page 932, cut after the row that
# reaches the size.
price_list() {
  perl -CS -e '
    my ($bytes) = @ARGV;
    print "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\"></head><body><table>\r\n";
    my $size = 0;
    for (my $i = 0; $size < $bytes; ++$i) {
      my $amount = 20 + ($i * 7919) % 99980;
      1 while $amount =~ s/^(\d+)(\d{3})/$1,$2/;
      my $row = "<tr><td>\x{5546}\x{54C1}" . ($i % 1000) . " \x{5728}\x{5EAB}\x{3042}\x{308A}</td><td>$amount\x{5186}</td><td>\x{9001}\x{6599}\x{5225}</td></tr>\r\n";
      print $row;
      $size += length($row) + 12;
    }
    print "</table></body></html>\r\n";
  ' "$1" | iconv -f UTF-8 -t CP932
}

# The resident kilobytes of the process and all its descendants.
tree_rss() {
  ps -e -o pid=,ppid=,rss= | awk -v top="$1" '
    { parent[$1] = $2; rss[$1] = $3 }
    END {
      for (p in rss) {
        for (q = p; q != "" && q != 0 && q != top; q = parent[q]) {}
        if (q == top) total += rss[p];
      }
      print total + 0
    }'
}

# "seconds peak-KB" of one load.
load_once() {
  "$floor" "$1" >"$work/out.txt" 2>/dev/null &
  local pid=$! peak=0 now
  while kill -0 "$pid" 2>/dev/null; do
    now=$(tree_rss "$pid")
    [ "$now" -gt "$peak" ] && peak=$now
    sleep 0.1
  done
  wait "$pid" || true
  echo "$(awk '/^loaded/ { print $2 }' "$work/out.txt") $peak"
}

for size in 102400 1048576 5242880 13631488; do
  price_list "$size" >"$work/page.htm"
  best=""
  for _ in 1 2 3; do
    figures=$(load_once "$work/page.htm")
    if [ -z "$best" ] || awk -v a="$figures" -v b="$best" 'BEGIN { split(a, x, " "); split(b, y, " "); exit !(x[1] < y[1]) }'; then
      best="$figures"
    fi
  done
  awk -v size="$size" -v f="$best" 'BEGIN {
    split(f, x, " ");
    printf "%6.1f MB page: bare QWebEngineView %.2f s to loadFinished, process tree %.0f MB\n", size / 1048576, x[1], x[2] / 1024 }'
done
