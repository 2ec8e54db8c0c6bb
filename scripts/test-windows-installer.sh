#!/usr/bin/env bash
# The Windows installer under Wine, as a user meets it: package-windows.sh
# makes it (and one of a higher version) into build/windows/installer-test;
# msiexec /qn installs it for the user alone into
# AppData\Local\Programs\vmxdiag, with the Start-menu entries and the product
# registered for the user; the window of the Start menu (vmxdiag.exe
# --user-folder, from the installed place) makes the working folder with a
# copy of the sample in the user's language and works in it; the higher
# version replaces the installed one in place, an older one is refused over
# it; removing it takes the program files and the menu entries and leaves the
# working folder with the user's changes. Run by test-windows.sh on a virtual
# display, in its Wine prefix; writes nothing outside the prefix and the
# build folder.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
# shellcheck source=scripts/wine-window.sh
source scripts/wine-window.sh
trap 'wine_window_stop; "$wineserver_program" -k 2>/dev/null || true' EXIT
started=$SECONDS

fail() {
    echo "installer: $*" >&2
    exit 1
}

folder=$top/build/windows/installer-test
rm -rf "$folder"
mkdir -p "$folder"
# Whatever Wine would put on the host's desktop shows as newer than this.
touch "$folder/stamp"

version=$(sed -n 's/^project(vmxdiag VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
IFS=. read -r major minor patch <<<"$version"
higher=$major.${minor:-0}.$((${patch:-0} + 1))
bash scripts/package-windows.sh "$folder/dist" >/dev/null
bash scripts/package-windows.sh "$folder/higher" "$higher" >/dev/null
msi=$folder/dist/vmxdiag-$version-x64.msi
higher_msi=$folder/higher/vmxdiag-$higher-x64.msi
[ -f "$msi" ] && [ -f "$higher_msi" ] || fail "package-windows.sh made no installer"
packed=$SECONDS

# msiexec with a log of its own; its exit status.
msiexec() {
    local log=$1
    shift
    vwine msiexec "$@" /qn /l*v "$(winepath_of "$folder/$log.log")"
}
unix_path() { vwine winepath -u "$1" | tr -d '\r'; }
setting() { vwine cmd /c echo "%$1%" | tr -d '\r'; }
# The values of the registry keys under KEY, as reg prints them.
registry() { vwine reg query "$1" /s 2>/dev/null | tr -d '\r' || true; }
uninstall_keys='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
user_products='HKCU\Software\Microsoft\Installer\Products'
# The uninstall entries of the product; Wine keeps them under HKLM.
entries() {
    registry "$uninstall_keys" | awk '/^HKEY/ { key = $0 } /DisplayName +REG_SZ +VMX Engine Diagnostics$/ { print key }'
}
products() { registry "$user_products" | grep -c 'ProductName *REG_SZ *VMX Engine Diagnostics$' || true; }
entry_value() { vwine reg query "$1" /v "$2" | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"; }
# Whether a shortcut holds text that matches PATTERN: its target's path is in
# the system's code page, its other texts in UTF-16 (read from both offsets).
link_holds() {
    python3 -c 'import sys; d = open(sys.argv[1], "rb").read()
print(d.decode("latin-1")); print(d.decode("utf-16-le", "replace")); print(d[1:].decode("utf-16-le", "replace"))' "$1" |
        grep -a -- "$2" >/dev/null
}
local_app=$(unix_path "$(setting LOCALAPPDATA)")
programs=$local_app/Programs/vmxdiag
working=$local_app/vmxdiag
menu=$(unix_path "$(setting APPDATA)")"/Microsoft/Windows/Start Menu/Programs/VMX Engine Diagnostics"

# What a run that failed half way left: its products, by their codes.
for key in $(entries); do
    vwine msiexec /x "${key##*\\}" /qn >/dev/null 2>&1 || true
done
rm -rf "$programs" "$working" "$menu"
[ "$(products)" = 0 ] || fail "a product of an earlier run stays installed"

echo "== Wine: the installer, msiexec /i =="
msiexec install /i "$(winepath_of "$msi")" || fail "the install failed (see $folder/install.log)"
for file in vmxdiag.exe vmxdiag-cli.exe database.ini README.txt LICENSE.txt; do
    [ -f "$programs/$file" ] || fail "no $file in $programs"
done
cmp -s "$programs/database.ini" data/database.ini || fail "the installed database.ini is not the sample"
for link in "VMX Engine Diagnostics" "Working folder" "VMX command prompt"; do
    [ -f "$menu/$link.lnk" ] || fail "no Start-menu entry '$link'"
done
[ "$(find "$menu" -type f | wc -l)" = 3 ] || fail "other entries in the menu folder: $(ls "$menu")"
link_holds "$menu/VMX Engine Diagnostics.lnk" 'Programs\\vmxdiag\\vmxdiag.exe' ||
    fail "the window's entry does not start the installed vmxdiag.exe"
link_holds "$menu/VMX Engine Diagnostics.lnk" '--user-folder' ||
    fail "the window's entry does not start it with --user-folder"
link_holds "$menu/Working folder.lnk" 'AppData\\Local\\vmxdiag' ||
    fail "'Working folder' does not open the working folder"
link_holds "$menu/VMX command prompt.lnk" 'C:\\windows\\system32\\cmd.exe' ||
    fail "'VMX command prompt' does not start the command prompt"
link_holds "$menu/VMX command prompt.lnk" '/k set "PATH=C:\\.*Programs\\vmxdiag\\;%PATH%"' ||
    fail "'VMX command prompt' does not put the program folder before PATH"
[ "$(products)" = 1 ] || fail "the product is not registered for the user once"
icon=$(registry "$user_products" | sed -n 's/^ *ProductIcon *REG_SZ *//p')
cmp -s "$(unix_path "$icon")" build/windows/resources/vmxdiag.ico ||
    fail "the entry has not the program's icon: $icon"
entry=$(entries)
[ "$(wc -l <<<"$entry")" = 1 ] || fail "not one uninstall entry: $entry"
[ "$(entry_value "$entry" DisplayVersion)" = "$version" ] || fail "the entry is not of version $version"
[ "$(entry_value "$entry" Publisher)" = "The vmxdiag authors" ] || fail "the entry has no publisher"
# Made by the installer for the entries that open it, and empty.
[ -d "$working" ] && [ -z "$(ls -A "$working")" ] || fail "no empty working folder after the install"

echo "== Wine: the window of the Start menu makes the working folder =="
# As a user who deleted it; the window makes it again. The user reads Russian.
rmdir "$working"
mkdir -p "$folder/started-in"
wine_window_program=$programs/vmxdiag.exe
export LC_ALL=ru_RU.UTF-8
wine_window_start "$folder/started-in" --user-folder
unset LC_ALL
[ -f "$working/database.ini" ] || fail "the window made no database.ini in $working"
cmp -s <(grep -av '^Language=' "$working/database.ini") <(grep -av '^Language=' data/database.ini) ||
    fail "the working folder's database.ini is not the sample's copy"
[ "$(grep -a '^Language=' "$working/database.ini")" = $'Language=RU\r' ] ||
    fail "the copy is not in the user's language (Russian)"
[ "$(ls -A "$working")" = database.ini ] || fail "more than database.ini in $working: $(ls -A "$working")"
wine_window_close || fail "the window did not end well"
# It wrote its language back in the working folder, not where it was started.
[ -z "$(ls -A "$folder/started-in")" ] || fail "the window worked in the folder it was started in"
# The user's own changes, which nothing of the installer may touch.
echo '; the user own line' >>"$working/database.ini"
mkdir -p "$working/logs"
echo 'time,NMOT' >"$working/logs/kept.csv"
cp "$working/database.ini" "$folder/users.ini"

echo "== Wine: a higher version replaces it, an older one is refused =="
msiexec upgrade /i "$(winepath_of "$higher_msi")" || fail "the upgrade failed (see $folder/upgrade.log)"
[ "$(products)" = 1 ] || fail "not one product after the upgrade"
entry=$(entries)
[ "$(wc -l <<<"$entry")" = 1 ] || fail "not one uninstall entry after the upgrade: $entry"
[ "$(entry_value "$entry" DisplayVersion)" = "$higher" ] || fail "the entry is not of version $higher"
[ -f "$programs/vmxdiag.exe" ] && [ -f "$menu/VMX Engine Diagnostics.lnk" ] ||
    fail "the upgrade lost the program or its entries"
if msiexec downgrade /i "$(winepath_of "$msi")"; then
    fail "version $version was installed over $higher"
fi
grep -q 'WIX_DOWNGRADE_DETECTED = {' "$folder/downgrade.log" ||
    fail "the older version was not refused for being older"
msiinfo export "$msi" LaunchCondition | grep -q 'A newer version of VMX Engine Diagnostics is already installed' ||
    fail "the refusal has no message"
[ "$(entry_value "$(entries)" DisplayVersion)" = "$higher" ] || fail "the refused install changed the product"

echo "== Wine: msiexec /x removes it and leaves the working folder =="
msiexec remove /x "$(winepath_of "$higher_msi")" || fail "the removal failed (see $folder/remove.log)"
[ ! -e "$programs" ] || fail "$programs is still there: $(ls -A "$programs")"
[ ! -e "$menu" ] || fail "the Start-menu folder is still there"
[ "$(products)" = 0 ] && [ -z "$(entries)" ] || fail "the product is still registered"
if vwine reg query 'HKCU\Software\vmxdiag' >/dev/null 2>&1; then
    fail "the installer's values stay under HKCU\\Software\\vmxdiag"
fi
cmp -s "$working/database.ini" "$folder/users.ini" || fail "the user's database.ini changed"
[ -f "$working/logs/kept.csv" ] || fail "the user's logs are gone"
rm -rf "$working"

leaks=$(find "$HOME/.local/share/applications" "$HOME/.local/share/desktop-directories" \
    "$HOME/.local/share/icons" "$HOME/.local/share/mime" "$HOME/.config/menus" \
    "$HOME/Desktop" -newer "$folder/stamp" 2>/dev/null || true)
[ -z "$leaks" ] || fail "written on the host's desktop: $leaks"
echo "Installer: packed in $((packed - started)) s, installed, upgraded and removed under Wine in $((SECONDS - packed)) s."
