#!/usr/bin/env bash
# The whole program beside its references, on the same pages in the same run:
#   - a 13 MB Shift_JIS price list with an amount "N円" in every row, converted by an
#     unattended run of yentax, by the Perl substitution bench/tax.pl, and sent through
#     an iconv round trip (code page 932 -> UTF-16 -> code page 932);
#   - the same rows without amounts, by yentax and by Perl;
#   - a folder of 10,000 pages of about 2 KB, by yentax (the settings file's run, and
#     convert -r on one worker and on two) and by cp -r.
# Each figure is the best of three runs: elapsed seconds and peak resident memory.
# The script deletes its 130,000 files when it ends; give the next run of it half a
# minute (see set_aside below).
# Usage: bench/reference_figures.sh [build folder holding a Release yentax]
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build-bench}"
program="$build/yentax"
if [ ! -x "$program" ]; then
  echo "reference_figures: $program is missing; run make bench first" >&2
  exit 1
fi

work="$(mktemp -d "${TMPDIR:-/tmp}/yentax-figures-XXXXXX")"
trap 'rm -rf "$work"' EXIT

# The price list rows of bench/bench_pages.cpp, written in UTF-8 and then in code page 932.
price_list() {
  perl -CS -e '
    my ($bytes, $bare) = @ARGV;
    print "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\"></head><body><table>\r\n";
    my $size = 0;
    for (my $i = 0; $size < $bytes; ++$i) {
      my $amount = 20 + ($i * 7919) % 99980;
      1 while $amount =~ s/^(\d+)(\d{3})/$1,$2/;
      my $price = $bare ? "\x{304A}\x{554F}\x{3044}\x{5408}\x{308F}\x{305B}" : "$amount\x{5186}";
      my $row = "<tr><td>\x{5546}\x{54C1}" . ($i % 1000) . " \x{5728}\x{5EAB}\x{3042}\x{308A}</td><td>$price</td><td>\x{9001}\x{6599}\x{5225}</td></tr>\r\n";
      print $row;
      $size += length($row) + 12;
    }
    print "</table></body></html>\r\n";
  ' "$1" "$2" | iconv -f UTF-8 -t CP932
}

# A settings file for an unattended run of every page of a folder, without backups.
settings_for() {
  iconv -f CP932 -t UTF-8 "$root/examples/demo.KVT" |
    LC_ALL=C awk -v src="$1" -v dest="$2" -v logfile="$3" '
      { sub(/\r$/, "") }
      /^変換元フォルダ=/ { $0 = "変換元フォルダ=" src }
      /^変換先フォルダ=/ { $0 = "変換先フォルダ=" dest }
      /^変換先フォルダ1=/ { $0 = "変換先フォルダ1=" dest }
      /^ログファイル名=/ { $0 = "ログファイル名=" logfile }
      /^バックアップ=/ { $0 = "バックアップ=False" }
      { printf "%s\r\n", $0 }' |
    iconv -f UTF-8 -t CP932
}

# Best of three: "seconds peak-KB" of the command, run in a fresh state each time.
best_of_three() {
  local prepare="$1" command="$2" best=""
  for _ in 1 2 3; do
    eval "$prepare"
    # Writes still cached from the previous run would otherwise be flushed during this one.
    sync
    /usr/bin/time -o "$work/time.txt" -f "%e %M" bash -c "$command" >/dev/null 2>&1
    local figures
    figures="$(tail -1 "$work/time.txt")"
    if [ -z "$best" ] || awk -v a="$figures" -v b="$best" 'BEGIN { split(a, x, " "); split(b, y, " "); exit !(x[1] < y[1]) }'; then
      best="$figures"
    fi
  done
  echo "$best"
}

mkdir -p "$work/big" "$work/bare" "$work/many"
price_list 13631488 0 >"$work/big/page.htm"
price_list 13631488 1 >"$work/bare/page.htm"
cp "$root/bench/tax.pl" "$work/tax.pl"
perl -e '
  my $dir = shift;
  for my $i (0 .. 9999) {
    open(my $f, ">", sprintf("%s/page%05d.htm", $dir, $i)) or die;
    print $f "<html><head><title>p$i</title></head><body><table>\r\n";
    print $f "<tr><td>item $_</td><td>" . (100 + ($i * 31 + $_ * 7) % 9000) . "\x{1}</td></tr>\r\n" for 1 .. 40;
    print $f "</table></body></html>\r\n";
    close $f;
  }' "$work/many"
# The rows above carry a placeholder where the "円" goes, written in code page 932 here.
find "$work/many" -name '*.htm' -print0 | xargs -0 perl -pi -e 's/\x01/\x89\x7E/g'

