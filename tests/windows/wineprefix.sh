# The virtual display and the Wine prefix that the Windows tests run in,
# made one way for scripts/test-windows and tests/windows/installer_e2e.sh,
# which source this file and then call
#   wine_display WIDTHxHEIGHT FOLDER   an X server of its own on a free
#                                      display (its log in FOLDER); sets
#                                      DISPLAY and wine_xvfb_pid
#   wine_prefix                        makes $WINEPREFIX as a Serbian PC has
#                                      it (see below)
# Both fail with status 1. The caller ends Wine (wineserver -k) and the X
# server (kill "$wine_xvfb_pid") when it is done.

# No Mono or Gecko installer in a fresh prefix, and no menu entries written
# into the Linux desktop for the shortcuts an installer makes.
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
export WINEDEBUG=-all
# Wine takes the Unix locale for the Windows one and, when it differs from
# the one the prefix was made with, rewrites the regional settings, the
# decimal symbol among them: every Windows program of a run starts with the
# locale the prefix is made with (tests/windows/wine-run passes it on to the
# tests that CTest runs).
export KALDORA_WINE_LOCALE=C.UTF-8
export LC_ALL=$KALDORA_WINE_LOCALE
unset WAYLAND_DISPLAY

wine_display() {
    local folder=$2 tries
    Xvfb -displayfd 3 -screen 0 "${1}x24" -nolisten tcp -noreset \
        3>"$folder/display" >"$folder/xvfb.log" 2>&1 &
    wine_xvfb_pid=$!
    for ((tries = 0; tries < 100; tries++)); do
        [[ -s $folder/display ]] && break
        sleep 0.1
    done
    if [[ ! -s $folder/display ]]; then
        cat "$folder/xvfb.log" >&2
        echo "no virtual display" >&2
        return 1
    fi
    DISPLAY=:$(head -n 1 "$folder/display")
    export DISPLAY
}

wine_prefix() {
    timeout 300 wineboot -i >/dev/null || { echo "wineboot could not make $WINEPREFIX" >&2; return 1; }
    # The first start of a prefix goes on in the background after wineboot
    # returns; a program started meanwhile can hang.
    timeout 300 wineserver -w
    # Debian's Wine does not look where fonts-wine puts its faces; in the
    # prefix's Fonts folder it finds them, as Windows has them. Without
    # Tahoma, the face of Windows' dialogs, message boxes fall back to a
    # serif face.
    cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" ||
        { echo "Wine's fonts (fonts-wine) are missing" >&2; return 1; }
    # The Serbian regional settings' separators: a decimal comma, as the
    # Linux program has with sr_RS, and a group separator that differs
    # from it.
    local international='HKCU\Control Panel\International'
    wine reg add "$international" /v sDecimal /t REG_SZ /d , /f >/dev/null &&
        wine reg add "$international" /v sThousand /t REG_SZ /d . /f >/dev/null ||
        { echo "the regional settings could not be set" >&2; return 1; }
}
