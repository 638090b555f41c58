#!/usr/bin/env bash
# The brindle command line: subcommand results, exit statuses and messages.
set -u
brindle=$1
make_fixture=$2
source "$(dirname "$0")/checks.sh"

hex() { od -An -v -tx1 | tr -d ' \n'; }

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

# info and toc on generated documents.
"$make_fixture" qd400 "$work/thesis.qd"
"$make_fixture" vyn200 "$work/paper.vyn"
check "info qd400" '{"doc_type":0,"format":"QD","page_size":[582,824],"pages":3,"version":400}' \
    "$("$brindle" --json info "$work/thesis.qd")"
check "info vyn200 pages" \
    '{"doc_type":2,"format":"VYN","page_list":[{"glyphs":0,"index":0,"loaded":true,"pictures":2,"printed":11},{"glyphs":2,"index":1,"loaded":true,"pictures":0,"printed":12}],"page_size":[582,824],"pages":2,"version":200}' \
    "$("$brindle" --json info --pages "$work/paper.vyn")"
check "toc qd400" '{"items":[{"level":1,"page":1,"title":"第一章 绪论"},{"level":2,"page":3,"title":"1.1 背景"}]}' \
    "$("$brindle" --json toc "$work/thesis.qd")"
check "toc text" "$(printf '第一章 绪论  ... 1\n  1.1 背景  ... 3')" "$("$brindle" toc "$work/thesis.qd")"
check "toc native" "$(printf '\xb5\xda\xd2\xbb\xd5\xc2' | hex)" \
    "$("$brindle" toc --encoding native "$work/thesis.qd" | head -c 6 | hex)"
check "toc without contents" '{"items":[]}' "$("$brindle" --json toc "$work/paper.vyn")"

# Files that do not open: exit 1 and the reason.
failure() {  # brindle arguments -> "STATUS MESSAGE"
    local message
    message=$("$brindle" "$@" 2>&1 >/dev/null)
    echo "$? $message"
}
head -c 100 "$work/thesis.qd" >"$work/cut.vyn"
{ printf 'XQ\0\0'; tail -c +5 "$work/thesis.qd"; } >"$work/badmagic.qd"
check "missing file" "1 brindle: $work/none.vyn: no such file" "$(failure info "$work/none.vyn")"
for damaged in cut.vyn badmagic.qd; do
    check "damaged $damaged" "1 brindle: $work/$damaged: not a VYN or QD document, or damaged" \
        "$(failure toc "$work/$damaged")"
done
# render, pictures and replace-code.
check "render" "1212x1718" "$("$brindle" --json render "$work/thesis.qd" -p 1 --dpi 150 -o "$work/p1.png" |
    sed -E 's/.*"height":([0-9]+).*"width":([0-9]+).*/\2x\1/')"
check "render writes a PNG" "89504e47" "$(head -c 4 "$work/p1.png" | hex)"
check "render past the last page" 1 "$(status "$brindle" render "$work/thesis.qd" -p 9 -o "$work/x.png")"
check "render bad page" 2 "$(status "$brindle" render "$work/thesis.qd" -p 0 -o "$work/x.png")"
check "pictures" '{"page":1,"pictures":[]}' "$("$brindle" --json pictures "$work/paper.vyn" -p 1 -o "$work/pics" 2>/dev/null)"
cp "$work/thesis.qd" "$work/copy.qd"
check "replace-code" '{"replaced":1}' "$("$brindle" --json replace-code "$work/copy.qd" b9fa b0a1)"
check "replace-code again finds none" '{"replaced":0}' "$("$brindle" --json replace-code "$work/copy.qd" b9fa b0a1)"
check "replace-code changes two bytes" 2 "$(cmp -l "$work/thesis.qd" "$work/copy.qd" | wc -l)"
# A rewrite that cannot be written (a file-size limit stands for a full disk) fails, leaving the
# file and its folder as they were.
mkdir "$work/full" && cp "$work/thesis.qd" "$work/full/copy.qd" && chmod 600 "$work/full/copy.qd"
check "replace-code on a full disk" 1 "$(trap '' XFSZ; ulimit -f 1; status "$brindle" replace-code "$work/full/copy.qd" b9fa b0a1)"
check "replace-code on a full disk says why" "cannot be rewritten" \
    "$( (trap '' XFSZ; ulimit -f 1; "$brindle" replace-code "$work/full/copy.qd" b9fa b0a1) 2>&1 >/dev/null | grep -o 'cannot be rewritten')"
