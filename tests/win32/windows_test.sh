#!/usr/bin/env bash
# The `windows` stage: Nimbrel.exe for i686 (the shipped one, for Windows XP and
# later) and x86_64. The i686 one passes the XP import check, then every check runs
# it under 32-bit Wine, with Windows XP reported to it, on a virtual X display,
# worked by NimbrelDriver.exe; the x86_64 one is run for what differs (its key in
# the 64-bit registry view, its saving). Windows' own conditions are made where Wine
# lacks them: an install folder the user cannot write (chattr +i), a folder name the
# ANSI code page cannot spell, a Cyrillic ANSI code page (a ru_RU.UTF-8 locale, made
# with localedef when missing). Then the 32-bit setup (installer_test.sh).
# Where the kernel runs no 32-bit programs, the x86_64 build and the 64-bit setup
# stand in. Judged by files, the registry, window state and the driver's output,
# never by Wine's exit codes; every wait has a deadline.
#   tests/win32/windows_test.sh [--shots DIR] [--no-build]
# --shots DIR: the screenshots, always taken into build/windows-test/shots, go to DIR too.
set -euo pipefail
. "$(dirname "$0")/lib.sh"

shots_out="" build=1 inside=0
while (($# > 0)); do
    case $1 in
    --shots) shots_out=$(realpath -m "$2"); shift 2 ;;
    --no-build) build=0; shift ;;
    --inside) inside=1; shift ;;
    *) echo "usage: $0 [--shots DIR] [--no-build]" >&2; exit 2 ;;
    esac
done
work=$root/build/windows-test driver=$root/build/$wine_preset/tests/win32/NimbrelDriver.exe

if ((inside == 0)); then
    if ((build)); then
        for preset in mingw mingw-i686; do
            [[ -f build/$preset/CMakeCache.txt ]] || cmake --preset "$preset" -DNIMBREL_WERROR=ON >/dev/null
            cmake --build --preset "$preset" --target Nimbrel NimbrelDriver StubOleacc -j "${NIMBREL_JOBS:-$(nproc)}"
        done
        scripts/build-setup >/dev/null
        scripts/build-setup --amd64 >/dev/null
    fi
    scripts/check-xp-imports "$root/build/mingw-i686/src/Nimbrel.exe"
    i686-w64-mingw32-objdump -f build/setup/Nimbrel-setup.exe | grep -q 'file format pei-i386' ||
        { echo "windows: Nimbrel-setup.exe is not a 32-bit program" >&2; exit 1; }
    wine32_note windows
    # The deadline of the whole run; its end kills every Wine process of the prefix.
    status=0
    "${xvfb[@]}" timeout -k 10 600 "$0" --inside --no-build ${shots_out:+--shots "$shots_out"} || status=$?
    WINEPREFIX=$work/prefix wineserver -k 2>/dev/null || true
    ((status == 0)) || exit $status
    setup=build/setup/Nimbrel-setup.exe
    ((wine_bits == 32)) || setup=build/setup/Nimbrel-setup-amd64.exe
    exec "${xvfb[@]}" timeout -k 10 600 tests/win32/installer_test.sh "$setup" "$driver"
fi

# --- inside the virtual display ---------------------------------------------
# The install directory made unwritable below is made writable again, also after an
# aborted run.
writable() { chattr -i "$work/Nimbrel" "$work/Nimbrel/Nimbrel.cfg" 2>/dev/null || true; }
writable
rm -rf "$work"
fresh_prefix "$work/prefix"
trap 'echo "windows: stopped (deadline or signal)"; exit 1' INT TERM HUP
trap 'writable; wineserver -k >/dev/null 2>&1 || true' EXIT
# One server for all the runs (until the trap ends it), not one per driver call.
wineserver -p

# The install directory, an unrelated start directory and a start directory with the program's files.
inst=$work/Nimbrel elsewhere=$work/elsewhere startdir=$work/startdir
mkdir -p "$work/shots" "$inst" "$elsewhere" "$startdir"
cp -r data/{lang,signatures,emoticons}.ini data/{emoticons,styles.css,donations.html,docs} "$inst/"
cp -r "$inst/." "$startdir/"
nimbrel_exe=$inst/Nimbrel.exe cfg=$inst/Nimbrel.cfg
cp "build/$wine_preset/src/Nimbrel.exe" "$nimbrel_exe"
# The user's own Nimbrel.cfg, in the application data folder as the program finds it.
appdata=$(drv appdata | sed -n 's/^folder //p')
[[ -n $appdata ]] || { echo "windows: no application data folder in the prefix"; exit 1; }
usercfg=$(winepath -u "$appdata" 2>/dev/null)/Nimbrel/Nimbrel.cfg

