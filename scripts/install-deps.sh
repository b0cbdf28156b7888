#!/usr/bin/env bash
# Installs the Debian packages Kelvarn needs, only those that are missing.
#
#   scripts/install-deps.sh [--tests] [PACKAGE...]
#
# Without --tests: what building and running the program needs (./run.sh). With --tests also
# the test toolchain (./test.sh). Further packages may follow (bench/run.sh adds its peers).
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-translations-l10n fonts-arphic-uming fonts-wqy-microhei
  libpng-dev zlib1g-dev libdeflate-dev libjpeg-dev libtiff-dev
  libsdl2-mixer-dev timgm6mb-soundfont
)
if [ "${1:-}" = --tests ]; then
  shift
  packages+=(libgtest-dev libgmock-dev clang libclang-rt-14-dev pngcheck desktop-file-utils python3)
fi
if [ "$#" -gt 0 ]; then
  packages+=("$@")
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ "${#missing[@]}" -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
if [ "$(id -u)" -ne 0 ]; then
  sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
