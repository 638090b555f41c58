#!/usr/bin/env bash
# Takes the text of whole documents with `brindle text` and `pdftotext` as whole processes and
# prints for each document the median wall time of RUNS runs and brindle's ratio to pdftotext's
# (br/pt: brindle's time over pdftotext's), then the geometric mean of the ratios.
#
#     bench/compare-text.sh [BUILD_DIR] [RUNS] [FOLDER]     (defaults: build, 3, BUILD_DIR/corpus)
#
# FOLDER holds the PDF files to read; without it the build's corpus is used, fetched and made
# first when it is missing, and its real documents only (not the made files nor the variants).
# Needs a build of brindle and the Debian package poppler-utils.
set -euo pipefail

build=${1:-build}
runs=${2:-3}
folder=${3:-}
whole_corpus=no
brindle=$build/bin/brindle
for tool in "$brindle" pdftotext pdfinfo python3; do
    command -v "$tool" >/dev/null || { echo "missing: $tool" >&2; exit 1; }
done
here=$(cd "$(dirname "$0")" && pwd)
if [ -z "$folder" ]; then
    folder=$build/corpus
    whole_corpus=yes
    if ! compgen -G "$folder/*.pdf" >/dev/null; then
        python3 "$here/../tests/corpus/corpus_files.py" "$folder"
    fi
fi
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

files=()
for file in "$folder"/*.pdf; do
    [ -e "$file" ] || continue
    name=$(basename "$file" .pdf)
    if [ $whole_corpus = yes ] && [[ $name == made--* || $name == *--*--* ]]; then
        continue
    fi
    files+=("$file")
done
if [ ${#files[@]} -eq 0 ]; then
    echo "no PDF files in $folder" >&2
    exit 1
fi

# The median wall time in ms of RUNS runs of a command, or "fails" when it does not exit 0.
measure() {
    local times=() i start end
    for ((i = 0; i < runs; i++)); do
        start=$(date +%s%N)
        if ! "$@" >/dev/null 2>&1; then
            echo fails
            return
        fi
        end=$(date +%s%N)
        times+=($(((end - start) / 1000)))
    done
    printf '%s\n' "${times[@]}" | sort -n | sed -n "$((${#times[@]} / 2 + 1))p" |
        awk '{ printf "%.1f", $1 / 1000 }'
}

ratio() {
    awk -v a="$1" -v b="$2" 'BEGIN { if (a !~ /^[0-9.]+$/ || b !~ /^[0-9.]+$/ || b == 0) print "-"; else printf "%.2f", a / b }'
}

printf '%-58s %6s %11s %12s %7s\n' file pages 'brindle ms' 'pdftotext ms' br/pt
ratios=$work/ratios
: >"$ratios"
for file in "${files[@]}"; do
    pages=$(pdfinfo "$file" 2>/dev/null | awk '/^Pages:/ { print $2 }' || true)
    bt=$(measure "$brindle" text "$file")
    pt=$(measure pdftotext -enc UTF-8 "$file" -)
    br=$(ratio "$bt" "$pt")
    printf '%-58s %6s %11s %12s %7s\n' "$(basename "$file" .pdf)" "${pages:--}" "$bt" "$pt" "$br"
    [ "$br" != "-" ] && echo "$br" >>"$ratios"
done

awk '{ s += log($1); n++ }
    END { if (n) printf "geometric mean over %d documents: br/pt %.2f\n", n, exp(s / n) }' "$ratios"
