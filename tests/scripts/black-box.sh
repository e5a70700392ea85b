#!/usr/bin/env bash
# The real quillmoor.exe under Wine on a display of its own, driven only by pointer clicks and
# key presses and checked from outside: the prefix's registry through `wine reg`, the backup
# files beside the exe, and screenshots (every step's is kept under the build folder).
# The program sees the prefix's real registry, so the run seeds values of its own and removes
# them, and their backups, before and after, whatever happens.
set -uo pipefail
source "$(dirname "$0")/ui-lib.sh"

RUN='Software\Microsoft\Windows\CurrentVersion\Run'
MACHINE="HKLM\\$RUN"
SERVICES="HKLM\\${RUN}Services"
DEFAULT_USER="HKU\\.DEFAULT\\$RUN"
USER_RUN="HKCU\\$RUN"
USER_APPROVED='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\StartupApproved\Run'
MACHINE_ONCE='HKLM\Software\Microsoft\Windows\CurrentVersion\RunOnce'
SEEDED_KEYS=("$MACHINE" "$SERVICES" "$DEFAULT_USER" "$USER_RUN" "$USER_APPROVED" "$MACHINE_ONCE")
# The keys each location lists, in the window's order.
LOCATION_1=("$MACHINE" 'HKLM\Software\WOW6432Node\Microsoft\Windows\CurrentVersion\Run' "$MACHINE_ONCE"
  'HKLM\Software\WOW6432Node\Microsoft\Windows\CurrentVersion\RunOnce'
  'HKLM\Software\Microsoft\Windows\CurrentVersion\Policies\Explorer\Run')
LOCATION_2=("$SERVICES" 'HKLM\Software\WOW6432Node\Microsoft\Windows\CurrentVersion\RunServices')
USER_FOLDER=$(startup_folder user)
FOLDER_APPROVED='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\StartupApproved\StartupFolder'
LOCATION_3=("$USER_RUN" 'HKCU\Software\Microsoft\Windows\CurrentVersion\RunOnce'
  'HKCU\Software\Microsoft\Windows\CurrentVersion\Policies\Explorer\Run' "folder:$USER_FOLDER")
LOCATION_4=("$DEFAULT_USER")
PREFIX_NAME=QmBlackBox
# Wider than the command-line list: its tooltip shows it whole, wrapped at the window's width.
LONG_COMMAND="C:\\qm\\long.exe$(printf ' /option%d' $(seq 1 30))"
SHOTS=$BUILD/screenshots/black-box

# The main window's controls as laid out in app/FrmMain.cpp: left, top, width, height in twips.
LST_NAME=(180 1320 2805 2595)
LST_CMDLINE=(3120 1320 5055 2595)
LST_BACK=(3120 1320 5055 2010)
BTN_SERVICES=(2205 840 1845 375)
BTN_USER=(4230 840 1845 375)
BTN_DEFAULT_USER=(6240 840 1845 375)
TXT_NAME=(1470 4650 5565 285)
TXT_CMDLINE=(1470 4980 5565 285)
BTN_ADD=(7170 4650 945 285)
BTN_BACKUPS=(2205 5520 1845 375)
BTN_RESTORE=(4245 3480 1845 375)
BTN_MACHINE=(180 840 1845 375)

# ---- seeding and clean-up ----

KEYS_MADE=()

seed_values() {
  local key
  for key in "${SEEDED_KEYS[@]}"; do
    key_exists "$key" || KEYS_MADE+=("$key")
  done
  reg_run add "$MACHINE" /v "$PREFIX_NAME Machine" /d 'C:\qm\machine.exe' /f >/dev/null &&
    reg_run add "$MACHINE" /v "$PREFIX_NAME Long" /d "$LONG_COMMAND" /f >/dev/null &&
    reg_run add "$MACHINE_ONCE" /v "$PREFIX_NAME Once" /d 'C:\qm\once.exe' /f >/dev/null &&
    reg_run add "$SERVICES" /v "$PREFIX_NAME Service" /d 'C:\qm\service.exe' /f >/dev/null &&
    reg_run add "$DEFAULT_USER" /v "$PREFIX_NAME Default" /d 'C:\qm\default.exe' /f >/dev/null &&
    reg_run add "$USER_RUN" /v "$PREFIX_NAME User" /d 'C:\qm\user.exe' /f >/dev/null &&
    mkdir -p "$USER_FOLDER" && make_link "$USER_FOLDER/$PREFIX_NAME Link.lnk" 'C:\qm\link.exe' '/tray'
}

