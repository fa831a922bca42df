#!/usr/bin/env bash
# The setup program under Wine: the refusals (a folder that cannot be written, a
# second setup running), a silent install, the uninstall entry, Nimbrel started from
# elsewhere finding its folder through it and keeping the user's files in the
# application data folder, an upgrade over a running Nimbrel, silent uninstalls
# without and with the user's files. Judged by files, the registry and window state, never by Wine's
# exit codes. SETUP.exe is the shipped 32-bit setup (scripts/build-setup), run as on
# 64-bit Windows: into "Program Files (x86)", its key in the 32-bit registry view;
# where 32-bit Wine cannot run, the 64-bit one (scripts/build-setup --amd64).
#   tests/win32/installer_test.sh SETUP.exe DRIVER.exe
set -euo pipefail
setup=$(realpath "$1") driver=$(realpath "$2")
. "$(dirname "$0")/lib.sh"

fail() { echo "installer_test: FAIL: $*" >&2; exit 1; }
ok() { echo "ok - $*"; passed=$((passed + 1)); }

work=$(mktemp -d /tmp/nimbrel-setup-test.XXXXXX)
fresh_prefix "$work/prefix"
drive=$WINEPREFIX/drive_c run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
trap 'chattr -i "$drive/Locked" 2>/dev/null || true; wineserver -k >/dev/null 2>&1 || true; rm -rf "$work"' EXIT

setup_silent() { wine "$setup" /S "$@" >/dev/null 2>&1 || true; wineserver -w; } # ARGS: a silent run, waited for
# The data of a registry value, or nothing when it is absent.
# HKLM\Software is read in the setup's view ($view), HKCU's keys are shared.
reg_value() { wine reg query "$1" /v "$2" "$view" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z_]* *//p" || true; }
key_exists() { wine reg query "$1" "${2:-$view}" >/dev/null 2>&1; }
main_dialog() { [[ $(drv wait-state 0 0 30000) == "main visible=0 enabled=0" ]]; }

# The refusals, in the fresh prefix. A folder that cannot be written (made
# immutable; root could write any other): said (silently), nothing is left.
mkdir -p "$drive/Locked" "$work/elsewhere"
if chattr +i "$drive/Locked" 2>/dev/null; then
    setup_silent '/D=C:\Locked\Nimbrel'
    chattr -i "$drive/Locked"
    key_exists "$uninstall_key" && fail "an install into an unwritable folder wrote the uninstall key"
    [[ -n "$(ls -A "$drive/Locked")" ]] && fail "an install into an unwritable folder left files"
    find "$drive" -maxdepth 3 -name Nimbrel -path '*Program Files*' | grep -q . &&
        fail "an install into an unwritable folder went elsewhere"
    ok "unwritable folder: nothing installed"
else
    echo "skip - unwritable folder (chattr not supported here)"
fi

# A second setup while one runs (the first waits on its welcome page).
wine "$setup" >/dev/null 2>&1 & first=$!
wait_for '[[ $(drv find "#32770" "Nimbrel Setup" 200) == window* ]]' 60 || fail "the first setup's window did not appear"
wine "$setup" /S '/D=C:\Second' >/dev/null 2>&1 || true
[[ -e "$drive/Second" ]] && fail "a second setup ran while one was running"
key_exists "$uninstall_key" && fail "a second setup wrote the uninstall key"
{ kill "$first"; wineserver -k; } >/dev/null 2>&1 || true
wait "$first" 2>/dev/null || true
ok "second setup refused"

setup_silent
install_win=$(reg_value "$uninstall_key" InstallLocation)
[[ -n "$install_win" ]] || fail "no InstallLocation after a silent install"
install=$(winepath -u "$install_win" 2>/dev/null)
if ((wine_bits == 32)); then
    [[ $install_win == 'C:\Program Files (x86)\Nimbrel' ]] || fail "installed into $install_win"
    key_exists "$uninstall_key" /reg:64 && fail "the 32-bit setup wrote its key into the 64-bit view"
    ok "32-bit setup: Program Files (x86), its key in the 32-bit view only"
fi
for f in Nimbrel.exe lang.ini signatures.ini emoticons.ini styles.css donations.html \
    emoticons/smile.gif docs/index.html uninstall.exe; do
    [[ -f "$install/$f" ]] || fail "$f was not installed"
done
for value in DisplayName=Nimbrel DisplayVersion=1.19.2 NoModify=0x1 NoRepair=0x1 \
    "UninstallString=$install_win\\uninstall.exe"; do
    data=$(reg_value "$uninstall_key" "${value%%=*}")
    [[ $data == "${value#*=}" ]] || fail "${value%%=*} is \"$data\", not \"${value#*=}\""
done
[[ -n "$(reg_value "$uninstall_key" Publisher)" ]] || fail "Publisher"
[[ "$(reg_value "$uninstall_key" DisplayIcon)" == "$install_win\\Nimbrel.exe"* ]] || fail "DisplayIcon"
[[ "$(reg_value "$run_key" Nimbrel)" == "\"$install_win\\Nimbrel.exe\"" ]] || fail "the logon start is not registered"
menu=$(find "$drive" -type d -path '*Start Menu/Programs/Nimbrel' | head -1)
[[ -n "$menu" && -f "$menu/Nimbrel.lnk" && -f "$menu/Uninstall Nimbrel.lnk" ]] || fail "Start menu entries missing"
ok "silent install: files, uninstall entry, Run value, Start menu"

