#!/usr/bin/env bash
# Puts Kelvarn in the desktop's applications menu, or takes it out again.
#
#   scripts/install-desktop.sh [BUILD_DIR]     install (default build/, as ./run.sh builds it)
#   scripts/install-desktop.sh --uninstall     remove exactly what the install added
#
# The program goes into a folder of the user's own, KELVARN_HOME (default ~/Kelvarn), because
# it writes its BMP and PNG folders beside itself; the desktop entry goes into the user's
# applications folder ($XDG_DATA_HOME/applications, default ~/.local/share/applications).
# Nothing is written outside the home folder. The install lists what it added in
# KELVARN_HOME/.kelvarn-installed; the uninstall removes those files and keeps the BMP and PNG
# folders, which hold the user's pictures.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
home_dir=${KELVARN_HOME:-$HOME/Kelvarn}
applications=${XDG_DATA_HOME:-$HOME/.local/share}/applications
entry="$applications/kelvarn.desktop"
manifest="$home_dir/.kelvarn-installed"

uninstall_program() {
  if [ ! -f "$manifest" ]; then
    echo "Kelvarn is not installed in $home_dir (no $manifest)."
    return 0
  fi
  while IFS= read -r path; do
    if [ -n "$path" ] && { [ -f "$path" ] || [ -L "$path" ]; }; then
      rm -f -- "$path"
      echo "removed $path"
    fi
  done < "$manifest"
  rm -f -- "$manifest"
  echo "removed $manifest"
  for kept in BMP PNG; do
    [ -d "$home_dir/$kept" ] && echo "kept $home_dir/$kept (your converted pictures)"
  done
  rmdir -- "$home_dir" 2>/dev/null && echo "removed $home_dir (empty)" || true
}

install_program() {
  local build=${1:-$root/build}
  for f in kelvarn kelvarn.png; do
    [ -f "$build/$f" ] || { echo "$build/$f is missing: build first (./run.sh builds it)" >&2; exit 1; }
  done
  mkdir -p "$home_dir" "$applications"
  # A second install replaces the first one's files.
  [ -f "$manifest" ] && uninstall_program >/dev/null
  mkdir -p "$home_dir"
  install -m 0755 "$build/kelvarn" "$home_dir/kelvarn"
  install -m 0644 "$build/kelvarn.png" "$home_dir/kelvarn.png"
  cat > "$entry" <<ENTRY
[Desktop Entry]
Type=Application
Version=1.0
Name=Kelvarn
Name[zh_CN]=Kelvarn 图片格式转换
GenericName=BMP and PNG converter
GenericName[zh_CN]=BMP 与 PNG 图片转换
Comment=Converts a folder of pictures between BMP and PNG
Comment[zh_CN]=把一个文件夹的图片在 BMP 与 PNG 之间批量转换
Exec=$home_dir/kelvarn
Path=$home_dir
Icon=$home_dir/kelvarn.png
Terminal=false
Categories=Graphics;2DGraphics;RasterGraphics;
ENTRY
  chmod 0644 "$entry"
  printf '%s\n' "$home_dir/kelvarn" "$home_dir/kelvarn.png" "$entry" > "$manifest"
  echo "Kelvarn is installed in $home_dir; its BMP and PNG folders will appear there."
  echo "The applications menu lists it under Graphics ($entry)."
  echo "To remove it: ./run.sh --uninstall"
}

if [ "${1:-}" = --uninstall ]; then
  uninstall_program
else
  install_program "$@"
fi
