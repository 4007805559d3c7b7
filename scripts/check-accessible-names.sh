#!/usr/bin/env bash
# Starts the program's window on a virtual display with a session bus and accessibility
# on, and lists the controls a screen reader finds without a name (accessible_names.py,
# run by the system Python, for which python3-pyatspi is installed).
# Needs bash scripts/install-deps.sh a11y.
#
#   bash scripts/check-accessible-names.sh [BUILD_DIR]
set -euo pipefail

build=$(realpath "${1:-build}")
here=$(dirname "$(realpath "$0")")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# The session bus must outlive both the program and the walk, so both run inside it.
HOME="$scratch" XDG_CONFIG_HOME="$scratch/config" XDG_RUNTIME_DIR="$scratch" \
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb \
QTWEBENGINE_CHROMIUM_FLAGS="--no-sandbox --disable-gpu" \
  dbus-run-session -- bash -c '
    Xvfb :97 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb=$!
    export DISPLAY=:97
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
    "$1/yentax" >"$3/yentax.log" 2>&1 &
    program=$!
    status=0
    /usr/bin/python3 "$2/accessible_names.py" yentax || status=$?
    kill "$program" "$xvfb" 2>/dev/null || true
    wait "$program" "$xvfb" 2>/dev/null || true
    exit "$status"
  ' bash "$build" "$here" "$scratch"
