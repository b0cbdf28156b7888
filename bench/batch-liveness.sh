#!/usr/bin/env bash
# The window's batch on many small pictures, through the real program image (the driven build of
# the tests, offscreen): how long the window system's events wait at worst while the batch runs
# (a 1 ms timer that can only run when they are handled), and what keeping the window alive
# costs: the batch's time with the keep-alive on and switched off, side by side, median of RUNS.
#
#   bench/batch-liveness.sh BUILD_DIR [COUNT] [RUNS]
set -euo pipefail

build=$(realpath "${1:?usage: batch-liveness.sh BUILD_DIR [COUNT] [RUNS]}")
count=${2:-4000}
runs=${3:-5}
here=$(cd "$(dirname "$0")" && pwd)
driven="$build/tests/app/kelvarn_driven"
[ -x "$driven" ] || { echo "build the tests first: cmake --build $build --target kelvarn_driven"; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 "$here/make-batch-folder.py" "$work/pictures" "$count" 64 48
mkdir -p "$work/program" "$work/tmp" "$work/runtime"
chmod 700 "$work/runtime"
cp "$driven" "$work/program/kelvarn"
cat > "$work/script" <<SCRIPT
click bmp
folder $work/pictures
click choose
pulse
box
time click topng
close
SCRIPT

run() { # keep-alive switched off: 0 or 1
  rm -rf "$work/program/PNG" "$work/log"
  QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work/runtime" TMPDIR="$work/tmp" \
    KELVARN_DRIVER_SCRIPT="$work/script" KELVARN_DRIVER_LOG="$work/log" \
    KELVARN_DRIVER_NO_KEEPALIVE="$1" "$work/program/kelvarn" >/dev/null 2>&1
  local ms worst
  ms=$(awk '/^time click topng/ {print $4}' "$work/log")
  worst=$(sed -n 's/^pulse worst=\([0-9.]*\).*/\1/p' "$work/log")
  echo "$1 $ms ${worst:--}"
}

results=()
for ((i = 0; i < runs; i++)); do
  results+=("$(run 0)" "$(run 1)")
done
printf '%s\n' "${results[@]}" | python3 -c '
import statistics, sys
on, off, worst = [], [], []
for line in sys.stdin:
    k, ms, w = line.split()
    (off if k == "1" else on).append(float(ms))
    if k == "0":
        worst.append(float(w))
print("batch of %s small pictures, %d runs each, side by side" % (sys.argv[1], len(on)))
print("  keep-alive on : median %.0f ms  (runs: %s)" % (statistics.median(on), " ".join("%.0f" % x for x in on)))
print("  keep-alive off: median %.0f ms  (runs: %s)" % (statistics.median(off), " ".join("%.0f" % x for x in off)))
print("  cost of the keep-alive: %+.1f %%" % (100 * (statistics.median(on) / statistics.median(off) - 1)))
print("  longest wait of the window system'"'"'s events, keep-alive on: worst %.1f ms, median of runs %.1f ms" % (max(worst), statistics.median(worst)))
' "$count"
