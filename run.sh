#!/usr/bin/env bash
# Installs what is missing, builds, and shows a document: FILE, or the demonstration article.
# Its pages are drawn into PNG images; with a display the viewer then opens it.
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

# With a display, the viewer shows the document.
if [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]]; then
    unset QT_QPA_PLATFORM
    exec build/bin/BrindleViewer "open $document?1"
fi