big_bytes=$(stat -c %s "$work/big/page.htm")
for name in big bare many; do
  settings_for "$work/$name" "$work/out-$name" "$work/out-$name.LOG" >"$work/$name.KVT"
done
# A run's earlier output is moved aside, not deleted: for half a minute after a file is
# deleted, ext4 without a journal passes over its inode when it makes a new file, one by
# one, so a run straight after deleting 10,000 files spends seconds in the kernel. Every
# command, cp included, starts from the same state; the moved output goes with $work.
set_aside() {
  echo "mkdir -p '$work/aside'; [ ! -e '$1' ] || mv '$1' \"\$(mktemp -d '$work/aside/XXXXXX')/\""
}
fresh() { echo "$(set_aside "$work/out-$1"); rm -f '$work/out-$1.LOG'; mkdir -p '$work/out-$1'"; }

yentax_big=$(best_of_three "$(fresh big)" "'$program' '$work/big.KVT'")
perl_big=$(best_of_three ":" "perl '$work/tax.pl' <'$work/big/page.htm' >'$work/perl-out.htm'")
iconv_big=$(best_of_three ":" "iconv -f CP932 -t UTF-16LE '$work/big/page.htm' | iconv -f UTF-16LE -t CP932 >'$work/iconv-out.htm'")
yentax_bare=$(best_of_three "$(fresh bare)" "'$program' '$work/bare.KVT'")
perl_bare=$(best_of_three ":" "perl '$work/tax.pl' <'$work/bare/page.htm' >'$work/perl-out.htm'")
yentax_many=$(best_of_three "$(fresh many)" "'$program' '$work/many.KVT'")
convert_many=$(best_of_three "$(set_aside "$work/out-many")" "'$program' convert -r -q -j 1 '$work/many' -o '$work/out-many'")
jobs_many=$(best_of_three "$(set_aside "$work/out-many")" "'$program' convert -r -q -j 2 '$work/many' -o '$work/out-many'")
cp_many=$(best_of_three "$(set_aside "$work/copy")" "cp -r '$work/many' '$work/copy'")

converted=$(grep -c . "$work/out-big.LOG" || true)
awk -v bytes="$big_bytes" -v yb="$yentax_big" -v pb="$perl_big" -v ib="$iconv_big" \
  -v ya="$yentax_bare" -v pa="$perl_bare" -v ym="$yentax_many" -v cm="$cp_many" \
  -v vm="$convert_many" -v jm="$jobs_many" -v lines="$converted" '
function verdict(value, goal) { return value <= goal ? "ok" : "OVER" }
BEGIN {
  split(yb, y, " "); split(pb, p, " "); split(ib, i, " ");
  split(ya, a, " "); split(pa, q, " "); split(ym, m, " "); split(cm, c, " ");
  split(vm, v, " "); split(jm, j, " ");
  mb = bytes / 1048576;
  printf "price list: %.1f MB, %d log lines\n", mb, lines;
  printf "  yentax %.2f s (%.1f MB/s), peak %.0f MB = %.1fx the page (goal <= 3) %s\n", y[1], mb / y[1], y[2] / 1024, y[2] * 1024 / bytes, verdict(y[2] * 1024 / bytes, 3);
  printf "  perl   %.2f s   -> yentax is %.3fx Perl (goal <= 0.1) %s\n", p[1], y[1] / p[1], verdict(y[1] / p[1], 0.1);
  printf "  iconv  %.2f s   -> yentax is %.2fx iconv (goal <= 1.5) %s\n", i[1], y[1] / i[1], verdict(y[1] / i[1], 1.5);
  printf "without amounts: yentax %.2f s, perl %.2f s -> %.2fx Perl, %.2fx iconv (goal <= 1.2x iconv) %s\n", a[1], q[1], a[1] / q[1], a[1] / i[1], verdict(a[1] / i[1], 1.2);
  printf "10,000 pages: cp -r %.2f s\n", c[1];
  printf "  settings file run %.2f s -> %.2fx cp -r (goal <= 3) %s\n", m[1], m[1] / c[1], verdict(m[1] / c[1], 3);
  printf "  convert -r -j 1   %.2f s -> %.2fx cp -r (goal <= 3) %s\n", v[1], v[1] / c[1], verdict(v[1] / c[1], 3);
  printf "  convert -r -j 2   %.2f s -> %.2fx cp -r (goal <= 2) %s\n", j[1], j[1] / c[1], verdict(j[1] / c[1], 2);
}'