remove_seeded() {
  local key name
  for key in "${SEEDED_KEYS[@]}"; do
    value_names "$key" | grep "^$PREFIX_NAME" | while IFS= read -r name; do
      reg_run delete "$key" /v "$name" /f >/dev/null
    done
  done
  rm -f "$BUILD/$PREFIX_NAME"*.reg "$BUILD/$PREFIX_NAME"*.lnk "$USER_FOLDER/$PREFIX_NAME"*
  reg_run delete "$FOLDER_APPROVED" /v "$PREFIX_NAME Link.lnk" /f >/dev/null
  # A key the run made goes again once nothing else lives in it.
  for key in "${KEYS_MADE[@]}"; do
    [ -z "$(value_names "$key")" ] && reg_run delete "$key" /f >/dev/null
  done
  return 0
}

finish() {
  remove_seeded
  ui_end
}

# ---- steps and checks ----

STEP_NUMBER=0
STEP=""
SHOT=""

# Starts a step: its name numbered, and the screenshot that shows it.
step() {
  STEP_NUMBER=$((STEP_NUMBER + 1))
  STEP=$(printf '%02d-%s' "$STEP_NUMBER" "$1")
  SHOT="$SHOTS/$STEP.png"
}

# A check of the step, tried until it holds for up to five seconds.
check() {
  local what=$1
  shift
  if poll 50 "$@"; then pass "$STEP: $what"; else fail "$STEP: $what"; fi
}

# As check, on a fresh screenshot of the step at each try.
check_screen() {
  check "$1" shot_then "${@:2}"
}

shot_then() {
  shot "$SHOT" && "$@"
}

# Moves the pointer off the controls, so that no tool tip covers the lists.
park_pointer() {
  point_at 540 4
}

# ---- what the window shows ----

# Client y of the top of each line of text in a list box, told apart down the strip of their
# first letters: a gap of one blank row (the dot of an "i") stays within a line, the spacing
# between lines is wider.
list_rows() {
  local shot=$1 x y h
  x=$(twips "$2") y=$(twips "$3") h=$(twips "$5")
  convert "$shot" -crop "8x$((h - 20))+$((UI_ORIGIN_X + x + 2))+$((UI_ORIGIN_Y + y + 1))" +repage txt:- |
    awk -v top=$((y + 1)) 'NR > 1 && $2 != "(255,255,255)" { split($1, at, "[,:]"); ink[at[2]] = 1 }
      END { for (r = 0; r < 400; r++) if ((r in ink) && !((r - 1) in ink) && !((r - 2) in ink)) print top + r }'
}

# The names of the keys' values, key after key, as a location lists them; a "folder:" gives
# the folder's files, shortcuts without ".lnk", as Explorer names them.
listed_names() {
  local key
  for key; do
    if [[ $key == folder:* ]]; then
      ls -1 "${key#folder:}" 2>/dev/null | sed 's/\.lnk$//'
    else
      value_names "$key"
    fi
  done
}

# The name list shows one line for each value of the location's keys.
list_shows_location() {
  local rows values
  rows=$(list_rows "$SHOT" "${LST_NAME[@]}" | wc -l)
  values=$(listed_names "$@" | wc -l)
  [ "$values" -gt 0 ] && [ "$rows" = "$values" ]
}

list_image() {
  local x y w h
  x=$(twips "$2") y=$(twips "$3") w=$(twips "$4") h=$(twips "$5")
  convert "$1" -crop "${w}x${h}+$((UI_ORIGIN_X + x))+$((UI_ORIGIN_Y + y))" +repage rgb:- | md5sum
}

list_changed_since() {
  [ "$(list_image "$1" "${LST_NAME[@]}")" != "$(list_image "$SHOT" "${LST_NAME[@]}")" ]
}

# Where the entry of that name is among the location's keys' values, which is the list's order.
entry_index() {
  local name=$1
  shift
  listed_names "$@" | awk -v name="$name" '$0 == name { print NR - 1; exit }'
}

# The colour of a list line at the right, where no text reaches.
line_colour() {
  pixel "$SHOT" $(($(twips "$2") + $(twips "$4") - 8)) $(($1 + 3))
}

# A line of both lists is highlighted alike.
row_highlighted() {
  local in_names
  in_names=$(line_colour "$1" "${LST_NAME[@]}")
  [ "$in_names" != "255,255,255" ] && [ "$in_names" = "$(line_colour "$1" "${LST_CMDLINE[@]}")" ]
}

