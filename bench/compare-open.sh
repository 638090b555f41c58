#!/usr/bin/env bash
# Opens generated PDFs of 100, 1,000 and 10,000 pages (classic table, and object streams made
# by qpdf) with `brindle info`, `pdfinfo` and `mutool info` as whole processes, and prints for
# each the median wall time of RUNS runs, the peak resident memory, and brindle's ratios to
# the others (time/pi: brindle's time over pdfinfo's; mu: mutool's; mem: peak memory).
#
#     bench/compare-open.sh [BUILD_DIR] [RUNS]      (defaults: build, 5)
#
# Needs a build of brindle and make_pages_pdf, and the Debian packages qpdf, poppler-utils,
# mupdf-tools and time (for /usr/bin/time).
set -euo pipefail

build=${1:-build}
runs=${2:-5}
brindle=$build/bin/brindle
generate=$build/bin/make_pages_pdf
for tool in "$brindle" "$generate" /usr/bin/time qpdf pdfinfo mutool; do
    command -v "$tool" >/dev/null || { echo "missing: $tool" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
files=()
for pages in 100 1000 10000; do
    "$generate" "$pages" "$work/$pages-table.pdf"
    qpdf --object-streams=generate "$work/$pages-table.pdf" "$work/$pages-objstm.pdf"
    files+=("$work/$pages-table.pdf" "$work/$pages-objstm.pdf")
done

# "MS KB" of one program on one file: median wall time in ms and highest peak memory in KiB;
# "fails -" when it does not exit 0. A program slower than 5 s in all is run no more.
measure() {
    local times=() peak=0 i start end kb spent=0
    for ((i = 0; i < runs && spent < 5000000; i++)); do
        start=$(date +%s%N)
        if ! /usr/bin/time -f '%M' -o "$work/time" "$@" >/dev/null 2>&1; then
            echo fails -
            return
        fi
        end=$(date +%s%N)
        times+=($(((end - start) / 1000)))
        spent=$((spent + (end - start) / 1000))
        kb=$(tail -n 1 "$work/time")
        ((kb > peak)) && peak=$kb
    done
    local median
    median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n "$((${#times[@]} / 2 + 1))p")
    echo "$(awk -v us="$median" 'BEGIN { printf "%.1f", us / 1000 }') $peak"
}

mib() {
    awk -v k="$1" 'BEGIN { if (k ~ /^[0-9]+$/) printf "%.1f", k / 1024; else print "-" }'
}

ratio() {
    awk -v a="$1" -v b="$2" 'BEGIN { if (a !~ /^[0-9.]+$/ || b !~ /^[0-9.]+$/ || b == 0) print "-"; else printf "%.2f", a / b }'
}

printf '%-14s %22s %22s %22s %9s %9s %9s %9s\n' file 'brindle ms / MiB' 'pdfinfo ms / MiB' \
    'mutool ms / MiB' 'time/pi' 'time/mu' 'mem/pi' 'mem/mu'
for file in "${files[@]}"; do
    read -r bt bm <<<"$(measure "$brindle" info "$file")"
    read -r pt pm <<<"$(measure pdfinfo "$file")"
    read -r mt mm <<<"$(measure mutool info "$file")"
    printf '%-14s %22s %22s %22s %9s %9s %9s %9s\n' "$(basename "$file" .pdf)" \
        "$bt / $(mib "$bm")" "$pt / $(mib "$pm")" "$mt / $(mib "$mm")" \
        "$(ratio "$bt" "$pt")" "$(ratio "$bt" "$mt")" "$(ratio "$bm" "$pm")" "$(ratio "$bm" "$mm")"
done
