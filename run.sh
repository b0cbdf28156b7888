#!/usr/bin/env bash
# Installs what is missing, builds Kelvarn, and starts it.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh

# The same build folder as ./test.sh; only the program itself is built here. The tests are
# configured only where their toolchain is installed (./test.sh installs it).
tests=ON
for p in libgtest-dev libgmock-dev; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || tests=OFF
done
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DKELVARN_TESTS=$tests >/dev/null
cmake --build build -j "$(nproc)" --target kelvarn kelvarn-convert

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ "${QT_QPA_PLATFORM:-}" != offscreen ]; then
  echo "No display here. Start Kelvarn under Xvfb: apt-get install xvfb && xvfb-run -a build/kelvarn"
  exit 1
fi
exec build/kelvarn
