# Shared set-up of the Windows end-to-end checks; sourced by windows_test.sh,
# installer_test.sh and scenarios_test.sh inside their virtual display.
#
#   fresh_prefix DIR   makes DIR a new Wine prefix and exports WINEPREFIX.
# A prefix is set up once (wineboot, the fonts this Wine build does not find,
# no managed windows) into build/wine-template and copied for every check:
# a copy takes a few seconds, wineboot about twenty.
export WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe=d;winedbg.exe=d"
nimbrel_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

fresh_prefix() {
    local template=$nimbrel_root/build/wine-template
    if [[ ! -f $template/done ]]; then
        rm -rf "$template"
        mkdir -p "$template"
        WINEPREFIX=$template wineboot -i >/dev/null 2>&1 || true
        WINEPREFIX=$template wineserver -w
        # This Wine build does not find the fonts it ships (MS Sans Serif,
        # Tahoma, Marlett for the caption buttons) and would draw every text
        # in a Linux font; in the Windows font folder it finds them.
        if [[ -d /usr/share/wine/fonts ]]; then
            cp /usr/share/wine/fonts/*.ttf /usr/share/wine/fonts/*.fon \
                "$template/drive_c/windows/Fonts/" 2>/dev/null || true
        fi
        # Without a window manager, managed windows make every close wait 2 s.
        WINEPREFIX=$template wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
            >/dev/null 2>&1 || true
        WINEPREFIX=$template wineserver -w
        touch "$template/done"
    fi
    rm -rf "$1"
    mkdir -p "$(dirname "$1")"
    cp -a "$template" "$1"
    export WINEPREFIX=$1
}

winpath() { echo "Z:${1//\//\\}"; }
# Runs NimbrelDriver.exe ($driver); its output without Wine's CRs.
drv() { wine "$driver" "$@" 2>/dev/null | tr -d '\r'; }
