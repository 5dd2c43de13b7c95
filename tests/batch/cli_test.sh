#!/usr/bin/env bash
# Runs the built kaldora-obracun end to end for one named case:
#   cli_test.sh CASE PROGRAM DATA_DIR EXAMPLE_CSV
# The locale is set here, so the decimal separator is known whatever the
# machine's own settings are.
set -u

case_name=$1
program=$2
data=$3
example=$4
prices='3,10;1,55;4,65;2,33;9,30;4,65'

export LC_ALL=sr_RS.UTF-8
tmp=$(mktemp -d) || exit 1
trap 'rm -rf "$tmp"' EXIT
# A home of the case's own: the program's default price list lies in the
# user's data folder, and no case may read or change the user's own.
mkdir "$tmp/home" || exit 1
export HOME=$tmp/home XDG_DATA_HOME=$tmp/data
unset XDG_CONFIG_HOME XDG_CACHE_HOME XDG_STATE_HOME

fail() {
    echo "FAIL ($case_name): $*" >&2
    exit 1
}

# run EXIT ARGS...: runs the program, standard input from $stdin (nothing by
# default), standard output to $stdout (a file by default), and checks the exit code.
run() {
    local expected=$1
    shift
    "$program" "$@" <"${stdin:-/dev/null}" >"${stdout:-$tmp/out}" 2>"$tmp/err"
    local code=$?
    if [[ $code != "$expected" ]]; then
        cat "$tmp/err" >&2
        fail "exit code $code, expected $expected"
    fi
}

output_is() { diff -u "$1" "$tmp/out" >&2 || fail "output differs from $1"; }
no_output() { [[ ! -s $tmp/out ]] || fail "unexpected output: $(head -c 200 "$tmp/out")"; }
no_errors() { [[ ! -s $tmp/err ]] || fail "unexpected messages: $(cat "$tmp/err")"; }
errors_say() {
    grep -qF -- "$1" "$tmp/err" || fail "the messages lack \"$1\": $(cat "$tmp/err")"
}

expected=$data/racuni.expected.csv

case $case_name in
# The example's last meter has a reading that is not a number: its row
# carries the input error instead of a bill, so not every row is billed.
example)
    run 1 --cene "$prices" "$example"
    output_is "$expected"
    errors_say 'nije obracunato redova: 1 od 7'
    ;;
stdin_dash)
    stdin=$example run 1 --cene "$prices" -
    output_is "$expected"
    ;;
stdin_no_file)
    stdin=$example run 1 --cene="$prices"
    output_is "$expected"
    ;;
crlf_bom)
    { printf '\xEF\xBB\xBF'; sed 's/$/\r/' "$example"; } >"$tmp/in.csv"
    run 1 --cene "$prices" "$tmp/in.csv"
    output_is "$expected"
    ;;
period_locale)
    # The example has no comma but decimal ones, so swapping all of them
    # gives the same bills written with periods.
    tr , . <"$example" >"$tmp/in.csv"
    tr , . <"$expected" >"$tmp/expected.csv"
    LC_ALL=en_US.UTF-8 run 1 --cene "${prices//,/.}" "$tmp/in.csv"
    output_is "$tmp/expected.csv"
    LC_ALL=en_US.UTF-8 run 2 --cene "$prices" "$tmp/in.csv"
    no_output
    errors_say 'cena 1 (ZELENA ZONA V.T.) "3,10" nije broj sa decimalnim separatorom "."'
    ;;
lang_only)
    # Without LC_ALL and LC_NUMERIC the separator comes from LANG.
    tr , . <"$example" >"$tmp/in.csv"
    tr , . <"$expected" >"$tmp/expected.csv"
    unset LC_ALL LC_NUMERIC
    LANG=en_US.UTF-8 run 1 --cene "${prices//,/.}" "$tmp/in.csv"
    output_is "$tmp/expected.csv"
    LANG=sr_RS.UTF-8 run 1 --cene "$prices" "$example"
    output_is "$expected"
    ;;
bad_rows)
    run 1 --cene "$prices" "$data/losi-redovi.csv"
    output_is "$data/losi-redovi.expected.csv"
    errors_say 'red 3: kolona datum: "2024-02-30" nije ispravan datum'
    errors_say 'red 4: ima 6 polja, a zaglavlje 7'
    errors_say 'red 7: navodnici otvoreni u ovom redu nisu zatvoreni'
    errors_say 'nije obracunato redova: 4 od 6'
    ;;
missing_column)
    run 2 --cene "$prices" "$data/bez-kolone.csv"
    no_output
    errors_say 'red 1: zaglavlju nedostaje kolona staro_mt'
    ;;
empty_input)
    run 2 --cene "$prices"
    no_output
    errors_say 'ulaz je prazan'
    ;;
