#!/usr/bin/env bash
# brindle on a PDF whose embedded TrueType program the reader registers as an application font:
# the commands end cleanly, and what they print reaches a pipe or a file.
set -u
brindle=$1
make_truetype_pdf=$2
source "$(dirname "$0")/checks.sh"

font=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
if [ ! -r "$font" ]; then
    echo "FAIL $font is missing (fonts-dejavu-core)"
    exit 1
fi
# The family renamed, so that no installed face stands in for the embedded program.
"$make_truetype_pdf" "$work/embedded.pdf" "$font" "DejaVu Sans" "Embedded Ab" 3
# The same program under its own name: the reader draws it with the installed face.
"$make_truetype_pdf" "$work/installed.pdf" "$font" "DejaVu Sans" "DejaVu Sans" 3

# command | expected exit status, then standard output through a pipe
while IFS='|' read -r name command expected; do
    # shellcheck disable=SC2086
    output=$("$brindle" $command 2>/dev/null | cat; echo "status ${PIPESTATUS[0]}")
    check "$name" "$(printf '%s\nstatus 0' "$expected")" "$output"
done <<CASES
text|text $work/embedded.pdf -p 2|two
text json|--json text $work/embedded.pdf -p 3|{"length":5,"page":3,"text":"three"}
render|render $work/embedded.pdf -p 1 -o $work/embedded.png|$work/embedded.png  page 1, 300 x 800 pixels
render json|--json render $work/embedded.pdf -p 2 -o $work/two.png|{"file":"$work/two.png","height":800,"page":2,"width":300}
info|--json info $work/embedded.pdf|{"encrypted":false,"format":"PDF","linearized":false,"pages":3,"permissions":{"copy":true,"modify":true,"print":true},"version":"1.4","xref":"table"}
CASES

"$brindle" text "$work/embedded.pdf" -p 1 >"$work/text.txt" 2>/dev/null
check "text into a file" "0 one" "$? $(cat "$work/text.txt")"
"$brindle" render "$work/installed.pdf" -p 1 -o "$work/installed.png" >/dev/null 2>&1
check "the embedded program draws as the face it was made from" same \
    "$(cmp -s "$work/embedded.png" "$work/installed.png" && echo same)"

# Standard output that cannot be written: exit status 1 and why.
for command in "text $work/embedded.pdf -p 1" "--json info $work/embedded.pdf" "--help"; do
    # shellcheck disable=SC2086
    result=$({ "$brindle" $command 2>&1 >/dev/full; echo "status $?"; } | grep -v '^QStandardPaths')
    check "$command into a full device" "$(printf 'brindle: -: cannot write standard output\nstatus 1')" \
        "$result"
done

finish
