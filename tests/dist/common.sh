# Shared by the checks of the installed files: what a tree below a prefix
# must hold, and how its programs answer.
#   source common.sh; check_file_list PREFIX FILE_LIST; check_programs PREFIX VERSION; ...

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Skips the check (exit code 77) when one of the tools is missing.
require_tools() {
    local tool
    for tool in "$@"; do
        if ! command -v "$tool" >/dev/null; then
            echo "SKIP: $tool is missing (scripts/install-deps test installs it)"
            exit 77
        fi
    done
}

# Every file of the list and nothing else (sorted the same way).
check_file_list() {
    local prefix=$1 list=$2
    local found
    found=$(cd "$prefix" && find . -type f -printf '%P\n' | LC_ALL=C sort)
    diff -u <(LC_ALL=C sort "$list") <(echo "$found") >&2 ||
        fail "the installed files differ from $list"
}

# The programs run from where they were put and give the one version.
check_programs() {
    local prefix=$1 version=$2
    local out
    out=$(env -u DISPLAY -u WAYLAND_DISPLAY "$prefix/bin/kaldora" --version) ||
        fail "kaldora --version failed"
    [[ $out == "kaldora $version" ]] || fail "kaldora --version said \"$out\""
    out=$("$prefix/bin/kaldora-obracun" --version) || fail "kaldora-obracun --version failed"
    [[ $out == "kaldora-obracun $version" ]] || fail "kaldora-obracun --version said \"$out\""
}

# Each PNG is as large as the folder it is in says; the metadata's release
# and the manual pages carry the version.
check_data() {
    local prefix=$1 version=$2
    local png size
    for png in "$prefix"/share/icons/hicolor/*x*/apps/*.png; do
        size=$(basename "$(dirname "$(dirname "$png")")")
        file -b "$png" | grep -q "^PNG image data, ${size/x/ x }," ||
            fail "$png is not a ${size} PNG: $(file -b "$png")"
    done
    grep -q "<release version=\"$version\"" "$prefix/share/metainfo/rs.kaldora.Kaldora.metainfo.xml" ||
        fail "the metadata's release is not $version"
    local page
    for page in kaldora kaldora-obracun; do
        zcat "$prefix/share/man/man1/$page.1.gz" | head -1 | grep -qF "\"kaldora $version\"" ||
            fail "the manual page $page.1 does not carry version $version"
    done
}
