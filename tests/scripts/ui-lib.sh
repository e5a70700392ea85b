# Shared by the scripts that drive the real quillmoor.exe from outside: a virtual display of
# their own, the program under Wine, real pointer and key input through xdotool, screenshots,
# pixels and the prefix's registry as `wine reg` sees it.
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib.sh"

UI_PROGRAM_PID=""
UI_WINDOW=""
# The client area's top-left corner in the X window (Wine draws the frame itself) and on screen.
UI_CLIENT_X=0 UI_CLIENT_Y=0 UI_ORIGIN_X=0 UI_ORIGIN_Y=0
UI_FACE="230,234,216"
UI_PASSED=0 UI_FAILED=0
UI_TMP=$(mktemp -d)

# A caller that already runs the persistent wineserver (the test suite) keeps it; the display
# is always our own.
ui_begin() {
  qm_prefix
  qm_display
  [ -n "${QM_KEEP_WINESERVER:-}" ] || qm_wineserver
}

ui_end() {
  if ui_program_running; then
    kill "$UI_PROGRAM_PID" 2>/dev/null || true
  fi
  if [ -n "${QM_KEEP_WINESERVER:-}" ]; then
    [ -n "$QM_XVFB_PID" ] && kill "$QM_XVFB_PID" 2>/dev/null || true
  else
    qm_stop
  fi
  rm -rf "$UI_TMP"
}

# ---- results ----

pass() {
  UI_PASSED=$((UI_PASSED + 1))
  echo "ok   $*"
}

fail() {
  UI_FAILED=$((UI_FAILED + 1))
  echo "FAIL $*"
}

# Prints the summary line; the exit status says whether anything failed.
report() {
  echo "$UI_PASSED passed, $UI_FAILED failed"
  [ "$UI_FAILED" = 0 ]
}

now_in_tenths() {
  local micro=${EPOCHREALTIME/[.,]/}
  echo $((micro / 100000))
}

# Runs a check until it holds, for at most the given number of tenths of a second.
poll() {
  local deadline=$(($(now_in_tenths) + $1))
  shift
  until "$@"; do
    (($(now_in_tenths) < deadline)) || return 1
    sleep 0.1
  done
}

# ---- the program and its windows ----

# An ended program stays a zombie until the script reaps it.
ui_program_running() {
  local state
  state=$(ps -o stat= -p "${UI_PROGRAM_PID:-0}" 2>/dev/null) && [[ $state != Z* ]]
}

# Starts quillmoor.exe from the build folder and waits for its main window to be painted.
start_program() {
  (cd "$BUILD" && exec wine "$BUILD/quillmoor.exe" </dev/null >"$BUILD/quillmoor-ui.log" 2>&1) &
  UI_PROGRAM_PID=$!
  UI_WINDOW=$(wait_for_window '^Quillmoor$' 20) || return 1
  poll 50 measure_client_area
}

# The id of the first visible window whose title matches, waiting up to the given seconds.
wait_for_window() {
  poll $((${2:-10} * 10)) find_window "$1" && echo "$UI_FOUND"
}

find_window() {
  UI_FOUND=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)
  [ -n "$UI_FOUND" ]
}

window_gone() {
  ! xdotool search --onlyvisible --name "$1" >/dev/null 2>&1
}

# Finds the client area in a screenshot: below the caption, the first row of the window's
# face colour down the middle; along that row, the first face-coloured pixel.
measure_client_area() {
  local wx wy ww wh
  read -r wx wy ww wh < <(xdotool getwindowgeometry --shell "$UI_WINDOW" |
    awk -F= '/^(X|Y|WIDTH|HEIGHT)=/ { printf "%s ", $2 }')
  local shot="$UI_TMP/measure.png"
  import -window root "$shot"
  UI_CLIENT_Y=$(first_face_pixel "$shot" "1x$wh+$((wx + ww / 2))+$wy" 2) || return 1
  UI_CLIENT_X=$(first_face_pixel "$shot" "${ww}x1+$wx+$((wy + UI_CLIENT_Y))" 1) || return 1
  UI_ORIGIN_X=$((wx + UI_CLIENT_X)) UI_ORIGIN_Y=$((wy + UI_CLIENT_Y))
}

