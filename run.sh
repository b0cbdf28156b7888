#!/usr/bin/env bash
# Installs what is missing, builds Kelvarn, and starts it.
#
#   ./run.sh               build and start
#   ./run.sh --install     build, then put Kelvarn in ~/Kelvarn and the applications menu
#   ./run.sh --uninstall   take out what --install added (the BMP and PNG folders stay)
set -euo pipefail
cd "$(dirname "$0")"
if [ "${1:-}" = --uninstall ]; then
  exec ./scripts/install-desktop.sh --uninstall
fi
./scripts/install-deps.sh

# The same build folder as ./test.sh; only the program itself is built here. The tests are
# configured only where their toolchain is installed (./test.sh installs it).
tests=ON
for p in libgtest-dev libgmock-dev; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || tests=OFF
done
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DKELVARN_TESTS=$tests >/dev/null
cmake --build build -j "$(nproc)" --target kelvarn kelvarn-convert kelvarn_icon
if [ "${1:-}" = --install ]; then
  exec ./scripts/install-desktop.sh build
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ "${QT_QPA_PLATFORM:-}" != offscreen ]; then
  echo "No display here. Start Kelvarn under Xvfb: apt-get install xvfb && xvfb-run -a build/kelvarn"
  exit 1
fi
exec build/kelvarn