# Clicks the list line that shows the entry of that name: the lines on screen pair with the
# values of the location's keys, given after the name.
click_entry() {
  local name=$1 index rows
  shift
  shot "$UI_TMP/rows.png"
  mapfile -t rows < <(list_rows "$UI_TMP/rows.png" "${LST_NAME[@]}")
  index=$(entry_index "$name" "$@")
  [ -n "$index" ] && [ "${#rows[@]}" = "$(listed_names "$@" | wc -l)" ] || return 1
  ENTRY_Y=${rows[$index]}
  click_at $(($(twips "${LST_NAME[0]}") + 20)) "$ENTRY_Y"
  park_pointer
}

value_is() {
  [ "$(value_data "$1" "$2")" = "$3" ]
}

no_value() {
  ! value_data "$1" "$2" >/dev/null
}

backups_beside_exe() {
  find "$BUILD" -maxdepth 1 -iname '*.reg' | wc -l
}

backup_list_shows_files() {
  [ "$(list_rows "$SHOT" "${LST_BACK[@]}" | wc -l)" = "$(backups_beside_exe)" ]
}

backup_highlighted() {
  [ "$(line_colour "$1" "${LST_BACK[@]}")" != "255,255,255" ]
}

# Answers a message box by keyboard once it shows.
answer_box() {
  local title=$1 keys=$2
  step "$3"
  if wait_for_window "^$title\$" 15 >/dev/null; then
    shot "$SHOT"
    pass "$STEP: \"$title\" shows"
    key "$keys"
    check "\"$title\" closes on $keys" window_gone "^$title\$"
  else
    shot "$SHOT"
    fail "$STEP: \"$title\" shows"
  fi
}

# A location button under the real pointer, or the one whose location is listed, shows an
# outer ring of (64,64,127) around (192,192,255); any other shows the window's face. Checked
# at points of its one-pixel edge, and points inside that neither caption, icon nor focus
# rectangle covers. Arguments: the button's rectangle in twips, then the two colours.
button_looks() {
  local left top width height middle seen
  left=$(twips "$1") top=$(twips "$2") width=$(twips "$3") height=$(twips "$4")
  middle=$((top + height / 2))
  shot "$SHOT" || return 1
  seen=$(pixels "$SHOT" "$left" "$middle" $((left + width - 1)) "$middle" $((left + width / 2)) "$top")
  ! grep -qvx "$5" <<<"$seen" || return 1
  seen=$(pixels "$SHOT" $((left + 2)) "$middle" $((left + width - 3)) "$middle" $((left + width / 2)) $((top + 1)))
  ! grep -qvx "$6" <<<"$seen"
}
LIT=("64,64,127" "192,192,255")

# A tooltip wider than any one-line text of the window's own reaches far right of the window:
# one that holds the whole long command line. The screen around the window is black.
wide_tooltip_below() {
  local x y points=()
  x=$(($(twips 8235) + 150))
  for y in $(seq $(($1 + 16)) 4 $(($1 + 120))); do
    points+=("$x" "$y")
  done
  shot "$SHOT" && pixels "$SHOT" "${points[@]}" | grep -v '^0,0,0$' | grep -q .
}

# ---- the run ----

trap finish EXIT
trap "exit 1" INT TERM
ui_begin
remove_seeded
rm -rf "$SHOTS"
mkdir -p "$SHOTS"
seed_values || { fail "seeding the registry"; exit 1; }
cp "$USER_FOLDER/$PREFIX_NAME Link.lnk" "$UI_TMP/link"

step start
if ! start_program; then
  shot "$SHOT"
  fail "$STEP: the main window shows (see $BUILD/quillmoor-ui.log)"
  report
  exit 1
fi
echo "     client area at ($UI_CLIENT_X, $UI_CLIENT_Y) in the window"
park_pointer
check_screen "location 1 is listed at start-up" list_shows_location "${LOCATION_1[@]}"
check "its button stays lit while its location is listed" button_looks "${BTN_MACHINE[@]}" "${LIT[@]}"
previous=$SHOT

step long-tooltip
shot "$UI_TMP/rows.png"
mapfile -t rows < <(list_rows "$UI_TMP/rows.png" "${LST_NAME[@]}")
long_y=${rows[$(entry_index "$PREFIX_NAME Long" "${LOCATION_1[@]}")]:-0}
point_at $(($(twips "${LST_CMDLINE[0]}") + 40)) "$long_y"
check "a command line wider than its list shows whole in its tooltip" wide_tooltip_below "$long_y"
park_pointer

step hover
point_at $(centre_of "${BTN_SERVICES[@]}")
check "a button lights up under the pointer" button_looks "${BTN_SERVICES[@]}" "${LIT[@]}"
park_pointer
check "its face is the window's again once the pointer leaves" button_looks "${BTN_SERVICES[@]}" "$UI_FACE" "$UI_FACE"

