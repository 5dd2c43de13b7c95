#!/usr/bin/env bash
# Runs the built kaldora (and kaldora-obracun for its version) for one named
# case of the command line, always without a display, in a home of its own:
#   cli_test.sh CASE KALDORA KALDORA_OBRACUN VERSION
set -u

case_name=$1
kaldora=$2
obracun=$3
version=$4

tmp=$(mktemp -d) || exit 1
trap 'rm -rf "$tmp"' EXIT
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM XDG_CONFIG_HOME XDG_CACHE_HOME XDG_STATE_HOME
export HOME=$tmp/home XDG_DATA_HOME=$tmp/data LC_ALL=C.UTF-8
mkdir -p "$HOME" "$XDG_DATA_HOME"

fail() {
    echo "FAIL ($case_name): $*" >&2
    exit 1
}

# run EXIT PROGRAM ARGS...: standard output to $stdout (a file by default),
# and checks the exit code.
run() {
    local expected=$1
    shift
    "$@" </dev/null >"${stdout:-$tmp/out}" 2>"$tmp/err"
    local code=$?
    if [[ $code != "$expected" ]]; then
        cat "$tmp/err" >&2
        fail "exit code $code, expected $expected"
    fi
}

output_is() { [[ $(cat "$tmp/out") == "$1" ]] || fail "output \"$(cat "$tmp/out")\", expected \"$1\""; }
output_has() { grep -qF -- "$1" "$tmp/out" || fail "the output lacks \"$1\""; }
no_output() { [[ ! -s $tmp/out ]] || fail "unexpected output: $(head -c 200 "$tmp/out")"; }
no_errors() { [[ ! -s $tmp/err ]] || fail "unexpected messages: $(cat "$tmp/err")"; }
errors_are() {
    [[ $(cat "$tmp/err") == "$1" ]] || fail "messages \"$(cat "$tmp/err")\", expected \"$1\""
}
# A text for the user is Serbian without diacritics: plain ASCII.
ascii_only() {
    ! LC_ALL=C grep -q '[^[:print:][:space:]]' "$1" || fail "non-ASCII text in $(cat "$1")"
}
# Printing a text opens no price list and creates no file.
nothing_created() {
    [[ -z $(find "$HOME" "$XDG_DATA_HOME" -mindepth 1) ]] ||
        fail "files were created: $(find "$HOME" "$XDG_DATA_HOME" -mindepth 1)"
}

case $case_name in
help)
    for option in --help -h; do
        run 0 "$kaldora" "$option"
        no_errors
        output_has 'Upotreba: kaldora [OPCIJA]'
        output_has '-v, --version'
        output_has "Cenovnik: $XDG_DATA_HOME/kaldora/cenovnik.db"
        output_has 'Izlazni kod:'
        ascii_only "$tmp/out"
    done
    nothing_created
    ;;
version)
    for option in --version -v; do
        run 0 "$kaldora" "$option"
        no_errors
        output_is "kaldora $version"
    done
    nothing_created
    ;;
help_before_version)
    run 0 "$kaldora" --version --help
    output_has 'Upotreba: kaldora'
    ;;
unknown_option)
    run 1 "$kaldora" --nepostojeca
    no_output
    errors_are $'kaldora: nepoznata opcija "--nepostojeca"\nPomoc: kaldora --help'
    ;;
unknown_option_wins_over_help)
    run 1 "$kaldora" --help -x
    no_output
    errors_are $'kaldora: nepoznata opcija "-x"\nPomoc: kaldora --help'
    ;;
argument)
    run 1 "$kaldora" racun.txt
    no_output
    errors_are $'kaldora: program ne prima argumente, a dat je "racun.txt"\nPomoc: kaldora --help'
    ;;
missing_value)
    run 1 "$kaldora" -style
    no_output
    errors_are $'kaldora: opciji "-style" nedostaje vrednost\nPomoc: kaldora --help'
    ;;
qt_option)
    # Qt's own options are accepted: the program goes on to open its window
    # and stops only because there is no display.
    run 2 "$kaldora" -style fusion -reverse
    no_output
    grep -q '^kaldora: prozor ne moze da se otvori: .*DISPLAY' "$tmp/err" ||
        fail "expected the display message, got: $(cat "$tmp/err")"
    ascii_only "$tmp/err"
    ;;
output_full)
    stdout=/dev/full run 1 "$kaldora" --version
    errors_are 'kaldora: izlaz nije mogao da se upise'
    stdout=/dev/full run 1 "$kaldora" --help
    ;;
batch_version)
    for option in --version -v; do
        run 0 "$obracun" "$option"
        no_errors
        output_is "kaldora-obracun $version"
    done
    run 0 "$obracun" --help
    output_has '-v, --version'
    nothing_created
    ;;
stop_at_start_message)
    # Under a file-size limit the new price list cannot be written: the
    # program is not killed by the limit's signal but says so in a message.
    # SIGTERM while that message waits ends the program in order, without
    # the main window, and the failed attempt leaves no file behind.
    command -v prlimit >/dev/null || exit 77
    QT_QPA_PLATFORM=offscreen prlimit --fsize=2000 "$kaldora" </dev/null >"$tmp/out" 2>"$tmp/err" &
    pid=$!
    # The folder is made when the price list is opened, after the program
    # has begun to catch SIGTERM.
    for ((tries = 0; tries < 200; tries++)); do
        [[ -d $XDG_DATA_HOME/kaldora ]] && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    [[ -d $XDG_DATA_HOME/kaldora ]] || fail "the price list was never opened"
    kill -TERM "$pid" 2>/dev/null
    for ((tries = 0; tries < 100; tries++)); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
        kill -KILL "$pid"
        fail "still running 10 s after SIGTERM"
    fi
    wait "$pid"
    code=$?
    [[ $code == 0 ]] || fail "exit code $code after SIGTERM, expected 0 ($(cat "$tmp/err"))"
    [[ -z $(find "$XDG_DATA_HOME/kaldora" -mindepth 1) ]] ||
        fail "left behind: $(find "$XDG_DATA_HOME/kaldora" -mindepth 1)"
    ;;
*)
    fail "no such case"
    ;;
esac
