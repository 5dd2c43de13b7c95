#!/usr/bin/env bash
# Installs the build into a temporary folder as a package would (prefix /usr)
# and checks what lands there: the file list, the desktop entry and AppStream
# metadata with their validators, the manual pages, the icons and the
# programs' version.
#   install_test.sh BUILD_DIR FILE_LIST VERSION
set -u
build=$1
list=$2
version=$3
here=$(cd "$(dirname "$0")" && pwd)
source "$here/common.sh"

require_tools desktop-file-validate appstreamcli man file

tmp=$(mktemp -d) || exit 1
trap 'rm -rf "$tmp"' EXIT

DESTDIR=$tmp/root cmake --install "$build" --prefix /usr >"$tmp/install.log" 2>&1 ||
    { cat "$tmp/install.log" >&2; fail "cmake --install failed"; }
prefix=$tmp/root/usr

check_file_list "$prefix" "$list"
check_programs "$prefix" "$version"
check_data "$prefix" "$version"

desktop-file-validate "$prefix/share/applications/rs.kaldora.Kaldora.desktop" ||
    fail "desktop-file-validate refused the desktop entry"
# validate-tree checks the metadata and that its launchable desktop entry and
# icon are there too.
appstreamcli validate-tree --no-net "$tmp/root" || fail "appstreamcli refused the metadata"

for page in kaldora kaldora-obracun; do
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$prefix/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
    [[ -z $warnings ]] || fail "the manual page $page.1 has warnings: $warnings"
done
echo "installed and valid: $(wc -l <"$list") files"
