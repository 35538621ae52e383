# Driving the real program for scripts/e2e-faults: start it, press its tone buttons, listen, time its answers,
# and stop and restart the sound server under it. Source after tests/e2e/lib.sh and tests/e2e/raziz_layout.sh.
#
#   start_program [DIR [WRAPPER...]]  runs $RAZIZ from DIR (default: a fresh empty folder), optionally under a
#                                     wrapper command; waits until its window is painted; sets APP and MAIN
#   press_tone BAND                   clicks a strip's tone button
#   hear ARGS... / silence            waits (4 s at most) for the last 150 ms of $REC to be as asked
#   click_latency BAND                clicks BAND's tone button and prints the milliseconds until its lamp
#                                     changes colour on the screen
#   kill_sound_server / restart_sound_server   SIGKILL the PulseAudio server; start it again on the same socket
#   open_menu N                       File, then item N (1 Help, 2 About, 3 Exit)
#   other_window / windows_are N      the program's window that is not the main one; how many are open
#   close_main_window / exited_with STATUS

FAULTS_TOOLS=$E2E_BUILD/tests/e2e-faults
APP=
MAIN=
PULSE_PID=

start_program() {
  local dir=${1:-} ; [ $# -gt 0 ] && shift
  [ -n "$dir" ] || { dir=$E2E_WORK/launch; mkdir -p "$dir"; }
  ( cd "$dir" && exec "$@" "$RAZIZ" ) >"$E2E_WORK/raziz.log" 2>&1 &
  APP=$!
  E2E_PIDS+=("$APP")
  wait_for 15 xdotool search --onlyvisible --class raziz || { echo "no window"; return 1; }
  MAIN=$(xdotool search --onlyvisible --class raziz | head -n 1)
  wait_for 10 _painted || { echo "the strips were not painted"; return 1; }
  # The last lamp is drawn with the last strip: wait for it to be green.
  wait_for 10 _lamp_green 8 || { echo "the lamps did not appear"; return 1; }
}
_painted() { screenshot "$E2E_WORK/start.png" && find_client_origin "$MAIN" "$E2E_WORK/start.png"; }
_lamp_green() { screenshot "$E2E_WORK/lamp.png" && [ "$(lamp_colour "$E2E_WORK/lamp.png" "$1")" = green ]; }

press_tone() { click_at $(tone_button_at "$1"); }

hear() {
  wait_for 4 sound expect "$REC" --last 150 "$@" && return 0
  sound expect "$REC" --last 150 "$@"
  return 1
}
silence() { hear --silent; }

lamp_is() {
  screenshot "$E2E_WORK/lamp.png"
  local colour
  colour=$(lamp_colour "$E2E_WORK/lamp.png" "$1")
  [ "$colour" = "$2" ] || { echo "lamp of band $1 is $colour, wanted $2"; return 1; }
}

click_latency() {
  local cx cy lx ly
  read -r cx cy < <(tone_button_at "$1")
  read -r lx ly < <(lamp_at "$1")
  "$FAULTS_TOOLS/raziz-e2e-click-latency" "$cx" "$cy" "$lx" "$ly" 2000
}

kill_sound_server() {
  [ -n "$PULSE_PID" ] || return 1
  kill -KILL "$PULSE_PID" 2>/dev/null
  wait_for 5 bash -c "! kill -0 $PULSE_PID 2>/dev/null" || return 1
  wait "$PULSE_PID" 2>/dev/null
  record_stop
  PULSE_PID=
}

restart_sound_server() {
  start_sound || return 1
  PULSE_PID=$SPAWNED
}

open_menu() {
  local wx wy ww wh i keys=()
  read -r wx wy ww wh < <(window_geometry "$MAIN")
  click_at $((wx + 15)) $((CLIENT_Y - 12))
  for ((i = 0; i < $1; i++)); do keys+=(Down); done
  press_key "${keys[@]}" Return
}
windows_open() { xdotool search --onlyvisible --class raziz 2>/dev/null | wc -l; }
windows_are() { [ "$(windows_open)" -eq "$1" ]; }
other_window() { xdotool search --onlyvisible --class raziz 2>/dev/null | grep -v "^$MAIN\$" | head -n 1; }

close_main_window() {
  local wx wy ww wh
  xdotool windowactivate --sync "$MAIN" 2>/dev/null
  read -r wx wy ww wh < <(window_geometry "$MAIN")
  click_at $((wx + ww - 8)) $((wy - 10))   # openbox's close button, at the right end of the title bar
}

exited_with() {
  wait_for 5 bash -c "! kill -0 $APP 2>/dev/null" || { echo "still running"; return 1; }
  wait "$APP"
  local rc=$?
  [ "$rc" -eq "$1" ] || { echo "exit status $rc"; cat "$E2E_WORK/raziz.log"; return 1; }
}
