#!/usr/bin/env bash
# Every text of the viewer's sources stands translated in both translation files: the sources'
# texts are brought into copies of the files, and no copy may then hold an untranslated text.
set -euo pipefail
sources=$1
translations=$2
lupdate=$(command -v lupdate || echo /usr/lib/qt6/bin/lupdate)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
for language in en zh_TW; do
    cp "$translations/brindle_$language.ts" "$work/"
    "$lupdate" -silent -no-obsolete -locations none "$sources" -ts "$work/brindle_$language.ts"
    missing=$(grep -c 'type="unfinished"' "$work/brindle_$language.ts" || true)
    if [ "$missing" != 0 ]; then
        echo "brindle_$language.ts: $missing texts untranslated (run scripts/update-translations.sh and translate them):"
        grep -B1 'type="unfinished"' "$work/brindle_$language.ts" | grep '<source>' | head -20
        status=1
    fi
done
exit $status
