#!/usr/bin/env bash
# End-to-end checks of `nimbrel reformat`: run as `reformat_test.sh NIMBREL`.
set -euo pipefail
. "$(dirname "$0")/lib.sh"

mkdir data
printf 'Cheers, Bob\nBob Smith\\nbob@example.org\nBob Smith\\nExample Ltd.\n' >data/signatures.ini

printf '\n\n----- Original Message ----- \nFrom: "Jane Doe" <jane@example.com>\nTo: <bob@example.org>\nSent: Tuesday, March 04, 2003 2:05 PM\nSubject: lunch\n\n> Thursday is fine.\n>\n> -- \n> Jane\n' >reply.txt
printf '\nJane Doe wrote:\n> Thursday is fine.\n' >expected.txt

run --help
[[ $status == 0 ]] && grep -q reformat out || fail "--help lists reformat"
run reformat --help
[[ $status == 0 ]] && grep -q -- --in-place out && grep -q -- --seed out || fail "reformat --help"

# A reply: header rewritten, quoted signature gone; the final line break comes back.
run reformat --data data --report reply.txt
[[ $status == 0 ]] || fail "reply: status $status: $(cat err)"
cmp -s out expected.txt || fail "reply output: $(cat -A out)"
[[ $(cat err) == "result 0 caret 0" ]] || fail "reply report: $(cat err)"

# The same with CR LF line breaks and no final line break, from standard input.
sed 's/$/\r/' reply.txt | head -c -2 >reply-crlf.txt
status=0
"$nimbrel" reformat --data data - <reply-crlf.txt >out 2>err || status=$?
[[ $status == 0 ]] && cmp -s out <(head -c -1 expected.txt) || fail "CR LF reply: $(cat -A out)"

# A byte order mark stays in front and does not make the first line text.
{ printf '\xef\xbb\xbf'; cat reply.txt; } >bom.txt
run reformat --data data bom.txt
cmp -s out <(printf '\xef\xbb\xbf'; cat expected.txt) || fail "byte order mark: $(cat -A out)"

# Settings: --set and --config.
run reformat --data data --set emailHeader.style=2 --set cursorAtTop=0 --report reply.txt
grep -qxF 'Jane Doe <jane@example.com> wrote:' out || fail "--set style 2: $(cat out)"
[[ $(cat err) == "result 0 caret 1" ]] || fail "--set report: $(cat err)"
"$nimbrel" config --config my.cfg set emailHeader.style=3
run reformat --data data --config my.cfg reply.txt
[[ $(head -2 out | tail -1) == "> Thursday is fine." ]] || fail "--config style 3: $(cat out)"

# Nothing applies: the input comes back byte for byte (CR LF, no final break).
printf 'Hello Jane,\r\n\r\nsee you on Thursday.\r\n-- \r\nBob' >plain.txt
run reformat --data data --report plain.txt
cmp -s out plain.txt && [[ $(cat err) == "result 1 caret 0" ]] || fail "passthrough"
printf 'no line break at all' >one.txt
run reformat --data data one.txt
cmp -s out one.txt || fail "one line"
: >empty.txt
run reformat --data data empty.txt
[[ $status == 0 && ! -s out ]] || fail "empty input"

# A new message with the marker: replaced by the signature the seed picks
# (seed 1 draws 41: the third of three), result 7.
printf 'Hello Jane,\r\n\r\n-- \r\n<nimbrel-sig>\r\n' >new.txt
run reformat --data data --seed 1 --report new.txt
[[ $(cat out) == $'Hello Jane,\n\n-- \nBob Smith\nExample Ltd.' ]] || fail "marker: $(cat -A out)"
[[ $(tail -c 1 out | od -An -c | tr -d ' ') == '\n' ]] || fail "marker: final line break"
[[ $(cat err) == "result 7 caret 0" ]] || fail "marker report: $(cat err)"
run reformat --data data --seed 3 new.txt
[[ $(sed -n 4p out) == "Cheers, Bob" ]] || fail "seed 3"
# Without signatures.ini the marker becomes the error text.
mkdir nodata
run reformat --data nodata new.txt
grep -qxF 'Nimbrel Error: No signatures could be read from signatures.ini!' out || fail "no signatures"

# --in-place rewrites the file; a text left alone is not rewritten.
cp reply.txt inplace.txt
run reformat --data data --in-place inplace.txt
[[ $status == 0 && ! -s out ]] && cmp -s inplace.txt expected.txt || fail "--in-place"
cp plain.txt untouched.txt
touch -d '2001-01-01' untouched.txt
run reformat --data data --in-place untouched.txt
cmp -s untouched.txt plain.txt && [[ $(stat -c %Y untouched.txt) == $(date -d 2001-01-01 +%s) ]] ||
    fail "--in-place rewrote a text left alone"

# The input is read and the output written in pieces: a text of several
# pieces with a character across every boundary of 256 KiB comes back byte
# for byte when left alone (mixed CR LF and LF breaks included), and is
# reformatted as a whole.
python3 - <<'PY'
line = "caf\u00e9 \U0001F600 " * 4 + "end"
head = "Hello Jane,\r\n\r\n" + "".join(line + ("\r\n" if i % 3 else "\n") for i in range(12000))
open("long.txt", "wb").write(head.encode())
reply = ("\n\n----- Original Message ----- \nFrom: <jane@example.com>\nTo: <b@example.org>\n"
         "Sent: Tuesday, March 04, 2003 2:05 PM\nSubject: x\n\n")
reply += "".join("> " + line + " \u00e4 x\n" for i in range(12000))
open("long-reply.txt", "wb").write(reply.encode())
PY
run reformat --data data long.txt
[[ $status == 0 ]] && cmp -s out long.txt || fail "long text left alone"
run reformat --data data long-reply.txt
[[ $status == 0 && $(wc -l <out) == 12002 ]] || fail "long reply: status $status, $(wc -l <out) lines"
cmp -s <(tail -n 1 out) <(tail -n 1 long-reply.txt) || fail "long reply: last line $(tail -n 1 out)"
{ cat long.txt; printf 'x\xff'; } >long-bad.txt
run reformat --data data long-bad.txt
expect_failure "invalid UTF-8 after the first piece"
grep -q "invalid UTF-8 at byte $(($(stat -c %s long.txt) + 1))" err || fail "late bad offset: $(cat err)"

# Errors: one line, status 2, nothing written, files untouched.
printf '> ok\n> caf\xc3\n' >bad.txt
cp bad.txt bad-before.txt
run reformat --data data bad.txt
expect_failure "invalid UTF-8"
grep -q "invalid UTF-8 at byte 10" err || fail "bad UTF-8 offset: $(cat err)"
run reformat --data data --in-place bad.txt
expect_failure "invalid UTF-8 in place"
cmp -s bad.txt bad-before.txt || fail "--in-place changed a bad file"
run reformat --data data missing.txt
expect_failure "missing file"
run reformat --data data --in-place
expect_failure "--in-place without a file"
run reformat --data data --set wrapColumn=10 reply.txt
expect_failure "bad --set"
run reformat --data data --seed -4 reply.txt
expect_failure "bad --seed"
run reformat --data no/such/dir reply.txt
expect_failure "bad --data"
run reformat --data data --frobnicate reply.txt
expect_failure "unknown option"

echo "reformat_test: all passed"
