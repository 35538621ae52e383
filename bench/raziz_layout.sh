# Where the program's controls are on the screen, from the main window's layout (client-area coordinates)
# and the client area's origin. Source after desktop_session.sh; set CLIENT_X and CLIENT_Y with find_client_origin.
#
# Strip b's group panel stands at (6 + 88 b, -6); its inner area starts 4 right of and 16 below that, so at
# (10 + 88 b, 10) in the client area. Each *_at function prints "X Y" on the screen.

BAND_HZ=(500 630 800 1000 1250 1600 2000 2500 3150)

_in_strip() { echo $((CLIENT_X + 10 + 88 * $1 + $2)) $((CLIENT_Y + 10 + $3)); }
lamp_at() { _in_strip "$1" 39 25; }               # lamp (14, 0, 50, 50), its middle
tone_button_at() { _in_strip "$1" 38 91; }        # (9, 74, 58, 34)
frequency_field_at() { _in_strip "$1" 38 124; }   # (13, 115, 50, 18)
level_field_at() {                                # (13, 384, 50, 18); band 1 at x 9
  if [ "$1" -eq 1 ]; then _in_strip 1 34 393; else _in_strip "$1" 38 393; fi
}
square_box_at() { _in_strip "$1" 14 421; }        # (4, 410, 74, 23), on the box itself
triangle_box_at() { _in_strip "$1" 14 446; }      # (4, 435, 74, 23)
# The slider (9, 1, 23, 200) in the well (12, 140) whose inner area starts at (+4, +16).
slider_x() { echo $((CLIENT_X + 10 + 88 * $1 + 12 + 4 + 9 + 11)); }
slider_top() { echo $((CLIENT_Y + 10 + 140 + 16 + 1)); }

# The client area starts where the strips' grey face begins below the menu bar: scan down strip 0's
# panel, left of its lamp, in a screenshot.
find_client_origin() {
  local wid=$1 shot=$2 wx wy ww wh row
  read -r wx wy ww wh < <(window_geometry "$wid")
  row=$(convert "$shot" -crop "1x80+$((wx + 15))+$wy" +repage -depth 8 txt:- |
        awk -F'[,:() ]+' '$3 == 192 && $4 == 192 && $5 == 192 { print $2; exit }')
  [ -n "$row" ] || return 1
  CLIENT_X=$wx
  CLIENT_Y=$((wy + row))
}

# "red", "green" or "other(r,g,b)": the mean colour of the lamp's middle in a screenshot.
lamp_colour() {
  local shot=$1 x y r g b
  read -r x y < <(lamp_at "$2")
  read -r r g b < <(convert "$shot" -crop "16x16+$((x - 8))+$((y - 4))" +repage -resize '1x1!' -depth 8 txt:- |
                    sed -n '2s/^[^(]*(\([0-9.]*\),\([0-9.]*\),\([0-9.]*\).*/\1 \2 \3/p')
  r=${r%.*} g=${g%.*} b=${b%.*}
  if [ "${r:-0}" -gt $((${g:-0} + 60)) ]; then echo red
  elif [ "${g:-0}" -gt $((${r:-0} + 60)) ]; then echo green
  else echo "other($r,$g,$b)"; fi
}

# Starts $E2E_BUILD/raziz on the session's display and waits until its window is painted and its client
# origin found; its PID is then in $APP and its main window in $MAIN.
start_raziz() {
  spawn raziz "$E2E_BUILD/raziz"
  APP=$SPAWNED
  wait_for 10 xdotool search --onlyvisible --class raziz || return 1
  MAIN=$(xdotool search --onlyvisible --class raziz | head -n 1)
  painted() { screenshot "$E2E_WORK/s.png" && find_client_origin "$MAIN" "$E2E_WORK/s.png"; }
  wait_for 10 painted
}
# Presses every band's tone button, so all nine sound.
sound_all_bands() { local b; for b in 0 1 2 3 4 5 6 7 8; do click_at $(tone_button_at $b); done; }
