#!/usr/bin/env bash
# The cache of Qt for Windows (scripts/build-qt-windows), in a cache folder
# of its own, with a played dpkg-query and apt-get in front of the real ones:
#   qt_cache.sh
# 1. The key of the cached Qt changes when any tool whose output goes into
#    the build changes its version, so that an upgraded tool never reuses a
#    Qt built by the old one; and it is the same twice over.
# 2. Two builds asked for at once: the second waits for the first.
# Needs what scripts/build-qt-windows needs (install-deps windows and a
# deb-src entry); exits 77 without it, 1 when a check failed.
set -euo pipefail

src=$(cd "$(dirname "$0")/../.." && pwd)
script=$src/scripts/build-qt-windows
work=$(mktemp -d "${TMPDIR:-/tmp}/kaldora-qt-cache-XXXXXX")
pids=()
cleanup() {
    local p
    for p in "${pids[@]}"; do
        kill -- "-$p" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# dpkg-query answers with a newer version of $BUMP; apt-get source marks
# that a build got as far as fetching and then stands still.
mkdir "$work/bin"
cat >"$work/bin/dpkg-query" <<'EOF'
#!/usr/bin/env bash
out=$(/usr/bin/dpkg-query "$@") || exit $?
if [[ -n ${BUMP:-} && " $* " == *" $BUMP "* && $* == *Version* ]]; then
    out="$out+1"
fi
printf '%s\n' "$out"
EOF
cat >"$work/bin/apt-get" <<'EOF'
#!/usr/bin/env bash
if [ "${1:-}" = source ]; then
    echo fetch >>"$FETCHES"
    exec sleep 600
fi
exec /usr/bin/apt-get "$@"
EOF
chmod +x "$work/bin/dpkg-query" "$work/bin/apt-get"
export PATH=$work/bin:$PATH XDG_CACHE_HOME=$work/cache FETCHES=$work/fetches

# The prefix a build would make; --print-prefix names it also when it is not
# built yet.
prefix_for() {
    BUMP=${1:-} "$script" --print-prefix 2>&1 | grep -o "$work/cache/kaldora/qt-[^ )]*" || true
}
base=$(prefix_for)
if [ -z "$base" ]; then
    echo "SKIPPED: build-qt-windows cannot work out its key here:"
    "$script" --print-prefix || true
    exit 77
fi

echo "== the key follows the tools' versions"
[ "$(prefix_for)" = "$base" ] || fail "the key differs between two runs"
# The compilers, CMake and Ninja build Qt, patch applies its changes, Tcl
# writes SQLite's amalgamation, and moc, rcc and uic come from the host Qt.
for package in g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev \
    cmake ninja-build patch tcl8.6 qt6-base-dev-tools; do
    bumped=$(prefix_for "$package")
    if [ -z "$bumped" ] || [ "$bumped" = "$base" ]; then
        fail "a newer $package keeps the key ($base)"
    fi
done

echo "== a second build waits for the first"
wait_for() { # seconds, condition...
    local n=$(($1 * 10))
    shift
    while ! "$@"; do
        n=$((n - 1))
        [ $n -gt 0 ] || return 1
        sleep 0.1
    done
}
fetches() { [ -f "$FETCHES" ] && [ "$(wc -l <"$FETCHES")" -ge "$1" ]; }
setsid "$script" >"$work/first.out" 2>&1 &
pids+=($!)
if ! wait_for 120 fetches 1; then
    fail "the first build did not start: $(cat "$work/first.out")"
else
    setsid "$script" >"$work/second.out" 2>&1 &
    pids+=($!)
    wait_for 120 grep -q "waiting for another build-qt-windows" "$work/second.out" ||
        fail "the second build did not wait: $(cat "$work/second.out")"
    # Time enough for a second build that took the lock to reach its fetch.
    sleep 3
    ! fetches 2 || fail "both builds went on at once"
fi

echo "Qt cache: $failures failing check(s)"
[ "$failures" -eq 0 ]
