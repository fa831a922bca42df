#!/usr/bin/env bash
# The `windows` stage: builds Nimbrel.exe for x86_64 and i686, checks the
# i686 one statically (it is the one that ships, for Windows XP; 32-bit Wine
# cannot run on these machines), and runs the x86_64 one under Wine on a
# virtual X display, worked from outside by NimbrelDriver.exe.
#
# Every check judges by files, the registry, window state and the driver's
# output, never by Wine's exit codes. Every wait has a deadline.
#
#   tests/win32/windows_test.sh [--shots DIR] [--no-build]
#
# --shots DIR keeps the screenshots of the options dialog, the advanced
# options, the quote header styles and the tray menu in DIR (they are always
# taken, into the work folder, build/windows-test).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"

shots_out=""
build=1
inside=0
while (($# > 0)); do
    case $1 in
    --shots) shots_out=$(realpath -m "$2"); shift 2 ;;
    --no-build) build=0; shift ;;
    --inside) inside=1; shift ;;
    *) echo "usage: $0 [--shots DIR] [--no-build]" >&2; exit 2 ;;
    esac
done

jobs=${NIMBREL_JOBS:-$(nproc)}
work=$root/build/windows-test
exe64=$root/build/mingw/src/Nimbrel.exe
exe32=$root/build/mingw-i686/src/Nimbrel.exe
driver=$root/build/mingw/tests/win32/NimbrelDriver.exe
stub=$root/build/mingw/tests/win32/OLEACC.dll

if ((inside == 0)); then
    if ((build)); then
        for preset in mingw mingw-i686; do
            [[ -f build/$preset/CMakeCache.txt ]] || cmake --preset "$preset" -DNIMBREL_WERROR=ON >/dev/null
        done
        cmake --build --preset mingw --target Nimbrel NimbrelDriver StubOleacc -j "$jobs"
        cmake --build --preset mingw-i686 --target Nimbrel -j "$jobs"
    fi
    scripts/check-xp-imports "$exe32"
    args=(--inside --no-build)
    [[ -n $shots_out ]] && args+=(--shots "$shots_out")
    # The deadline of the whole run; its end kills every Wine process of the prefix.
    status=0
    xvfb-run -a -s '-screen 0 1024x768x24' timeout -k 10 600 "$0" "${args[@]}" || status=$?
    WINEPREFIX=$work/prefix wineserver -k 2>/dev/null || true
    ((status == 0)) || exit $status

    # The setup program: the shipped 32-bit one is built (and checked like
    # the program), the 64-bit one of the same script is run.
    if ((build)); then
        scripts/build-setup >/dev/null
        scripts/build-setup --amd64 >/dev/null
    fi
    i686-w64-mingw32-objdump -f build/setup/Nimbrel-setup.exe | grep -q 'file format pei-i386' ||
        { echo "windows: Nimbrel-setup.exe is not a 32-bit program" >&2; exit 1; }
    xvfb-run -a -s '-screen 0 1024x768x24' timeout -k 10 600 \
        tests/win32/installer_test.sh build/setup/Nimbrel-setup-amd64.exe "$driver"
    exit 0
fi

# --- inside the virtual display ---------------------------------------------

rm -rf "$work"
mkdir -p "$work/shots"
. tests/win32/lib.sh
fresh_prefix "$work/prefix"
base_overrides=$WINEDLLOVERRIDES
cleanup() { wineserver -k 2>/dev/null || true; }
trap cleanup EXIT
trap 'echo "windows: stopped (deadline or signal)"; exit 1' INT TERM HUP
# One server for every run that follows (it stays until the trap ends it),
# instead of one started and stopped for each driver call.
wineserver -p

uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Nimbrel'
inst=$work/Nimbrel              # the install directory
elsewhere=$work/elsewhere       # an unrelated start directory
startdir=$work/startdir         # a start directory with the program's files
mkdir -p "$inst" "$elsewhere" "$startdir"
for dir in "$inst" "$startdir"; do
    cp -r data/lang.ini data/signatures.ini data/emoticons.ini data/emoticons data/styles.css \
        data/donations.html data/docs "$dir/"
done
cp "$exe64" "$inst/Nimbrel.exe"

passed=0
failed=0
check() { # NAME EXPECTED ACTUAL
    if [[ $3 == "$2" ]]; then
        passed=$((passed + 1))
        echo "ok   $1"
    else
        failed=$((failed + 1))
        echo "FAIL $1"
        echo "       expected: $2"
        echo "       got:      $3"
    fi
}

