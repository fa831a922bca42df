# Shared set-up of the Windows end-to-end checks; sourced by windows_test.sh,
# installer_test.sh and scenarios_test.sh, which it leaves in the project's root.
export WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe=d;winedbg.exe=d"
cd "$(dirname "${BASH_SOURCE[0]}")/../.." && root=$PWD
xvfb=(xvfb-run -a -s '-screen 0 1280x1024x24') # a virtual X display of its own (tall enough for 150 %)
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Nimbrel'

# True where 32-bit Wine runs beside 64-bit Wine (scripts/setup installs it where
# the kernel runs 32-bit programs): the checks then run the shipped 32-bit
# programs, as on 64-bit Windows, and the 64-bit build only for what differs.
wine32_ready() {
    "$root/scripts/runs-32bit" &&
        dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'install ok installed'
}
if wine32_ready; then wine_bits=32; else wine_bits=64; fi
# The preset and registry view of the program the checks run: the i686 build reads
# the 32-bit view (WOW6432Node), as on 64-bit Windows; `wine reg` takes /reg:32|64.
if ((wine_bits == 32)); then wine_preset=mingw-i686 view=/reg:32; else wine_preset=mingw view=/reg:64; fi
wine32_note() { # the one line that says the 32-bit runs cannot be made here
    ((wine_bits == 32)) ||
        echo "$1: this kernel does not run 32-bit programs: the 64-bit build stands in for the shipped 32-bit one"
}

# Makes DIR a new Wine prefix, exported as WINEPREFIX, whose Wine processes end
# on exit. A prefix is set up once (wineboot, fonts, no managed windows, Windows
# XP reported to Nimbrel.exe and the driver) into build/wine-template and copied
# for every check: a copy takes a few seconds, wineboot about twenty. A template
# made before 32-bit Wine was installed (or after it was removed) is made anew.
fresh_prefix() { # DIR
    local template=$root/build/wine-template
    if [[ ! -f $template/done || $(cat "$template/done") != "wine$wine_bits" ]]; then
        rm -rf "$template" && mkdir -p "$template"
        WINEPREFIX=$template wineboot -i >/dev/null 2>&1 || true
        WINEPREFIX=$template wineserver -w
        # This Wine build does not find the fonts it ships (MS Sans Serif, Tahoma, Marlett for
        # the caption buttons) and would draw every text in a Linux font; in Windows\Fonts it does.
        cp /usr/share/wine/fonts/*.{ttf,fon} "$template/drive_c/windows/Fonts/" 2>/dev/null || true
        # Without a window manager, managed windows make every close wait 2 s.
        WINEPREFIX=$template wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
        # The mail client's era: Windows XP for the program (the prefix itself is 64-bit
        # Windows 7 or later, which cannot report XP as a whole).
        if ((wine_bits == 32)); then
            local program
            for program in Nimbrel.exe NimbrelDriver.exe; do
                WINEPREFIX=$template wine reg add "HKCU\\Software\\Wine\\AppDefaults\\$program" \
                    /v Version /d winxp /f >/dev/null 2>&1 || true
            done
        fi
        WINEPREFIX=$template wineserver -w
        echo "wine$wine_bits" >"$template/done"
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