nimbrel_exe=$install/Nimbrel.exe
appdata=$(drv appdata | sed -n 's/^folder //p')
[[ -n $appdata ]] || fail "no application data folder"
user=$(winepath -u "$appdata" 2>/dev/null)/Nimbrel
start_nimbrel "$work/elsewhere"
# Started from elsewhere, a first run: the first-time note and, with no mail
# client running, the dependency question (Yes), then the hidden main dialog.
[[ $(drv box "Nimbrel - NOTE" 30000 1 | head -1) != none ]] || fail "no first-time note"
[[ $(drv box "Nimbrel" 30000 6 | head -1) != none ]] || fail "no dependency question"
main_dialog || fail "no main dialog"
drv command 1003 >/dev/null
[[ $(drv wait-gone 30000) == gone ]] || fail "Terminate did not end Nimbrel"
wait_for '[[ -f "$user/Nimbrel.cfg" ]]' 20 || fail "Nimbrel.cfg not written in the user's folder"
[[ $(stat -c %s "$user/Nimbrel.cfg") == 1140 ]] || fail "Nimbrel.cfg is not 1140 bytes"
[[ -e "$install/Nimbrel.cfg" ]] && fail "Nimbrel.cfg written in the install folder"
[[ -e "$work/elsewhere/Nimbrel.cfg" ]] && fail "Nimbrel.cfg written in the start folder"
wait "$nimbrel_pid" 2>/dev/null || true
ok "started elsewhere: Nimbrel.cfg written in the user's folder"

# An upgrade while Nimbrel runs: over the user's settings, and over a signatures.ini the
# user edited in the install folder, which the setup before this one recorded as changed.
drv cfg-write "$(winepath -w "$user/Nimbrel.cfg")" wrapColumn=76 dependOnOE=0 >/dev/null
printf 'Edited where it was installed\r\n' >"$install/signatures.ini"
wine reg add "$uninstall_key" /v SignaturesFileTime /d 1.2 /f "$view" >/dev/null 2>&1
start_nimbrel "$work/elsewhere"
main_dialog || fail "Nimbrel did not start"
wine "$setup" /S >/dev/null 2>&1 || true
wait_for '! kill -0 "$nimbrel_pid" 2>/dev/null' 30 ||
    { ps aux | grep -i '[n]imbrel'; drv state; fail "the upgrade did not end the running Nimbrel"; }
[[ $(drv cfg-get "$(winepath -w "$user/Nimbrel.cfg")" wrapColumn) == wrapColumn=76 ]] || fail "the upgrade lost Nimbrel.cfg"
grep -q 'Edited where it was installed' "$user/signatures.ini" ||
    fail "the upgrade did not move the edited signatures.ini to the user's folder"
cmp -s "$install/signatures.ini" data/signatures.ini || fail "the install folder's signatures.ini is not the default"
[[ -z "$(reg_value "$uninstall_key" SignaturesFileTime)" ]] || fail "the old signatures.ini record is still there"
# The Nimbrel that was running starts again (through the shell, as the user), without
# the first-time note.
main_dialog || fail "Nimbrel did not start again"
[[ $(drv no-box "Nimbrel - NOTE" 1000 | head -1) == "no box" ]] || fail "first-time note after upgrade"
ok "upgrade: running Nimbrel ended, its settings kept, the edited signatures.ini moved to the user's folder, Nimbrel started again"

printf 'My own signature\r\n' >"$user/signatures.ini"
wine "$setup" /S >/dev/null 2>&1 || true # not setup_silent: Nimbrel runs on
main_dialog || fail "Nimbrel did not start again after a second upgrade"
grep -q 'My own signature' "$user/signatures.ini" || fail "an upgrade replaced the user's signatures.ini"
[[ $(drv cfg-get "$(winepath -w "$user/Nimbrel.cfg")" wrapColumn) == wrapColumn=76 ]] || fail "an upgrade lost Nimbrel.cfg"
ok "upgrade: the user's Nimbrel.cfg and signatures.ini kept"

wine "$install/uninstall.exe" /S >/dev/null 2>&1 || true
wait_for '! key_exists "$uninstall_key"' 60 || fail "the uninstall key is still there"
[[ $(drv wait-gone 30000) == gone ]] || fail "the uninstaller did not end Nimbrel"
wait_for '[[ ! -e "$install/uninstall.exe" ]]' 30 || fail "the uninstaller is still there"
for f in Nimbrel.exe lang.ini signatures.ini emoticons.ini styles.css donations.html emoticons docs; do
    [[ -e "$install/$f" ]] && fail "$f was not removed"
done
wait_for '[[ ! -e "$install" ]]' 10 || fail "the install folder is still there: $(ls "$install")"
for f in Nimbrel.cfg signatures.ini; do [[ -f $user/$f ]] || fail "the uninstall removed the user's $f"; done
[[ -z "$(reg_value "$run_key" Nimbrel)" ]] || fail "the Run value is still there"
[[ -e "$menu" ]] && fail "the Start menu folder is still there"
ok "silent uninstall: files, key, Run value and Start menu removed; user's files kept"

# Asked to (the box, or /REMOVEUSERFILES when silent), the uninstall takes the user's
# files too, and a Nimbrel.cfg that an earlier version kept in the install folder.
setup_silent
drv cfg-write "$(winepath -w "$install/Nimbrel.cfg")" >/dev/null
wine "$install/uninstall.exe" /S /REMOVEUSERFILES >/dev/null 2>&1 || true
wait_for '[[ ! -e "$install" ]]' 60 || fail "the install folder is still there: $(ls "$install")"
[[ -e "$user" ]] && fail "the user's folder is still there: $(ls "$user")"
ok "silent uninstall with /REMOVEUSERFILES: the user's files removed too"
echo "installer: $passed passed, 0 failed"
