#!/usr/bin/env bash
# The command line tool on a full disk: every file it writes (config set,
# reformat --in-place, view -o, the demo's pages) is replaced whole or left
# as it was, and the failure is one "nimbrel: " line with status 2. The disk
# is full in two ways: a limit on the size of the files the tool writes
# (anyone), and a file system of 256 KiB mounted for the test and filled up
# (as root where mounting is allowed; skipped with a note elsewhere).
set -euo pipefail
. "$(dirname "$0")/lib.sh"
mkdir tmp disk
export TMPDIR=$work/tmp
trap 'umount -l "$work/disk" 2>/dev/null || true; rm -rf "$work"' EXIT

# The data the checks run with has a longer styles.css than the one the
# files were written with: copied over the old one, it needs more room than
# the old one leaves.
cp -r "$data" new-data
printf '/* %05000d */\n' 0 >>new-data/styles.css

# The files the checks replace, in DIR.
write_files() { # DIR
    "$nimbrel" config --config "$1/Nimbrel.cfg" set wrapColumn=76
    cp "$data/examples/email_reply.txt" "$1/reply.txt"
    "$nimbrel" view --data "$data" -o "$1/page.html" "$data/examples/view-quoted-reply.txt"
    "$nimbrel" demo --data "$data" --out "$1/pages" >/dev/null
}
snapshot() { (cd disk && find . -type f -exec cksum {} + | sort -k3); }

# Every writer fails on the full disk, with one error line, and disk/ keeps
# its files as they were. `$limit` runs before the tool, in its subshell.
check_writers() { # WHAT
    local before command err status what=$1
    before=$(snapshot)
    for command in "config --config disk/Nimbrel.cfg set wrapColumn=80" \
        "reformat --data new-data --in-place disk/reply.txt" \
        "view --data new-data -o disk/page.html $data/examples/view-plain-note.txt" \
        "demo --data new-data --out disk/pages"; do
        # Standard error through a pipe: the size limit holds for files only.
        status=0
        # shellcheck disable=SC2086 # the command's words
        err=$( (eval "$limit" && exec "$nimbrel" $command) 2>&1 >/dev/null) || status=$?
        [[ $status == 2 && $(wc -l <<<"$err") == 1 && $err == "nimbrel: "* ]] ||
            fail "$what: nimbrel $command: status $status, stderr: $err"
        diff <(echo "$before") <(snapshot) >&2 || fail "$what: nimbrel $command changed the files"
    done
}

# A file size limit below every file written (ulimit counts KiB; the signal
# is ignored so that the write fails instead).
write_files disk
limit="trap '' XFSZ; ulimit -f 0"
check_writers "file size limit"

# A full file system.
rm -rf disk/*
if [[ $(id -u) == 0 ]] && mount -t tmpfs -o size=256k nimbrel-test disk 2>/dev/null; then
    write_files disk
    head -c 1M /dev/zero >disk/filler 2>/dev/null || true
    limit=:
    check_writers "full file system"
else
    echo "full_disk_test: no file system could be mounted here: tested with the size limit only"
fi
echo "full_disk_test: all passed"
