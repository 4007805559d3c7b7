#!/usr/bin/env bash
# Installs the Debian packages the build needs; quick and silent when all are there.
# "ci" adds what the CI checks need (clang-format, and lintian with the other package
# checkers), "fuzz" what the fuzz targets need
# (clang with its libFuzzer runtime), "a11y" what scripts/check-accessible-names.sh needs,
# "bench" what bench/preview_floor.sh needs (xwininfo, to see the main window appear).
set -euo pipefail

packages=(cmake g++ make file dpkg-dev patch libgtest-dev libgmock-dev libbenchmark-dev
  # the desktop program: Qt 6 with its Japanese texts, a Japanese font, a display for tests
  qt6-base-dev qt6-webengine-dev qt6-translations-l10n fonts-ipafont-gothic xvfb xauth
  # the start-up asks the X server whether it answers before Qt would abort
  libxcb1-dev)
for extra in "$@"; do
  case "$extra" in
    ci) packages+=(clang-format git lintian appstream desktop-file-utils zsh fish) ;;
    fuzz) packages+=(clang libclang-rt-14-dev) ;;
    a11y) packages+=(python3-pyatspi at-spi2-core dbus-x11 x11-utils) ;;
    bench) packages+=(x11-utils) ;;
    *) echo "install-deps: unknown group $extra" >&2; exit 1 ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "install-deps: installing ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  as_root=()
elif command -v sudo >/dev/null 2>&1; then
  as_root=(sudo)
else
  echo "install-deps: need root or sudo to install ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
