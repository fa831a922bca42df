#!/usr/bin/env bash
# The scenarios of tests/data/scenarios against the real Nimbrel.exe under
# Wine and Xvfb, the mail client played by OeHost.exe (src/platform/oehost).
# The same files pass against the simulated desktop (ScenarioSim_test).
# OeHost writes a report per scenario; a scenario passes when its report
# ends with "result: pass". Wine's exit codes are never looked at, and every
# run has a deadline.
#
#   tests/win32/scenarios_test.sh [--build-dir DIR] [--no-build] [NAME...]
#
# NAME is a scenario's file name without .txt (default: all of them).
# DIR is the mingw (x86_64) build folder, build/mingw by default. Reports
# are kept in build/<DIR's name>-scenarios/reports.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"

build_dir=build/mingw
build=1
inside=0
names=()
while (($# > 0)); do
    case $1 in
    --build-dir) build_dir=$2; shift 2 ;;
    --no-build) build=0; shift ;;
    --inside) inside=1; shift ;;
    -*) echo "usage: $0 [--build-dir DIR] [--no-build] [NAME...]" >&2; exit 2 ;;
    *) names+=("$1"); shift ;;
    esac
done
build_dir=$(realpath -m "$build_dir")
exe=$build_dir/src/Nimbrel.exe
host=$build_dir/src/platform/oehost/OeHost.exe

if ((inside == 0)); then
    if ((build)); then
        [[ -f $build_dir/CMakeCache.txt ]] ||
            cmake --preset mingw -B "$build_dir" -DNIMBREL_WERROR=ON >/dev/null
        cmake --build "$build_dir" --target Nimbrel OeHost -j "${NIMBREL_JOBS:-$(nproc)}"
    fi
    exec timeout 1500 xvfb-run -a -s '-screen 0 1024x768x24' "$0" --inside --no-build \
        --build-dir "$build_dir" "${names[@]}"
fi

# --- inside the virtual display ---------------------------------------------

work=$root/build/$(basename "$build_dir")-scenarios
rm -rf "$work"
mkdir -p "$work/reports"
. tests/win32/lib.sh
fresh_prefix "$work/prefix"
cleanup() { wineserver -k 2>/dev/null || true; }
trap cleanup EXIT

inst=$work/Nimbrel
wine reg add 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Nimbrel' \
    /v UninstallString /d "$(winpath "$inst")\\uninst.exe" /f >/dev/null 2>&1
wineserver -w

if ((${#names[@]} == 0)); then
    for file in tests/data/scenarios/*.txt; do names+=("$(basename "$file" .txt)"); done
fi

passed=0
failed=0
for name in "${names[@]}"; do
    scenario=$root/tests/data/scenarios/$name.txt
    report=$work/reports/$name.txt
    # A fresh install directory for each: the data files and the program.
    rm -rf "$inst"
    mkdir -p "$inst"
    cp -r data/lang.ini data/signatures.ini data/emoticons.ini data/emoticons data/styles.css "$inst/"
    cp "$exe" "$inst/Nimbrel.exe"
    timeout 420 wine "$host" "$(winpath "$scenario")" "$(winpath "$inst/Nimbrel.exe")" \
        "$(winpath "$inst")" "$(winpath "$report")" >/dev/null 2>&1 || true
    if [[ -f $report ]] && [[ $(tail -1 "$report" | tr -d '\r') == "result: pass" ]]; then
        passed=$((passed + 1))
        echo "ok   $name$(sed -n 's/^timing \(.*\)/ (\1)/p' "$report" | tr '\n' ' ')"
    else
        failed=$((failed + 1))
        echo "FAIL $name"
        if [[ -f $report ]]; then grep -E '^(FAIL|row|window)' "$report" | cut -c1-400 | sed 's/^/       /'; else echo "       no report"; fi
    fi
    # Nothing of this run may linger into the next one.
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
done
echo "scenarios: $passed passed, $failed failed (reports in $work/reports)"
((failed == 0))
