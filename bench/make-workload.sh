#!/usr/bin/env bash
# Makes the benchmark workload in bench/work/ (git-ignored): twelve real photographs of 1 to
# 12 megapixels, cut from the photographs of a Debian wallpaper package that is downloaded and
# unpacked here, never installed. Each picture exists as a non-interlaced 8-bit RGB PNG
# (in/png/) and as a 24-bit BMP written by kelvarn-convert (in/bmp/).
#
#   bench/make-workload.sh KELVARN_CONVERT
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
work="$here/work"
convert_tool=${1:?usage: make-workload.sh PATH_TO_KELVARN_CONVERT}
im=/usr/bin/convert-im6.q16
package=plasma-workspace-wallpapers

mkdir -p "$work/deb" "$work/in/png" "$work/in/bmp"
if [ -f "$work/in/.complete" ]; then
  exit 0
fi

cd "$work/deb"
if ! ls ./*.deb >/dev/null 2>&1; then
  # The package lists may not be there yet on a fresh machine.
  apt-get download "$package" || { apt-get update -qq && apt-get download "$package"; }
fi
[ -d root ] || dpkg -x ./*.deb root
photos="$work/deb/root/usr/share/wallpapers"
p() { echo "$photos/$1/contents/images/2560x1600.jpg"; }

# name  source expression (ImageMagick arguments producing the picture)
# Crops of single photographs for 1 to 4 MP, side-by-side and 2x2 mosaics above that.
make_png() {
  local name=$1
  shift
  "$im" "$@" -strip -interlace none -define png:compression-level=6 "PNG24:$work/in/png/$name.png"
}
make_png p01_1.0mp   "$(p Autumn)"       -crop 1200x840+600+380 +repage
make_png p02_1.1mp   "$(p Kite)"         -crop 1100x1000+700+300 +repage
make_png p03_1.5mp   "$(p BytheWater)"   -crop 1500x1000+500+300 +repage
make_png p04_2.0mp   "$(p ColdRipple)"   -crop 1800x1110+380+240 +repage
make_png p05_2.5mp   "$(p ColorfulCups)" -crop 2000x1250+280+175 +repage
make_png p06_3.0mp   "$(p DarkestHour)"  -crop 2400x1250+80+175 +repage
make_png p07_3.5mp   "$(p EveningGlow)"  -crop 2560x1370+0+115 +repage
make_png p08_4.1mp   "$(p FallenLeaf)"
make_png p09_4.1mp   "$(p Grey)"
make_png p10_4.8mp   "$(p Path)" "$(p summer_1am)" +append -crop 3000x1600+1060+0 +repage
make_png p11_5.8mp   "$(p Kite)" "$(p OneStandsOut)" +append -crop 3600x1600+760+0 +repage
make_png p12_12.0mp  \( "$(p Autumn)" "$(p BytheWater)" +append \) \
                     \( "$(p ColdRipple)" "$(p ColorfulCups)" +append \) -append \
                     -crop 4240x2830+440+185 +repage

for f in "$work"/in/png/*.png; do
  name=$(basename "$f" .png)
  "$convert_tool" bmp "$f" "$work/in/bmp/$name.bmp" >/dev/null
done
touch "$work/in/.complete"
