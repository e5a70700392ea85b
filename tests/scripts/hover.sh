#!/usr/bin/env bash
# The main window's buttons light up under the real pointer, as seen on screen: over
# "&HKLM Run" the flat face turns into an outer ring of (64,64,127) around (192,192,255);
# with the pointer gone it is the window's face colour again.
set -uo pipefail
source "$(dirname "$0")/ui-lib.sh"

SHOTS=$BUILD/screenshots/hover
RING="64,64,127"
INSIDE="192,192,255"

# "&HKLM Run" as laid out in app/FrmMain.cpp, in twips, and in client pixels.
BUTTON=(180 840 1845 375)
LEFT=$(twips "${BUTTON[0]}") TOP=$(twips "${BUTTON[1]}")
WIDTH=$(twips "${BUTTON[2]}") HEIGHT=$(twips "${BUTTON[3]}")
MIDDLE_Y=$((TOP + HEIGHT / 2))
# Points of the one-pixel outer edge, and points inside that neither the caption, the icon
# nor the focus rectangle covers.
RING_POINTS=("$LEFT $MIDDLE_Y" "$((LEFT + WIDTH - 1)) $MIDDLE_Y" "$((LEFT + WIDTH / 2)) $TOP")
INSIDE_POINTS=("$((LEFT + 2)) $MIDDLE_Y" "$((LEFT + WIDTH - 3)) $MIDDLE_Y" "$((LEFT + WIDTH / 2)) $((TOP + 1))")

SHOT=""

# Every given point of the latest screenshot has the colour.
points_are() {
  local colour=$1 seen
  shift
  seen=$(pixels "$SHOT" $*) && ! grep -qvx "$colour" <<<"$seen"
}

looks() {
  shot "$SHOT" && points_are "$1" "${RING_POINTS[@]}" && points_are "$2" "${INSIDE_POINTS[@]}"
}

# Where the look differs, for the failure message.
describe_points() {
  paste -d= <(printf '(%s)\n' "${RING_POINTS[@]/ /,}" "${INSIDE_POINTS[@]/ /,}") \
    <(pixels "$SHOT" ${RING_POINTS[*]} ${INSIDE_POINTS[*]}) | tr '\n' ' '
}

# The look is checked for up to two seconds after the pointer moved.
expect_look() {
  local name=$1 what=$2 ring=$3 inside=$4
  SHOT="$SHOTS/$name.png"
  if poll 20 looks "$ring" "$inside"; then
    pass "$name: $what"
  else
    fail "$name: $what; on screen: $(describe_points)"
  fi
}

trap ui_end EXIT
trap "exit 1" INT TERM
ui_begin
rm -rf "$SHOTS"
mkdir -p "$SHOTS"

if ! start_program; then
  fail "the main window shows (see $BUILD/quillmoor-ui.log)"
  report
  exit 1
fi
point_at 540 4
expect_look 01-rest "the button's face is the window's before the pointer comes" "$UI_FACE" "$UI_FACE"
point_at $((LEFT + WIDTH / 2)) "$MIDDLE_Y"
expect_look 02-hover "under the pointer: ring $RING, inside $INSIDE" "$RING" "$INSIDE"
point_at 540 4
expect_look 03-away "the face is the window's again once the pointer leaves" "$UI_FACE" "$UI_FACE"
key alt+o
poll 50 window_gone '^Quillmoor$' || fail "Alt+O closes the window"

report