# "ended" when the process PID has ended within SECONDS, else "running".
wait_exit() { if wait_for "! kill -0 $1 2>/dev/null" "$2"; then echo ended; else echo running; fi; }
# Ends a run that a failed check left behind, so the next one starts clean.
stop_nimbrel() {
    [[ -n ${nimbrel_pid-} && $(wait_exit "$nimbrel_pid" 0) == running ]] || return 0
    drv command 40002 >/dev/null # the tray menu's Terminate
    [[ $(wait_exit "$nimbrel_pid" 10) == running ]] || return 0
    { kill "$nimbrel_pid"; wineserver -k; wineserver -w; } 2>/dev/null || true
}
section() { stop_nimbrel; echo "--- $1"; }
# Ends every Wine process of the prefix and starts one server for the next runs.
restart_wineserver() { { wineserver -k; wineserver -w; } 2>/dev/null || true; wineserver -p; }
dialog_is() { check "$1" "main visible=$2 enabled=$3" "$(drv wait-state "$2" "$3" "$4")"; } # NAME VISIBLE ENABLED MS
# Turns the check box "Position cursor at top" the other way; its new state in $new.
flip_cursor_at_top() {
    new=$(($(drv read-check 1013 | cut -d' ' -f2) == 0 ? 1 : 0))
    drv set-check 1013 $new >/dev/null
    sleep 0.3
}
terminate_ends() { check "$1" ended "$(drv click 1003 >/dev/null; wait_exit "$nimbrel_pid" 20)"; } # NAME
# The size, modification time and checksum of FILE.
fingerprint() { if [[ -f $1 ]]; then echo "$(stat -c '%s %Y' "$1") $(md5sum <"$1")"; else echo missing; fi; }
# The text of a key of lang.ini as one line (line breaks as spaces).
lang_text() { sed -n "/^#$1\r\?\$/,/^#/{/^#/!p}" data/lang.ini | tr -d '\r' | tr '\n' ' ' | sed 's/ *$//'; }
# Checks the text of a message box (by default an error box) as one line, and answers it.
box_is() { check "$1" "$2" "$(drv box "${3:-Nimbrel Error}" "${4:-60000}" "${5:-1}" | box_text)"; } # NAME TEXT [TITLE MS BUTTON]
box_text() { sed -n 's/^box-text //p' | tr '\n' ' ' | sed 's/ *$//'; }
tray_icon() { local tray; tray=$(drv tray); grep -o 'icon=[01]' <<<"$tray" || echo "$tray"; }
shot() { # NAME CLASS TITLE: a screenshot of one window into the work folder
    local where x y w h
    where=$(drv find "$2" "$3" 3000)
    read -r _ x y w h _ <<<"$where"
    if [[ $where != window* ]] || ((w <= 0 || h <= 0)); then echo "shot $1: window not found ($where)"; return; fi
    sleep 0.5 # let it finish painting
    import -window root -crop "${w}x${h}+${x}+${y}" +repage "$work/shots/$1.png"
    echo "shot $1.png ${w}x${h}"
    [[ -z $shots_out ]] || { mkdir -p "$shots_out" && cp "$work/shots/$1.png" "$shots_out/"; }
}

# Writes the uninstall key in the registry view VIEW (/reg:32 or /reg:64) for the install directory.
install_key() { wine reg add "$uninstall_key" /v UninstallString /d "$(winpath "$inst")\\uninstall.exe" /f "$1" >/dev/null 2>&1; }

if ((wine_bits == 32)); then
    section "32-bit Windows XP"
    check "a 32-bit program under 64-bit Windows, told it is Windows XP" \
        "windows 5.1 build=2600 bits=32 wow64=1" "$(drv winver)"
fi

