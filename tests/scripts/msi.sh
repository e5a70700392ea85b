#!/usr/bin/env bash
# The installer under Wine in the private prefix, as a fleet deploys it: a silent per-machine
# install, the files, the Start-menu shortcut and the Apps & features entry read back, the
# installed command line run, a later version upgrading in place, and a silent removal that
# takes every installed file and leaves a backup lying in the program's folder.
set -uo pipefail
source "$(dirname "$0")/ui-lib.sh"

VERSION=${QM_VERSION:?}
MSI=$BUILD/quillmoor-$VERSION-x64.msi
NEXT_VERSION=${VERSION%.*}.$((${VERSION##*.} + 1))
NEXT_MSI=$UI_TMP/quillmoor-$NEXT_VERSION-x64.msi
INSTALLED="$WINEPREFIX/drive_c/Program Files/Quillmoor"
# Wine 8 puts a per-machine package's ProgramMenuFolder in the user's Start menu, where
# Windows takes the common one; the package's own per-machine setting is checked apart.
shortcuts() {
  local link
  for link in "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Quillmoor.lnk" \
    "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/Microsoft/Windows/"Start Menu"/Programs/Quillmoor.lnk; do
    [ -f "$link" ] && echo "$link"
  done
}
UNINSTALL='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
BACKUP=QmMsi_Backup.reg
FILES=(quillmoor.exe quillmoor-cli.exe Help.htm)

product_code() {
  msiinfo export "$1" Property | tr -d '\r' | awk -F '\t' '$1 == "ProductCode" { print $2 }'
}

windows_path() {
  local path=${1//\//\\}
  echo "Z:$path"
}

msiexec_run() {
  wine msiexec "$@" </dev/null >"$UI_TMP/msiexec.out" 2>&1
}

check() {
  local what=$1
  shift
  if "$@"; then pass "$what"; else fail "$what"; fi
}

absent() {
  ! wine reg query "$1" </dev/null >/dev/null 2>&1
}

# A later version with the same UpgradeCode, made from the same programs.
python3 "$ROOT/packaging/make-msi.py" --source "$ROOT" --bin "$BUILD" --version "$NEXT_VERSION" --output "$NEXT_MSI"
CODE=$(product_code "$MSI")
NEXT_CODE=$(product_code "$NEXT_MSI")

# The checks are only as good as a clean start: a run cut short may have left it installed.
uninstall_all() {
  msiexec_run /x "$NEXT_CODE" /qn
  msiexec_run /x "$CODE" /qn
  rm -rf "$INSTALLED"
  shortcuts | while read -r link; do rm -f "$link"; done
}
trap 'uninstall_all; rm -rf "$UI_TMP"' EXIT
uninstall_all

expect_exit_zero() {
  local what=$1
  shift
  msiexec_run "$@"
  local status=$?
  if [ "$status" = 0 ]; then pass "$what exits 0"; else fail "$what exits $status: $(head -c 300 "$UI_TMP/msiexec.out")"; fi
}

# One shortcut, naming the installed program: Wine writes the target path into the link.
shortcut_targets_program() {
  [ "$(shortcuts | wc -l)" = 1 ] && python3 - "$(shortcuts)" <<'PY'
import sys
data = open(sys.argv[1], "rb").read().lower()
target = "program files\\quillmoor\\quillmoor.exe"
sys.exit(0 if target.encode("utf-16-le") in data or target.encode() in data else 1)
PY
}

no_shortcut() {
  [ -z "$(shortcuts)" ]
}

check "the package installs per machine" grep -qx $'ALLUSERS\t1' <(msiinfo export "$MSI" Property | tr -d '\r')
check "and has no shortcut before it is installed" no_shortcut
expect_exit_zero "msiexec /i /qn" /i "$(windows_path "$MSI")" /qn
for file in "${FILES[@]}"; do
  source_file=$BUILD/$file
  [ "$file" = Help.htm ] && source_file=$ROOT/resources/Help.htm
  check "$file is installed as built" cmp -s "$source_file" "$INSTALLED/$file"
done
check "the Start-menu shortcut Quillmoor starts the installed program" shortcut_targets_program
entry="$UNINSTALL\\$CODE"
check "Apps & features: name" test "$(value_data "$entry" DisplayName)" = Quillmoor
check "Apps & features: publisher" test "$(value_data "$entry" Publisher)" = Vostrel
check "Apps & features: version" test "$(value_data "$entry" DisplayVersion)" = "$VERSION"
check "Apps & features: help link" grep -q '^https://' <<<"$(value_data "$entry" HelpLink)"

wine "C:\\Program Files\\Quillmoor\\quillmoor-cli.exe" --version </dev/null >"$UI_TMP/version" 2>&1
check "the installed quillmoor-cli --version" grep -qx "Quillmoor Version $VERSION"$'\r' "$UI_TMP/version"

expect_exit_zero "msiexec /i of version $NEXT_VERSION" /i "$(windows_path "$NEXT_MSI")" /qn
check "the upgrade removes version $VERSION's entry" absent "$entry"
check "the upgrade registers version $NEXT_VERSION" \
  test "$(value_data "$UNINSTALL\\$NEXT_CODE" DisplayVersion)" = "$NEXT_VERSION"
check "the upgrade keeps the program installed" test -f "$INSTALLED/quillmoor.exe"

printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]\r\n"QmMsi"="x.exe"\r\n' >"$INSTALLED/$BACKUP"
expect_exit_zero "msiexec /x /qn" /x "$(windows_path "$NEXT_MSI")" /qn
for file in "${FILES[@]}"; do
  check "$file is removed" test ! -e "$INSTALLED/$file"
done
check "the Start-menu shortcut is removed" no_shortcut
check "the Apps & features entry is removed" absent "$UNINSTALL\\$NEXT_CODE"
check "a backup in the program's folder is kept" test -f "$INSTALLED/$BACKUP"

report
