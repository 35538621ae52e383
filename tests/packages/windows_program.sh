#!/usr/bin/env bash
# An unpacked raziz.exe under wine, started from another folder, as the Windows end-to-end test starts it:
# its window painted with all nine lamps green, and the 1000 Hz band heard alone at 0.2 with its lamp red
# once pressed. Usage: windows_program.sh EXE. Prints "N passed, N failed" last.
set -uo pipefail
EXE=$1
cd "$(dirname "$0")/../.."
source tests/e2e/lib.sh
source tests/e2e/raziz_layout.sh
source tests/e2e-windows/wine.sh
[ -x "$E2E_BUILD/tests/e2e/raziz-e2e-sound" ] || { echo "the sound judge is not built"; echo "0 passed, 1 failed"; exit 1; }

e2e_begin packages-windows
start_display && start_sound && start_wine || { echo "no display, sound server or wine prefix"; echo "0 passed, 1 failed"; exit 1; }
REC=$E2E_WORK/session.raw
record_start "$REC" || { echo "0 passed, 1 failed"; exit 1; }

shot() { screenshot "$E2E_WORK/$1.png"; echo "$E2E_WORK/$1.png"; }
painted() {
  read -r CLIENT_X CLIENT_Y < <(frame_client_origin "$MAIN" 1)
  [ "$(pixel_at "$(shot starting)" $((CLIENT_X + 12)) $((CLIENT_Y + 30)))" = "192 192 192" ]
}
lamps_green() {
  local s b
  s=$(shot lamps)
  for b in 0 1 2 3 4 5 6 7 8; do [ "$(lamp_colour "$s" $b)" = green ] || return 1; done
}
starts_with_green_lamps() {
  # start_exe starts it from the work folder, away from the executable's own.
  start_exe raziz "$EXE"
  wait_for 60 bash -c "[ -n \"\$(xdotool search --onlyvisible --name '^Raziz' 2>/dev/null)\" ]" || { echo "no window"; return 1; }
  MAIN=$(xdotool search --onlyvisible --name '^Raziz' | head -n 1)
  wait_for 20 painted || { echo "the window was not painted"; return 1; }
  wait_for 10 lamps_green || { echo "lamps: $(for b in 0 1 2 3 4 5 6 7 8; do lamp_colour "$E2E_WORK/lamps.png" $b; done | xargs)"; return 1; }
}
tone_heard() {
  click_at $(tone_button_at 3)
  wait_for 5 sound expect "$REC" --last 150 --tone 1000:0.2 --others-below -70 ||
    { sound expect "$REC" --last 150 --tone 1000:0.2 --others-below -70; return 1; }
  [ "$(lamp_colour "$(shot pressed)" 3)" = red ] || { echo "the 1000 Hz lamp is $(lamp_colour "$E2E_WORK/pressed.png" 3)"; return 1; }
}
check "raziz.exe starts from another folder with its nine lamps green" starts_with_green_lamps
[ -n "${MAIN:-}" ] && check "pressed, the 1000 Hz band is heard alone at 0.2 and its lamp turns red" tone_heard
record_stop
e2e_summary
