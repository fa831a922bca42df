# Shared set-up of the command line tool's end-to-end checks; sourced by
# tests/cli/*_test.sh, which are run as `<name>_test.sh NIMBREL`.
# Leaves the caller in a fresh working directory that is removed on exit.
nimbrel=$1
data=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../data" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

fail() { echo "FAIL: $*" >&2; exit 1; }

# Runs nimbrel, keeping stdout, stderr and the exit status.
run() {
    status=0
    "$nimbrel" "$@" >out 2>err || status=$?
}

# A failure: status 2, one line on stderr starting with "nimbrel: ", nothing on stdout.
expect_failure() {
    [[ $status == 2 ]] || fail "$*: status $status, expected 2"
    [[ ! -s out ]] || fail "$*: wrote to stdout"
    [[ $(wc -l <err) == 1 && $(head -c 9 err) == "nimbrel: " ]] || fail "$*: stderr: $(cat err)"
}
