#!/usr/bin/env bash
# End-to-end checks of `nimbrel config`: run as `config_test.sh NIMBREL`.
set -euo pipefail
. "$(dirname "$0")/lib.sh"

expect_help config
expect_help NAME=VALUE config set
run --version
[[ $status == 0 && $(cat out) == "nimbrel "* ]] || fail "--version"

# No Nimbrel.cfg: the defaults, with a note on stderr.
run config show
[[ $status == 0 && $(wc -l <out) == 31 && $(wc -l <err) == 1 ]] || fail "show without a file"
expect_lines "defaults" 'wrapColumn = 72' 'emailHeader.text = On %t [GMT+1=CET],\n%n <%m> wrote:\n'
[[ ! -e Nimbrel.cfg ]] || fail "show created a file"

# set creates the file with the defaults and applies every assignment.
run config set wrapColumn=76 'quoteChar=|' 'newsHeader.text=%n wrote:\n'
[[ $status == 0 && $(stat -c %s Nimbrel.cfg) == 1140 ]] || fail "set: $(cat err)"
run config show
expect_lines "show after set" 'wrapColumn = 76' 'quoteChar = |' 'newsHeader.text = %n wrote:\n' 'checkInterval = 300'
[[ ! -s err ]] || fail "show of an existing file wrote to stderr"

# Bad assignments fail before anything is written, even after a good one.
cp Nimbrel.cfg before.cfg
expect_error colour "unknown name" config set wrapColumn=80 colour=1
expect_error '^nimbrel: useClipboard: ' "bad value" config set wrapColumn=80 useClipboard=2
expect_failure "wrapColumn out of range" config set wrapColumn=200
cmp -s Nimbrel.cfg before.cfg || fail "a failed set changed the file"

# --config names another file; one that cannot be written is an error.
run config --config other.cfg set cursorAtTop=0
[[ $status == 0 ]] && cmp -s Nimbrel.cfg before.cfg || fail "--config other.cfg"
run config show --config other.cfg
expect_lines "show --config after the subcommand" 'cursorAtTop = 0'
expect_failure "unwritable file" config --config missing/dir/Nimbrel.cfg set cursorAtTop=0

# Output that cannot be written is a failure, not a silent success.
if [[ -w /dev/full ]]; then
    status=0
    "$nimbrel" config show >/dev/full 2>err || status=$?
    [[ $status == 2 ]] && grep -q '^nimbrel: cannot write' err || fail "stdout on a full disk"
fi
expect_failure "unknown command" frobnicate
echo "config_test: all passed"
