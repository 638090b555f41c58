#!/usr/bin/env bash
# The command line: global options anywhere, page lists and file-name patterns for render,
# an example in every subcommand's help, and tools that refuse options they do not know.
set -u
brindle=$1
make_fixture=$2
make_truetype_pdf=$3
make_samples=$4
source "$(dirname "$0")/checks.sh"
cd "$work" || exit 1

"$make_fixture" qd400 thesis.qd
"$make_fixture" pdf3 paper.pdf
font=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
"$make_truetype_pdf" single.pdf "$font" "DejaVu Sans" "DejaVu Sans" 1
"$make_truetype_pdf" three.pdf "$font" "DejaVu Sans" "DejaVu Sans" 3

# --json before the subcommand, after it and at the end give one result.
while IFS='|' read -r name command; do
    read -r -a words <<<"$command"
    before=$("$brindle" --json "${words[@]}" 2>/dev/null)
    check "$name: --json after the subcommand" "$before" \
        "$("$brindle" "${words[0]}" --json "${words[@]:1}" 2>/dev/null)"
    check "$name: --json at the end" "$before" "$("$brindle" "${words[@]}" --json 2>/dev/null)"
    check "$name: --json gives JSON" "{" "${before:0:1}"
done <<'CASES'
info qd|info thesis.qd
info pdf page|info paper.pdf --page 2
toc|toc thesis.qd
text|text thesis.qd -p 3
find|find thesis.qd 国家
render|render paper.pdf -p 1 -o json.png
CASES
check "unknown option after the subcommand" 2 "$(status "$brindle" info --frobnicate thesis.qd)"
check "--json twice" 0 "$(status "$brindle" --json info --json thesis.qd)"

# render -p PAGES -o PATTERN: file | pages | pattern | exit status | files written
while IFS='|' read -r file pages pattern expected files; do
    rm -rf out && mkdir out
    actual=$(status "$brindle" render "$file" -p "$pages" -o "out/$pattern")
    check "render $file -p '$pages' -o $pattern" "$expected $files" \
        "$actual $(cd out && ls | tr '\n' ' ' | sed 's/ $//')"
done <<'CASES'
paper.pdf|2|two.png|0|two.png
paper.pdf|2|n-%d.png|0|n-2.png
paper.pdf|2|50%.png|0|50%.png
paper.pdf|2|p%5d.png|0|p%5d.png
paper.pdf|2|p%d%.png|0|p2%.png
paper.pdf|1-3|p-%d.png|0|p-1.png p-2.png p-3.png
paper.pdf|3,1|p%03d.png|0|p001.png p003.png
paper.pdf|all|all-%d.png|0|all-1.png all-2.png all-3.png
paper.pdf|1-2,3|%d-%d.png|0|1-1.png 2-2.png 3-3.png
paper.pdf|1,2|x.png|2|
paper.pdf|all|x.png|2|
paper.pdf|2,5,9|x-%d.png|1|
paper.pdf|4|x.png|1|
paper.pdf|0|x.png|2|
paper.pdf|3-1|x-%d.png|2|
paper.pdf|1,|x-%d.png|2|
paper.pdf|one|x.png|2|
paper.pdf||x.png|2|
single.pdf|all|only.png|0|only.png
thesis.qd|1-3|q-%d.png|0|q-1.png q-2.png q-3.png
thesis.qd|3,4|q-%d.png|1|
CASES
check "pages past the end are named" "brindle: paper.pdf: has 3 pages, not 5, 9" \
    "$("$brindle" render paper.pdf -p 2,5,9 -o 'x-%d.png' 2>&1 >/dev/null | grep -v '^QStandardPaths')"
check "a list needs a page number in -o" 1 \
    "$("$brindle" render paper.pdf -p 1,2 -o x.png 2>&1 | grep -c -- '-o needs %d')"

# Pages drawn in one run are the pages drawn one at a time (of pages that each set their font:
# the reader keeps a font size from page to page).
for file in three.pdf thesis.qd; do
    rm -rf out && mkdir out
    "$brindle" render "$file" -p all --dpi 100 -o "out/all-%d.png" >/dev/null 2>&1
    for page in 1 2 3; do
        "$brindle" render "$file" -p "$page" --dpi 100 -o "out/one.png" >/dev/null 2>&1
        check "$file page $page drawn in a list" same \
            "$(cmp -s "out/one.png" "out/all-$page.png" && echo same)"
    done
done
check "render --json of one page" '{"file":"one.png","height":720,"page":2,"width":540}' \
    "$("$brindle" --json render paper.pdf -p 2 -o one.png 2>/dev/null)"
check "render --json of a list" \
    '{"pages":[{"file":"l-3.png","height":792,"page":3,"width":612},{"file":"l-1.png","height":792,"page":1,"width":612}]}' \
    "$("$brindle" --json render paper.pdf -p 3,1 -o l-%d.png 2>/dev/null)"
check "render --json of a one-page range" '{"pages":[{"file":"r-2.png","height":720,"page":2,"width":540}]}' \
    "$("$brindle" --json render paper.pdf -p 2-2 -o r-%d.png 2>/dev/null)"

# Every subcommand's help ends with an example of it.
commands=$("$brindle" --help | sed -n '/^Commands:/,/^$/p' | awk 'NF > 1 {print $1}')
check "help lists the commands" 14 "$(echo "$commands" | wc -l)"
for command in $commands; do
    example=$("$brindle" "$command" --help | sed -n '/^Example:$/{n;p}')
    check "$command --help example" "  brindle $command " "${example:0:$((11 + ${#command}))}"
done

# make_samples takes one folder and refuses options: none becomes a folder's name.
check "make_samples --help" 0 "$(status "$make_samples" --help)"
check "make_samples --help prints the usage" "usage: make_samples [--] DIR" "$("$make_samples" --help)"
check "make_samples unknown option" 2 "$(status "$make_samples" --frobnicate)"
check "make_samples two folders" 2 "$(status "$make_samples" a b)"
check "make_samples no folder" 2 "$(status "$make_samples")"
check "refused options make no folder" "" "$(ls -A | grep -- '^-')"
check "make_samples -- -folder" "0 demo.pdf demo.qd demo.vyn demo.zor scan.vyn" \
    "$(status "$make_samples" -- -folder) $(ls -- -folder | tr '\n' ' ' | sed 's/ $//')"

finish
