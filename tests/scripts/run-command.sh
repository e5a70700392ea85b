#!/usr/bin/env bash
# The run command on a machine without a display: it must leave a screenshot of the main
# window whose client area is 549 x 400 pixels of the window's face colour.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
shot=$(env -u DISPLAY QM_KEEP_WINESERVER=1 bash "$root/scripts/run.sh" | tail -n 1)
[ -f "$shot" ] || { echo "no screenshot: $shot"; exit 1; }
face='rgb(230,234,216)'
# Paint everything but the face black and trim: the client area's left, right and bottom
# edges are all face colour (the caption's icon may hold some too, so the top is found below).
box=$(convert "$shot" -fill black +opaque "$face" -trim -format '%w %h %X %Y' info: | tr -d '+')
set -- $box
width=$1 left=$3 bottom=$(($4 + $2))
pixel() { convert "$shot" -format "%[pixel:p{$1,$2}]" info:; }
# The client area's top row is the first of the face-coloured column below the frame.
top=$(convert "$shot" -crop "1x${bottom}+${left}+0" +repage txt:- |
  awk -v face='(230,234,216)' 'NR > 1 { split($1, at, "[,:]"); if (index($0, face)) { if (!run) start = at[2]; run = 1 } else run = 0 }
    END { print start }')
height=$((bottom - top))
echo "client area: $width x $height at ($left, $top)"
[ "$width" = 549 ] && [ "$height" = 400 ] || { echo "expected 549 x 400"; exit 1; }
for point in "$((left + 1)) $((top + 1))" "$((left + 547)) $((bottom - 2))" "$((left + 274)) $((bottom - 3))"; do
  set -- $point
  [ "$(pixel "$1" "$2")" = "srgb(230,234,216)" ] || { echo "pixel $point is $(pixel "$1" "$2")"; exit 1; }
done
echo "1 passed, 0 failed"
