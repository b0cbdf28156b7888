#!/usr/bin/env bash
# Closes the window at random moments of a batch, through the window manager's close request,
# as a user's click on the caption's close button would, and checks each run ends as it should:
# the end-of-run box mapped and visible, after its answer the program gone with status 0, every
# target in the PNG folder whole, no hidden sibling beside them and nothing left in the
# temporary folder.
#
#   bench/batch-close-stress.sh KELVARN RUNS [FOLDER...]
#
# Needs an X display (DISPLAY) with a window manager (openbox under Xvfb will do), xdotool,
# wmctrl, x11-utils and pngcheck. Each run alternates over the folders given; by default a
# folder of 2,000 small pictures and one of 20 large ones are made in a scratch folder.
# KELVARN_CLOSE_MAX sets the latest moment of the close in seconds after the click (default:
# 1.5 for small pictures, 3 for large ones). A close that comes after the box is up must do
# nothing; the script then closes the window itself once the box is answered.
set -uo pipefail

program=$(realpath "${1:?usage: batch-close-stress.sh KELVARN RUNS [FOLDER...]}")
runs=${2:?runs}
shift 2
here=$(cd "$(dirname "$0")" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
folders=("$@")
if [ ${#folders[@]} -eq 0 ]; then
  python3 "$here/make-batch-folder.py" "$scratch/small" 2000 64 48
  python3 "$here/make-batch-folder.py" "$scratch/large" 20 2400 1600 noise
  folders=("$scratch/small" "$scratch/large")
fi

log() { echo "$*" >&2; }

# Upper-left corner of a window's client area on the screen.
client_origin() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF} END {print x, y}'
}

wait_for() { # seconds command...
  local until=$((SECONDS + $1)); shift
  while ! "$@"; do
    [ $SECONDS -ge $until ] && return 1
    sleep 0.05
  done
}

main_window() { wmctrl -l | awk '/Kelvarn/ {print $1; exit}'; }
box_window() { wmctrl -l | awk '!/Kelvarn/ && !/请选择文件夹/ {print $1; exit}'; }
has_main() { [ -n "$(main_window)" ]; }
has_box() { [ -n "$(box_window)" ]; }
has_dialog() { wmctrl -l | grep -q 请选择文件夹; }
no_dialog() { ! has_dialog; }
gone() { ! kill -0 "$1" 2>/dev/null; }

good=0
bad=0
for ((run = 0; run < runs; run++)); do
  folder=${folders[$((run % ${#folders[@]}))]}
  count=$(find "$folder" -maxdepth 1 -iname '*.bmp' | wc -l)
  dir="$scratch/run$run"
  mkdir -p "$dir/prog" "$dir/tmp" "$dir/xdg"
  chmod 700 "$dir/xdg"
  cp "$program" "$dir/prog/kelvarn"
  max=${KELVARN_CLOSE_MAX:-$([ "$count" -ge 200 ] && echo 1.5 || echo 3)}
  delay=$(python3 -c "import random; print(round(random.uniform(0, $max), 3))")

  (cd "$dir/prog" && TMPDIR="$dir/tmp" XDG_RUNTIME_DIR="$dir/xdg" exec ./kelvarn) >"$dir/out" 2>&1 &
  pid=$!
  verdict=""
  box_first=0
  if ! wait_for 20 has_main; then verdict="no window"; fi
  if [ -z "$verdict" ]; then
    main=$(main_window)
    read -r x y < <(client_origin "$main")
    xdotool mousemove $((x + 399)) $((y + 28)) click 1   # the BMP type box
    sleep 0.2
    xdotool mousemove $((x + 356)) $((y + 65)) click 1   # 选择图片目录
    if wait_for 10 has_dialog; then
      sleep 0.3
      xdotool type --delay 5 "$folder"
      sleep 0.3
      xdotool key Return
      wait_for 10 no_dialog || verdict="folder dialog stayed"
    else
      verdict="no folder dialog"
    fi
  fi
  if [ -z "$verdict" ]; then
    sleep 0.5
    xdotool mousemove $((x + 406)) $((y + 176)) click 1  # 转PNG
    sleep "$delay"
    # A close that comes while the box is already open does nothing; the program goes on.
    has_box && box_first=1
    wmctrl -i -c "$main"
    if wait_for 180 has_box; then
      box=$(box_window)
      sleep 0.3
      if ! xwininfo -id "$box" | grep -q IsViewable; then
        verdict="box not viewable"
      else
        # While the box is open the owner's close button does nothing.
        wmctrl -i -c "$main"
        sleep 0.3
        if gone "$pid" || ! has_box; then verdict="close went through the box"; fi
        xdotool windowactivate --sync "$box" key Return 2>/dev/null
      fi
    else
      verdict="no box"
    fi
  fi
  if [ -z "$verdict" ] && [ "$box_first" = 1 ]; then
    sleep 1
    if gone "$pid"; then
      verdict="a close while the box was open ended the program"
    else
      wmctrl -i -c "$main"
    fi
  fi
  if [ -z "$verdict" ] && ! wait_for 15 gone "$pid"; then verdict="still running after the answer"; fi
  kill -9 "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  status=$?
  if [ -z "$verdict" ] && [ "$status" -ne 0 ]; then verdict="exit status $status"; fi
  converted=$(find "$dir/prog/PNG" -maxdepth 1 -name '*.PNG' 2>/dev/null | wc -l)
  if [ -z "$verdict" ]; then
    if [ -n "$(find "$dir/tmp" -mindepth 1 | head -1)" ]; then verdict="temporary files left";
    elif [ -n "$(find "$dir/prog/PNG" -maxdepth 1 -name '.*' 2>/dev/null | head -1)" ]; then verdict="hidden sibling left";
    elif [ "$converted" -gt 0 ] && ! pngcheck -q "$dir/prog/PNG"/*.PNG >/dev/null 2>&1; then verdict="damaged target";
    fi
  fi
  if [ -z "$verdict" ]; then
    good=$((good + 1))
    phase=$([ "$box_first" = 1 ] && echo "while the box was open" || echo "during the batch")
    log "run $run: ok ($(basename "$folder"), close at ${delay}s $phase, $converted of $count converted)"
  else
    bad=$((bad + 1))
    log "run $run: FAILED: $verdict ($(basename "$folder"), close at ${delay}s, $converted of $count converted)"
    cp -r "$dir" "${TMPDIR:-/tmp}/kelvarn-failed-run$run" 2>/dev/null
  fi
  rm -rf "$dir"
done
echo "$good of $runs runs ended as they should; $bad did not"
[ "$bad" -eq 0 ]