step location-2
click_control "${BTN_SERVICES[@]}"
park_pointer
check_screen "clicking HKLM Services lists location 2" eval 'list_shows_location "${LOCATION_2[@]}" && list_changed_since "$previous"'
check "its button is lit now, and that of location 1 no more" eval 'button_looks "${BTN_SERVICES[@]}" "${LIT[@]}" &&
  button_looks "${BTN_MACHINE[@]}" "$UI_FACE" "$UI_FACE"'
previous=$SHOT

step location-3
click_control "${BTN_USER[@]}"
park_pointer
check_screen "clicking HKCU Run lists location 3" list_shows_location "${LOCATION_3[@]}"

# A signed and an unsigned program (the signature tests' fixtures), names of one width: the
# tooltip names the signer, and the unsigned one's name carries a grey word after it.
step signatures
FIXTURES=$BUILD/tests/signature-fixtures
reg_run add "$USER_RUN" /v "$PREFIX_NAME SigA" /d "Z:${FIXTURES//\//\\}\\signed.exe" /f >/dev/null
reg_run add "$USER_RUN" /v "$PREFIX_NAME SigB" /d "Z:${FIXTURES//\//\\}\\unsigned.exe" /f >/dev/null
click_control "${BTN_USER[@]}"
park_pointer
shot "$UI_TMP/rows.png"
mapfile -t rows < <(list_rows "$UI_TMP/rows.png" "${LST_NAME[@]}")
signed_y=${rows[$(entry_index "$PREFIX_NAME SigA" "${LOCATION_3[@]}")]:-0}
unsigned_y=${rows[$(entry_index "$PREFIX_NAME SigB" "${LOCATION_3[@]}")]:-0}

# The rightmost x with ink on a line of the name list.
ink_right() {
  local x w
  x=$(twips "${LST_NAME[0]}") w=$(twips "${LST_NAME[2]}")
  convert "$SHOT" -crop "$((w - 24))x8+$((UI_ORIGIN_X + x + 2))+$((UI_ORIGIN_Y + $1 + 2))" +repage txt:- |
    awk 'NR > 1 && $2 != "(255,255,255)" { split($1, at, "[,:]"); if (at[1] > r) r = at[1] } END { print r + 0 }'
}
unsigned_marked() {
  shot "$SHOT" && (($(ink_right "$unsigned_y") > $(ink_right "$signed_y") + 20))
}
# Each try comes from outside the list, as a fresh hover.
tooltip_says() {
  park_pointer
  sleep 0.2
  point_at $(($(twips "${LST_NAME[0]}") + 20)) $(($1 + 4))
  sleep 0.8
  wine "$BUILD/tests/tooltip_text.exe" </dev/null 2>/dev/null | grep -q "$2"
}
check "an unsigned program is marked after its name" unsigned_marked
check "the signed one's tooltip names its signer" tooltip_says "$signed_y" "Signed by Quillmoor Test Signer"
check "the unsigned one's tooltip says so" tooltip_says "$unsigned_y" "Not signed"
shot "$SHOT"
park_pointer

# Task Manager's status: 3 disabled, 2 enabled (with a zero time).
state_is() {
  local data
  data=$(value_data "$USER_APPROVED" "$PREFIX_NAME User") && [ "${data:0:8}" = "$1" ]
}

for toggle in disable:d:03000000 enable:e:020000000000000000000000; do
  IFS=: read -r verb letter state <<<"$toggle"
  step "$verb"
  if click_entry "$PREFIX_NAME User" "${LOCATION_3[@]}"; then
    point_at $(($(twips "${LST_NAME[0]}") + 20)) "$ENTRY_Y"
    xdotool click 3
    sleep 0.5
    shot "$SHOT"
    key "$letter"
    park_pointer
    check "the context menu's $verb writes status ${state:0:8}" state_is "${state:0:8}"
    [ "$verb" = enable ] && check "enabling writes a zero time" eval '[ "$(value_data "$USER_APPROVED" "$PREFIX_NAME User")" = "$state" ]'
  else
    fail "$STEP: the entry's line is found"
  fi
done

# A shortcut in the user's Startup folder: off through the context menu, then removed with the
# Delete key, its file and state saved beside the exe.
step shortcut-disable
if click_entry "$PREFIX_NAME Link" "${LOCATION_3[@]}"; then
  point_at $(($(twips "${LST_NAME[0]}") + 20)) "$ENTRY_Y"
  xdotool click 3
  sleep 0.5
  key d
  park_pointer
  check "the shortcut is turned off in the folder's state key" eval \
    'value_data "$FOLDER_APPROVED" "$PREFIX_NAME Link.lnk" | grep -q "^03000000"'
  if click_entry "$PREFIX_NAME Link" "${LOCATION_3[@]}"; then
    key Delete
    answer_box "Confirm Delete" y shortcut-confirm
    answer_box "Process Removed" Return shortcut-removed
  else
    fail "$STEP: the shortcut's line is found again"
  fi
