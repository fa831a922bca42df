# Shared set-up of the Windows end-to-end checks; sourced by windows_test.sh,
# installer_test.sh and scenarios_test.sh, which it leaves in the project's root.
export WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe=d;winedbg.exe=d"
cd "$(dirname "${BASH_SOURCE[0]}")/../.." && root=$PWD
xvfb=(xvfb-run -a -s '-screen 0 1024x768x24') # a virtual X display of its own
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Nimbrel'

# Makes DIR a new Wine prefix, exported as WINEPREFIX, whose Wine processes end
# on exit. A prefix is set up once (wineboot, fonts, no managed windows) into
# build/wine-template and copied for every check: a copy takes a few seconds,
# wineboot about twenty.
fresh_prefix() { # DIR
    local template=$root/build/wine-template
    if [[ ! -f $template/done ]]; then
        rm -rf "$template" && mkdir -p "$template"
        WINEPREFIX=$template wineboot -i >/dev/null 2>&1 || true
        WINEPREFIX=$template wineserver -w
        # This Wine build does not find the fonts it ships (MS Sans Serif, Tahoma, Marlett for
        # the caption buttons) and would draw every text in a Linux font; in Windows\Fonts it does.
        cp /usr/share/wine/fonts/*.{ttf,fon} "$template/drive_c/windows/Fonts/" 2>/dev/null || true
        # Without a window manager, managed windows make every close wait 2 s.
        WINEPREFIX=$template wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
        WINEPREFIX=$template wineserver -w
        touch "$template/done"
    fi
    rm -rf "$1"
    mkdir -p "$(dirname "$1")"
    cp -a "$template" "$1"
    export WINEPREFIX=$1
    trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
}

winpath() { echo "Z:${1//\//\\}"; }
drv() { wine "$driver" "$@" 2>/dev/null | tr -d '\r'; } # runs NimbrelDriver.exe; its output without CRs
# Starts $nimbrel_exe in the start directory DIR; nimbrel_pid is its process.
start_nimbrel() { (cd "$1" && exec wine "$nimbrel_exe" >/dev/null 2>&1) & nimbrel_pid=$!; }
wait_for() { # COMMAND SECONDS: waits until COMMAND succeeds; fails after SECONDS
    local deadline=$((SECONDS + $2))
    until eval "$1"; do ((SECONDS < deadline)) || return 1; sleep 0.2; done
}

# Counts a check and prints it: "ok   NAME", or "FAIL NAME" and its DETAILS indented;
# check NAME EXPECTED ACTUAL does so for a comparison.
passed=0 failed=0
tally() { # ok|FAIL NAME [DETAILS]
    if [[ $1 == ok ]]; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
    printf '%-4s %s\n' "$1" "$2"
    [[ -z ${3-} ]] || sed 's/^/       /' <<<"$3"
}
check() { if [[ $3 == "$2" ]]; then tally ok "$1"; else tally FAIL "$1" "expected: $2"$'\n'"got:      $3"; fi; }
