#!/usr/bin/env bash
# End-to-end test of the Windows installer and program under Wine:
#   installer_e2e.sh SETUP_EXE LINUX_KALDORA_OBRACUN
# In a Wine prefix and on a virtual display of its own: installs KALDORA
# silently, starts the installed kaldora.exe with no DISPLAY in its Windows
# environment, types a meter's readings with the X keyboard, presses
# OBRACUNAJ, reads every result back through the clipboard (Wine has no
# accessibility bridge for Qt) and compares it with the bill the Linux batch
# calculator writes for the same meter and dates; then closes the program
# with IZLAZ and uninstalls it, keeping the user's price list.
# Exit status 0 pass, 1 fail, 77 when a tool is missing. The picture of the
# window after the calculation goes to $KALDORA_WINDOWS_SCREENSHOT when set.
set -u
if (($# != 2)) || [[ ! -f $1 || ! -x $2 ]]; then
    echo "usage: $0 SETUP_EXE LINUX_KALDORA_OBRACUN" >&2
    exit 1
fi
setup=$(realpath "$1")
batch=$(realpath "$2")
for tool in wine wineboot wineserver Xvfb xdotool xclip import; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is missing (scripts/install-deps windows installs it)"
        exit 77
    fi
done

WAIT=60
READINGS=(Text1 1500 Text2 500 Text4 0 Text5 0)
# The price list the first start creates, and how the window shows it.
PRICES='3,10;1,55;4,65;2,33;9,30;4,65'
declare -A PRICE_TEXT=([Text11]=3,1 [Text12]=1,55 [Text13]=4,65 [Text14]=2,33 [Text15]=9,3
    [Text16]=4,65)
INSTALLED='C:\Program Files\KALDORA'
UNINSTALL_KEY='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\KALDORA'
# The client area below the menu bar, in pixels (15675 x 10515 twips).
CLIENT_WIDTH=1045
CLIENT_HEIGHT=701

# Controls from the main window's layout table, in twips: the frame they lie
# in (their place is relative to it), left, top, width, height; and for a
# result the column of the batch calculator's output that holds its text.
declare -A FRAME_TOP=([-]=0 [Frame1]=120 [Frame2]=2520)
declare -A PLACE COLUMN
while read -r name frame left top width height column; do
    PLACE[$name]="$frame $left $top $width $height"
    [[ $column != - ]] && COLUMN[$name]=$column
done <<'EOF'
Text1     Frame1  1560   720 1935  375 -
Text2     Frame1  1560  1320 1935  375 -
Text4     Frame2  1560   720 1935  375 -
Text5     Frame2  1560  1320 1935  375 -
DTPicker1 Frame1  3720  1320 2655  375 -
DTPicker2 Frame2  3720  1320 2775  375 -
Command1  -       8280  8760 3255 1095 -
Command2  -      11880  8760 3255 1095 -
Text3     -       8520   600 1935  495 zona1_vt
Text6     -       8520  1200 1935  495 zona1_mt
Text7     -       8520  1920 1935  495 zona2_vt
Text8     -       8520  2520 1935  495 zona2_mt
Text9     -       8520  3240 1935  495 zona3_vt
Text10    -       8520  3840 1935  495 zona3_mt
Text11    -      10800   600 1935  495 -
Text12    -      10800  1200 1935  495 -
Text13    -      10800  1920 1935  495 -
Text14    -      10800  2520 1935  495 -
Text15    -      10800  3240 1935  495 -
Text16    -      10800  3840 1935  495 -
Text17    -      13080   600 1935  495 iznos1_vt
Text18    -      13080  1200 1935  495 iznos1_mt
Text19    -      13080  1920 1935  495 iznos2_vt
Text20    -      13080  2520 1935  495 iznos2_mt
Text21    -      13080  3240 1935  495 iznos3_vt
Text22    -      13080  3840 1935  495 iznos3_mt
Text23    -      13080  4440 1935  495 energija
Text24    -      13080  5040 1935  495 naknada
Text25    -      13080  5640 1935  495 snaga
Text26    -      13080  6240 1935  495 bez_pdv
Text27    -      13080  6840 1935  495 pdv
Text28    -      13080  7440 1935  495 sa_pdv
Text29    -       1200  6960 2055  495 potrosnja_vt
Text30    -       1200  7560 2055  495 potrosnja_mt
Text31    -       1200  8280 2055  495 ukupno
Text32    -       1200  8880 2055  495 dana
EOF
RESULTS=(Text3 Text6 Text7 Text8 Text9 Text10 Text11 Text12 Text13 Text14 Text15 Text16
    Text17 Text18 Text19 Text20 Text21 Text22 Text23 Text24 Text25 Text26 Text27 Text28
    Text29 Text30 Text31 Text32)

tmp=$(mktemp -d) || exit 1
xvfb_pid= clip_pid=
export WINEPREFIX=$tmp/prefix WINEDEBUG=-all
# No Mono or Gecko download prompts, and no menu entries written into the
# Linux desktop for the Start-menu shortcuts.
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
export HOME=$tmp/home XDG_DATA_HOME=$tmp/data XDG_CONFIG_HOME=$tmp/config \
    XDG_CACHE_HOME=$tmp/cache
mkdir -p "$HOME"
cleanup() {
    [[ -n $clip_pid ]] && drop_mark
    if [[ -d $WINEPREFIX ]]; then
        wineserver -k 2>/dev/null
        timeout 30 wineserver -w 2>/dev/null
    fi
    if [[ -n $xvfb_pid ]]; then
        kill "$xvfb_pid" 2>/dev/null
        wait "$xvfb_pid" 2>/dev/null
    fi
    rm -rf "$tmp"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Runs a command every tenth of a second until it succeeds, for at least a
# number of seconds.
poll() {
    local tries=$(($1 * 10))
    shift
    until "$@"; do
        ((--tries > 0)) || return 1
        sleep 0.1
    done
}

wait_for() {
    local what=$1
    shift
    poll "$WAIT" "$@" || fail "no $what after $WAIT s"
}

step_name= step_start=
step() {
    local now=${EPOCHREALTIME/./}
    if [[ -n $step_name ]]; then
        local ms=$(((now - step_start) / 1000))
        printf '%-52s %4d.%d s\n' "$step_name" $((ms / 1000)) $((ms % 1000 / 100))
    fi
    step_name=$1 step_start=$now
}

quiet_wine() {
    timeout 300 wine "$@" 2>>"$tmp/wine.log"
}

unix_path() {
    local path=${1#C:\\}
    echo "$WINEPREFIX/drive_c/${path//\\//}"
}

step "1. Wine prefix, display, decimal comma"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset \
    3>"$tmp/display" >"$tmp/xvfb.log" 2>&1 &
xvfb_pid=$!
wait_for "virtual display" test -s "$tmp/display"
export DISPLAY=:$(head -n 1 "$tmp/display")
timeout 300 wineboot -i 2>>"$tmp/wine.log" || fail "wineboot could not make the prefix"
# Windows' own faces, where Debian's Wine finds them (see scripts/test-windows).
cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" ||
    fail "Wine's fonts (fonts-wine) are missing"
# The Serbian regional settings' separators: a decimal comma, as the Linux
# calculator has with sr_RS, and a group separator that differs from it.
printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Control Panel\\International]\r\n"sDecimal"=","\r\n"sThousand"="."\r\n' \
    >"$WINEPREFIX/drive_c/international.reg"
quiet_wine reg import 'C:\international.reg' >/dev/null ||
    fail "the regional settings could not be set"

step "2. silent install"
cp "$setup" "$tmp/setup.exe"
quiet_wine "$tmp/setup.exe" /S || fail "the installer ended with status $?"
timeout "$WAIT" wineserver -w
program_dir=$(unix_path "$INSTALLED")
for file in kaldora.exe kaldora-obracun.exe; do
    [[ -f $program_dir/$file ]] || fail "$INSTALLED holds no $file after the installation"
done
shortcut="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/KALDORA/KALDORA.lnk"
[[ -f $shortcut ]] || fail "no Start-menu entry KALDORA\\KALDORA.lnk"
key=$(quiet_wine reg query "$UNINSTALL_KEY" /v DisplayName) || fail "no uninstall key $UNINSTALL_KEY"
grep -Eq 'DisplayName +REG_SZ +KALDORA'$'\r''?$' <<<"$key" ||
    fail "the uninstall key's DisplayName is not KALDORA: $key"

step "3. kaldora.exe shows its window"
# Windows has no DISPLAY; Wine would pass the Unix one on.
printf '@echo off\r\nset DISPLAY=\r\necho %%APPDATA%%>C:\\appdata.txt\r\n"%s\\kaldora.exe"\r\necho %%ERRORLEVEL%% >C:\\exitcode.txt\r\n' \
    "$INSTALLED" >"$WINEPREFIX/drive_c/run.bat"
quiet_wine cmd /c 'C:\run.bat' >/dev/null &
find_window() {
    [[ ! -e $WINEPREFIX/drive_c/exitcode.txt ]] ||
        fail "kaldora.exe ended with status $(<"$WINEPREFIX/drive_c/exitcode.txt") before showing its window"
    window=$(xdotool search --onlyvisible --name '^KALDORA$' 2>/dev/null | head -n 1)
    [[ -n $window ]]
}
wait_for "main window KALDORA" find_window
eval "$(xdotool getwindowgeometry --shell "$window")"
((WIDTH == CLIENT_WIDTH && HEIGHT > CLIENT_HEIGHT)) ||
    fail "the window is ${WIDTH}x$HEIGHT, not $CLIENT_WIDTH wide with a menu bar over $CLIENT_HEIGHT"
menu_height=$((HEIGHT - CLIENT_HEIGHT))

click() {
    local frame left top width height
    read -r frame left top width height <<<"${PLACE[$1]}"
    xdotool mousemove --window "$window" $(((2 * left + width) / 30)) \
        $(((2 * (FRAME_TOP[$frame] + top) + height) / 30 + menu_height)) click 1
}

clipboard_is() {
    [[ $(xclip -o -selection clipboard 2>/dev/null) == "$1" ]]
}

drop_mark() {
    kill "$clip_pid" 2>/dev/null
    wait "$clip_pid" 2>/dev/null
    clip_pid=
}

# Sets `text` to what control $1 shows: a mark goes on the clipboard first,
# so that a copy that did not happen is never read as the field's text.
# Now and then Wine takes a copy into the Windows clipboard but never hands
# it to X, and copying again does not help while the same mark is there:
# such a read starts over with a new mark.
read_field() {
    local mark attempt
    for attempt in 1 2 3 4 5; do
        mark="kaldora-e2e-$RANDOM$RANDOM"
        printf %s "$mark" | xclip -quiet -i -selection clipboard >/dev/null 2>&1 &
        clip_pid=$!
        if poll 3 clipboard_is "$mark"; then
            click "$1"
            xdotool key ctrl+a ctrl+c
            if poll 2 eval '! clipboard_is "$mark"'; then
                text=$(xclip -o -selection clipboard 2>/dev/null)
                drop_mark
                return
            fi
        fi
        drop_mark
    done
    fail "$1 shows nothing, or nothing could be copied from it"
}

# The first keys may reach Qt before it takes input: type until the field
# holds the text.
type_into() {
    local attempt
    for attempt in 1 2 3 4 5; do
        click "$1"
        xdotool key ctrl+a type --delay 30 "$2"
        read_field "$1"
        [[ $text == "$2" ]] && return
        sleep 0.5
    done
    fail "typing $2 into $1 gave \"$text\""
}

iso_date() {
    [[ $1 =~ ^([0-9]{2})\.([0-9]{2})\.([0-9]{4})$ ]] || fail "date picker shows \"$1\""
    echo "${BASH_REMATCH[3]}-${BASH_REMATCH[2]}-${BASH_REMATCH[1]}"
}

step "4. readings typed, OBRACUNAJ, results read"
for ((i = 0; i < ${#READINGS[@]}; i += 2)); do
    type_into "${READINGS[i]}" "${READINGS[i + 1]}"
done
read_field DTPicker1
date=$(iso_date "$text") || exit 1
read_field DTPicker2
previous_date=$(iso_date "$text") || exit 1
click Command1
declare -A shown
for name in "${RESULTS[@]}"; do
    read_field "$name"
    shown[$name]=$text
done

step "5. screenshot, bill compared with kaldora-obracun's"
eval "$(xdotool getwindowgeometry --shell "$window")"
import -window root -crop "${WIDTH}x$HEIGHT+$X+$Y" +repage "$tmp/kaldora.png" ||
    fail "no screenshot"
if [[ -n ${KALDORA_WINDOWS_SCREENSHOT:-} ]]; then
    cp "$tmp/kaldora.png" "$KALDORA_WINDOWS_SCREENSHOT" || fail "cannot write $KALDORA_WINDOWS_SCREENSHOT"
fi
bill=$(printf 'novo_vt;novo_mt;staro_vt;staro_mt;datum;prethodni_datum\n%s;%s;%s;%s;%s;%s\n' \
    "${READINGS[1]}" "${READINGS[3]}" "${READINGS[5]}" "${READINGS[7]}" "$date" "$previous_date" |
    LC_ALL=sr_RS.UTF-8 "$batch" --cene "$PRICES" -) || fail "kaldora-obracun failed: $bill"
IFS=';' read -r -a header <<<"$(sed -n 1p <<<"$bill")"
IFS=';' read -r -a row <<<"$(sed -n 2p <<<"$bill");"
declare -A expected
for i in "${!header[@]}"; do
    expected[${header[i]}]=${row[i]}
done
[[ -z ${expected[greska]-x} ]] || fail "kaldora-obracun did not bill the meter: $bill"
differences=0
for name in "${RESULTS[@]}"; do
    want=${PRICE_TEXT[$name]-${expected[${COLUMN[$name]}]-}}
    if [[ ${shown[$name]} != "$want" ]]; then
        echo "FAIL: $name shows \"${shown[$name]}\", expected \"$want\"" >&2
        differences=$((differences + 1))
    fi
done
((differences == 0)) || fail "$differences of ${#RESULTS[@]} results differ from the Linux bill ($date, $previous_date)"
echo "bill for $previous_date .. $date:$(for name in "${RESULTS[@]}"; do printf ' %s' "${shown[$name]}"; done)"

step "6. IZLAZ"
click Command2
exit_file=$WINEPREFIX/drive_c/exitcode.txt
wait_for "exit of kaldora.exe after IZLAZ" test -s "$exit_file"
code=$(tr -d ' \r\n' <"$exit_file")
[[ $code == 0 ]] || fail "kaldora.exe ended with status $code"
price_list=$(unix_path "$(tr -d '\r\n' <"$WINEPREFIX/drive_c/appdata.txt")")/KALDORA/cenovnik.db
[[ -f $price_list ]] || fail "no price list at $price_list"
price_list_sum=$(sha256sum <"$price_list")

step "7. silent uninstall"
quiet_wine "$program_dir/Uninstall.exe" /S || fail "the uninstaller ended with status $?"
# The uninstaller goes on from a copy of itself.
wait_for "removal of kaldora.exe" test ! -e "$program_dir/kaldora.exe"
timeout "$WAIT" wineserver -w || fail "Wine's programs still run $WAIT s after the uninstallation"
[[ -z $(find "$program_dir" -type f 2>/dev/null) ]] ||
    fail "files left in $INSTALLED: $(find "$program_dir" -type f)"
[[ ! -e $shortcut ]] || fail "the Start-menu entry KALDORA.lnk is left"
quiet_wine reg query "$UNINSTALL_KEY" >/dev/null && fail "the uninstall key $UNINSTALL_KEY is left"
[[ -f $price_list ]] || fail "the uninstallation removed the price list"
[[ $(sha256sum <"$price_list") == "$price_list_sum" ]] || fail "the uninstallation changed the price list"
step ""
echo PASS