check "replace-code on a full disk keeps the file" "" "$(cmp "$work/thesis.qd" "$work/full/copy.qd")"
check "replace-code on a full disk leaves nothing beside it" "copy.qd" "$(ls "$work/full")"
check "replace-code keeps the permissions" "600 {\"replaced\":1}" \
    "$(out=$("$brindle" --json replace-code "$work/full/copy.qd" b9fa b0a1); echo "$(stat -c %a "$work/full/copy.qd") $out")"
# Text needs no pictures: a page whose pictures would take far more memory than allowed here
# gives its text all the same.
"$make_fixture" bigpictures "$work/big.vyn"
check "text of a page of huge pictures" "中文" "$(ulimit -v 400000; "$brindle" text "$work/big.vyn" -p 1 2>/dev/null)"
# text and find.
check "text of a page" "国家" "$("$brindle" text "$work/thesis.qd" -p 2)"
check "text in Big5" "a4a4a4e50a" "$("$brindle" text "$work/thesis.qd" -p 1 --codepage 950 --encoding native | hex)"
check "text json" '{"length":4,"page":3,"text":"图书"}' "$("$brindle" --json text "$work/thesis.qd" -p 3)"
check "text between points" "中文" "$("$brindle" text "$work/thesis.qd" -p 1 --between 30,40,40,40)"
check "text bad rect" 2 "$(status "$brindle" text "$work/thesis.qd" -p 1 --rect 1,2,3)"
check "find" '{"matches":[{"count":1,"page":2,"variant":"as typed"}],"total":1}' \
    "$("$brindle" --json find "$work/thesis.qd" 国家)"
check "find nothing" 1 "$(status "$brindle" find "$work/thesis.qd" 天地)"
check "find too long" 2 "$(status "$brindle" find "$work/thesis.qd" "$(printf 'a%.0s' {1..200})")"
# lowres: a VYN copy, no larger, that info and render read; a one-bit scan gets smaller.
"$make_fixture" scan300 "$work/scan.vyn"
for source in thesis.qd paper.vyn scan.vyn; do
    copy="$work/low-${source%.*}.vyn"
    "$brindle" lowres "$work/$source" "$copy" >/dev/null 2>&1
    check "lowres $source no larger" yes \
        "$([ "$(stat -c %s "$copy")" -le "$(stat -c %s "$work/$source")" ] && echo yes)"
    check "lowres $source info" 0 "$(status "$brindle" info "$copy")"
    check "lowres $source render" 0 "$(status "$brindle" render "$copy" -p 1 -o "$work/low.png")"
done
check "lowres copy of QD is VYN" '"format":"VYN"' \
    "$("$brindle" --json info "$work/low-thesis.vyn" | grep -o '"format":"VYN"')"
check "lowres keeps the contents" "$("$brindle" toc "$work/thesis.qd")" "$("$brindle" toc "$work/low-thesis.vyn")"
check "lowres scan smaller" yes \
    "$([ "$(stat -c %s "$work/low-scan.vyn")" -lt "$(stat -c %s "$work/scan.vyn")" ] && echo yes)"
check "lowres json" \
    "{\"bytes_in\":$(stat -c %s "$work/scan.vyn"),\"bytes_out\":$(stat -c %s "$work/low-scan.vyn"),\"file\":\"$work/again.vyn\",\"pages\":1}" \
    "$("$brindle" --json lowres "$work/scan.vyn" "$work/again.vyn")"
check "lowres text" "$work/again.vyn  1 pages, $(stat -c %s "$work/scan.vyn") -> $(stat -c %s "$work/again.vyn") bytes" \
    "$("$brindle" lowres "$work/scan.vyn" "$work/again.vyn")"
cp "$work/scan.vyn" "$work/self.vyn"
check "lowres over its own file" 0 "$(status "$brindle" lowres "$work/self.vyn" "$work/self.vyn")"
check "lowres over its own file is the copy" same \
    "$(cmp -s "$work/self.vyn" "$work/low-scan.vyn" && echo same)"
before=$(ls -A "$work")
check "lowres into a missing folder" "1 brindle: $work/missing/low.vyn: no such folder" \
    "$(failure lowres "$work/scan.vyn" "$work/missing/low.vyn")"
