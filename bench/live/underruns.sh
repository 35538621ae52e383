#!/usr/bin/env bash
# Underruns per hour of build/raziz at its default latency on a real (private) PulseAudio server: nine bands
# sounding for MINUTES, then the close box; the program reports the underruns its output counted
# (RAZIZ_AUDIO_REPORT) as it ends.
#   bench/live/underruns.sh [MINUTES]    (default 20; E2E_BUILD as for the end-to-end tests)
set -uo pipefail
cd "$(dirname "$0")/../.."
source bench/desktop_session.sh
source bench/raziz_layout.sh
MINUTES=${1:-20}
[ -x "$E2E_BUILD/raziz" ] || { echo "not built: $E2E_BUILD/raziz"; exit 1; }

e2e_begin bench-underruns
start_display >/dev/null 2>&1 && start_sound >/dev/null 2>&1 || { echo "no display or sound server"; exit 1; }
export RAZIZ_AUDIO_REPORT=1
start_raziz || exit 1
sound_all_bands
load0=$(cut -d' ' -f1 /proc/loadavg)
started=$(date +%s)
loads=()
for ((m = 0; m < MINUTES; m++)); do
  sleep 60
  loads+=("$(cut -d' ' -f1 /proc/loadavg)")
done
seconds=$(($(date +%s) - started))
xdotool windowactivate --sync "$MAIN" key --clearmodifiers alt+F4 >/dev/null 2>&1
wait_for 10 bash -c "! kill -0 $APP 2>/dev/null" || { echo "raziz did not end on the close box"; exit 1; }
report=$(grep '^raziz audio:' "$E2E_WORK/raziz.log")
[ -n "$report" ] || { echo "raziz reported nothing"; cat "$E2E_WORK/raziz.log"; exit 1; }
underruns=$(awk '{ print $3 }' <<<"$report")
printf '%s\n' "$report"
awk -v u="$underruns" -v s="$seconds" 'BEGIN { printf "underruns per hour: %.1f (%d in %.1f min)\n", u * 3600 / s, u, s / 60 }'
printf 'load average (1 min) at the start %s, then each minute: %s\n' "$load0" "${loads[*]}"
