#!/usr/bin/env bash
# Makes docs/kelvarn-window.png: the converter window as the program itself renders it
# (offscreen), after a folder with a few pictures was chosen. Needs the test build (build/).
set -euo pipefail
cd "$(dirname "$0")/.."
driven=build/tests/app/kelvarn_driven
[ -x "$driven" ] || { echo "build the tests first: cmake --build build --target kelvarn_driven"; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
pictures="$work/假期照片"
mkdir -p "$pictures" "$work/runtime"
chmod 700 "$work/runtime"
# Listing reads names only, so empty files do.
for name in 海边.png 日落.PNG 山顶合影.png garden.png night-sky.png; do
  : > "$pictures/$name"
done
cat > "$work/script" <<SCRIPT
folder $pictures
click choose
grab $PWD/docs/kelvarn-window.png
close
SCRIPT
QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work/runtime" KELVARN_DRIVER_SCRIPT="$work/script" \
  KELVARN_DRIVER_LOG="$work/log" "$driven"
cat "$work/log"