no_prices)
    # Without --cene the window program's stored price list is used; the
    # first run anywhere creates it with the default prices, which are the
    # example's.
    run 1 "$example"
    output_is "$expected"
    [[ -s $tmp/data/kaldora/cenovnik.db ]] || fail "the default price list was not created"
    # The same store, named.
    run 1 --cenovnik "$tmp/data/kaldora/cenovnik.db" "$example"
    output_is "$expected"
    ;;
price_list_missing)
    run 2 --cenovnik "$tmp/nema.db" "$example"
    no_output
    errors_say "$tmp/nema.db"
    [[ ! -e $tmp/nema.db ]] || fail "a named price list that was missing got created"
    ;;
price_list_corrupt)
    printf 'nije baza\n' >"$tmp/lose.db"
    cp "$tmp/lose.db" "$tmp/kopija"
    run 2 --cenovnik "$tmp/lose.db" "$example"
    no_output
    errors_say "$tmp/lose.db"
    cmp -s "$tmp/lose.db" "$tmp/kopija" || fail "the price-list file was changed"
    ;;
unknown_option)
    run 2 --cene "$prices" --cena 1 "$example"
    no_output
    errors_say 'nepoznata opcija "--cena"'
    ;;
two_files)
    run 2 --cene "$prices" "$example" "$example"
    no_output
    errors_say 'samo jedna ulazna datoteka'
    ;;
price_count)
    run 2 --cene "3,10;1,55" "$example"
    no_output
    errors_say 'tacno 6 cena'
    ;;
price_not_number)
    run 2 --cene "3,10;1,55;4,65;2,33;9,30;4.65" "$example"
    no_output
    errors_say 'cena 6 (CRVENA ZONA M.T.) "4.65"'
    ;;
missing_file)
    run 2 --cene "$prices" "$tmp/nema.csv"
    no_output
    errors_say "ne moze da se otvori \"$tmp/nema.csv\": datoteka ne postoji"
    run 2 --cene "$prices" "$tmp"
    no_output
    errors_say "ne moze da se otvori \"$tmp\": to je folder, a ne datoteka"
    ;;
output_full)
    stdout=/dev/full run 2 --cene "$prices" "$example"
    errors_say 'izlaz nije mogao da se upise: disk je pun'
    # Input without end: the first failed write stops the run, with no
    # claim about rows billed.
    { head -n 1 "$example"; yes '9;1500;500;0;0;2024-03-31;2024-03-01'; } |
        timeout 10 "$program" --cene "$prices" - >/dev/full 2>"$tmp/err"
    codes=("${PIPESTATUS[@]}")
    [[ ${codes[1]} == 2 ]] || fail "endless input into a full disk: exit code ${codes[1]}, expected 2"
    [[ $(cat "$tmp/err") == 'kaldora-obracun: izlaz nije mogao da se upise: disk je pun' ]] ||
        fail "endless input into a full disk: $(cat "$tmp/err")"
    ;;
output_closed)
    # The reader of the output goes away: the program says so and fails,
    # instead of being killed by SIGPIPE.
    { head -n 1 "$example"; yes '9;1500;500;0;0;2024-03-31;2024-03-01'; } |
        timeout 10 "$program" --cene "$prices" - 2>"$tmp/err" | head -c 1000 >/dev/null
    codes=("${PIPESTATUS[@]}")
    [[ ${codes[1]} == 2 ]] || fail "closed output: exit code ${codes[1]}, expected 2"
    errors_say 'izlaz nije mogao da se upise: izlaz je zatvoren'
    ;;
help)
    run 0 --help --cene "$prices"
    no_errors
    grep -qF 'Izlazni kod' "$tmp/out" || fail "help lacks the exit codes"
    ;;
help_output_full)
    stdout=/dev/full run 2 --help
    errors_say 'izlaz nije mogao da se upise: disk je pun'
    ;;
file_size_limit)
    # Output beyond the limit fails like a full disk: reported, not a kill
    # by SIGXFSZ. The limit falls inside the second meter's row: the file
    # keeps the header and the first meter whole and nothing of the second,
    # also when it is appended to, and a message written to the same file
    # follows the last whole row.
    command -v prlimit >/dev/null || exit 77
    head -n 2 "$expected" >"$tmp/whole"
    limit=$(($(wc -c <"$tmp/whole") + 100))
    prlimit --fsize=$limit "$program" --cene "$prices" "$example" >"$tmp/out" 2>"$tmp/err"
    code=$?
    [[ $code == 2 ]] || fail "exit code $code, expected 2"
    errors_say 'izlaz nije mogao da se upise: datoteka je prevelika'
    output_is "$tmp/whole"
    message='kaldora-obracun: izlaz nije mogao da se upise: datoteka je prevelika'
    printf 'starije\n' | tee "$tmp/out" >"$tmp/expected"
    { cat "$tmp/whole"; echo "$message"; } >>"$tmp/expected"
    prlimit --fsize=$((limit + 8)) "$program" --cene "$prices" "$example" >>"$tmp/out" 2>&1
    output_is "$tmp/expected"
    ;;
*)
    fail "no such case"
    ;;
esac
