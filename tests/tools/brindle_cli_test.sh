#!/usr/bin/env bash
# The brindle command line: subcommand results, exit statuses and messages.
set -u
brindle=$1
failures=0
passes=0

hex() { od -An -v -tx1 | tr -d ' \n'; }

check() {  # name expected actual
    if [ "$2" == "$3" ]; then
        passes=$((passes + 1))
    else
        echo "FAIL $1: expected '$2', got '$3'"
        failures=$((failures + 1))
    fi
}

# convert: input (printf format) | options | expected output as hex
while IFS='|' read -r input options expected; do
    # shellcheck disable=SC2086
    actual=$(printf "$input" | "$brindle" convert $options | hex)
    check "convert $options '$input'" "$expected" "$actual"
done <<'CASES'
\xd6\xd0\xce\xc4|--from gb --to big5|a4a4a4e5
\xc5\xe9|--from big5 --to gb|cce5
\xb9\xfa|--from gb --to utf8|e59bbd
\xa4\xa4\xa4\xe5|--from big5 --to utf8|e4b8ade69687
a\xb9\xfab|--from gb --to big5|61b0ea62
\xff\xfe\x80\xd6|--from gb --to big5|fffe80d6
\xfe\x3f\xa1|--from big5 --to gb|fe3fa1
|--from gb --to big5|
CASES

# Malformed input keeps its length.
actual=$(head -c 4096 /dev/urandom | "$brindle" convert --from big5 --to gb | wc -c)
check "random bytes keep their length" 4096 "$actual"

# Exit statuses: 0 success, 2 bad usage.
status() { "$@" </dev/null >/dev/null 2>&1; echo $?; }
check "help" 0 "$(status "$brindle" --help)"
check "convert help" 0 "$(status "$brindle" convert --help)"
check "no command" 2 "$(status "$brindle")"
check "unknown command" 2 "$(status "$brindle" frobnicate)"
check "unknown option" 2 "$(status "$brindle" --frobnicate convert)"
check "missing --to" 2 "$(status "$brindle" convert --from gb)"
check "bad --to" 2 "$(status "$brindle" convert --from gb --to latin1)"
check "same encodings" 2 "$(status "$brindle" convert --from gb --to gb)"
check "extra argument" 2 "$(status "$brindle" convert --from gb --to big5 extra)"
check "usage message" "brindle convert: --to must be big5, gb or utf8" \
    "$("$brindle" convert --from gb --to latin1 2>&1 </dev/null | head -n 1)"
check "write failure" 1 "$(printf 'x' | "$brindle" convert --from gb --to big5 >/dev/full 2>/dev/null; echo $?)"
check "failure message" "brindle: -: cannot write standard output" \
    "$(printf 'x' | "$brindle" convert --from gb --to big5 2>&1 >/dev/full)"

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
