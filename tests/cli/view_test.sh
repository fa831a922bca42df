#!/usr/bin/env bash
# End-to-end checks of `nimbrel view`: run as `view_test.sh NIMBREL`.
set -euo pipefail
. "$(dirname "$0")/lib.sh"

run view --help
[[ $status == 0 ]] && grep -q -- --fragment out || fail "view --help"

# A fragment: the body HTML and one line break; LF and CR LF input alike.
printf 'Hi *there* :-)\n> quoted http://x.example/\n' >msg.txt
run view --fragment --data "$data" --set reformatMessageView=0 msg.txt
expected="<SPAN class=q0>Hi <B>there</B> <IMG src=\"$data/emoticons/smile.gif\"><BR></span><span class=q1>&gt; quoted <A class=1 HREF=\"http://x.example/\">http://x.example/</A>"
[[ $status == 0 && $(cat out) == "$expected" && $(tail -c 1 out | od -An -c) == *'\n' ]] ||
    fail "fragment: $(cat out) $(cat err)"
[[ ! -s err ]] || fail "fragment wrote to stderr: $(cat err)"
sed 's/$/\r/' msg.txt >crlf.txt
"$nimbrel" view --fragment --data "$data" --set reformatMessageView=0 - <crlf.txt >crlf.out
cmp -s out crlf.out || fail "CR LF input differs"

# The page: one document with the style sheet inlined and the body inside.
run view --data "$data" -o page.html msg.txt
[[ $status == 0 && ! -s out ]] || fail "page -o"
grep -qF '<style>' page.html && grep -qF '.q1 {' page.html && grep -qF "$expected" page.html &&
    [[ $(head -c 15 page.html) == '<!DOCTYPE html>' ]] || fail "page content"

# HTML input: marked up from the markup step on; formatted HTML left alone with a note.
printf '<DIV>&gt; hi<BR>x *b*</DIV>' >msg.html
run view --html --fragment --data "$data" msg.html
[[ $(cat out) == '<SPAN class=q0></span><span class=q1>&gt; hi<BR></span><span class=q0>x <B>b</B>' ]] ||
    fail "--html: $(cat out)"
printf '<P>Hi <B>there</B></P>\n' >formatted.html
run view --html --fragment --data "$data" formatted.html
[[ $status == 0 && $(cat out) == '<P>Hi <B>there</B></P>' && $(wc -l <err) == 1 ]] ||
    fail "formatted HTML: $(cat out) / $(cat err)"

# Errors: one line, status 2, nothing written.
printf 'ok\n' >page.html.before
cp page.html.before page.html
printf '\xff\xfe' >bad.txt
run view --data "$data" -o page.html bad.txt
expect_failure "invalid UTF-8"
cmp -s page.html page.html.before || fail "a failed run changed the output file"
run view --data "$data" missing.txt
expect_failure "missing input"
run view --data "$work" msg.txt
expect_failure "data directory without styles.css"
run view --data "$data" --set fontStyles=2 msg.txt
expect_failure "bad --set"

# Every example message renders.
for example in "$data"/examples/*.txt; do
    run view --data "$data" "$example"
    [[ $status == 0 && ! -s err ]] && grep -qF '<SPAN class=q0>' out || fail "example $example"
done
echo "view_test: all passed"
