#!/usr/bin/env bash
# Runs the end-to-end test of the real kaldora program through the
# accessibility interface, as a screen reader or an automation tool sees it:
#   run_e2e.sh KALDORA SCRIPT
# The program gets a virtual X display (AT-SPI needs a real one, not Qt's
# offscreen platform), a session bus of its own with the accessibility bus
# on it, and a home and data folder of its own, so the user's price list is
# never touched.
set -u
kaldora=$1
script=$2
here=$(cd "$(dirname "$0")" && pwd)

# The system's Python: the accessibility binding is a Debian package.
python=/usr/bin/python3
launcher=/usr/libexec/at-spi-bus-launcher
for tool in Xvfb dbus-run-session; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is missing (scripts/install-deps test installs it)"
        exit 77
    fi
done
if [[ ! -x $launcher ]] || ! "$python" -c 'import pyatspi' 2>/dev/null; then
    echo "SKIP: the accessibility bus or pyatspi is missing (scripts/install-deps test installs them)"
    exit 77
fi

tmp=$(mktemp -d) || exit 1
trap 'rm -rf "$tmp"' EXIT
export HOME=$tmp/home XDG_DATA_HOME=$tmp/data XDG_CONFIG_HOME=$tmp/config \
    XDG_CACHE_HOME=$tmp/cache XDG_RUNTIME_DIR=$tmp/runtime
mkdir -p "$HOME" "$XDG_DATA_HOME" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY DISPLAY
# Qt offers its widgets to AT-SPI only when asked; without a desktop nobody
# asks.
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
# The script's compiled form stays out of the source tree.
export PYTHONDONTWRITEBYTECODE=1
export KALDORA_E2E_PROGRAM=$kaldora KALDORA_E2E_LAUNCHER=$launcher
# In the sanitizer suite the program runs on a real X display, which none of
# the other tests uses: one report from a system library is suppressed there.
if [[ -n ${ASAN_OPTIONS:-} ]]; then
    export ASAN_OPTIONS="$ASAN_OPTIONS:suppressions=$here/asan-suppressions.txt"
fi

# The X server picks a free display itself and says which (-displayfd): no
# guess at a free number that another server may take first, and no cookie
# tied to the host name. It does not reset when its last client leaves
# (-noreset): the accessibility bus's launcher connects and leaves before
# kaldora starts, and a program that connects during the reset is refused.
# Its log is kept, to be shown if anything fails.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset \
    3>"$tmp/display" >"$tmp/xvfb.log" 2>&1 &
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; rm -rf "$tmp"' EXIT
tries=0
until [[ -s $tmp/display ]]; do
    tries=$((tries + 1))
    if ! kill -0 "$xvfb_pid" 2>/dev/null || ((tries > 100)); then
        echo "FAIL: the virtual display did not start" >&2
        cat "$tmp/xvfb.log" >&2
        exit 1
    fi
    sleep 0.1
done
export DISPLAY=:$(head -n 1 "$tmp/display")

dbus-run-session -- bash "$here/e2e_session.sh" "$python" "$script"
code=$?
if ((code != 0 && code != 77)); then
    echo "--- virtual display $DISPLAY, server log:" >&2
    cat "$tmp/xvfb.log" >&2
fi
exit "$code"
