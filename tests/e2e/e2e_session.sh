#!/usr/bin/env bash
# Inside the virtual display and the session bus: starts the accessibility
# bus, waits until it is there (a program that starts before it never offers
# itself to AT-SPI), runs the test script, and stops the bus it started.
#   e2e_session.sh PYTHON SCRIPT
set -u
python=$1
script=$2
bus_wait_tries=100

"$KALDORA_E2E_LAUNCHER" --launch-immediately &
launcher_pid=$!

bus_ready() {
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus 2>/dev/null | grep -q 'boolean true'
}
tries=0
until bus_ready; do
    tries=$((tries + 1))
    if ((tries > bus_wait_tries)); then
        echo "FAIL: the accessibility bus did not start" >&2
        kill "$launcher_pid" 2>/dev/null
        exit 1
    fi
    sleep 0.1
done

"$python" "$script"
code=$?
kill "$launcher_pid" 2>/dev/null
wait "$launcher_pid" 2>/dev/null
exit "$code"
