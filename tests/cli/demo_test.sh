#!/usr/bin/env bash
# End-to-end checks of `nimbrel demo`: run as `demo_test.sh NIMBREL`.
set -euo pipefail
. "$(dirname "$0")/lib.sh"
mkdir tmp empty
export TMPDIR=$work/tmp

expect_help --out demo

# The whole run: the first-time note, the status list newest first, every
# reply before and after, and the coloured pages.
run demo --data "$data" --out pages
[[ $status == 0 && ! -s err ]] || fail "demo: status $status: $(cat err)"
expect_lines "demo" '  Nimbrel - NOTE: Welcome to Nimbrel!' 'Jane Doe wrote:' '--- after: unchanged'
diff - <(sed -n '/^Status list/,/^$/p' out | sed 's/  */ /g') >&2 <<'EOF' || fail "status list"
Status list of the options dialog (newest first)
 Window Status
 Meeting moved processed (c)
 Second quarter figures processed (sig)
 Re: Thursday skipped (HTML)
 Re: Conference dates processed (q-qp)
 Re: 2.4 driver locks up processed (q)
 Re: Thursday's meeting processed (q)

EOF
for id in email-reply news-reply bar-quoted-reply html-reply signature-marker; do
    grep -q "^$id \".*\" (.*): " out || fail "no section for $id"
done
for pattern in '^  ok   line ' '^--- before$' '^--- after'; do # the bundled scenario's checks, the replies
    [[ $(grep -c -- "$pattern" out) == 5 ]] || fail "not 5 lines matching $pattern"
done
sed -n '/^signature-marker/,/^message-window/p' out | sed -n '/^--- after/,$p' >signed
[[ -s signed ]] && ! grep -q 'nimbrel-sig' signed || fail "signature marker not replaced"

# The pages look right in a browser: the style sheet and the images beside
# them, nothing pointing into the temporary install directory (removed).
for page in preview message-window; do
    [[ -f pages/$page.html ]] || fail "no $page.html"
    grep -qF '<SPAN class=q0>' pages/$page.html || fail "$page.html not coloured"
    grep -qF '<link rel="stylesheet" href="styles.css">' pages/$page.html || fail "$page.html css"
    ! grep -q 'nimbrel-demo-' pages/$page.html || fail "$page.html refers to the install directory"
done
grep -qF '<span class=q1>&gt; ' pages/preview.html || fail "preview quote level"
grep -qF '<IMG src="emoticons/smile.gif">' pages/preview.html || fail "preview emoticon"
[[ -f pages/styles.css && -f pages/emoticons/smile.gif ]] || fail "styles.css and images not copied"
[[ -z $(ls -A tmp) ]] || fail "temporary install directory left: $(ls tmp)"
[[ ! -e Nimbrel.cfg ]] || fail "Nimbrel.cfg written into the current directory"

# The same run gives the same output, the default folder included.
cp out first
run demo --data "$data"
[[ $status == 0 ]] || fail "second run: $(cat err)"
diff <(sed 's#/pages/#/nimbrel-demo/#' first) out >&2 || fail "runs differ"
cmp -s pages/preview.html nimbrel-demo/preview.html || fail "pages differ"

expect_failure "missing --data" demo --data "$work/missing"
expect_error 'examples/demo.txt' "data without examples" demo --data empty

# A scenario of the user's own: its checks decide the status; a faulty one
# is refused before anything runs.
cp "$data/examples/news_reply.txt" .
cat >own.txt <<'EOF'
set wrapColumn=60
reply R "Re: mine" news_reply.txt
wait-row "Re: mine" "processed (q)" 5000
expect text R reformatted
expect html R contains "not in it"
EOF
run demo --data "$data" --scenario own.txt --out own
[[ $status == 1 ]] || fail "failed check: status $status"
grep -q '^  ok   line 3: row "Re: mine" "processed (q)"' out || fail "own scenario: $(cat out)"
grep -q "^  FAIL line 5: html of R contains \"not in it\", html is" out || fail "failed check shown"
expect_lines "failure count" '1 check(s) of the scenario failed'
printf 'reply R "Re: x" missing.txt\n' >bad.txt
expect_error "bad.txt': line 1: cannot read" "bad scenario" demo --data "$data" --scenario bad.txt
printf 'reply R "Re: x" generated:99999999999999\n' >bad.txt
expect_error "at most 64000000" "too long a generated reply" demo --data "$data" --scenario bad.txt
printf 'wait 99999999999\n' >bad.txt
expect_error "did not end within 600 s" "endless scenario" demo --data "$data" --scenario bad.txt
echo "demo: all checks passed"
