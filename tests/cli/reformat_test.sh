#!/usr/bin/env bash
# End-to-end checks of `nimbrel reformat`: run as `reformat_test.sh NIMBREL`.
set -euo pipefail
. "$(dirname "$0")/lib.sh"

mkdir data nodata
printf 'Cheers, Bob\nBob Smith\\nbob@example.org\nBob Smith\\nExample Ltd.\n' >data/signatures.ini
printf '\n\n----- Original Message ----- \nFrom: "Jane Doe" <jane@example.com>\nTo: <bob@example.org>\nSent: Tuesday, March 04, 2003 2:05 PM\nSubject: lunch\n\n> Thursday is fine.\n>\n> -- \n> Jane\n' >reply.txt
printf '\nJane Doe wrote:\n> Thursday is fine.\n' >expected.txt

# `reformat --data data ARGS...` succeeds with exactly the output WANTED; with
# a REPORT, --report is given and that is the report, else stderr stays empty.
reformats_to() { # WANTED REPORT ARGS...
    run reformat --data data ${2:+--report} "${@:3}"
    [[ $status == 0 ]] || fail "reformat ${*:3}: status $status: $(cat err)"
    cmp -s out "$1" || fail "reformat ${*:3}: output $(head -c 2000 out | cat -A)"
    [[ $(cat err) == "$2" ]] || fail "reformat ${*:3}: report $(cat err), expected $2"
}

expect_help reformat
expect_help --in-place reformat
expect_help --seed reformat

# A reply: header rewritten, quoted signature gone; the final line break comes back.
reformats_to expected.txt "result 0 caret 0" reply.txt
# The same with CR LF line breaks and no final line break, from standard input.
sed 's/$/\r/' reply.txt | head -c -2 >reply-crlf.txt
reformats_to <(head -c -1 expected.txt) "" - <reply-crlf.txt
# A byte order mark stays in front and does not make the first line text.
{ printf '\xef\xbb\xbf'; cat reply.txt; } >bom.txt
reformats_to <(printf '\xef\xbb\xbf'; cat expected.txt) "" bom.txt

run reformat --data data --set emailHeader.style=2 --set cursorAtTop=0 --report reply.txt
expect_lines "--set style 2" 'Jane Doe <jane@example.com> wrote:'
[[ $(cat err) == "result 0 caret 1" ]] || fail "--set report: $(cat err)"
"$nimbrel" config --config my.cfg set emailHeader.style=3
run reformat --data data --config my.cfg reply.txt
[[ $(head -2 out | tail -1) == "> Thursday is fine." ]] || fail "--config style 3: $(cat out)"

# Nothing applies: the input comes back byte for byte (CR LF, no final break).
printf 'Hello Jane,\r\n\r\nsee you on Thursday.\r\n-- \r\nBob' >plain.txt
printf 'no line break at all' >one.txt
: >empty.txt
reformats_to plain.txt "result 1 caret 0" plain.txt
reformats_to one.txt "" one.txt
reformats_to empty.txt "" empty.txt

# A new message with the marker: replaced by the signature the seed picks
# (seed 1 draws 41: the third of three), result 7.
printf 'Hello Jane,\r\n\r\n-- \r\n<nimbrel-sig>\r\n' >new.txt
reformats_to <(printf 'Hello Jane,\n\n-- \nBob Smith\nExample Ltd.\n') "result 7 caret 0" --seed 1 new.txt
run reformat --data data --seed 3 new.txt
[[ $(sed -n 4p out) == "Cheers, Bob" ]] || fail "seed 3"
# Without signatures.ini the marker becomes the error text.
run reformat --data nodata new.txt
expect_lines "no signatures" 'Nimbrel Error: No signatures could be read from signatures.ini!'

# --in-place rewrites the file; a text left alone is not rewritten.
cp reply.txt inplace.txt
cp plain.txt untouched.txt
touch -d '2001-01-01' untouched.txt
reformats_to /dev/null "" --in-place inplace.txt
cmp -s inplace.txt expected.txt || fail "--in-place"
reformats_to /dev/null "" --in-place untouched.txt
cmp -s untouched.txt plain.txt && [[ $(stat -c %Y untouched.txt) == $(date -d 2001-01-01 +%s) ]] ||
    fail "--in-place rewrote a text left alone"

# The input is read and the output written in pieces: a text of several
# pieces with a character across every boundary of 256 KiB comes back byte
# for byte when left alone (mixed CR LF and LF breaks included), and is
# reformatted as a whole.
line=$(printf 'caf\xc3\xa9 \xf0\x9f\x98\x80 %.0s' 1 2 3 4)end # "caf\u00e9 \U0001F600 " four times
awk -v l="$line" 'BEGIN { printf "Hello Jane,\r\n\r\n"; for (i = 0; i < 12000; i++) printf "%s%s", l, (i % 3 ? "\r\n" : "\n") }' >long.txt
awk -v l="> $line $(printf '\xc3\xa4') x" 'BEGIN { printf "\n\n----- Original Message ----- \nFrom: <jane@example.com>\n"
    printf "To: <b@example.org>\nSent: Tuesday, March 04, 2003 2:05 PM\nSubject: x\n\n"; for (i = 0; i < 12000; i++) print l }' >long-reply.txt
reformats_to long.txt "" long.txt
run reformat --data data long-reply.txt
[[ $status == 0 && $(wc -l <out) == 12002 ]] || fail "long reply: status $status, $(wc -l <out) lines"
cmp -s <(tail -n 1 out) <(tail -n 1 long-reply.txt) || fail "long reply: last line $(tail -n 1 out)"
{ cat long.txt; printf 'x\xff'; } >long-bad.txt
expect_error "invalid UTF-8 at byte $(($(stat -c %s long.txt) + 1))" "invalid UTF-8 after the first piece" \
    reformat --data data long-bad.txt

# Errors leave the files untouched.
printf '> ok\n> caf\xc3\n' >bad.txt
cp bad.txt bad-before.txt
expect_error "invalid UTF-8 at byte 10" "invalid UTF-8" reformat --data data bad.txt
expect_failure "invalid UTF-8 in place" reformat --data data --in-place bad.txt
cmp -s bad.txt bad-before.txt || fail "--in-place changed a bad file"
expect_failure "missing file" reformat --data data missing.txt
expect_failure "--in-place without a file" reformat --data data --in-place
expect_failure "bad --set" reformat --data data --set wrapColumn=10 reply.txt
expect_failure "bad --seed" reformat --data data --seed -4 reply.txt
expect_failure "bad --data" reformat --data no/such/dir reply.txt
expect_failure "unknown option" reformat --data data --frobnicate reply.txt
echo "reformat_test: all passed"
