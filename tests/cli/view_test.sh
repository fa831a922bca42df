#!/usr/bin/env bash
# End-to-end checks of `nimbrel view`: run as `view_test.sh NIMBREL`.
set -euo pipefail
. "$(dirname "$0")/lib.sh"

expect_help --fragment view

# A fragment: the body HTML and one line break; LF and CR LF input alike.
printf 'Hi *there* :-)\n> quoted http://x.example/\n' | tee msg.txt | sed 's/$/\r/' >crlf.txt
expected="<SPAN class=q0>Hi <B>there</B> <IMG src=\"$data/emoticons/smile.gif\"><BR></span><span class=q1>&gt; quoted <A class=1 HREF=\"http://x.example/\">http://x.example/</A>"
run view --fragment --data "$data" --set reformatMessageView=0 msg.txt
[[ $status == 0 && ! -s err ]] && cmp -s out <(echo "$expected") || fail "fragment: $(cat out) $(cat err)"
run view --fragment --data "$data" --set reformatMessageView=0 - <crlf.txt
cmp -s out <(echo "$expected") || fail "CR LF input differs: $(cat out)"

# A long line is written in pieces; a character outside the BMP at a piece's
# end stays whole.
emoji=$(printf '\xf0\x9f\x98\x80%.0s' {1..20000})
printf '%s' "$emoji" >emoji.txt
run view --fragment --data "$data" emoji.txt
cmp -s out <(echo "<SPAN class=q0>$emoji") || fail "a long line of emoji: $(head -c 100 out)"

# The page: one document with the style sheet inlined and the body inside.
run view --data "$data" -o page.html msg.txt
[[ $status == 0 && ! -s out ]] || fail "page -o"
grep -qF '<style>' page.html && grep -qF '.q1 {' page.html && grep -qF "$expected" page.html &&
    [[ $(head -c 15 page.html) == '<!DOCTYPE html>' ]] || fail "page content"

# HTML input: marked up from the markup step on; formatted HTML left alone with a note.
printf '<DIV>&gt; hi<BR>x *b*</DIV>' >msg.html
printf '<P>Hi <B>there</B></P>\n' >formatted.html
run view --html --fragment --data "$data" msg.html
[[ $(cat out) == '<SPAN class=q0></span><span class=q1>&gt; hi<BR></span><span class=q0>x <B>b</B>' ]] || fail "--html: $(cat out)"
run view --html --fragment --data "$data" formatted.html
[[ $status == 0 && $(cat out) == '<P>Hi <B>there</B></P>' && $(wc -l <err) == 1 ]] || fail "formatted HTML: $(cat out) / $(cat err)"

# A failed run leaves the output file alone.
printf 'ok\n' | tee page.html >page.html.before
printf '\xff\xfe' >bad.txt
expect_failure "invalid UTF-8" view --data "$data" -o page.html bad.txt
cmp -s page.html page.html.before || fail "a failed run changed the output file"
expect_failure "missing input" view --data "$data" missing.txt
expect_failure "data directory without styles.css" view --data "$work" msg.txt
expect_failure "bad --set" view --data "$data" --set fontStyles=2 msg.txt

for example in "$data"/examples/*.txt; do
    run view --data "$data" "$example"
    [[ $status == 0 && ! -s err ]] && grep -qF '<SPAN class=q0>' out || fail "example $example"
done
echo "view_test: all passed"
