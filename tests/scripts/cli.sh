#!/usr/bin/env bash
# The real quillmoor-cli.exe under Wine, checked from outside: values seeded with `wine reg`,
# its CSV and JSON read back with python3's own readers, a remove and restore round trip for
# each value type, disable and enable, and the exit codes of typical failures.
# The program sees the prefix's real registry, so every value it meets is named "QmCli ..." and
# removed again, with its backups, whatever happens.
set -uo pipefail
source "$(dirname "$0")/ui-lib.sh"

CLI=$BUILD/quillmoor-cli.exe
RUN='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
APPROVED='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\StartupApproved\Run'
BACKUPS=$UI_TMP/backups
windows_path() {
  echo "Z:${1//\//\\}"
}
WIN_BACKUPS=$(windows_path "$BACKUPS")

# Names and command lines that quoting, escaping and encoding must carry through.
TRICKY=(
  'QmCli "quoted", comma' 'C:\a b\x.exe /q "arg", more'
  'QmCli back\slash;semi' '\\server\share\x.exe'
  'QmCli Привет 😀' 'C:\Мир\😀.exe'
  $'QmCli line\nbreak' $'tab\there'
  'QmCli  blanks  ' 'C:\windows\system32\cmd.exe /c exit'
  'QmCli rundll' 'rundll32.exe C:\QmCliGone\x.dll,Start'
)
# Value types for the round trip: name, type, data as `reg add` takes it.
TYPED=(
  'QmCli sz' REG_SZ 'C:\rt\sz.exe /a'
  'QmCli expand' REG_EXPAND_SZ '%SystemRoot%\rt.exe'
  'QmCli binary' REG_BINARY '0001ff80'
  'QmCli dword' REG_DWORD '0x12345678'
  'QmCli multi' REG_MULTI_SZ 'a\0b c'
)