check "lowres into a folder" 1 "$(status "$brindle" lowres "$work/scan.vyn" "$work")"
check "lowres failures leave nothing" "$before" "$(ls -A "$work")"
check "lowres to a QD name" 2 "$(status "$brindle" lowres "$work/scan.vyn" "$work/low.qd")"
check "lowres without OUT" 2 "$(status "$brindle" lowres "$work/scan.vyn")"
# PDF and ZOR: info, boxes, failure codes, streams.
"$make_fixture" pdf3 "$work/paper.pdf"
"$make_fixture" zor3 "$work/paper.zor"
"$make_fixture" encrypted "$work/locked.pdf"
check "pdf info" '{"encrypted":false,"format":"PDF","linearized":false,"pages":3,"permissions":{"copy":true,"modify":true,"print":true},"version":"1.4","xref":"table"}' "$("$brindle" --json info "$work/paper.pdf")"
check "zor info" '{"encrypted":false,"format":"ZOR","linearized":false,"pages":3,"permissions":{"copy":true,"modify":true,"print":true},"version":"2.00","xref":"table"}' "$("$brindle" --json info "$work/paper.zor")"
check "pdf page boxes" '{"crop_box":[36,36,576,756],"encrypted":false,"format":"PDF","linearized":false,"media_box":[0,0,612,792],"page":2,"page_size":[540,720],"pages":3,"permissions":{"copy":true,"modify":true,"print":true},"rotate":0,"user_unit":1,"version":"1.4","xref":"table"}' \
    "$("$brindle" --json info "$work/paper.pdf" --page 2)"
# An /Encrypt naming no object leaves nothing to decrypt with: the file opens as it stands.
check "encrypt naming nothing" '{"encrypted":false,"format":"PDF","linearized":false,"pages":3,"permissions":{"copy":true,"modify":true,"print":true},"version":"1.4","xref":"table"}' \
    "$("$brindle" --json info "$work/locked.pdf")"
check "pdf page out of range" 1 "$(status "$brindle" info "$work/paper.pdf" --page 4)"
# Encrypted files: the password where one is needed, the permissions, the code of a wrong one.
sealed="$(dirname "$0")/../fixtures/pdf/encryption"
check "encrypted info" '{"encrypted":true,"format":"PDF","linearized":false,"pages":1,"permissions":{"copy":false,"modify":true,"print":true},"version":"1.7","xref":"table"}' \
    "$("$brindle" --json --password user128 info "$sealed/r3_rc4_128_user.pdf")"
check "owner password after the command" '"encrypted":true' \
    "$("$brindle" --json info "$sealed/r3_rc4_128_user.pdf" --password=owner128 | grep -o '"encrypted":true')"
check "no password needed" '"permissions":{"copy":false,"modify":true,"print":false}' \
    "$("$brindle" --json info "$sealed/r6_aes_256_user.pdf" --password owner6 | grep -o '"permissions":{[^}]*}')"
check "password needed" "1 brindle: $sealed/r3_rc4_128_user.pdf: Password Needed or Wrong. (error 26)" \
    "$(failure info "$sealed/r3_rc4_128_user.pdf")"
check "wrong password" 26 \
    "$("$brindle" --json --password nope info "$sealed/r3_rc4_128_user.pdf" 2>/dev/null | grep -o '"error_code":[0-9]*' | cut -d: -f2)"
check "encrypted stream" "BT /F1 12 Tf 20 50 Td (Hello, sealed world) Tj ET" \
    "$("$brindle" stream "$sealed/r4_aes_128_user.pdf" --password usr4 6)"
check "password without a value" 2 "$(status "$brindle" info "$work/paper.pdf" --password)"
"$brindle" extract "$sealed/r4_aes_128_user.pdf" --password usr4 -p 1 -o "$work/unsealed.pdf"
check "extract with a password" '"encrypted":false' \
    "$("$brindle" --json info "$work/unsealed.pdf" | grep -o '"encrypted":false')"
check "extract with a password gives the page" "BT /F1 12 Tf 20 50 Td (Hello, sealed world) Tj ET" \
    "$("$brindle" stream "$work/unsealed.pdf" 6)"
