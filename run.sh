#!/usr/bin/env bash
# Installs what is missing, builds, and shows a document: FILE, or the demonstration article.
# Until the viewer lands, its pages are drawn into PNG images (opened when there is a display).
set -euo pipefail
cd "$(dirname "$0")"
source scripts/install-deps.sh
brindle_install_deps

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"

brindle=build/bin/brindle
document=${1:-build/samples/demo.vyn}
out=build/run
mkdir -p "$out"
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}

"$brindle" info "$document"
echo "== contents"
"$brindle" toc "$document" || true
echo "== pages"
pages=$("$brindle" --json info "$document" | sed -n 's/.*"pages":\([0-9]*\).*/\1/p')
images=()
for ((page = 1; page <= ${pages:-1}; page++)); do
    "$brindle" render "$document" -p "$page" --dpi 96 -o "$out/page-$page.png"
    images+=("$out/page-$page.png")
done
# Traditional characters: Big5 faces for VYN/QD pages, Big5 mode for PDF/ZOR pages.
case "$(head -c 5 "$document" | tr -d '\000')" in
    %PDF-* | ZOR*) traditional=(--big5) ;;
    *) traditional=(--codepage 950) ;;
esac
"$brindle" render "$document" -p 1 --dpi 96 "${traditional[@]}" -o "$out/page-1-traditional.png"

if [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]] && command -v xdg-open >/dev/null; then
    xdg-open "${images[0]}" >/dev/null 2>&1 &
fi
