#!/usr/bin/env bash
# Installs what is missing, builds, and shows the project at work on FILE or on the sample.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/install-deps.sh
brindle_install_deps

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"

# The viewer and the page renderers are still to come; until then this runs brindle's
# demonstration: GB2312 text shown as it is and as Traditional Chinese through Big5.
brindle=build/bin/brindle
sample=${1:-samples/sample-gb.txt}
echo "== $sample (GB2312, shown as UTF-8)"
"$brindle" convert --from gb --to utf8 <"$sample"
echo "== converted to Big5 (shown as UTF-8)"
"$brindle" convert --from gb --to big5 <"$sample" | "$brindle" convert --from big5 --to utf8