else
  fail "$STEP: the shortcut's line is found"
fi
step shortcut-deleted
check "the shortcut is gone from the Startup folder" test ! -e "$USER_FOLDER/$PREFIX_NAME Link.lnk"
check "its state is gone" eval '! value_data "$FOLDER_APPROVED" "$PREFIX_NAME Link.lnk" >/dev/null'
check "its copy and state are beside the exe" eval \
  'test -f "$BUILD/${PREFIX_NAME}_Link.lnk" && test -f "$BUILD/${PREFIX_NAME}_Link.lnk.reg"'
check_screen "the list no longer shows it" list_shows_location "${LOCATION_3[@]}"

step location-4
click_control "${BTN_DEFAULT_USER[@]}"
park_pointer
check_screen "clicking HKU Run lists location 4" eval 'list_shows_location "${LOCATION_4[@]}" && list_changed_since "$previous"'

step select
if click_entry "$PREFIX_NAME Default" "${LOCATION_4[@]}"; then
  check_screen "clicking an entry selects it in both lists" row_highlighted "$ENTRY_Y"
else
  fail "$STEP: the entry's line is found"
fi

step add
click_control "${TXT_NAME[@]}"
type_text "$PREFIX_NAME Added"
click_control "${TXT_CMDLINE[@]}"
type_text 'C:\qm\added.exe'
click_control "${BTN_ADD[@]}"
park_pointer
check "the typed entry is in the registry" value_is "$DEFAULT_USER" "$PREFIX_NAME Added" 'C:\qm\added.exe'
check_screen "the list shows it" list_shows_location "${LOCATION_4[@]}"

step delete
click_control "${BTN_MACHINE[@]}"
park_pointer
if click_entry "$PREFIX_NAME Once" "${LOCATION_1[@]}"; then
  check_screen "clicking the entry selects it" row_highlighted "$ENTRY_Y"
  # The list clicked has the focus: its Delete key is "D&elete Selection".
  key Delete
  answer_box "Confirm Delete" y delete-confirm
  answer_box "Process Removed" Return delete-removed
else
  fail "$STEP: the entry's line is found"
fi
step deleted
check "the RunOnce entry is gone from the registry" no_value "$MACHINE_ONCE" "$PREFIX_NAME Once"
check "its backup is beside the exe" test -f "$BUILD/${PREFIX_NAME}_Once.reg"
check_screen "the list no longer shows it" list_shows_location "${LOCATION_1[@]}"

step backups
click_control "${BTN_BACKUPS[@]}"
park_pointer
check_screen "Backups lists the backup files beside the exe" backup_list_shows_files

# Both backups, the RunOnce entry's and the shortcut's, restored one after the other.
restore_first_backup() {
  shot "$UI_TMP/rows.png"
  back_y=$(list_rows "$UI_TMP/rows.png" "${LST_BACK[@]}" | head -n 1)
  click_at $(($(twips "${LST_BACK[0]}") + 20)) "${back_y:-0}"
  park_pointer
  check_screen "clicking the backup selects it" backup_highlighted "${back_y:-0}"
  click_control "${BTN_RESTORE[@]}"
  park_pointer
  answer_box "Process Restored" Return "restore-$1"
}
step restore-select
if [ "$(backups_beside_exe)" = 2 ]; then
  restore_first_backup first
  restore_first_backup second
else
  shot "$SHOT"
  fail "$STEP: the two backups are the only files in the list ($(backups_beside_exe) .reg files beside the exe)"
fi
step restored
check "the entry is back in its RunOnce key" value_is "$MACHINE_ONCE" "$PREFIX_NAME Once" 'C:\qm\once.exe'
check "the shortcut is back, byte for byte" cmp -s "$USER_FOLDER/$PREFIX_NAME Link.lnk" "$UI_TMP/link"
check "and off, as it was" eval 'value_data "$FOLDER_APPROVED" "$PREFIX_NAME Link.lnk" | grep -q "^03000000"'
check "the backups are gone" eval '[ "$(backups_beside_exe)" = 0 ] && test ! -e "$BUILD/${PREFIX_NAME}_Link.lnk"'
check_screen "the list shows the RunOnce entry again" list_shows_location "${LOCATION_1[@]}"

step close
key alt+o
check "Alt+O closes the window" window_gone '^Quillmoor$'
check "the program ends" eval '! ui_program_running'
shot "$SHOT"

report
