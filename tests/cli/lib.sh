# Shared set-up of the command line tool's end-to-end checks; sourced by
# tests/cli/*_test.sh, which are run as `<name>_test.sh NIMBREL`.
# Leaves the caller in a fresh working directory that is removed on exit.
nimbrel=$1
data=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../data" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

fail() { echo "FAIL: $*" >&2; exit 1; }
run() { status=0; "$nimbrel" "$@" >out 2>err || status=$?; } # keeps stdout, stderr and the exit status
expect_help() { # WORD ARGS...: `nimbrel ARGS... --help` succeeds and mentions WORD
    run "${@:2}" --help
    [[ $status == 0 ]] && grep -q -- "$1" out || fail "nimbrel ${*:2}${2+ }--help: status $status, no $1"
}
expect_lines() { # WHAT LINE...: every LINE is a whole line of the output
    local line
    for line in "${@:2}"; do grep -qxF -- "$line" out || fail "$1: no line '$line' in: $(cat out)"; done
}
# A failure: status 2, one line on stderr starting with "nimbrel: " (and, for
# expect_error, matching PATTERN), nothing on stdout.
expect_failure() { # WHAT ARGS...
    run "${@:2}"
    [[ $status == 2 ]] || fail "$1: status $status, expected 2"
    [[ ! -s out ]] || fail "$1: wrote to stdout"
    [[ $(wc -l <err) == 1 && $(head -c 9 err) == "nimbrel: " ]] || fail "$1: stderr: $(cat err)"
}
expect_error() { expect_failure "${@:2}"; grep -q -- "$1" err || fail "$2: stderr: $(cat err)"; } # PATTERN WHAT ARGS...
