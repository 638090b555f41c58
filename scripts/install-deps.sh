#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the viewer need, when any is missing.
# Sourced by run.sh and test.sh; works as root and, through sudo, as an ordinary user.
set -euo pipefail

brindle_packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-l10n-tools qt6-tools-dev-tools libgl-dev
  libfontconfig-dev libfreetype-dev libjpeg62-turbo-dev
  googletest libgtest-dev libbenchmark-dev
  zlib1g-dev libtiff-dev
  nettle-dev
  fonts-noto-cjk fonts-arphic-uming fonts-arphic-ukai fonts-wqy-zenhei fonts-liberation2 fonts-dejavu-core
  fonts-urw-base35 poppler-data
  opencc libopencc-data
  qpdf poppler-utils python3 python3-pil time
  libjbig2dec0-dev libopenjp2-7-dev
  libpng-dev
  liblcms2-dev
  mupdf-tools
  clang libclang-rt-14-dev
)

brindle_install_deps() {
  local missing=()
  local pkg
  for pkg in "${brindle_packages[@]}"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0

  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "Missing packages (${missing[*]}) and no sudo to install them." >&2; return 1; }
    sudo=(sudo)
  fi
  echo "Installing: ${missing[*]}"
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
