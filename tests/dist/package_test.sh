#!/usr/bin/env bash
# Builds the Debian package with CPack from the build, as "make package"
# does, and checks it: its name, its control fields (dependencies included),
# its files, and that the unpacked programs work: kaldora-obracun bills the
# example file as the tests of the build expect.
#   package_test.sh BUILD_DIR FILE_LIST VERSION EXAMPLE_CSV EXPECTED_CSV
set -u
build=$1
list=$2
version=$3
example=$4
expected=$5
here=$(cd "$(dirname "$0")" && pwd)
source "$here/common.sh"

require_tools cpack dpkg-deb dpkg-shlibdeps file

tmp=$(mktemp -d) || exit 1
trap 'rm -rf "$tmp"' EXIT

(cd "$build" && cpack --config CPackConfig.cmake -B "$tmp/out") >"$tmp/cpack.log" 2>&1 ||
    { cat "$tmp/cpack.log" >&2; fail "cpack failed"; }
# CPack only warns when it cannot work out the libraries' packages.
if grep -q 'CPackDeb.*not available\|dpkg-shlibdeps.*error' "$tmp/cpack.log"; then
    cat "$tmp/cpack.log" >&2
    fail "cpack could not work out the dependencies"
fi

deb=$tmp/out/kaldora_${version}_$(dpkg --print-architecture).deb
[[ -f $deb ]] || fail "no package $deb; made: $(ls "$tmp/out")"

field() { dpkg-deb -f "$deb" "$1"; }
[[ $(field Package) == kaldora ]] || fail "Package: $(field Package)"
[[ $(field Version) == "$version" ]] || fail "Version: $(field Version)"
[[ -n $(field Maintainer) ]] || fail "no Maintainer"
[[ $(field Section) == misc ]] || fail "Section: $(field Section)"
[[ -n $(field Description) ]] || fail "no Description"
long=$(field Description | awk 'length > 80')
[[ -z $long ]] || fail "description lines longer than 80 characters: $long"
depends=$(field Depends)
# What dpkg-shlibdeps finds in the programs, and what Qt loads at run time.
for package in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6sql6 \
    libqt6sql6-sqlite qt6-qpa-plugins fonts-liberation2; do
    [[ ,$depends, =~ [\ ,]"$package"[\ ,] ]] || fail "Depends lacks $package: $depends"
done

# Everything below /usr, and nothing else.
dpkg-deb -c "$deb" | awk '{print $6}' | grep -v '/$' | grep -v '^\./usr/' &&
    fail "files outside /usr"
dpkg-deb -x "$deb" "$tmp/root" || fail "dpkg-deb -x failed"
prefix=$tmp/root/usr
check_file_list "$prefix" "$list"
check_programs "$prefix" "$version"
check_data "$prefix" "$version"
file -b "$prefix/bin/kaldora" | grep -q 'stripped' && ! file -b "$prefix/bin/kaldora" | grep -q 'not stripped' ||
    fail "the programs are not stripped: $(file -b "$prefix/bin/kaldora")"

# The unpacked batch calculator bills the example as the build's own does,
# once with the prices given and once from a price list it creates in a data
# folder of this check's own, never the user's. The example has one meter
# whose reading is no number, so one row is not billed: exit code 1.
bill() {
    env LC_ALL=sr_RS.UTF-8 "$@" "$prefix/bin/kaldora-obracun" "${prices[@]}" "$example" \
        >"$tmp/bills.csv" 2>"$tmp/messages"
    local code=$?
    [[ $code == 1 ]] || { cat "$tmp/messages" >&2; fail "kaldora-obracun exit code $code, expected 1"; }
    grep -qF 'nije obracunato redova: 1 od 7' "$tmp/messages" ||
        fail "kaldora-obracun said: $(cat "$tmp/messages")"
    diff -u "$expected" "$tmp/bills.csv" >&2 || fail "the unpacked kaldora-obracun billed differently"
}
prices=(--cene "3,10;1,55;4,65;2,33;9,30;4,65")
bill
prices=()
bill XDG_DATA_HOME="$tmp/data" HOME="$tmp/home"
[[ -s $tmp/data/kaldora/cenovnik.db ]] || fail "no price list in the given data folder"

echo "$(basename "$deb"): $(stat -c %s "$deb") bytes, $(wc -l <"$list") files"