nimbrel_pid=""
start_nimbrel() { # DIR: starts Nimbrel.exe with DIR as its start directory
    (cd "$1" && exec wine "$inst/Nimbrel.exe" >/dev/null 2>&1) &
    nimbrel_pid=$!
}
# Waits until the process PID has ended; "ended" or "running".
wait_exit() { # PID SECONDS
    local deadline=$((SECONDS + $2))
    while kill -0 "$1" 2>/dev/null; do
        if ((SECONDS >= deadline)); then echo running; return; fi
        sleep 0.1
    done
    wait "$1" 2>/dev/null || true
    echo ended
}
# Ends a run that a failed check left behind, so the next one starts clean.
stop_nimbrel() {
    [[ -n $nimbrel_pid ]] || return 0
    if [[ $(wait_exit "$nimbrel_pid" 0) == running ]]; then
        drv command 40002 >/dev/null # the tray menu's Terminate
        if [[ $(wait_exit "$nimbrel_pid" 10) == running ]]; then
            kill "$nimbrel_pid" 2>/dev/null || true
            wineserver -k 2>/dev/null || true
            wineserver -w 2>/dev/null || true
        fi
    fi
    nimbrel_pid=""
}
fingerprint() { # FILE: size, modification time and checksum
    if [[ -f $1 ]]; then stat -c '%s %Y' "$1" | tr '\n' ' '; md5sum <"$1" | cut -d' ' -f1; else echo missing; fi
}
# The text of a key of lang.ini as one line (line breaks as spaces).
lang_text() {
    awk -v key="#$1" '{ sub(/\r$/, "") } $0 == key { on = 1; next } on && /^#/ { exit } on { print }' \
        data/lang.ini | tr '\n' ' ' | sed 's/ *$//'
}
# A message box's text from the driver's output, as one line.
box_text() { sed -n 's/^box-text //p' | tr '\n' ' ' | sed 's/ *$//'; }
# Screenshot of one window (by class and title) into the work folder.
shot() { # NAME CLASS TITLE
    local where
    where=$(drv find "$2" "$3" 3000)
    read -r _ x y w h _ <<<"$where"
    if [[ $where == window* ]] && ((w > 0 && h > 0)); then
        sleep 0.5 # let it finish painting
        import -window root -crop "${w}x${h}+${x}+${y}" +repage "$work/shots/$1.png"
        echo "shot $1.png ${w}x${h}"
    else
        echo "shot $1: window not found ($where)"
    fi
}

cfg=$inst/Nimbrel.cfg

echo "--- installed, started from another directory"
wine reg add "$uninstall_key" /v UninstallString /d "$(winpath "$inst")\\uninstall.exe" /f >/dev/null 2>&1
drv cfg-write "$(winpath "$cfg")" wrapColumn=76 dependOnOE=0 >/dev/null
check "a Nimbrel.cfg of 1140 bytes written for the test" 1140 "$(stat -c %s "$cfg")"
start_nimbrel "$elsewhere"
check "main dialog exists hidden and disabled" "main visible=0 enabled=0" "$(drv wait-state 0 0 60000)"
check "Nimbrel.cfg read from the install directory (wrap column)" "text 76" "$(drv read-text 1006)"
check "no first-time note (the settings were found)" "no box" "$(drv no-box 'Nimbrel - NOTE' 200)"
tray=$(drv tray)
check "tray icon added" "icon=1" "$(grep -o 'icon=[01]' <<<"$tray" || echo "$tray")"

drv tray-event right >/dev/null
check "tray menu opens" "window" "$(drv find '#32768' '*' 5000 | cut -d' ' -f1)"
shot tray-menu '#32768' '*'
check "tray menu: Show Dialog chosen" "chosen" "$(drv menu-choose 0 2000)"
check "Show Dialog shows the main dialog" "main visible=1 enabled=1" "$(drv wait-state 1 1 5000)"
shot options '#32770' 'Nimbrel   '

drv click 1017 >/dev/null # Advanced Options
check "Advanced Options opens" "window" "$(drv find '#32770' 'Advanced Options' 5000 | cut -d' ' -f1)"
shot advanced-options '#32770' 'Advanced Options'
drv -w 'Advanced Options' command 2 >/dev/null # Cancel
drv click 1015 >/dev/null                      # Quote Header Styles
check "Quote Header Styles opens" "window" "$(drv find '#32770' 'Quote Header Styles' 5000 | cut -d' ' -f1)"
shot quote-header-styles '#32770' 'Quote Header Styles'
drv -w 'Quote Header Styles' command 2 >/dev/null

drv click 1004 >/dev/null # Hide (saves the settings)
check "Hide hides the main dialog" "main visible=0 enabled=1" "$(drv wait-state 0 1 5000)"
sleep 1.1 # a rewrite would show in the modification time
before=$(fingerprint "$cfg")
(cd "$elsewhere" && exec wine "$inst/Nimbrel.exe" >/dev/null 2>&1) &
second=$!
check "a second start ends by itself" ended "$(wait_exit $second 30)"
check "the second start brought the first one's dialog forward" "main visible=1 enabled=1" \
    "$(drv wait-state 1 1 5000)"
