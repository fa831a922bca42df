#!/usr/bin/env bash
# End-to-end checks of `nimbrel config`: run as `config_test.sh NIMBREL`.
set -euo pipefail
. "$(dirname "$0")/lib.sh"

run --help
[[ $status == 0 ]] && grep -q config out || fail "--help"
run config set --help
[[ $status == 0 ]] && grep -q NAME=VALUE out || fail "config set --help"
run --version
[[ $status == 0 && $(cat out) == "nimbrel "* ]] || fail "--version"

# No Nimbrel.cfg: the defaults, with a note on stderr.
run config show
[[ $status == 0 && $(wc -l <out) == 31 && $(wc -l <err) == 1 ]] || fail "show without a file"
grep -qxF 'wrapColumn = 72' out || fail "default wrapColumn"
grep -qxF 'emailHeader.text = On %t [GMT+1=CET],\n%n <%m> wrote:\n' out || fail "default template"
[[ ! -e Nimbrel.cfg ]] || fail "show created a file"

# set creates the file with the defaults and applies every assignment.
run config set wrapColumn=76 'quoteChar=|' 'newsHeader.text=%n wrote:\n'
[[ $status == 0 && $(stat -c %s Nimbrel.cfg) == 1140 ]] || fail "set: $(cat err)"
run config show
grep -qxF 'wrapColumn = 76' out && grep -qxF 'quoteChar = |' out &&
    grep -qxF 'newsHeader.text = %n wrote:\n' out && grep -qxF 'checkInterval = 300' out ||
    fail "show after set"
[[ ! -s err ]] || fail "show of an existing file wrote to stderr"

# Bad assignments fail before anything is written, even after a good one.
cp Nimbrel.cfg before.cfg
run config set wrapColumn=80 colour=1
expect_failure "unknown name"
grep -q colour err || fail "unknown name not named"
run config set wrapColumn=80 useClipboard=2
expect_failure "bad value"
grep -q '^nimbrel: useClipboard: ' err || fail "bad value: $(cat err)"
run config set wrapColumn=200
expect_failure "wrapColumn out of range"
cmp -s Nimbrel.cfg before.cfg || fail "a failed set changed the file"

# --config names another file; one that cannot be written is an error.
run config --config other.cfg set cursorAtTop=0
[[ $status == 0 ]] && cmp -s Nimbrel.cfg before.cfg || fail "--config other.cfg"
run config show --config other.cfg
grep -qxF 'cursorAtTop = 0' out || fail "show --config after the subcommand"
run config --config missing/dir/Nimbrel.cfg set cursorAtTop=0
expect_failure "unwritable file"

# Output that cannot be written is a failure, not a silent success.
if [[ -w /dev/full ]]; then
    status=0
    "$nimbrel" config show >/dev/full 2>err || status=$?
    [[ $status == 2 ]] && grep -q '^nimbrel: cannot write' err || fail "stdout on a full disk"
fi

run frobnicate
expect_failure "unknown command"
echo "config_test: all passed"
