#!/usr/bin/env bash
# Runs kaldora-obracun.exe under Wine as a household's console would:
#   windows_cli_test.sh EMULATOR PROGRAM.exe DATA_DIR EXAMPLE_CSV
# A price list and an input file in a folder whose name no Western code page
# holds, given as arguments; piped input with a byte 0x1A in it; an output
# whose reader goes away. The regional settings of the Wine prefix give the
# decimal comma (scripts/test-windows).
set -u

emulator=$1
program=$2
data=$3
example=$4
expected=$data/racuni.expected.csv

tmp=$(mktemp -d) || exit 1
trap 'rm -rf "$tmp"' EXIT

fail() {
    echo "FAIL: $*" >&2
    [[ -s $tmp/err ]] && cat "$tmp/err" >&2
    exit 1
}
win() { winepath -w "$1"; }
exe() { "$emulator" "$program" "$@"; }

folder="$tmp/Đorđe Миле"
mkdir "$folder" || exit 1
cp "$example" "$folder/računi.csv" || exit 1
# The window's price list, with the prices of the expected bills.
python3 - "$folder/cenovnik.db" <<'PY' || fail "no price list could be made"
import sqlite3, sys
db = sqlite3.connect(sys.argv[1])
db.execute("CREATE TABLE cenovnik (id INTEGER PRIMARY KEY, zelenavt REAL, zelenamt REAL,"
           " plavavt REAL, plavamt REAL, crvenavt REAL, crvenamt REAL)")
db.execute("INSERT INTO cenovnik VALUES (1, 3.10, 1.55, 4.65, 2.33, 9.30, 4.65)")
db.commit()
PY

# The names arrive whole: both files are found, and the bills are those of
# the Linux program.
exe --cenovnik "$(win "$folder/cenovnik.db")" "$(win "$folder/računi.csv")" \
    >"$tmp/out" 2>"$tmp/err" </dev/null
code=$?
[[ $code == 1 ]] || fail "unicode folder: exit code $code, expected 1"
cmp -s "$tmp/out" "$expected" || fail "unicode folder: the bills differ from $expected"

# A missing file is named as typed.
exe --cenovnik "$(win "$folder/cenovnik.db")" "$(win "$folder/nema.csv")" \
    >"$tmp/out" 2>"$tmp/err" </dev/null
code=$?
[[ $code == 2 ]] || fail "missing file: exit code $code, expected 2"
grep -qF 'Đorđe Миле\nema.csv' "$tmp/err" || fail "the message misspells the file's name"

# A byte 0x1A in a piped row is a character like any other, not the end of
# the input: every row is billed.
sed '2s/^stan 1;/stan\x1a1;/' "$example" >"$tmp/in.csv"
exe --cenovnik "$(win "$folder/cenovnik.db")" - <"$tmp/in.csv" >"$tmp/out" 2>"$tmp/err"
code=$?
[[ $code == 1 ]] || fail "0x1A in the input: exit code $code, expected 1"
[[ $(wc -l <"$tmp/out") == $(wc -l <"$expected") ]] || fail "0x1A ended the input"

# The reader of the output goes away: the output is closed, as on Linux.
{ head -n 1 "$example"; yes '9;1500;500;0;0;2024-03-31;2024-03-01' | head -n 2000000; } |
    exe --cene '3,10;1,55;4,65;2,33;9,30;4,65' - 2>"$tmp/err" | head -c 1000 >/dev/null
codes=("${PIPESTATUS[@]}")
[[ ${codes[1]} == 2 ]] || fail "closed output: exit code ${codes[1]}, expected 2"
grep -qF 'izlaz nije mogao da se upise: izlaz je zatvoren' "$tmp/err" ||
    fail "closed output: not reported as closed"
echo "kaldora-obracun.exe: unicode names, binary input, closed output: all right"