check "extract without the password" "1 brindle: $sealed/r4_aes_128_user.pdf: Password Needed or Wrong. (error 26)" \
    "$(failure extract "$sealed/r4_aes_128_user.pdf" -p 1 -o "$work/x.pdf")"
check "stream" "BT /F1 12 Tf 72 700 Td (two) Tj ET" "$("$brindle" stream "$work/paper.zor" 6)"
check "stream of no stream" 1 "$(status "$brindle" stream "$work/paper.pdf" 1)"
check "pdf render writes a PNG" "89504e47" "$("$brindle" render "$work/paper.zor" -p 2 --dpi 100 --scale 120 -o "$work/pdf.png" >/dev/null 2>&1; head -c 4 "$work/pdf.png" | hex)"
check "pdf render page out of range" 1 "$(status "$brindle" render "$work/paper.pdf" -p 9 -o "$work/x.png")"
# --width and --height fit the page at the largest whole resolution (612 x 792 points: 35 and
# 27 dpi); --no-antialias gives hard edges to a slanted line.
check "pdf render --width" '"height":385,"page":1,"width":298' \
    "$("$brindle" --json render "$work/paper.pdf" -p 1 --width 300 -o "$work/fit.png" 2>/dev/null | grep -o '"height.*width":[0-9]*')"
check "pdf render --width --height" '"height":99,"page":1,"width":77' \
    "$("$brindle" --json render "$work/paper.pdf" -p 1 --width 300 --height 100 -o "$work/fit.png" 2>/dev/null | grep -o '"height.*width":[0-9]*')"
check "render --dpi with --width" 2 "$(status "$brindle" render "$work/paper.pdf" -p 1 --dpi 100 --width 30 -o "$work/x.png")"
check "render --width not whole" 2 "$(status "$brindle" render "$work/paper.pdf" -p 1 --width 3.5 -o "$work/x.png")"
check "render --no-antialias of a VYN" 2 "$(status "$brindle" render "$work/thesis.qd" -p 1 --no-antialias -o "$work/x.png")"
printf '%%PDF-1.4\n1 0 obj << /Type /Catalog /Pages 2 0 R >> endobj\n2 0 obj << /Type /Pages /Kids [3 0 R] /Count 1 >> endobj\n3 0 obj << /Type /Page /Parent 2 0 R /MediaBox [0 0 50 50] /Contents 4 0 R >> endobj\n4 0 obj << /Length 22 >> stream\n5 w 0 0 m 50 30 l S\nendstream endobj\ntrailer << /Root 1 0 R >>\n%%%%EOF\n' >"$work/slant.pdf"
"$brindle" render "$work/slant.pdf" -p 1 -o "$work/soft.png" >/dev/null 2>&1
"$brindle" render "$work/slant.pdf" -p 1 --no-antialias -o "$work/hard.png" >/dev/null 2>&1
check "render --no-antialias draws otherwise" 1 "$(cmp -s "$work/soft.png" "$work/hard.png"; echo $?)"
check "pdf render VYN options" 2 "$(status "$brindle" render "$work/paper.pdf" -p 1 --codepage 950 -o "$work/x.png")" 
check "pdf text" "three" "$("$brindle" text "$work/paper.pdf" -p 3 2>/dev/null)"
check "pdf text rect mode" '{"length":5,"page":3,"text":"three"}' "$("$brindle" --json text "$work/paper.pdf" -p 3 --rect 0,0,700,900 --rect-mode 2>/dev/null)"
check "pdf text of a rectangle" '{"length":3,"page":1,"text":"one"}' "$("$brindle" --json text "$work/paper.pdf" -p 1 --rect 60,50,100,90 2>/dev/null)"
check "pdf text of every page" "$(printf 'one\n\ftwo\n\fthree\n\f' | hex)" "$("$brindle" text "$work/paper.pdf" | hex)"
check "pdf text --rect needs a page" 2 "$(status "$brindle" text "$work/paper.pdf" --rect 0,0,9,9)"
check "--layout is for PDF" 2 "$(status "$brindle" text "$work/thesis.qd" -p 1 --layout)"
check "VYN text needs a page" 2 "$(status "$brindle" text "$work/thesis.qd")"
# find in a PDF: case and full-width forms do not count; boxes are in points of the shown
# page (page 2's crop box starts 36 points in).
check "pdf find" "$(printf 'page 2: 1\ntotal 1')" "$("$brindle" find "$work/paper.pdf" TWO)"
check "pdf find json" '{"matches":[{"boxes":[[[36,45.8,54.67,58.4]]],"count":1,"page":2}],"total":1}' "$("$brindle" --json find "$work/paper.pdf" ｔｗｏ)"
check "pdf find nothing" 1 "$(status "$brindle" find "$work/paper.pdf" four)"
check "pdf find spaces" 2 "$(status "$brindle" find "$work/paper.pdf" "  ")"
check "stream bad object" 2 "$(status "$brindle" stream "$work/paper.pdf" x1)"
check "info without file" 2 "$(status "$brindle" info)"
check "toc bad encoding" 2 "$(status "$brindle" toc --encoding latin1 "$work/thesis.qd")"
# pack, unpack, catalog: a PDF packed and unpacked is itself; a catalog set is read back by
# catalog get and toc; failures leave every file as it was.
"$brindle" pack "$work/paper.pdf" "$work/packed.zor" --progress 2>"$work/progress.txt"
check "pack size" $(($(stat -c %s "$work/paper.pdf") + 254)) "$(stat -c %s "$work/packed.zor")"
check "pack header" "ZOR 2.00" "$(head -c 8 "$work/packed.zor")"
check "pack progress ends full" "100%" "$(tr '\r' '\n' <"$work/progress.txt" | grep -o '[0-9]*%' | tail -n 1)"
check "packed info" '{"encrypted":false,"format":"ZOR","linearized":false,"pages":3,"permissions":{"copy":true,"modify":true,"print":true},"version":"2.00","xref":"table"}' "$("$brindle" --json info "$work/packed.zor")"
check "unpack json" "{\"bytes\":$(stat -c %s "$work/paper.pdf"),\"file\":\"$work/unpacked.pdf\"}" \
    "$("$brindle" --json unpack "$work/packed.zor" "$work/unpacked.pdf")"
