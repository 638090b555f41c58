#!/usr/bin/env bash
# Brings the viewer's texts into its translation files (new texts arrive untranslated; texts
# no longer used are dropped). Translate them with any .ts editor, then build.
set -euo pipefail
cd "$(dirname "$0")/.."
lupdate=$(command -v lupdate || echo /usr/lib/qt6/bin/lupdate)
for language in en zh_TW; do
    "$lupdate" -no-obsolete -locations none -source-language zh_CN -target-language "$language" \
        viewer/src -ts "viewer/translations/brindle_$language.ts"
done
