#!/usr/bin/env bash
# End-to-end test of the Windows installer and programs under Wine, as a
# household meets them:
#   installer_e2e.sh SETUP_EXE LINUX_KALDORA_OBRACUN
# The portable zip is taken from beside the installer
# (kaldora-<version>-win64.zip). In a Wine prefix and on a virtual display of
# their own (tests/windows/wineprefix.sh), with no QT_* variable anywhere:
#  - the installer is taken through its pages with Enter, as a user goes
#    through them; the box on its last page starts KALDORA;
#  - KALDORA is started through its Start-menu entry, as Explorer starts it,
#    with no DISPLAY in its Windows environment; a meter's readings are typed
#    with the X keyboard, OBRACUNAJ pressed, and every result read back
#    through the clipboard (Wine has no accessibility bridge for Qt) is
#    compared with the bill the Linux batch calculator writes for the same
#    meter and dates;
#  - the installed kaldora-obracun.exe, started from a console in another
#    folder, bills examples/racuni.csv with the price list the window made
#    byte for byte as the Linux program does with that price list;
#  - the zip, unpacked into a folder whose path has blanks and "č ć š ž đ":
#    its kaldora.exe shows its window, its kaldora-obracun.exe bills the same;
#  - with KALDORA started through the desktop shortcut, the installer and the
#    uninstaller (silent, and the question the uninstaller asks) end with
#    status 2 and change nothing;
#  - an upgrade over the installed version, and the uninstall, which keeps
#    the user's price list.
# Exit status 0 pass, 1 fail, 77 when a tool is missing. The picture of the
# main window after the calculation goes to $KALDORA_WINDOWS_SCREENSHOT, the
# installer's pages and the uninstaller's question into the folder
# $KALDORA_INSTALLER_SCREENSHOTS, when they are set.
set -u
if (($# != 2)) || [[ ! -f $1 || ! -x $2 ]]; then
    echo "usage: $0 SETUP_EXE LINUX_KALDORA_OBRACUN" >&2
    exit 1
fi
setup=$(realpath "$1")
batch=$(realpath "$2")
zip=${setup%-setup.exe}.zip
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
bills=$here/../../examples/racuni.csv
for tool in wine wineboot wineserver winepath Xvfb xdotool xclip import unzip; do
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
START_MENU_ENTRY='C:\ProgramData\Microsoft\Windows\Start Menu\Programs\KALDORA.lnk'
DESKTOP_SHORTCUT='C:\users\Public\Desktop\KALDORA.lnk'
UNINSTALL_KEY='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\KALDORA'
# The installer stops when KALDORA runs and the user gives up (at once when
# silent).
STOPPED=2
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
wine_xvfb_pid= clip_pid=
export WINEPREFIX=$tmp/prefix
# shellcheck source=tests/windows/wineprefix.sh
. "$here/wineprefix.sh"
export HOME=$tmp/home XDG_DATA_HOME=$tmp/data XDG_CONFIG_HOME=$tmp/config \
    XDG_CACHE_HOME=$tmp/cache
mkdir -p "$HOME"
# Qt's variables would lead the programs to their plugins; they find them
# by themselves. (Wine passes none of them on, but WINEQT_* as QT_*.)
for name in "${!QT_@}" "${!WINEQT_@}"; do
    unset "$name"
done
cleanup() {
    [[ -n $clip_pid ]] && drop_mark
    if [[ -d $WINEPREFIX ]]; then
        wineserver -k 2>/dev/null
        timeout 30 wineserver -w 2>/dev/null
    fi
    if [[ -n $wine_xvfb_pid ]]; then
        kill "$wine_xvfb_pid" 2>/dev/null
        wait "$wine_xvfb_pid" 2>/dev/null
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

# Writes the lines as the batch file C:\$1.bat and runs it with cmd. Its
# paths are ASCII: cmd reads a batch file in the console's code page.
run_bat() {
    local name=$1
    shift
    printf '%s\r\n' '@echo off' "$@" >"$WINEPREFIX/drive_c/$name.bat"
    quiet_wine cmd /c "C:\\$name.bat" >/dev/null
}

# The exit status a batch file wrote into C:\$1.txt.
status() {
    tr -d ' \r\n' <"$WINEPREFIX/drive_c/$1.txt"
}

# Every file of the installed folder with its checksum.
installed_files() {
    (cd "$program_dir" && find . -type f -print0 | sort -z | xargs -0 sha256sum) 2>/dev/null
}

# The picture of window $1 as $2.png in $KALDORA_INSTALLER_SCREENSHOTS.
picture() {
    [[ -n ${KALDORA_INSTALLER_SCREENSHOTS:-} ]] || return 0
    # shellcheck disable=SC2034 # set by the eval, as X, Y, WIDTH and HEIGHT
    local WINDOW X Y WIDTH HEIGHT SCREEN
    eval "$(xdotool getwindowgeometry --shell "$1")"
    mkdir -p "$KALDORA_INSTALLER_SCREENSHOTS" &&
        import -window root -crop "${WIDTH}x$HEIGHT+$X+$Y" +repage \
            "$KALDORA_INSTALLER_SCREENSHOTS/$2.png" || fail "no picture $2"
}

find_window() {
    window=$(xdotool search --onlyvisible --name '^KALDORA$' 2>/dev/null | head -n 1)
    [[ -n $window ]]
}

no_window() {
    ! find_window
}

# Waits for KALDORA's main window (started as $1) and checks its size; sets
# `window` and the height of its menu bar.
take_window() {
    wait_for "main window KALDORA ($1)" find_window
    eval "$(xdotool getwindowgeometry --shell "$window")"
    ((WIDTH == CLIENT_WIDTH && HEIGHT > CLIENT_HEIGHT)) ||
        fail "the window is ${WIDTH}x$HEIGHT, not $CLIENT_WIDTH wide with a menu bar over $CLIENT_HEIGHT"
    menu_height=$((HEIGHT - CLIENT_HEIGHT))
}

# IZLAZ ends KALDORA (started as $1), and with it every Windows program of
# the prefix.
close_kaldora() {
    click Command2
    wait_for "end of KALDORA ($1) after IZLAZ" no_window
    timeout "$WAIT" wineserver -w || fail "Wine's programs still run $WAIT s after IZLAZ ($1)"
}

# Fails unless a Windows run of kaldora-obracun ($1) ended with the Linux
# program's status ($2) and wrote, byte for byte, its bill ($3; its
# messages in $4).
same_bill() {
    [[ $2 == "$linux_status" ]] || fail "$1 ended with status $2, not $linux_status: $(cat "$4")"
    cmp -s "$tmp/linux.csv" "$3" ||
        fail "$1 wrote another bill than the Linux program: $(diff "$tmp/linux.csv" "$3" | head -n 6)"
}

# The installed folder, its shortcuts and its uninstall key are there, and
# the files are the ones of $1 (when given).
expect_installed() {
    local file link key
    for file in kaldora.exe kaldora-obracun.exe; do
        [[ -f $program_dir/$file ]] || fail "$INSTALLED holds no $file $2"
    done
    for link in "$START_MENU_ENTRY" "$DESKTOP_SHORTCUT"; do
        [[ -f $(unix_path "$link") ]] || fail "no shortcut $link $2"
    done
    key=$(quiet_wine reg query "$UNINSTALL_KEY" /v DisplayName) || fail "no uninstall key $UNINSTALL_KEY $2"
    grep -Eq 'DisplayName +REG_SZ +KALDORA'$'\r''?$' <<<"$key" ||
        fail "the uninstall key's DisplayName is not KALDORA $2: $key"
    [[ -z $1 || $(installed_files) == "$1" ]] || fail "$INSTALLED holds other files $2"
}

step "1. Wine prefix, display, regional settings"
wine_display 1280x1024 "$tmp" || fail "no virtual display"
wine_prefix 2>>"$tmp/wine.log" || fail "no Wine prefix"
program_dir=$(unix_path "$INSTALLED")

step "2. installer's pages; its last page starts KALDORA"
cp "$setup" "$tmp/setup.exe"
quiet_wine "$tmp/setup.exe" >/dev/null &
setup_pid=$!
installer_window() {
    installer=$(xdotool search --onlyvisible --name '^KALDORA Instalacija$' 2>/dev/null | head -n 1)
    [[ -n $installer ]]
}
setup_ended() {
    ! kill -0 "$setup_pid" 2>/dev/null
}
wait_for "installer window" installer_window
# Enter is what a user does on each page: "Napred", "Instaliraj" and "Kraj"
# are the default buttons. Each page is drawn before its picture.
next_page() {
    sleep 1
    picture "$installer" "$1"
    xdotool key Return
}
next_page installer-1-welcome
next_page installer-2-components
next_page installer-3-folder
# The desktop shortcut is the last thing installed; the last page follows.
wait_for "desktop shortcut" test -f "$(unix_path "$DESKTOP_SHORTCUT")"
for _ in 1 2 3; do
    next_page installer-4-finish
    poll 5 setup_ended && break
done
wait "$setup_pid" || fail "the installer ended with status $?"
expect_installed "" "after the installation"
take_window "started by the installer's last page"
close_kaldora "started by the installer's last page"
# What a user needs to build the Qt DLLs again, as the LGPL allows: the
# changes made to Debian's Qt source and how they are applied and built.
note=$program_dir/licenses/qt-izvorni-kod.txt
[[ -f $note ]] || fail "licenses holds no qt-izvorni-kod.txt (Qt's source and its build)"
grep -q '^  apt-get source qt6-base=[^ ]*+dfsg-[^ ]* sqlite3=' "$note" ||
    fail "qt-izvorni-kod.txt names no Debian source of Qt"
[[ -f $program_dir/licenses/qt6-base/changes/mingw-toolchain.cmake ]] ||
    fail "licenses holds no copy of the toolchain file Qt was built with"
for patch in "$here"/../../scripts/qt-windows/*.patch; do
    name=$(basename "$patch")
    cmp -s "$patch" "$program_dir/licenses/qt6-base/changes/$name" ||
        fail "licenses holds no copy of the change $name made to Qt"
    grep -qF "< changes/$name" "$note" || fail "qt-izvorni-kod.txt does not apply $name"
done

step "3. KALDORA started through the Start menu"
# Windows has no DISPLAY; Wine would pass the Unix one on.
run_bat start-menu 'set DISPLAY=' 'echo %APPDATA%>C:\appdata.txt' "start \"\" \"$START_MENU_ENTRY\"" ||
    fail "the Start-menu entry $START_MENU_ENTRY starts no program"
take_window "started through the Start menu"

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
close_kaldora "started through the Start menu"
price_list=$(unix_path "$(tr -d '\r\n' <"$WINEPREFIX/drive_c/appdata.txt")")/KALDORA/cenovnik.db
[[ -f $price_list ]] || fail "no price list at $price_list"

step "7. installed kaldora-obracun.exe on that price list"
cp "$price_list" "$tmp/cenovnik.db"
# Status 1: the example's last meter has a letter among its digits.
LC_ALL=sr_RS.UTF-8 "$batch" --cenovnik "$tmp/cenovnik.db" "$bills" >"$tmp/linux.csv" 2>"$tmp/linux.err"
linux_status=$?
((linux_status == 1)) || fail "the Linux kaldora-obracun ended with status $linux_status: $(cat "$tmp/linux.err")"
(($(wc -l <"$tmp/linux.csv") == $(wc -l <"$bills"))) || fail "the Linux bill has not a line for each meter"
cp "$bills" "$WINEPREFIX/drive_c/racuni.csv"
# From a console in another folder, with no variable that points Qt to its
# plugins.
run_bat installed-batch 'set QT_PLUGIN_PATH=' 'cd /d C:\users\Public' \
    "\"$INSTALLED\\kaldora-obracun.exe\" C:\\racuni.csv >C:\\installed.csv 2>C:\\installed.err" \
    'echo %ERRORLEVEL% >C:\installed-batch.txt'
same_bill "the installed kaldora-obracun.exe" "$(status installed-batch)" \
    "$WINEPREFIX/drive_c/installed.csv" "$WINEPREFIX/drive_c/installed.err"

step "8. the zip, unpacked into a non-ASCII folder"
[[ -f $zip ]] || fail "no portable zip beside the installer: $zip"
zip_parent="$WINEPREFIX/drive_c/users/Public/Računi za struju/č ć š ž đ"
mkdir -p "$zip_parent" && unzip -q "$zip" -d "$zip_parent" || fail "cannot unpack $zip"
zip_dir=$(find "$zip_parent" -name kaldora.exe -printf '%h\n' | head -n 1)
[[ -f $zip_dir/kaldora-obracun.exe ]] || fail "the zip holds no kaldora.exe and kaldora-obracun.exe"
# Started from another folder, as from a console.
(cd "$tmp" && exec timeout 300 wine "$zip_dir/kaldora.exe" 2>>"$tmp/wine.log") &
zip_pid=$!
take_window "from the zip"
click Command2
wait "$zip_pid"
code=$?
((code == 0)) || fail "kaldora.exe from the zip ended with status $code after IZLAZ"
timeout "$WAIT" wineserver -w || fail "Wine's programs still run $WAIT s after IZLAZ (from the zip)"
(cd "$tmp" && timeout 300 wine "$zip_dir/kaldora-obracun.exe" --cenovnik "$(winepath -w "$price_list")" \
    "$(winepath -w "$bills")" >"$tmp/zip.csv" 2>"$tmp/zip.err")
same_bill "kaldora-obracun.exe from the zip" $? "$tmp/zip.csv" "$tmp/zip.err"
price_list_sum=$(sha256sum <"$price_list")

step "9. installing and uninstalling while KALDORA runs"
run_bat desktop 'set DISPLAY=' "start \"\" \"$DESKTOP_SHORTCUT\"" ||
    fail "the desktop shortcut $DESKTOP_SHORTCUT starts no program"
take_window "started through the desktop shortcut"
installed=$(installed_files)
quiet_wine "$tmp/setup.exe" /S
code=$?
((code == STOPPED)) || fail "the silent installer ended with status $code while KALDORA ran, not $STOPPED"
expect_installed "$installed" "after the silent installer while KALDORA ran"
# Run in its folder (_?=), the uninstaller is waited for and gives its
# status; started as Windows starts it, it goes on from a copy of itself.
uninstall_in_place() {
    run_bat "$1" "\"$INSTALLED\\Uninstall.exe\" $2 _?=$INSTALLED" "echo %ERRORLEVEL% >C:\\$1.txt"
}
uninstall_in_place uninstall-silent /S
code=$(status uninstall-silent)
((code == STOPPED)) || fail "the silent uninstaller ended with status $code while KALDORA ran, not $STOPPED"
expect_installed "$installed" "after the silent uninstaller while KALDORA ran"
# By hand, it asks to close KALDORA; Esc gives up.
uninstall_in_place uninstall-asked "" &
asked_pid=$!
question_shown() {
    question=$(xdotool search --onlyvisible --name '^KALDORA Deinstalacija$' 2>/dev/null | head -n 1)
    [[ -n $question ]]
}
wait_for "the uninstaller's question" question_shown
sleep 1
picture "$question" uninstaller-kaldora-runs
# A click into the box takes the keyboard from KALDORA's window.
xdotool mousemove --window "$question" 20 20 click 1 key Escape
wait_for "the uninstaller's end after Esc" test -s "$WINEPREFIX/drive_c/uninstall-asked.txt"
wait "$asked_pid"
code=$(status uninstall-asked)
((code == STOPPED)) || fail "the uninstaller ended with status $code when the user gave up, not $STOPPED"
expect_installed "$installed" "after the uninstaller's question"
close_kaldora "started through the desktop shortcut"

step "10. the same version installed over itself"
quiet_wine "$tmp/setup.exe" /S || fail "the installer ended with status $? over the installed version"
timeout "$WAIT" wineserver -w || fail "Wine's programs still run $WAIT s after the installation"
expect_installed "$installed" "after installing over the installed version"

step "11. silent uninstall"
quiet_wine "$program_dir/Uninstall.exe" /S || fail "the uninstaller ended with status $?"
# The uninstaller goes on from a copy of itself.
wait_for "removal of $INSTALLED" test ! -e "$program_dir"
timeout "$WAIT" wineserver -w || fail "Wine's programs still run $WAIT s after the uninstallation"
for link in "$START_MENU_ENTRY" "$DESKTOP_SHORTCUT"; do
    [[ ! -e $(unix_path "$link") ]] || fail "the shortcut $link is left"
done
quiet_wine reg query "$UNINSTALL_KEY" >/dev/null && fail "the uninstall key $UNINSTALL_KEY is left"
[[ -f $price_list ]] || fail "the uninstallation removed the price list"
[[ $(sha256sum <"$price_list") == "$price_list_sum" ]] || fail "the uninstallation changed the price list"
step ""
echo PASS