check "unpack gives the PDF" same "$(cmp -s "$work/paper.pdf" "$work/unpacked.pdf" && echo same)"
check "catalog of a fresh ZOR" '{"items":[]}' "$("$brindle" --json catalog get "$work/packed.zor")"
"$brindle" --json toc "$work/thesis.qd" >"$work/toc.json"
check "catalog set" "{\"file\":\"$work/packed.zor\",\"items\":2}" \
    "$("$brindle" --json catalog set "$work/packed.zor" "$work/toc.json")"
check "catalog get" "$(cat "$work/toc.json")" "$("$brindle" --json catalog get "$work/packed.zor")"
check "catalog size" $(($(stat -c %s "$work/paper.pdf") + 254 + 132 + 2 * 308)) "$(stat -c %s "$work/packed.zor")"
check "catalog titles in GB2312" "$(printf '\xb5\xda\xd2\xbb\xd5\xc2' | hex)" \
    "$("$brindle" toc --encoding native "$work/packed.zor" | head -c 6 | hex)"
check "toc of a ZOR" "$("$brindle" toc "$work/thesis.qd")" "$("$brindle" toc "$work/packed.zor")"
check "toc of a PDF" '{"items":[]}' "$("$brindle" --json toc "$work/paper.pdf")"
# A PDF's outline, nested by level, with its pages; packed in a ZOR file without a catalog, the
# same; given a catalog, the ZOR file lists its catalog instead.
outline_pdf="$(dirname "$0")/../fixtures/pdf/outline.pdf"
outline_text=$(printf '封面 Cover  ... 1\nChapter 1  ... 3\n  1.1 Methods  ... 3\n  1.2 Results  ... 4\nAppendix  ... 5\n  A.1 Tables  ... 5')
check "toc of a PDF outline" "$outline_text" "$("$brindle" toc "$outline_pdf")"
check "toc of a PDF outline json" \
    '{"items":[{"fit":"XYZ","left":0,"level":1,"open":false,"page":1,"title":"封面 Cover","top":792},{"fit":"XYZ","left":0,"level":1,"open":true,"page":3,"title":"Chapter 1","top":792},{"fit":"FitH","level":2,"open":false,"page":3,"title":"1.1 Methods","top":400},{"fit":"XYZ","left":72,"level":2,"open":false,"page":4,"title":"1.2 Results","top":400},{"fit":"XYZ","left":0,"level":1,"open":false,"page":5,"title":"Appendix","top":792},{"fit":"XYZ","left":0,"level":2,"open":false,"page":5,"title":"A.1 Tables","top":400}]}' \
    "$("$brindle" --json toc "$outline_pdf")"
