#!/usr/bin/env bash
# The package as a clerk's machine gets it: unpacked into a scratch root (dpkg -x), its files where the menu and
# the program look for them, and the installed program started from the menu entry's command line on a new
# database made by the installed vardelo-db, headless, with a home folder of its own, until the main window
# shows. Exit 77 (skipped) when the build folder holds no package, or one older than the program.
set -euo pipefail
build_dir=${1:?build folder}
deb=$(ls -t "$build_dir"/vardelo_*.deb 2>/dev/null | head -n 1 || true)
if [ -z "$deb" ]; then
  echo "no package in $build_dir: build it with scripts/package"
  exit 77
fi
if [ -f "$build_dir/vardelo" ] && [ "$build_dir/vardelo" -nt "$deb" ]; then
  echo "$deb is older than the program built since: build it again with scripts/package"
  exit 77
fi
echo "package: $deb"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
root=$scratch/root
dpkg -x "$deb" "$root"

fail() { echo "FAIL: $*"; exit 1; }
for file in usr/bin/vardelo usr/bin/vardelo-db usr/share/vardelo/FjLista7A.frf usr/share/vardelo/ZOZED2009.HLP \
  usr/share/vardelo/db/demo.sql usr/share/applications/vardelo.desktop \
  usr/share/icons/hicolor/scalable/apps/vardelo.svg usr/share/man/man1/vardelo.1.gz \
  usr/share/man/man1/vardelo-db.1.gz usr/share/doc/vardelo/copyright usr/share/metainfo/hu.kestrova.vardelo.metainfo.xml; do
  [ -f "$root/$file" ] || fail "$file is missing"
done
grep -qx 'Exec=vardelo --user-folder' "$root/usr/share/applications/vardelo.desktop" || fail "menu entry's command"
grep -qx 'Categories=Office;' "$root/usr/share/applications/vardelo.desktop" || fail "menu entry's category"
if readelf -S "$root/usr/bin/vardelo" | grep -q '\.debug_info'; then fail "vardelo is not stripped"; fi

# A new user: nothing in the home folder, no settings, the installed files found beside the program.
export HOME=$scratch/home XDG_DATA_HOME=$scratch/home/.local/share XDG_CONFIG_HOME=$scratch/home/.config
export QT_QPA_PLATFORM=offscreen VARDELO_QUIT_WHEN_SHOWN=1
unset VARDELO_SHARE_DIR VARDELO_DATABASE VARDELO_DRIVE_C
user_folder=$XDG_DATA_HOME/Vardelo
mkdir -p "$user_folder" "$scratch/elsewhere"
"$root/usr/bin/vardelo-db" --demo "$user_folder/du2010.fdb" || fail "vardelo-db"
cd "$scratch/elsewhere"
caption=$(timeout 120 "$root/usr/bin/vardelo" --user-folder) || fail "the program ended with $?"
echo "main window: $caption"
[[ "$caption" == "Felvásárlási jegy -  Verzió: "* ]] || fail "the main window did not show"
[ -z "$(ls -A "$scratch/elsewhere")" ] || fail "files were left in the folder it was started in"
echo "OK"
