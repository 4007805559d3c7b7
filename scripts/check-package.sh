#!/usr/bin/env bash
# Checks the Debian packages that "make package" left in the build folder: lintian
# --pedantic without an error or a warning (overrides are in packaging/lintian/, each
# with its reason), the AppStream metadata and the desktop entry, that the commands'
# package pulls in no Qt, and that the shell completions parse.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

cli=$(ls "$build"/yentax_*.deb)
desktop=$(ls "$build"/yentax-desktop_*.deb 2>/dev/null || true)

fail() { echo "check-package: $*" >&2; exit 1; }

echo "== lintian --pedantic"
lintian --pedantic --display-info --fail-on error,warning --tag-display-limit 0 "$cli" $desktop

echo "== the commands' package needs no Qt"
depends=$(dpkg-deb -f "$cli" Depends Recommends)
if grep -qi 'qt' <<<"$depends"; then fail "$cli depends on Qt: $depends"; fi
if dpkg-deb -c "$cli" | grep -q 'yentax-desktop.so\|yentax-browser.so'; then
  fail "$cli holds a window module"
fi

echo "== manual page, changelog and binaries"
for deb in "$cli" $desktop; do
  contents=$(dpkg-deb -c "$deb")
  grep -q '/usr/share/doc/[^/]*/copyright$' <<<"$contents" || fail "$deb: no copyright"
  grep -q '/usr/share/doc/[^/]*/changelog.gz$' <<<"$contents" || fail "$deb: no changelog"
  if dpkg-deb -I "$deb" | grep -q ' postinst\| postrm'; then fail "$deb has maintainer scripts"; fi
done
grep -q 'man1/yentax.1.gz$' <<<"$(dpkg-deb -c "$cli")" || fail "no compressed manual page"

if [ -n "$desktop" ]; then
  echo "== AppStream and the desktop entry"
  appstreamcli validate --no-net --pedantic packaging/org.yentax.yentax.metainfo.xml
  desktop-file-validate packaging/yentax.desktop
fi
echo "== completions"
bash -n packaging/completion/yentax.bash
zsh -n packaging/completion/yentax.zsh
fish -n packaging/completion/yentax.fish
echo "check-package: all good"
