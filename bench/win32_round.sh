#!/usr/bin/env bash
# Measures the real Nimbrel.exe under Wine beside the Win32 mail client test
# host (tests/win32/oehost), with the default settings. Not a test: it prints
# numbers to compare with the targets.
#   - title to text: from a reply window getting its title to the reformatted
#     text in its document (the timer period included), the median of RUNS
#     replies, through the document and through the clipboard (target:
#     500 ms on either path);
#   - idle cost: the CPU time Nimbrel.exe uses over 60 s of ticks with 50
#     note windows open and handled (target: under 1 % of one core).
#
#   bench/win32_round.sh [--build-dir DIR] [--runs N] [--notes N] [--idle-only]
#
# DIR is a build folder of the mingw-i686 preset (the shipped 32-bit program
# beside the 32-bit host, under 32-bit Wine; the default) or of the mingw preset
# (x86_64), with Nimbrel and OeHost built.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

build_dir=build/mingw-i686
runs=7
notes=50
measure=all
inside=0
while (($# > 0)); do
    case $1 in
    --build-dir) build_dir=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    --notes) notes=$2; shift 2 ;;
    --idle-only) measure=idle; shift ;;
    --inside) inside=1; shift ;;
    *) echo "usage: $0 [--build-dir DIR] [--runs N] [--notes N] [--idle-only]" >&2; exit 2 ;;
    esac
done
build_dir=$(realpath -m "$build_dir")
view=/reg:64
[[ $(basename "$build_dir") != *i686* ]] || view=/reg:32
exe=$build_dir/src/Nimbrel.exe
host=$build_dir/tests/win32/oehost/OeHost.exe
[[ -f $exe && -f $host ]] || { echo "build Nimbrel and OeHost in $build_dir first" >&2; exit 2; }

if ((inside == 0)); then
    exec timeout 900 xvfb-run -a -s '-screen 0 1024x768x24' "$0" --inside --build-dir "$build_dir" --runs "$runs" \
        --notes "$notes" $([[ $measure == idle ]] && echo --idle-only)
fi

work=$root/build/win32-bench
rm -rf "$work"
mkdir -p "$work/scenarios"
cp -r tests/data/scenarios/texts "$work/scenarios/"
export WINEPREFIX=$work/prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe=d;winedbg.exe=d"
cleanup() { wineserver -k 2>/dev/null || true; }
trap cleanup EXIT
wineboot -i >/dev/null 2>&1 || true
wineserver -w
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
winpath() { echo "Z:${1//\//\\}"; }
inst=$work/Nimbrel
wine reg add 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Nimbrel' \
    /v UninstallString /d "$(winpath "$inst")\\uninst.exe" /f "$view" >/dev/null 2>&1
wineserver -w

# Plays one scenario; its report in $work/NAME.report.
play() { # NAME
    rm -rf "$inst"
    mkdir -p "$inst"
    cp -r data/lang.ini data/signatures.ini data/emoticons.ini data/emoticons data/styles.css "$inst/"
    cp "$exe" "$inst/Nimbrel.exe"
    timeout 600 wine "$host" "$(winpath "$work/scenarios/$1.txt")" "$(winpath "$inst/Nimbrel.exe")" \
        "$(winpath "$inst")" "$(winpath "$work/$1.report")" >/dev/null 2>&1 || true
}
median() { sort -n | awk '{ v[NR] = $1 } END { if (NR == 0) print "none"; else print v[int((NR + 1) / 2)] }'; }

# One reply after the other, each once the one before is done.
paths=(document clipboard)
[[ $measure == idle ]] && paths=()
for path in "${paths[@]}"; do
    scenario=$work/scenarios/$path.txt
    : >"$scenario"
    [[ $path == clipboard ]] && echo "set useClipboard=1" >>"$scenario"
    for ((i = 1; i <= runs; i++)); do
        echo "reply R$i \"Re: run $i\" texts/news-reply.txt" >>"$scenario"
        echo "wait-row \"Re: run $i\" \"processed (q)\" 10000" >>"$scenario"
        # Each reply opens at another point of the 300 ms tick: with one fixed
        # pause, every reply would wait for the tick as long as the first.
        echo "wait $((500 + i * 300 / runs))" >>"$scenario"
    done
    play "$path"
    grep -q '^result: pass' "$work/$path.report" || echo "($path: the scenario failed, see $work/$path.report)"
    times=$(sed -n 's/^timing R[0-9]* title-to-body \([0-9]*\) ms.*/\1/p' "$work/$path.report")
    echo "title to text, $path path: median $(echo "$times" | median) ms of $(echo "$times" | grep -c .) (each: $(echo $times))"
done

# NOTES note windows (50 by default), then 60 s of ticks with nothing new.
scenario=$work/scenarios/idle.txt
: >"$scenario"
for ((i = 1; i <= notes; i++)); do echo "reply R$i \"Re: note $i\" texts/news-reply.txt" >>"$scenario"; done
# Idle begins once every window is done: the newest is handled first, so
# waiting for its row alone would count the others' work as idle time.
for ((i = 1; i <= notes; i++)); do
    echo "wait-row \"Re: note $i\" \"processed (q)\" 240000" >>"$scenario"
done
echo 'wait 90000' >>"$scenario"
play idle &
player=$!
# Nimbrel.exe's CPU time (utime + stime, clock ticks) once a second.
samples=$work/idle.samples
: >"$samples"
pid=""
while kill -0 "$player" 2>/dev/null; do
    if [[ -z $pid || ! -d /proc/$pid ]]; then
        # The program's own process, not the test host's, whose command
        # line names it too.
        pid=""
        for candidate in $(pgrep -f 'win32-bench.Nimbrel.Nimbrel\.exe' || true); do
            tr '\0' ' ' <"/proc/$candidate/cmdline" 2>/dev/null | grep -q OeHost || pid=$candidate
        done
    fi
    if [[ -n $pid && -r /proc/$pid/stat ]]; then
        echo "$(date +%s.%N) $(awk '{ print $14 + $15 }' "/proc/$pid/stat" 2>/dev/null)" >>"$samples"
    fi
    sleep 1
done
wait "$player" || true
grep -q '^result: pass' "$work/idle.report" || echo "(idle: the scenario failed, see $work/idle.report)"
# The last 90 s before Terminate are idle; take the 60 s that end 5 s before
# it.
awk -v hz="$(getconf CLK_TCK)" -v notes="$notes" '
    NF == 2 { t[n] = $1; c[n] = $2; n++ }
    END {
        if (n < 2) { print "idle cost: no samples"; exit }
        last = n - 1; while (last > 0 && t[n - 1] - t[last] < 5) last--
        first = last; while (first > 0 && t[last] - t[first] < 60) first--
        span = t[last] - t[first]
        if (span < 30) { print "idle cost: too few samples"; exit }
        cpu = (c[last] - c[first]) / hz
        printf "idle cost with %d note windows: %.2f s CPU over %.0f s = %.2f %% of one core\n", notes, cpu, span, 100 * cpu / span
    }' "$samples"
