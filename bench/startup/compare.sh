#!/usr/bin/env bash
# Start-up (exec to the painted main window) and idle memory of build/raziz against its baseline, a plain
# GTK 3 program with the same 54 controls in the same layout and no sound or images (plain-gtk-strips),
# and, for reference, a bare GTK 3 window with and without a label; all started the same way on the same
# private display and sound server, alternating, in one run.
#   bench/startup/compare.sh [RUNS]      (default 7; the build folder is E2E_BUILD, default build/)
set -uo pipefail
cd "$(dirname "$0")/../.."
source bench/desktop_session.sh
source bench/raziz_layout.sh
RUNS=${1:-7}
PROBE=$E2E_BUILD/bench/startup/startup-probe
BARE=$E2E_BUILD/bench/startup/bare-gtk-window
STRIPS=$E2E_BUILD/bench/startup/plain-gtk-strips
for p in "$PROBE" "$BARE" "$STRIPS" "$E2E_BUILD/raziz"; do [ -x "$p" ] || { echo "not built: $p"; exit 1; }; done

e2e_begin bench-startup
start_display >/dev/null 2>&1 && start_sound >/dev/null 2>&1 || { echo "no display or sound server"; exit 1; }

# Where to look: a pixel of strip 0's grey face in raziz; the middle of the bare window's themed face.
spawn raziz "$E2E_BUILD/raziz"
wait_for 10 xdotool search --onlyvisible --class raziz || exit 1
MAIN=$(xdotool search --onlyvisible --class raziz | head -n 1)
painted() { screenshot "$E2E_WORK/s.png" && find_client_origin "$MAIN" "$E2E_WORK/s.png"; }
wait_for 10 painted || exit 1
stop_pid "$SPAWNED"
RAZIZ_AT="$((CLIENT_X + 8)) $((CLIENT_Y + 200)) c0c0c0"
BARE_AT="$((CLIENT_X + 400)) $((CLIENT_Y + 200)) f6f5f4"

run() {  # name probe-args program
  local name=$1 at=$2; shift 2
  # Settle 1 s before reading the memory: the idle program, not one still starting.
  "$PROBE" $at 1000 -- "$@" | awk -v n="$name" '{ print n, $2, $4 }'
}
: >"$E2E_WORK/results"
run bare "$BARE_AT" "$BARE" >/dev/null      # warm caches for all four
run labelled "$BARE_AT" "$BARE" label >/dev/null
run strips "$RAZIZ_AT" "$STRIPS" >/dev/null
run raziz "$RAZIZ_AT" "$E2E_BUILD/raziz" >/dev/null
for ((i = 0; i < RUNS; i++)); do
  run bare "$BARE_AT" "$BARE" >>"$E2E_WORK/results"
  run labelled "$BARE_AT" "$BARE" label >>"$E2E_WORK/results"
  run strips "$RAZIZ_AT" "$STRIPS" >>"$E2E_WORK/results"
  run raziz "$RAZIZ_AT" "$E2E_BUILD/raziz" >>"$E2E_WORK/results"
done

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
for what in ms kb; do
  col=$([ $what = ms ] && echo 2 || echo 3)
  b=$(awk -v c=$col '$1 == "bare" { print $c }' "$E2E_WORK/results" | median)
  t=$(awk -v c=$col '$1 == "labelled" { print $c }' "$E2E_WORK/results" | median)
  p=$(awk -v c=$col '$1 == "strips" { print $c }' "$E2E_WORK/results" | median)
  r=$(awk -v c=$col '$1 == "raziz" { print $c }' "$E2E_WORK/results" | median)
  label=$([ $what = ms ] && echo "start-up to painted window (ms)" || echo "idle RSS (kB)")
  awk -v l="$label" -v b="$b" -v t="$t" -v p="$p" -v r="$r" -v n="$RUNS" 'BEGIN {
    printf "%-32s plain GTK 3 strips %8.1f  raziz %8.1f  ratio %.2f (%s 1.15x)   [bare window %.1f, with a label %.1f: raziz %.2fx bare]; median of %d\n",
           l, p, r, r / p, (r / p <= 1.15 ? "within" : "over"), b, t, r / b, n }'
done
printf 'load average: %s\n' "$(cut -d' ' -f1-3 /proc/loadavg)"