# Offset along a one-pixel strip of the first face-coloured pixel (field 1 is x, 2 is y).
first_face_pixel() {
  convert "$1" -crop "$2" +repage txt:- |
    awk -v face="($UI_FACE)" -v field="$3" 'NR > 1 && $2 == face && !found { split($1, at, "[,:]"); print at[field]; found = 1 }
      END { exit !found }'
}

# ---- input, in client-area pixels or in the twips the windows are laid out in ----

# 15 twips are one pixel at 96 DPI.
twips() {
  echo $(($1 / 15))
}

point_at() {
  xdotool mousemove --window "$UI_WINDOW" $((UI_CLIENT_X + $1)) $((UI_CLIENT_Y + $2))
}

click_at() {
  point_at "$1" "$2"
  xdotool click 1
}

# The centre of a control given as in the window's layout: left, top, width, height in twips.
centre_of() {
  echo $(($(twips "$1") + $(twips "$3") / 2)) $(($(twips "$2") + $(twips "$4") / 2))
}

click_control() {
  click_at $(centre_of "$@")
}

key() {
  xdotool key "$@"
}

type_text() {
  xdotool type --delay 20 "$1"
}

# ---- what is on screen ----

# Saves the whole screen, so that message boxes and tool tips show as they are.
shot() {
  mkdir -p "$(dirname "$1")"
  import -window root "$1"
}

# "r,g,b" of pixels of the client area in a screenshot, one line for each x y pair given.
pixels() {
  local shot=$1 format="" at
  shift
  while (($# >= 2)); do
    at="p{$((UI_ORIGIN_X + $1)),$((UI_ORIGIN_Y + $2))}"
    format+="%[fx:round(255*$at.r)],%[fx:round(255*$at.g)],%[fx:round(255*$at.b)]\n"
    shift 2
  done
  convert "$shot" -format "$format" info:
}

pixel() {
  pixels "$@"
}

# ---- the prefix's registry as another process sees it ----

# Wine's services keep any inherited pipe open: the output goes through a file.
reg_run() {
  wine reg "$@" </dev/null >"$UI_TMP/reg.out" 2>&1
  local status=$?
  tr -d '\r' <"$UI_TMP/reg.out"
  return $status
}

# The value names of a key, in the order the registry enumerates them.
value_names() {
  reg_run query "$1" | awk -F '    ' '/^    [^ ]/ { print $2 }'
}

# The text of a value; fails when there is no such value.
value_data() {
  local out
  out=$(reg_run query "$1" /v "$2") || return 1
  awk -F '    ' -v name="$2" '/^    [^ ]/ && $2 == name { print $4; found = 1 } END { exit !found }' <<<"$out"
}

key_exists() {
  reg_run query "$1" >/dev/null
}

# ---- the prefix's Startup folders ----

# The folder of this user's (user) or all users' (common) Startup items, as a Linux path.
startup_folder() {
  local variable=APPDATA folder='Startup'
  [ "$1" = common ] && variable=ProgramData folder='StartUp'
  local windows
  windows=$(wine cmd /c "echo %$variable%" </dev/null 2>/dev/null | tr -d '\r')
  winepath -u "$windows\\Microsoft\\Windows\\Start Menu\\Programs\\$folder" 2>/dev/null
}

# Writes a shell link to a local program (a Windows path) with arguments, as the shell does.
make_link() {
  python3 - "$@" <<'PY'
import struct, sys
path, target, arguments = sys.argv[1], sys.argv[2].encode('ascii'), sys.argv[3]
header = struct.pack('<I16sI', 0x4C, bytes.fromhex('0114020000000000c000000000000046'), 0x2 | 0x20 | 0x80)
header += bytes(0x4C - len(header))
info = struct.pack('<7I', 0x1C + len(target) + 2, 0x1C, 1, 0, 0x1C, 0, 0x1C + len(target) + 1) + target + b'\0\0'
strings = struct.pack('<H', len(arguments)) + arguments.encode('utf-16-le')
open(path, 'wb').write(header + info + strings + bytes(4))
PY
}
