#!/usr/bin/env bash
# Draws page 1 and the middle page of each real document of the corpus at 72 and 150 dpi with
# `brindle render`, `mutool draw` and `pdftoppm` as whole processes, and prints for each the
# median wall time of RUNS runs and brindle's ratios to the others (br/mu: brindle's time over
# mutool's; br/pp: over pdftoppm's), then the geometric mean of each ratio at each resolution.
#
#     bench/compare-render.sh [BUILD_DIR] [RUNS] [NAME_PART...]     (defaults: build, 3)
#
# NAME_PART keeps only the documents whose names hold one of them. The corpus is the build's
# (BUILD_DIR/corpus), fetched and made first when it is missing. Needs a build of brindle and
# the Debian packages poppler-utils and mupdf-tools.
set -euo pipefail

build=${1:-build}
runs=${2:-3}
shift $(($# < 2 ? $# : 2))
brindle=$build/bin/brindle
corpus=$build/corpus
for tool in "$brindle" mutool pdftoppm pdfinfo python3; do
    command -v "$tool" >/dev/null || { echo "missing: $tool" >&2; exit 1; }
done
here=$(cd "$(dirname "$0")" && pwd)
if ! compgen -G "$corpus/*.pdf" >/dev/null; then
    python3 "$here/../tests/corpus/corpus_files.py" "$corpus"
fi
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The real documents: PACKAGE--NAME.pdf; made files and the variants of documents are left out.
files=()
for file in "$corpus"/*.pdf; do
    name=$(basename "$file" .pdf)
    [[ $name == made--* || $name == *--*--* ]] && continue
    if [ $# -gt 0 ]; then
        keep=no
        for part in "$@"; do [[ $name.pdf == *"$part"* ]] && keep=yes; done
        [ $keep = yes ] || continue
    fi
    files+=("$file")
done

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

printf '%-58s %4s %11s %11s %11s %7s %7s\n' 'file:page' dpi 'brindle ms' 'mutool ms' \
    'pdftoppm ms' br/mu br/pp
ratios=$work/ratios
: >"$ratios"
for file in "${files[@]}"; do
    count=$(pdfinfo "$file" 2>/dev/null | awk '/^Pages:/ { print $2 }')
    [ -n "$count" ] || continue
    pages=(1)
    middle=$(((count + 1) / 2))
    ((middle > 1)) && pages+=("$middle")
    for page in "${pages[@]}"; do
        for dpi in 72 150; do
            bt=$(measure "$brindle" render "$file" -p "$page" -o "$work/b.png" --dpi "$dpi")
            mt=$(measure mutool draw -q -r "$dpi" -o "$work/m.png" "$file" "$page")
            pt=$(measure pdftoppm -r "$dpi" -png -singlefile -f "$page" -l "$page" "$file" \
                "$work/p")
            bm=$(ratio "$bt" "$mt")
            bp=$(ratio "$bt" "$pt")
            printf '%-58s %4s %11s %11s %11s %7s %7s\n' "$(basename "$file" .pdf):$page" "$dpi" \
                "$bt" "$mt" "$pt" "$bm" "$bp"
            echo "$dpi $bm $bp" >>"$ratios"
        done
    done
done

# The geometric mean of each ratio over the pages all three programs drew.
for dpi in 72 150; do
    awk -v dpi="$dpi" '$1 == dpi && $2 != "-" && $3 != "-" { m += log($2); p += log($3); n++ }
        END { if (n) printf "geometric mean at %d dpi over %d pages: br/mu %.2f  br/pp %.2f\n",
                         dpi, n, exp(m / n), exp(p / n) }' "$ratios"
done