check "the second start did not rewrite Nimbrel.cfg" "$before" "$(fingerprint "$cfg")"

drv command 150 >/dev/null # the tray menu's Hide Tray Icon
sleep 0.3
tray=$(drv tray)
check "Hide Tray Icon removes the icon (and so the icon check can fail)" "icon=0" \
    "$(grep -o 'icon=[01]' <<<"$tray" || echo "$tray")"

old=$(drv read-check 1013 | cut -d' ' -f2)
new=$((old == 0 ? 1 : 0))
drv set-check 1013 $new >/dev/null # Position cursor at top
sleep 0.3
drv click 1003 >/dev/null # Terminate
check "Terminate ends the program" ended "$(wait_exit "$nimbrel_pid" 20)"
nimbrel_pid=""
check "Nimbrel.cfg is 1140 bytes after Terminate" 1140 "$(stat -c %s "$cfg" 2>/dev/null || echo missing)"
check "Nimbrel.cfg holds the changed check box" "cursorAtTop=$new wrapColumn=76" \
    "$(drv cfg-get "$(winpath "$cfg")" cursorAtTop wrapColumn | tr '\n' ' ' | sed 's/ $//')"
stop_nimbrel

echo "--- first start: no Nimbrel.cfg, Outlook Express not running"
rm -f "$cfg"
start_nimbrel "$elsewhere"
note=$(drv box 'Nimbrel - NOTE' 60000 1)
check "first-time note shows the lang.ini text" "$(lang_text 'First Time')" "$(box_text <<<"$note")"
question=$(drv box 'Nimbrel' 10000 7) # No
check "dependency question shows the lang.ini text" "$(lang_text 'Dependency Check Warning')" \
    "$(box_text <<<"$question")"
check "No ends the program" ended "$(wait_exit "$nimbrel_pid" 20)"
nimbrel_pid=""
check "No leaves no Nimbrel.cfg behind" missing "$(fingerprint "$cfg")"
stop_nimbrel

echo "--- not installed: no uninstall key"
wine reg delete "$uninstall_key" /f >/dev/null 2>&1 || true
drv cfg-write "$(winpath "$startdir/Nimbrel.cfg")" wrapColumn=77 dependOnOE=0 >/dev/null
start_nimbrel "$startdir"
missing_key=$(drv box 'Nimbrel Error' 60000 1)
check "the missing key is reported" \
    "Registry key not found! This application has not been installed properly." \
    "$(box_text <<<"$missing_key")"
check "the missing key is reported once" "no box" "$(drv no-box 'Nimbrel Error' 1500)"
check "the program goes on in its start directory (wrap column)" "text 77" \
    "$(drv wait-state 0 0 10000 >/dev/null; drv read-text 1006)"
stop_nimbrel

echo "--- OLEACC.DLL without ObjectFromLresult"
wine reg add "$uninstall_key" /v UninstallString /d "$(winpath "$inst")\\uninstall.exe" /f >/dev/null 2>&1
drv cfg-write "$(winpath "$cfg")" dependOnOE=0 >/dev/null
cp "$stub" "$inst/OLEACC.dll"
export WINEDLLOVERRIDES="$base_overrides;oleacc=n"
start_nimbrel "$elsewhere"
box=$(drv box 'Nimbrel Error' 60000 1)
check "the missing ObjectFromLresult is reported" \
    "oleacc.dll: Pointer to ObjectFromLresult could not be obtained! Coloring will not work." \
    "$(box_text <<<"$box")"
# One box for each document access object; answer whatever comes.
for _ in 1 2 3 4; do [[ $(drv box 'Nimbrel Error' 1500 1) != none ]] || break; done
check "the program keeps running" "main visible=0 enabled=0" "$(drv wait-state 0 0 10000)"
stop_nimbrel
rm -f "$inst/OLEACC.dll"

echo "--- OLEACC.DLL missing"
export WINEDLLOVERRIDES="$base_overrides;oleacc="
start_nimbrel "$elsewhere"
box=$(drv box 'Nimbrel Error' 60000 1)
check "the missing OLEACC.DLL is reported with the lang.ini text" "$(lang_text 'MSAA Error')" \
    "$(box_text <<<"$box")"
check "the missing OLEACC.DLL is reported once" "no box" "$(drv no-box 'Nimbrel Error' 1500)"
check "the program keeps running" "main visible=0 enabled=0" "$(drv wait-state 0 0 10000)"
stop_nimbrel
export WINEDLLOVERRIDES=$base_overrides

if [[ -n $shots_out ]]; then
    mkdir -p "$shots_out"
    cp "$work"/shots/*.png "$shots_out/" 2>/dev/null || true
fi
echo "windows: $passed passed, $failed failed (screenshots in $work/shots)"
((failed == 0))