"$brindle" pack "$outline_pdf" "$work/outline.zor"
check "toc of a ZOR without a catalog" "$outline_text" "$("$brindle" toc "$work/outline.zor")"
"$brindle" catalog set "$work/outline.zor" "$work/toc.json" >/dev/null
check "toc of a ZOR with a catalog" "$("$brindle" toc "$work/packed.zor")" "$("$brindle" toc "$work/outline.zor")"
check "catalog keeps the document" 3 "$("$brindle" --json info "$work/packed.zor" | grep -o '"pages":[0-9]*' | cut -d: -f2)"
"$brindle" unpack "$work/packed.zor" "$work/uncatalogued.pdf"
check "unpack leaves the catalog behind" same "$(cmp -s "$work/paper.pdf" "$work/uncatalogued.pdf" && echo same)"
printf '{"items":[{"level":1,"page":1,"title":"\u00e9t\u00e9 \u263a"}]}' >"$work/latin.json"
cp "$work/packed.zor" "$work/before.zor"
before=$(ls -A "$work")
check "catalog title GB2312 lacks" 1 "$(status "$brindle" catalog set "$work/packed.zor" "$work/latin.json")"
check "catalog set on a PDF" "1 brindle: $work/paper.pdf: not a ZOR file" \
    "$(failure catalog set "$work/paper.pdf" "$work/toc.json")"
check "pack into a missing folder" "1 brindle: $work/missing/x.zor: Open File Error. (error 2)" \
    "$(failure pack "$work/paper.pdf" "$work/missing/x.zor")"
check "pack over a folder" 1 "$(status "$brindle" pack "$work/paper.pdf" "$work/pics")"
check "unpack a PDF" 1 "$(status "$brindle" unpack "$work/paper.pdf" "$work/x.pdf")"
check "failed ZOR commands change nothing" "$before" "$(ls -A "$work")"
check "failed catalog leaves the file" same "$(cmp -s "$work/packed.zor" "$work/before.zor" && echo same)"
check "catalog bad action" 2 "$(status "$brindle" catalog put "$work/packed.zor")"
check "pack without OUT" 2 "$(status "$brindle" pack "$work/paper.pdf")"
# extract: chosen pages of a PDF or ZOR file in a new PDF file.
check "extract" "{\"file\":\"$work/two.pdf\",\"pages\":2}" \
    "$("$brindle" --json extract "$work/paper.zor" -p 3,2,5-7 -o "$work/two.pdf")"
check "extract keeps the order" "three" "$("$brindle" text "$work/two.pdf" -p 1 2>/dev/null)"
check "extract keeps the boxes" '"crop_box":[36,36,576,756]' \
    "$("$brindle" --json info "$work/two.pdf" --page 2 2>/dev/null | grep -o '"crop_box":[^]]*]')"
check "extract from a ZOR equals from the PDF" same \
    "$("$brindle" extract "$work/paper.pdf" -p 3,2 -o "$work/two-pdf.pdf" && cmp -s "$work/two.pdf" "$work/two-pdf.pdf" && echo same)"
if command -v qpdf >/dev/null; then
    check "extracted file passes qpdf --check" 0 "$(status qpdf --check "$work/two.pdf")"
fi
before=$(ls -A "$work")
check "extract from a missing file" "1 brindle: $work/none.pdf: no such file" \
    "$(failure extract "$work/none.pdf" -p 1 -o "$work/x.pdf")"
check "extract into a missing folder" 1 "$(status "$brindle" extract "$work/paper.pdf" -p 1 -o "$work/missing/x.pdf")"
check "failed extractions leave nothing" "$before" "$(ls -A "$work")"
check "extract backward range" 2 "$(status "$brindle" extract "$work/paper.pdf" -p 7-5 -o "$work/x.pdf")"
check "extract too many pages" 2 "$(status "$brindle" extract "$work/paper.pdf" -p 1-1000 -o "$work/x.pdf")"
check "extract page 0" 2 "$(status "$brindle" extract "$work/paper.pdf" -p 0,1 -o "$work/x.pdf")"

finish
