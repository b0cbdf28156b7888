#!/usr/bin/env bash
# The window's batch against the shell's: the bench workload's BMPs converted to PNG by the
# converter's own batch (the real program image, offscreen, timed from the click on 转PNG to the
# end-of-run box) and by `xargs -P N` of kelvarn-convert, alternating, RUNS times each; prints
# the medians and their ratio. Outputs of the two are compared byte for byte.
#
#   bench/batch-vs-shell.sh BUILD_DIR [WORKERS] [RUNS]      (after bench/make-workload.sh)
set -euo pipefail

build=$(realpath "${1:?usage: batch-vs-shell.sh BUILD_DIR [WORKERS] [RUNS]}")
workers=${2:-2}
runs=${3:-5}
here=$(cd "$(dirname "$0")" && pwd)
pictures="$here/work/in/bmp"
[ -d "$pictures" ] || { echo "make the workload first: bench/make-workload.sh $build/kelvarn-convert"; exit 1; }
driven="$build/tests/app/kelvarn_driven"
convert="$build/kelvarn-convert"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/program" "$work/tmp" "$work/runtime" "$work/shell"
chmod 700 "$work/runtime"
cp "$driven" "$work/program/kelvarn"
cat > "$work/script" <<SCRIPT
click bmp
folder $pictures
click choose
box
time click topng
close
SCRIPT

window_run() {
  rm -rf "$work/program/PNG" "$work/log"
  QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work/runtime" TMPDIR="$work/tmp" \
    KELVARN_DRIVER_SCRIPT="$work/script" KELVARN_DRIVER_LOG="$work/log" \
    KELVARN_BATCH_WORKERS="$workers" "$work/program/kelvarn" >/dev/null 2>&1
  grep -q '^box 图片转PNG成功' "$work/log" || { echo "the window's batch failed" >&2; exit 1; }
  awk '/^time click topng/ {print $4 / 1000}' "$work/log"
}

shell_run() {
  rm -rf "$work/shell"/*
  local start end
  start=$(date +%s.%N)
  (cd "$pictures" && ls -- *.bmp | TMPDIR="$work/tmp" xargs -P "$workers" -I{} \
    sh -c '"$1" png "$2" "$3/$(basename "$2" .bmp).PNG" >/dev/null' _ "$convert" {} "$work/shell")
  end=$(date +%s.%N)
  echo "$end - $start" | bc
}

window=()
shell=()
for ((i = 0; i < runs; i++)); do
  window+=("$(window_run)")
  shell+=("$(shell_run)")
done
for f in "$work/shell"/*.PNG; do
  cmp -s "$f" "$work/program/PNG/$(basename "$f")" || { echo "outputs differ: $f" >&2; exit 1; }
done
python3 - "$workers" "${window[*]}" "${shell[*]}" <<'PY'
import statistics, sys
workers = sys.argv[1]
window = [float(x) for x in sys.argv[2].split()]
shell = [float(x) for x in sys.argv[3].split()]
w, s = statistics.median(window), statistics.median(shell)
print("window batch, %s workers: median %.2f s (%s)" % (workers, w, " ".join("%.2f" % x for x in window)))
print("xargs -P%s kelvarn-convert: median %.2f s (%s)" % (workers, s, " ".join("%.2f" % x for x in shell)))
print("window / shell: %.3f (target <= 1.05); outputs byte-identical" % (w / s))
PY
