#!/usr/bin/env bash
# build/raziz running on a private display and PulseAudio server:
#  - the output latency PulseAudio reports for its stream (buffer + sink latency), with nine bands sounding;
#  - the CPU the process uses with nine bands sounding, and the share of its UI thread, over SECONDS;
#  - the CPU of the UI thread while idle (it should sleep in Wait).
#   bench/live/measure.sh [SECONDS]     (default 10; the build folder is E2E_BUILD, default build/)
set -uo pipefail
cd "$(dirname "$0")/../.."
source bench/desktop_session.sh
source bench/raziz_layout.sh
SECONDS_TO_MEASURE=${1:-10}
[ -x "$E2E_BUILD/raziz" ] || { echo "not built: $E2E_BUILD/raziz"; exit 1; }

e2e_begin bench-live
start_display >/dev/null 2>&1 && start_sound >/dev/null 2>&1 || { echo "no display or sound server"; exit 1; }
REC=$E2E_WORK/rec.raw
record_start "$REC" >/dev/null 2>&1 || { echo "cannot record"; exit 1; }
start_raziz || exit 1

ticks() { awk '{ print $14 + $15 }' "$1"; }   # utime + stime, in clock ticks
hz=$(getconf CLK_TCK)
cpu_over() {  # stat file, seconds -> percent of one core
  local a b
  a=$(ticks "$1"); sleep "$2"; b=$(ticks "$1")
  awk -v d=$((b - a)) -v s="$2" -v hz="$hz" 'BEGIN { printf "%.2f", 100 * d / hz / s }'
}

idle_ui=$(cpu_over "/proc/$APP/task/$APP/stat" "$SECONDS_TO_MEASURE")

sound_all_bands
sleep 2
latencies=()
for i in 1 2 3 4 5; do
  l=$(pactl list sink-inputs | awk -v pid="$APP" '
    function flush() { if (mine && !done) { printf "%.1f", (buf + sink) / 1000; done = 1 } }
    /^Sink Input #/ { flush(); mine = 0; buf = sink = 0 }
    /Buffer Latency:/ { buf = $3 }
    /Sink Latency:/ { sink = $3 }
    $0 ~ "application.process.id = \"" pid "\"" { mine = 1 }
    END { flush() }')
  [ -n "$l" ] && latencies+=("$l")
  sleep 0.5
done
# The whole process, its UI thread and every other thread over the same interval.
threads() { for t in /proc/$APP/task/*; do echo "$(basename "$t") $(ticks "$t/stat") $(cat "$t/comm")"; done; }
p0=$(ticks "/proc/$APP/stat"); u0=$(ticks "/proc/$APP/task/$APP/stat"); threads >"$E2E_WORK/t0"
sleep "$SECONDS_TO_MEASURE"
p1=$(ticks "/proc/$APP/stat"); u1=$(ticks "/proc/$APP/task/$APP/stat"); threads >"$E2E_WORK/t1"
pct() { awk -v d="$1" -v s="$SECONDS_TO_MEASURE" -v hz="$hz" 'BEGIN { printf "%.2f", 100 * d / hz / s }'; }
total=$(pct $((p1 - p0)))
ui=$(pct $((u1 - u0)))
heard=$(sound tones "$REC" --last 200 2>/dev/null | grep -c '^tone' || true)

printf 'output latency reported by PulseAudio (ms): %s   (max %s; target <= 20)\n' "${latencies[*]:-none}" \
  "$(printf '%s\n' "${latencies[@]:-0}" | sort -n | tail -n 1)"
printf 'CPU with nine bands sounding (%s tones heard): %s%% of one core (UI thread %s%%); target < 1%%\n' \
  "$heard" "$total" "$ui"
join "$E2E_WORK/t0" "$E2E_WORK/t1" | awk -v s="$SECONDS_TO_MEASURE" -v hz="$hz" '
  { printf "  thread %-16s %.2f%%\n", $3, 100 * ($4 - $2) / hz / s }'
printf 'UI thread while idle: %s%% of one core over %s s\n' "$idle_ui" "$SECONDS_TO_MEASURE"