ALL_NAMES=()
for ((i = 0; i < ${#TRICKY[@]}; i += 2)); do ALL_NAMES+=("${TRICKY[i]}"); done
for ((i = 0; i < ${#TYPED[@]}; i += 3)); do ALL_NAMES+=("${TYPED[i]}"); done
HELP_FLAG='QmCli help flag'
ALL_NAMES+=("$HELP_FLAG")
DRIFT='QmCli drift'
LINE_BREAK=$'QmCli line\nbreak'
# The other lists Windows runs at logon, by location: key as `reg` names it, source.
OTHER_LISTS=(
  hklm-runonce 'HKLM\Software\Microsoft\Windows\CurrentVersion\RunOnce' runonce
  hklm-runonce32 'HKLM\Software\WOW6432Node\Microsoft\Windows\CurrentVersion\RunOnce' runonce
  hkcu-runonce 'HKCU\Software\Microsoft\Windows\CurrentVersion\RunOnce' runonce
  hklm-policies 'HKLM\Software\Microsoft\Windows\CurrentVersion\Policies\Explorer\Run' policy
  hkcu-policies 'HKCU\Software\Microsoft\Windows\CurrentVersion\Policies\Explorer\Run' policy
)
ONCE_NAME='!QmCli once'
LINK_NAME='QmCli tool.lnk'
USER_FOLDER=$(startup_folder user)
COMMON_FOLDER=$(startup_folder common)
FOLDER_STATE='Software\Microsoft\Windows\CurrentVersion\Explorer\StartupApproved\StartupFolder'

leftovers() {
  { value_names "$RUN"; value_names "$APPROVED"; } | grep -q '^QmCli' || key_exists 'HKCU\Software\QmCliForeign'
}

# The run removes its entries itself, all but the one no backup can hold; a run cut short
# leaves more.
cleanup() {
  local name
  reg_run delete "$RUN" /v "$LINE_BREAK" /f >/dev/null
  for ((i = 0; i < ${#OTHER_LISTS[@]}; i += 3)); do
    reg_run delete "${OTHER_LISTS[i + 1]}" /v "$ONCE_NAME" /f >/dev/null
  done
  reg_run delete "$RUN" /v "$DRIFT" /f >/dev/null
  rm -f "$USER_FOLDER/$LINK_NAME" "$COMMON_FOLDER/$LINK_NAME"
  reg_run delete "HKCU\\$FOLDER_STATE" /v "$LINK_NAME" /f >/dev/null
  reg_run delete "HKLM\\$FOLDER_STATE" /v "$LINK_NAME" /f >/dev/null
  if leftovers; then
    for name in "${ALL_NAMES[@]}"; do
      reg_run delete "$RUN" /v "$name" /f >/dev/null
      reg_run delete "$APPROVED" /v "$name" /f >/dev/null
    done
    reg_run delete 'HKCU\Software\QmCliForeign' /f >/dev/null
  fi
  rm -f "$BUILD"/QmCli*.reg
}

finish() {
  cleanup
  [ -n "${QM_KEEP_WINESERVER:-}" ] || qm_stop
  rm -rf "$UI_TMP"
}

# Runs the program; standard output and error land in files, the status is its exit code.
cli() {
  wine "$CLI" "$@" </dev/null >"$UI_TMP/out" 2>"$UI_TMP/err"
}

# "what" passes when the program ends with the expected code; a failure (1) must say why on
# exactly one line of standard error and print nothing else.
expect_exit() {
  local what=$1 code=$2 status lines
  shift 2
  cli "$@"
  status=$?
  lines=$(wc -l <"$UI_TMP/err")
  if [ "$status" != "$code" ]; then
    fail "$what: exit $status, expected $code ($(head -c 300 "$UI_TMP/err"))"
  elif [ "$code" = 1 ] && { [ "$lines" != 1 ] || [ -s "$UI_TMP/out" ]; }; then
    fail "$what: $lines lines on standard error, $(wc -c <"$UI_TMP/out") bytes on standard output"
  else
    pass "$what"
  fi
}

check() {
  local what=$1
  shift
  if "$@"; then pass "$what"; else fail "$what"; fi
}

# python3 reads the listing in both formats; the tricky values must come back exactly, CSV and
# JSON must agree field by field, and the bytes must be strict UTF-8.
listing_reads_back() {
  cli list --location hkcu --format csv && cp "$UI_TMP/out" "$UI_TMP/list.csv" &&
    cli list --location hkcu --format json && cp "$UI_TMP/out" "$UI_TMP/list.json" &&
    printf '%s\0' "${TRICKY[@]}" >"$UI_TMP/expected" &&
    python3 - "$UI_TMP" "$@" <<'EOF'
import csv, io, json, sys
folder, disabled = sys.argv[1], set(sys.argv[2:])
raw = open(f"{folder}/list.csv", "rb").read()
rows = list(csv.DictReader(io.StringIO(raw.decode("utf-8"), newline="")))
entries = json.loads(open(f"{folder}/list.json", "rb").read().decode("ascii"))
parts = open(f"{folder}/expected", encoding="utf-8").read().split("\0")[:-1]
expected = dict(zip(parts[0::2], parts[1::2]))
text = lambda v: "" if v is None else str(v).lower() if isinstance(v, bool) else v
assert b"\0" not in raw and raw.endswith(b"\r\n")
assert list(rows[0]) == ["location", "source", "key", "name", "type", "enabled", "command", "program", "programExists",
                         "company", "signer", "signature"]
# Signatures are checked only when asked to.
assert all(e["signature"] is None and e["signer"] == "" for e in entries)
assert [[text(e[f]) for f in rows[0]] for e in entries] == [list(r.values()) for r in rows], "csv and json differ"
ours = {e["name"]: e for e in entries if e["name"].startswith("QmCli")}
assert {n: e["command"] for n, e in ours.items()} == expected, ours
assert {n for n, e in ours.items() if not e["enabled"]} == disabled
assert {e["source"] for e in ours.values()} == {"run"}
assert ours["QmCli  blanks  "]["programExists"] is True and ours["QmCli back\\slash;semi"]["programExists"] is None
# What is gone is the library rundll32 would load, not rundll32.
assert (ours["QmCli rundll"]["program"], ours["QmCli rundll"]["programExists"]) == ("C:\\QmCliGone\\x.dll", False)
EOF
}

# ---- the run ----

trap finish EXIT
trap "exit 1" INT TERM
qm_prefix
[ -n "${QM_KEEP_WINESERVER:-}" ] || qm_wineserver
cleanup
mkdir -p "$BACKUPS"

for ((i = 0; i < ${#TRICKY[@]}; i += 2)); do
  reg_run add "$RUN" /v "${TRICKY[i]}" /d "${TRICKY[i + 1]}" /f >/dev/null || fail "seeding ${TRICKY[i]}"
done
check "list reads back through python's csv and json" listing_reads_back

expect_exit "disable an entry" 0 disable --location hkcu 'QmCli Привет 😀'
check "it is listed disabled" listing_reads_back 'QmCli Привет 😀'
expect_exit "enable it again" 0 enable --location hkcu -- 'QmCli Привет 😀'
check "it is listed enabled" listing_reads_back

expect_exit "remove a Cyrillic and emoji name into the folder beside the exe" 0 remove --location hkcu 'QmCli Привет 😀'
backup=$(tr -d '\r\n' <"$UI_TMP/out")
expect_exit "backups lists it" 0 backups --format csv
check "with its entry's name, command line and time written" eval 'grep -F \
  "$backup,hkcu,HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run,QmCli Привет 😀,REG_SZ,C:\\Мир\\😀.exe," \
  "$UI_TMP/out" | grep -qE ",[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9]{2}:[0-9]{2}:[0-9]{2}Z.?$"'
expect_exit "restore it" 0 restore "$backup"
check "it is back, exactly" listing_reads_back
check "its backup is gone" eval '[ -z "$(find "$BUILD" -maxdepth 1 -name "QmCli*.reg")" ]'

# Drift against a baseline: a command line changed, an entry turned off, one added.
drift_is() {
  python3 - "$UI_TMP/out" "$@" <<'EOF'
import csv, io, sys
rows = list(csv.reader(io.StringIO(open(sys.argv[1], "rb").read().decode("utf-8"), newline="")))
expected = [line.split("|") for line in sys.argv[2:]]
assert rows[0] == ["change", "location", "key", "name", "field", "baseline", "current"], rows[0]
assert sorted([r[0], r[3], r[4], r[5], r[6]] for r in rows[1:]) == sorted(expected), rows[1:]
EOF
}
RUNDLL_BEFORE='rundll32.exe C:\QmCliGone\x.dll,Start'
RUNDLL_AFTER='rundll32.exe C:\QmCliGone\y.dll,Start'
expect_exit "a baseline" 0 list --location hkcu --format json
cp "$UI_TMP/out" "$UI_TMP/baseline.json"
baseline=$(windows_path "$UI_TMP/baseline.json")
expect_exit "compare with the unchanged registry" 0 compare --location hkcu "$baseline"
reg_run add "$RUN" /v 'QmCli rundll' /d "$RUNDLL_AFTER" /f >/dev/null
cli disable --location hkcu 'QmCli  blanks  '
reg_run add "$RUN" /v "$DRIFT" /d 'C:\drift.exe' /f >/dev/null
expect_exit "compare after three changes" 4 compare --location hkcu --format csv "$baseline"
check "reports each" drift_is "changed|QmCli rundll|command|$RUNDLL_BEFORE|$RUNDLL_AFTER" \
  'changed|QmCli  blanks  |enabled|true|false' "added|$DRIFT|||C:\\drift.exe"
cli list --location hkcu --format json
cp "$UI_TMP/out" "$UI_TMP/current.json"
expect_exit "compare two files, --ignore enabled" 4 compare --format csv --ignore enabled "$baseline" "$(windows_path "$UI_TMP/current.json")"
check "leaves the state out" drift_is "changed|QmCli rundll|command|$RUNDLL_BEFORE|$RUNDLL_AFTER" "added|$DRIFT|||C:\\drift.exe"
printf '[{"location": "hkcu"}]' >"$UI_TMP/bad.json"
expect_exit "compare with a file that is not a listing" 1 compare "$(windows_path "$UI_TMP/bad.json")"
expect_exit "compare with a file that is not there" 1 compare "$(windows_path "$UI_TMP/none.json")"
expect_exit "compare without a baseline" 2 compare --location hkcu
reg_run add "$RUN" /v 'QmCli rundll' /d "$RUNDLL_BEFORE" /f >/dev/null
cli enable --location hkcu 'QmCli  blanks  '
reg_run delete "$RUN" /v "$DRIFT" /f >/dev/null
expect_exit "compare once all is put back" 0 compare --location hkcu "$baseline"

# Each type's value and, since it is disabled first, its enabled state make the round trip.
typed_values() {
  { reg_run query "$RUN"; reg_run query "$APPROVED"; } | grep -E '^    QmCli (sz|expand|binary|dword|multi)    ' | sort
}
for ((i = 0; i < ${#TYPED[@]}; i += 3)); do
  reg_run add "$RUN" /v "${TYPED[i]}" /t "${TYPED[i + 1]}" /d "${TYPED[i + 2]}" /f >/dev/null
  cli disable --location hkcu "${TYPED[i]}"
done
before=$(typed_values)
check "five values of five types are seeded, disabled" eval '[ "$(grep -c REG_BINARY <<<"$before")" = 6 ] && [ "$(wc -l <<<"$before")" = 10 ]'
backups=()
for ((i = 0; i < ${#TYPED[@]}; i += 3)); do
  expect_exit "remove ${TYPED[i]} (${TYPED[i + 1]})" 0 remove --location hkcu --backup-folder "$WIN_BACKUPS" "${TYPED[i]}"
  backups+=("$(tr -d '\r\n' <"$UI_TMP/out")")
done
check "they and their enabled state are gone" eval '[ -z "$(typed_values)" ]'
for backup in "${backups[@]}"; do
  expect_exit "restore ${backup##*\\}" 0 restore "$backup"
done
check "each is back byte for byte, disabled" eval '[ "$(typed_values)" = "$before" ]'
check "their backups are deleted" eval '[ -z "$(ls "$BACKUPS")" ]'

printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\QmCliForeign]\r\n"QmCli sz"="x.exe"\r\n' >"$BACKUPS/foreign.reg"
printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]\r\n"QmCli cut"="x.e' >"$BACKUPS/cut.reg"
expect_exit "a foreign .reg is refused" 1 restore "$WIN_BACKUPS\\foreign.reg"
expect_exit "a truncated .reg is refused" 1 restore "$WIN_BACKUPS\\cut.reg"
check "both stay, nothing was imported" eval '[ -f "$BACKUPS/foreign.reg" ] && [ -f "$BACKUPS/cut.reg" ] &&
  ! key_exists "HKCU\\Software\\QmCliForeign" && ! value_data "$RUN" "QmCli cut"'
expect_exit "backups lists files that are not backups with empty fields" 0 backups --backup-folder "$WIN_BACKUPS" --format csv
check "as such" grep -qF "$WIN_BACKUPS\\cut.reg,,,," "$UI_TMP/out"
expect_exit "no such entry" 1 remove --location hkcu 'QmCli nobody'
expect_exit "no enabled state in hklm-services" 1 disable --location hklm-services 'QmCli sz'
expect_exit "unknown option" 2 list --bogus
expect_exit "unknown location" 2 remove --location hkcx 'QmCli sz'
expect_exit "a location without --location" 2 add HKCU 'QmCli sz' x.exe
check "is named first, with the command's help" eval "grep -q \"write '--location HKCU'\" '$UI_TMP/err' && grep -q 'quillmoor-cli add --help' '$UI_TMP/err'"
expect_exit "missing NAME" 2 enable --location hkcu
expect_exit "--no-backup is remove's alone" 2 list --no-backup
expect_exit "a help flag before any operand asks for help" 0 add --location hkcu --help
check "which is printed" grep -q '^usage: quillmoor-cli add ' "$UI_TMP/out"
expect_exit "after NAME it is the command line" 0 add --location hkcu "$HELP_FLAG" -h
check "which the entry starts" eval '[ "$(value_data "$RUN" "$HELP_FLAG")" = -h ]'
for name in "${ALL_NAMES[@]}"; do
  [ "$name" = "$LINE_BREAK" ] && continue
  expect_exit "remove $name" 0 remove --location hkcu --backup-folder "$WIN_BACKUPS" -- "$name"
done
expect_exit "a name no backup can hold is not removed" 1 remove --location hkcu --backup-folder "$WIN_BACKUPS" "$LINE_BREAK"
check "it is still there, and only it" eval '[ "$(value_names "$RUN" | grep -c "^QmCli")" = 1 ] && ! value_names "$APPROVED" | grep -q "^QmCli"'
expect_exit "with --no-backup it is removed, without a backup" 0 remove --location hkcu --no-backup "$LINE_BREAK"
check "and gone, and nothing printed on standard output" eval '! value_names "$RUN" | grep -q "^QmCli" && [ ! -s "$UI_TMP/out" ]'
# Each other list: listed with its source, no on/off state, removed and restored exactly.
for ((i = 0; i < ${#OTHER_LISTS[@]}; i += 3)); do
  location=${OTHER_LISTS[i]} key=${OTHER_LISTS[i + 1]} source=${OTHER_LISTS[i + 2]}
  reg_run add "$key" /v "$ONCE_NAME" /d "C:\\qm\\$location.exe /x" /f >/dev/null || fail "seeding $location"
  expect_exit "list $location" 0 list --location "${location^^}" --format csv
  check "it shows the entry as a $source entry" grep -qF "$location,$source,HKEY_" "$UI_TMP/out"
  expect_exit "$location keeps no on/off state" 1 disable --location "$location" "$ONCE_NAME"
  expect_exit "remove from $location" 0 remove --location "$location" --backup-folder "$WIN_BACKUPS" "$ONCE_NAME"
  backup=$(tr -d '\r\n' <"$UI_TMP/out")
  check "it is gone from $location" eval '! value_data "$key" "$ONCE_NAME" >/dev/null'
  expect_exit "restore it into $location" 0 restore "$backup"
  check "it is back in $location, exactly" eval '[ "$(value_data "$key" "$ONCE_NAME")" = "C:\\qm\\$location.exe /x" ]'
  reg_run delete "$key" /v "$ONCE_NAME" /f >/dev/null
done

FOLDER_BACKUPS=$UI_TMP/folder-backups
WIN_FOLDER_BACKUPS=$(windows_path "$FOLDER_BACKUPS")
mkdir -p "$FOLDER_BACKUPS"
# Each Startup folder: a shortcut listed with its target, turned off and on in the folder's
# state key, removed with a copy of the file and its state, and put back byte for byte.
for location in startup-user:HKCU:"$USER_FOLDER" startup-common:HKLM:"$COMMON_FOLDER"; do
  IFS=: read -r location root folder <<<"$location"
  mkdir -p "$folder" && make_link "$folder/$LINK_NAME" 'C:\windows\notepad.exe' '/qm x' || fail "seeding $location"
  cp "$folder/$LINK_NAME" "$UI_TMP/link"
  expect_exit "list $location" 0 list --location "$location" --format csv
  check "it shows the shortcut's target and arguments" grep -qF "$location,startup-folder,C:\\" "$UI_TMP/out"
  check "as a file, by its name with the extension" grep -qF ",$LINK_NAME,file,true,"'C:\windows\notepad.exe /qm x' "$UI_TMP/out"
  expect_exit "disable it in $location" 0 disable --location "$location" "$LINK_NAME"
  check "in the folder's own state key" eval 'value_data "$root\\$FOLDER_STATE" "$LINK_NAME" | grep -q "^03000000"'
  expect_exit "a folder takes no added entry" 1 add --location "$location" 'QmCli x' x.exe
  expect_exit "remove it from $location" 0 remove --location "$location" --backup-folder "$WIN_FOLDER_BACKUPS" "$LINK_NAME"
  backup=$(tr -d '\r\n' <"$UI_TMP/out")
  check "the file and its state are gone" eval '[ ! -e "$folder/$LINK_NAME" ] && ! value_data "$root\\$FOLDER_STATE" "$LINK_NAME" >/dev/null'
  check "a copy of the file lies beside its .reg file" cmp -s "$FOLDER_BACKUPS/${LINK_NAME// /_}" "$UI_TMP/link"
  expect_exit "backups lists it once" 0 backups --backup-folder "$WIN_FOLDER_BACKUPS" --format csv
  check "as an item of $location" eval '[ "$(grep -c "$location,.*,$LINK_NAME,file," "$UI_TMP/out")" = 1 ]'
  expect_exit "restore it into $location" 0 restore "$backup"
  check "the file is back byte for byte" cmp -s "$folder/$LINK_NAME" "$UI_TMP/link"
  check "disabled, as it was" eval 'value_data "$root\\$FOLDER_STATE" "$LINK_NAME" | grep -q "^03000000"'
  check "and the backup with its copy is gone" eval '[ -z "$(ls -A "$FOLDER_BACKUPS")" ]'
  expect_exit "enable it again" 0 enable --location "$location" "$LINK_NAME"
  rm -f "$folder/$LINK_NAME"
  reg_run delete "$root\\$FOLDER_STATE" /v "$LINK_NAME" /f >/dev/null
done

expect_exit "--version" 0 --version
check "as the About window shows it" grep -qx $'Quillmoor Version 1.0.0\r' "$UI_TMP/out"

report
