#!/usr/bin/env bash
# Fills DIR with the real documents of the regression corpus: PDF manuals carried by Debian
# packages, listed in tests/corpus/debian-files.txt. Each package is downloaded (never
# installed) with apt-get download into a cache, unpacked with dpkg -x into a temporary folder,
# and the listed files are copied to DIR as PACKAGE--BASENAME (a .pdf.gz is unpacked).
#
#     scripts/fetch-corpus.sh DIR
#
# The cache is ${BRINDLE_CORPUS_CACHE:-$HOME/.cache/brindle-corpus}; a second run finds every
# package there and needs no network. Files already in DIR are kept.
# Exit status: 0 done, 1 a package could not be had or lacks a listed file, 2 bad usage.
set -euo pipefail

[ $# -eq 1 ] || { echo "usage: $0 DIR" >&2; exit 2; }
out=$1
here=$(cd "$(dirname "$0")" && pwd)
list=$here/../tests/corpus/debian-files.txt
cache=${BRINDLE_CORPUS_CACHE:-$HOME/.cache/brindle-corpus}
mkdir -p "$out" "$cache"

# The target name of one listed file.
target_name() {
    local base
    base=$(basename "$2")
    echo "$1--${base%.gz}"
}

mapfile -t entries < <(grep -v '^[[:space:]]*\(#\|$\)' "$list")

# The packages that still have a file to give.
needed=()
for entry in "${entries[@]}"; do
    read -r pkg path <<<"$entry"
    [ -s "$out/$(target_name "$pkg" "$path")" ] && continue
    [[ " ${needed[*]} " == *" $pkg "* ]] || needed+=("$pkg")
done
[ ${#needed[@]} -eq 0 ] && exit 0

cached_deb() {
    compgen -G "$cache/${1}_*.deb" | head -n 1
}

missing=()
for pkg in "${needed[@]}"; do
    [ -n "$(cached_deb "$pkg")" ] || missing+=("$pkg")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=()
    if [ "$(id -u)" -ne 0 ] && command -v sudo >/dev/null; then sudo=(sudo); fi
    # A fresh machine has no package lists yet: apt-get download then knows no package.
    if ! apt-cache show --no-all-versions "${missing[0]}" >/dev/null 2>&1; then
        "${sudo[@]}" apt-get update -qq
    fi
    echo "Downloading: ${missing[*]}"
    # The sandbox user of apt may not write into the cache, which belongs to the caller.
    (cd "$cache" && apt-get download -qq -o APT::Sandbox::User="$(id -un)" "${missing[@]}")
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
for pkg in "${needed[@]}"; do
    deb=$(cached_deb "$pkg")
    [ -n "$deb" ] || { echo "$pkg: not downloaded" >&2; status=1; continue; }
    rm -rf "$work/root"
    dpkg -x "$deb" "$work/root"
    for entry in "${entries[@]}"; do
        read -r entry_pkg path <<<"$entry"
        [ "$entry_pkg" = "$pkg" ] || continue
        name=$(target_name "$pkg" "$path")
        source=$work/root/$path
        if [ ! -f "$source" ]; then
            echo "$pkg: no $path in $(basename "$deb")" >&2
            status=1
        elif [[ $path == *.gz ]]; then
            gzip -dc "$source" >"$out/$name.part" && mv "$out/$name.part" "$out/$name"
        else
            cp -L "$source" "$out/$name"
        fi
    done
done
exit $status
