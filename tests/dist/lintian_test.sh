#!/usr/bin/env bash
# Builds the Debian package with CPack from the build, as "make package"
# does, and has lintian check it: no error and no warning. The changelog it
# carries starts with the package's own version.
#   lintian_test.sh BUILD_DIR VERSION
set -u
build=$1
version=$2
here=$(cd "$(dirname "$0")" && pwd)
source "$here/common.sh"

require_tools cpack dpkg-deb dpkg-shlibdeps dpkg-parsechangelog file lintian

tmp=$(mktemp -d) || exit 1
trap 'rm -rf "$tmp"' EXIT
# lintian and CMake read settings of the user's in the home.
export HOME=$tmp/home
mkdir -p "$HOME"

(cd "$build" && cpack --config CPackConfig.cmake -B "$tmp/out") >"$tmp/cpack.log" 2>&1 ||
    { cat "$tmp/cpack.log" >&2; fail "cpack failed"; }
deb=$(echo "$tmp"/out/kaldora_*.deb)
[[ -f $deb ]] || fail "no package; made: $(ls "$tmp/out")"

# Informational and pedantic findings are shown, not failed on.
lintian --tag-display-limit 0 --fail-on error,warning --display-info --pedantic "$deb" ||
    fail "lintian found errors or warnings"

dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/doc/kaldora/changelog.gz | gzip -dc \
    >"$tmp/changelog" || fail "the package has no readable changelog"
latest=$(dpkg-parsechangelog -l "$tmp/changelog" -S Version) || fail "the changelog does not parse"
[[ $latest == "$version" ]] || fail "the changelog's latest entry is $latest, the package $version"
echo "$(basename "$deb"): lintian has no error or warning"
