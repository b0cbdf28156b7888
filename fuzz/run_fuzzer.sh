#!/bin/sh
# Runs one libFuzzer target of a fuzzing build for a while, with its dictionary when it has one,
# over a scratch copy of its seeds. Crashes land in fuzz/regressions/TARGET/, and so do the
# inputs that reach code the seeds do not (after a merge), to be replayed by every test run.
#
#   CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DKELVARN_FUZZ=ON -DKELVARN_TESTS=OFF
#   cmake --build build-fuzz
#   fuzz/run_fuzzer.sh TARGET SECONDS [BUILD_DIR]
set -eu
target=$1
seconds=$2
build=${3:-build-fuzz}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/corpus" "$here/regressions/$target"
cp -r "$here/corpus/$target/." "$work/corpus/" 2>/dev/null || true
cp -r "$here/regressions/$target/." "$work/corpus/" 2>/dev/null || true
case $target in
  png|tiff|jpeg) dict="$here/dictionaries/$target.dict" ;;
  png_differential) dict="$here/dictionaries/png.dict" ;;
  load_image_file)
    dict="$work/all.dict"
    cat "$here/dictionaries/"*.dict >"$dict" ;;
  *) dict= ;;
esac
set -- "$build/fuzz/$target" "$work/corpus" -max_total_time="$seconds" -max_len=65536 \
  -timeout=10 -rss_limit_mb=3072 -malloc_limit_mb=256 -print_final_stats=1 \
  -artifact_prefix="$here/regressions/$target/"
[ -n "$dict" ] && set -- "$@" -dict="$dict"
status=0
nice -n 10 "$@" || status=$?

mkdir -p "$work/merged"
cp -r "$here/corpus/$target/." "$here/regressions/$target/." "$work/merged/" 2>/dev/null || true
ls "$work/merged" >"$work/known"
nice -n 10 "$build/fuzz/$target" -merge=1 -malloc_limit_mb=256 \
  -artifact_prefix="$here/regressions/$target/" "$work/merged" "$work/corpus" >"$work/merge.log" 2>&1
for f in "$work/merged"/*; do
  grep -qxF "$(basename "$f")" "$work/known" || cp "$f" "$here/regressions/$target/"
done
exit $status