section "installed, started from another directory"
install_key "$view"
drv cfg-write "$(winpath "$cfg")" wrapColumn=76 dependOnOE=0 >/dev/null
check "a Nimbrel.cfg of 1140 bytes written for the test" 1140 "$(stat -c %s "$cfg")"
installed=$(fingerprint "$cfg")
start_nimbrel "$elsewhere"
dialog_is "main dialog exists hidden and disabled" 0 0 60000
check "the install directory's Nimbrel.cfg read, the user having none (wrap column)" "text 76" "$(drv read-text 1006)"
check "no first-time note (the settings were found)" "no box" "$(drv no-box 'Nimbrel - NOTE' 200)"
check "tray icon added" "icon=1" "$(tray_icon)"
check "Explorer's restart loses the icon" "removed icon=0" "$(drv tray-remove) $(tray_icon)"
drv taskbar-created >/dev/null
check "TaskbarCreated brings it back" "icon=1" "$(wait_for '[[ $(tray_icon) == icon=1 ]]' 5; tray_icon)"

check "tray menu opens" "window" "$(drv tray-event right >/dev/null; drv find '#32768' '*' 5000 | cut -d' ' -f1)"
shot tray-menu '#32768' '*'
check "tray menu: Show Dialog chosen" "chosen" "$(drv menu-choose 0 2000)"
dialog_is "Show Dialog shows the main dialog" 1 1 5000
shot options '#32770' 'Nimbrel   '
for dialog in '1017 Advanced Options' '1015 Quote Header Styles'; do # its button, its title
    title=${dialog#* }
    check "$title opens" "window" "$(drv click "${dialog%% *}" >/dev/null; drv find '#32770' "$title" 5000 | cut -d' ' -f1)"
    shot "$(tr 'A-Z ' 'a-z-' <<<"$title")" '#32770' "$title"
    drv -w "$title" command 2 >/dev/null # Cancel
done

drv click 1004 >/dev/null # Hide (saves the settings)
dialog_is "Hide hides the main dialog" 0 1 5000
check "Hide saved the user's Nimbrel.cfg" 1140 "$(stat -c %s "$usercfg" 2>/dev/null || echo missing)"
sleep 1.1 # a rewrite would show in the modification time
before=$(fingerprint "$usercfg")
(cd "$elsewhere" && exec wine "$nimbrel_exe" >/dev/null 2>&1) &
check "a second start ends by itself" ended "$(wait_exit $! 30)"
dialog_is "the second start brought the first one's dialog forward" 1 1 5000
check "the second start did not rewrite Nimbrel.cfg" "$before" "$(fingerprint "$usercfg")"

drv command 150 >/dev/null # the tray menu's Hide Tray Icon
sleep 0.3
check "Hide Tray Icon removes the icon (and so the icon check can fail)" "icon=0" "$(tray_icon)"

flip_cursor_at_top
terminate_ends "Terminate ends the program"
check "the user's Nimbrel.cfg is 1140 bytes after Terminate" 1140 "$(stat -c %s "$usercfg" 2>/dev/null || echo missing)"
check "the user's Nimbrel.cfg holds the changed check box" "cursorAtTop=$new wrapColumn=76" \
    "$(drv cfg-get "$(winpath "$usercfg")" cursorAtTop wrapColumn | tr '\n' ' ' | sed 's/ $//')"
check "the install directory's Nimbrel.cfg is left as it was" "$installed" "$(fingerprint "$cfg")"

section "logoff: Windows ends the program after WM_ENDSESSION"
start_nimbrel "$elsewhere"
dialog_is "started" 0 0 60000
flip_cursor_at_top
check "every top-level window told the session ends" yes \
    "$(drv end-session | grep -qE '^ended [1-9]' && echo yes || echo no)"
{ kill -9 "$nimbrel_pid"; wait "$nimbrel_pid"; } 2>/dev/null || true
check "killed then" ended "$(wait_exit "$nimbrel_pid" 10)"
check "Nimbrel.cfg holds the change" "cursorAtTop=$new" "$(drv cfg-get "$(winpath "$cfg")" cursorAtTop)"
restart_wineserver

section "first start: no Nimbrel.cfg, Outlook Express not running"
rm -f "$cfg" "$usercfg"
start_nimbrel "$elsewhere"
box_is "first-time note shows the lang.ini text" "$(lang_text 'First Time')" 'Nimbrel - NOTE'
box_is "dependency question shows the lang.ini text" "$(lang_text 'Dependency Check Warning')" Nimbrel 10000 7 # No
check "No ends the program" ended "$(wait_exit "$nimbrel_pid" 20)"
check "No leaves no Nimbrel.cfg behind" "missing missing" "$(fingerprint "$cfg") $(fingerprint "$usercfg")"

# A limited account on Windows XP, and every account on later Windows (the program
# asks for no elevation), cannot write into Program Files; made immutable here, as root
# could write anything else.
section "the install directory cannot be written"
if chattr +i "$inst"; then
    start_nimbrel "$elsewhere"
    box_is "first start: the first-time note" "$(lang_text 'First Time')" 'Nimbrel - NOTE'
    box_is "first start: the dependency question (Yes)" "$(lang_text 'Dependency Check Warning')" Nimbrel 10000 6
    dialog_is "the program runs" 0 0 30000
    flip_cursor_at_top
    terminate_ends "Terminate ends the program"
    check "the changed setting is saved in the user's Nimbrel.cfg" "cursorAtTop=$new dependOnOE=0" \
        "$(drv cfg-get "$(winpath "$usercfg")" cursorAtTop dependOnOE | tr '\n' ' ' | sed 's/ $//')"
    start_nimbrel "$elsewhere"
    dialog_is "started again: the program runs" 0 0 60000
    check "started again: no first-time note, no dependency question" "no box no box" \
        "$(drv no-box 'Nimbrel - NOTE' 500) $(drv no-box Nimbrel 200)"
    check "started again: the setting is kept" "check $new" "$(drv read-check 1013)"
    terminate_ends "Terminate ends the program"

    chattr -i "$inst"
    drv cfg-write "$(winpath "$cfg")" wrapColumn=78 dependOnOE=0 >/dev/null
    rm -f "$usercfg"
    installed=$(fingerprint "$cfg")
    chattr +i "$inst" "$cfg"
    start_nimbrel "$elsewhere"
    dialog_is "an earlier installation's Nimbrel.cfg: the program runs" 0 0 60000
    check "it is read, without the first-time note" "text 78 no box" \
        "$(drv read-text 1006) $(drv no-box 'Nimbrel - NOTE' 200)"
    terminate_ends "Terminate ends the program"
    check "its settings are saved in the user's Nimbrel.cfg" "wrapColumn=78" \
        "$(drv cfg-get "$(winpath "$usercfg")" wrapColumn)"
    check "the install directory is as it was" "$installed" "$(fingerprint "$cfg")"
    chattr -i "$inst" "$cfg"
else
    tally FAIL "the install directory cannot be made unwritable here (chattr +i)"
fi

# The wide-character registry and directory calls reach a folder whose name the
# ANSI code page (here 1252) cannot spell: lang.ini is found there.
section "an install directory named in letters outside the ANSI code page"
uinst=$work/Нимбрел-漢字
mkdir -p "$uinst"
cp -r "$inst/." "$uinst/"
rm -f "$uinst/Nimbrel.cfg" "$usercfg"
LC_ALL=C.UTF-8 wine reg add "$uninstall_key" /v UninstallString /d "$(winpath "$uinst")\\uninstall.exe" /f "$view" >/dev/null 2>&1
LC_ALL=C.UTF-8 nimbrel_exe=$uinst/Nimbrel.exe start_nimbrel "$elsewhere"
box_is "the first-time note shows the text of its lang.ini" "$(lang_text 'First Time')" 'Nimbrel - NOTE'
box_is "the dependency question too (Yes)" "$(lang_text 'Dependency Check Warning')" Nimbrel 10000 6
dialog_is "the program runs" 0 0 30000
terminate_ends "Terminate ends the program"
check "the user's Nimbrel.cfg is saved" 1140 "$(stat -c %s "$usercfg" 2>/dev/null || echo missing)"
check "nothing is written into the start directory" "" "$(ls "$elsewhere")"
install_key "$view"

# A Cyrillic Windows: the thread's ANSI code page is 1251, and lang.ini is written in it.
section "ANSI code page 1251, lang.ini in that code page"
if ! locale -a 2>/dev/null | grep -qix 'ru_RU.utf-\?8'; then
    localedef -i ru_RU -c -f UTF-8 ru_RU.UTF-8 2>/dev/null || sudo localedef -i ru_RU -c -f UTF-8 ru_RU.UTF-8 || true
fi
if locale -a 2>/dev/null | grep -qix 'ru_RU.utf-\?8'; then
    cp "$inst/lang.ini" "$work/lang.ini"
    awk '{ print } $0 == "#Terminate\r" { getline; print "Завершить\r" } $0 == "#Hide\r" { getline; print "Скрыть\r" }' \
        "$work/lang.ini" | iconv -f UTF-8 -t CP1251 >"$inst/lang.ini"
    LC_ALL=ru_RU.UTF-8 start_nimbrel "$elsewhere"
    dialog_is "the program runs" 0 0 60000
    check "the buttons show the Cyrillic texts of lang.ini" "text Завершить text Скрыть" \
        "$(drv read-text 1003) $(drv read-text 1004)"
    terminate_ends "Terminate ends the program"
    cp "$work/lang.ini" "$inst/lang.ini"
else
    tally FAIL "no Cyrillic locale (ru_RU.UTF-8) could be made"
fi

section "not installed: no uninstall key in the program's registry view"
wine reg delete "$uninstall_key" /f "$view" >/dev/null 2>&1 || true
# The 32-bit program does not see a key of the 64-bit view.
((wine_bits == 64)) || install_key /reg:64
drv cfg-write "$(winpath "$startdir/Nimbrel.cfg")" wrapColumn=77 dependOnOE=0 >/dev/null
rm -f "$usercfg"
start_nimbrel "$startdir"
box_is "the missing key is reported" "Registry key not found! This application has not been installed properly."
check "the missing key is reported once" "no box" "$(drv no-box 'Nimbrel Error' 1500)"
check "the program goes on in its start directory (wrap column)" "text 77" \
    "$(drv wait-state 0 0 10000 >/dev/null; drv read-text 1006)"

section "OLEACC.DLL without ObjectFromLresult"
install_key "$view"
drv cfg-write "$(winpath "$usercfg")" dependOnOE=0 >/dev/null
cp "build/$wine_preset/tests/win32/OLEACC.dll" "$inst/OLEACC.dll"
WINEDLLOVERRIDES="$WINEDLLOVERRIDES;oleacc=n" start_nimbrel "$elsewhere"
box_is "the missing ObjectFromLresult is reported" "oleacc.dll: Pointer to ObjectFromLresult could not be obtained! Coloring will not work."
# One box for each document access object; answer whatever comes.
for _ in 1 2 3 4; do [[ $(drv box 'Nimbrel Error' 1500 1) != none ]] || break; done
dialog_is "the program keeps running" 0 0 10000

section "OLEACC.DLL missing"
rm -f "$inst/OLEACC.dll"
WINEDLLOVERRIDES="$WINEDLLOVERRIDES;oleacc=" start_nimbrel "$elsewhere"
box_is "the missing OLEACC.DLL is reported with the lang.ini text" "$(lang_text 'MSAA Error')"
check "the missing OLEACC.DLL is reported once" "no box" "$(drv no-box 'Nimbrel Error' 1500)"
dialog_is "the program keeps running" 0 0 10000

section "150 % scaling (144 DPI)"
install_key "$view"
drv cfg-write "$(winpath "$cfg")" dependOnOE=0 >/dev/null
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
restart_wineserver # LogPixels is read at the server's start
start_nimbrel "$elsewhere"
dialog_is "started" 0 0 60000
drv command 40001 >/dev/null # the tray menu's Show Dialog
dialog_is "shown" 1 1 5000
check "the status list's first column scaled to the DPI" "width 262" "$(drv column-width 1002 0)"
shot options-144dpi '#32770' 'Nimbrel   '
stop_nimbrel
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1
restart_wineserver

if ((wine_bits == 32)); then
    section "the 64-bit build: its key in the 64-bit view, its settings saved"
    wine reg delete "$uninstall_key" /f /reg:32 >/dev/null 2>&1 || true
    install_key /reg:64
    cp build/mingw/src/Nimbrel.exe "$nimbrel_exe"
    drv cfg-write "$(winpath "$cfg")" wrapColumn=75 dependOnOE=0 >/dev/null
    rm -f "$usercfg"
    start_nimbrel "$elsewhere"
    dialog_is "the 64-bit program starts" 0 0 60000
    check "Nimbrel.cfg read from the install directory of the 64-bit view" "text 75" "$(drv read-text 1006)"
    flip_cursor_at_top
    terminate_ends "Terminate ends the 64-bit program"
    check "the 64-bit program saved the user's Nimbrel.cfg" "cursorAtTop=$new wrapColumn=75" \
        "$(drv cfg-get "$(winpath "$usercfg")" cursorAtTop wrapColumn | tr '\n' ' ' | sed 's/ $//')"
fi
stop_nimbrel

echo "windows: $passed passed, $failed failed (screenshots in $work/shots)"
((failed == 0))
