#!/usr/bin/env bash
# The conversion benchmark: kelvarn-convert against ImageMagick 6 and libvips with equal PNG
# settings (Adam7, 8-bit RGB, zlib level 6, every filter, filtered strategy, no metadata), in
# both directions, over the workload of make-workload.sh, with the zlib floors measured in the
# same run, and the image library's stages (read, inflate or filter, deflate, pixel file, write)
# each beside its floor on the same data (libdeflate's one-call inflate or its deflate at the
# writer's level, a plain write of the output's bytes). kelvarn's PNGs must be Adam7 8-bit RGB with only IHDR, IDAT and IEND and hold the
# source's pixels; their total size is set against libpng's default output of the same pictures.
# Prints markdown tables and ratio lines (also kept in bench/work/results.md).
#
#   bench/run.sh [REPS]      REPS repetitions of the timed passes (default 3); FLOOR_REPS
#                            (default 3) and BATCH_REPS (default 2) for the floors and for the
#                            converter's batch through its window, one worker against two
#
# Installs the packages only the benchmark needs. A full run takes about 5 to 10 minutes on a
# busy 2-core machine with 3 repetitions.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
build="$root/build"
reps=${1:-3}
floor_reps=${FLOOR_REPS:-3}

"$root/scripts/install-deps.sh" --tests libbenchmark-dev imagemagick libvips-tools time python3 xvfb
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKELVARN_BENCH=ON -DKELVARN_TESTS=ON
else
  cmake "$build" -DKELVARN_BENCH=ON -DKELVARN_TESTS=ON >/dev/null
fi
cmake --build "$build" -j"$(nproc)" --target kelvarn-convert kelvarn_png_floors kelvarn_png_stages \
  kelvarn_png_reference kelvarn kelvarn_driven

"$here/make-workload.sh" "$build/kelvarn-convert"
exec python3 "$here/timing.py" "$build" "$reps" "$floor_reps" "${BATCH_REPS:-2}"
