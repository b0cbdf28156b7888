#!/usr/bin/env bash
# The desktop install into a scratch home folder: the program, its icon and a desktop entry that
# passes desktop-file-validate; a second install replaces the first; the uninstall removes
# exactly what the install added and keeps the user's BMP and PNG folders.
#
#   tests/scripts/install-desktop-test.sh BUILD_DIR
set -euo pipefail
build=$(realpath "${1:?usage: install-desktop-test.sh BUILD_DIR}")
script="$(cd "$(dirname "$0")/../.." && pwd)/scripts/install-desktop.sh"
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
fail() { echo "FAILED: $*"; exit 1; }
listing() { (cd "$home" && find . | sort); }

export HOME="$home" XDG_DATA_HOME="$home/.local/share"
unset KELVARN_HOME
mkdir -p "$home/.local/share/applications"
before=$(listing)
"$script" "$build" >/dev/null
"$script" "$build" >/dev/null
entry="$home/.local/share/applications/kelvarn.desktop"
for f in "$home/Kelvarn/kelvarn" "$home/Kelvarn/kelvarn.png" "$entry"; do
  [ -f "$f" ] || fail "$f was not installed"
done
[ -x "$home/Kelvarn/kelvarn" ] || fail "the program is not executable"
desktop-file-validate "$entry" || fail "the desktop entry does not validate"
grep -qx "Exec=$home/Kelvarn/kelvarn" "$entry" || fail "Exec does not name the installed program"
grep -qx "Path=$home/Kelvarn" "$entry" || fail "the program does not start in its own folder"
cmp -s "$build/kelvarn" "$home/Kelvarn/kelvarn" || fail "the installed program differs"

mkdir -p "$home/Kelvarn/PNG"
echo picture > "$home/Kelvarn/PNG/a.PNG"
out=$("$script" --uninstall)
echo "$out" | grep -q "kept $home/Kelvarn/PNG" || fail "the uninstall does not say it kept PNG"
[ -f "$home/Kelvarn/PNG/a.PNG" ] || fail "the user's picture was removed"
rm -r "$home/Kelvarn/PNG"
rmdir "$home/Kelvarn" || fail "the uninstall left files in $home/Kelvarn"
[ "$(listing)" = "$before" ] || fail "the uninstall left or removed something else: $(listing)"
echo "1 passed, 0 failed"
