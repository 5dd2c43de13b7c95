#!/usr/bin/env bash
# Builds the Debian package twice from one tree, as "make package" does (tests
# and benchmarks off, dated SOURCE_DATE_EPOCH), and checks that the two
# packages are the same bytes, dated the given day. The second build differs
# in what must not matter: the paths of its tree and build folder and where
# one lies from the other, the files' dates, the umask and the time zone.
#   reproducible_test.sh SOURCE_DIR
set -u
source=$1
here=$(cd "$(dirname "$0")" && pwd)
source "$here/common.sh"

require_tools cmake cpack dpkg-deb dpkg-shlibdeps file gzip ar

tmp=$(mktemp -d) || exit 1
trap 'rm -rf "$tmp"' EXIT

# The date make package gives a git checkout; any fixed date does elsewhere.
if [[ -e $source/.git ]]; then
    SOURCE_DATE_EPOCH=$(git -C "$source" log -1 --format=%ct) || fail "git log failed"
else
    SOURCE_DATE_EPOCH=$(stat -c %Y "$source/CMakeLists.txt")
fi
export SOURCE_DATE_EPOCH
# CMake and CPack read a user's package registry and settings in the home.
export HOME=$tmp/home
mkdir -p "$HOME"

# What the package is built from, copied once, so that edits to the tree while
# the test runs cannot set the two builds apart; the second copy is made now
# and has new file dates.
first=$tmp/one/kaldora
second=$tmp/the-second-build/copy-of-the-tree
mkdir -p "$first" "$second"
for part in CMakeLists.txt cmake dist src; do
    cp -a "$source/$part" "$first/" || fail "could not copy $part"
done
cp -R "$first/." "$second/" || fail "could not copy the tree"

# build TREE BUILD_FOLDER UMASK TZ: the package, in BUILD_FOLDER; CPack runs
# under the umask make package gives it.
build() {
    local tree=$1 folder=$2
    mkdir -p "$folder"
    (export TZ=$4 && umask "$3" &&
        cmake -S "$tree" -B "$folder" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
            -DKALDORA_BUILD_TESTS=OFF -DKALDORA_BUILD_BENCHMARKS=OFF &&
        cmake --build "$folder" -j "$(nproc)" && cd "$folder" && umask 022 && cpack) \
        >"$folder/build.log" 2>&1 ||
        { tail -n 40 "$folder/build.log" >&2; fail "the build in $folder failed"; }
}
build "$first" "$tmp/one/build" 022 UTC
build "$second" "$tmp/the-second-build/objects/deb" 027 Pacific/Kiritimati

one=$(echo "$tmp"/one/build/kaldora_*.deb)
two=$(echo "$tmp"/the-second-build/objects/deb/kaldora_*.deb)
if ! cmp -s "$one" "$two"; then
    # Name what differs: the archive's members, the files' listings, the files.
    for deb in "$one" "$two"; do
        mkdir -p "$deb.x"
        dpkg-deb -R "$deb" "$deb.x" || fail "dpkg-deb -R $deb failed"
    done
    diff <(ar tv "$one") <(ar tv "$two") >&2
    diff <(dpkg-deb -c "$one") <(dpkg-deb -c "$two") >&2
    diff -r -q "$one.x" "$two.x" >&2
    fail "two builds of one tree gave different packages"
fi

# Every file carries the given date, not the time of the build.
dated=$(TZ=UTC date -d "@$SOURCE_DATE_EPOCH" '+%F %T')
undated=$(TZ=UTC dpkg-deb --fsys-tarfile "$one" | TZ=UTC tar -tv --full-time |
    grep -vF " $dated ")
[[ -z $undated ]] || fail "files not dated $dated: $undated"

echo "the same package twice: $(sha256sum "$one" | cut -d' ' -f1), $(stat -c %s "$one") bytes"
