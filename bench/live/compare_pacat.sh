#!/usr/bin/env bash
# CPU of build/raziz with nine bands sounding against pacat playing float stereo into the same private
# PulseAudio server at the same requested output latency (ASK_MS, default 20: what raziz asks for), both
# running at once and measured over the same intervals, ROUNDS times. CPU is the processes' own run time
# (schedstat, nanoseconds), not wall time.
#   bench/live/compare_pacat.sh [SECONDS_PER_ROUND] [ROUNDS]   (default 20 s, 3 rounds; E2E_BUILD as for e2e)
# Prints each round, then the medians and the ratio raziz / pacat, and the machine's load average.
set -uo pipefail
cd "$(dirname "$0")/../.."
source bench/desktop_session.sh
source bench/raziz_layout.sh
SECONDS_PER_ROUND=${1:-20}
ROUNDS=${2:-3}
ASK_MS=${ASK_MS:-20}
# raziz's audio thread runs at real-time priority (round robin, 70) where it may; by default pacat does
# too, so the two are scheduled alike. PACAT_SCHED= (empty) runs pacat as it comes.
PACAT_SCHED=${PACAT_SCHED-chrt -r 70}
[ -x "$E2E_BUILD/raziz" ] || { echo "not built: $E2E_BUILD/raziz"; exit 1; }

e2e_begin bench-pacat
start_display >/dev/null 2>&1 && start_sound >/dev/null 2>&1 || { echo "no display or sound server"; exit 1; }
start_raziz || exit 1
sound_all_bands
sleep 2

# Buffer + sink latency (ms) PulseAudio reports for the stream of process PID.
latency_of() {
  pactl list sink-inputs | awk -v pid="$1" '
    function flush() { if (mine && !done) { printf "%.1f", (buf + sink) / 1000; done = 1 } }
    /^Sink Input #/ { flush(); mine = 0; buf = sink = 0 }
    /Buffer Latency:/ { buf = $3 }
    /Sink Latency:/ { sink = $3 }
    $0 ~ "application.process.id = \"" pid "\"" { mine = 1 }
    END { flush() }'
}
[ -n "$(latency_of "$APP")" ] || { echo "raziz has no stream on the server"; exit 1; }
# pacat asks for the output latency raziz asks for (20 ms, PulseAudio's "adjust latency" mode); what the
# server then reports for each is printed beside it.
spawn pacat sh -c "exec $PACAT_SCHED pacat --playback --format=float32le --rate=48000 --channels=2 --latency-msec=$ASK_MS </dev/zero"
PACAT=$SPAWNED
sleep 2
[ -n "$(latency_of "$PACAT")" ] || { echo "pacat has no stream on the server"; exit 1; }
mean_latency() {  # pid -> mean of five readings, ms
  for i in 1 2 3 4 5; do latency_of "$1"; echo; sleep 0.2; done | awk 'NF { s += $1; n++ } END { printf "%.1f", s / n }'
}
raziz_latency=$(mean_latency "$APP")
pacat_latency=$(mean_latency "$PACAT")

# Run time of every thread of a process, in nanoseconds.
run_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ s += $1 } END { printf "%.0f", s }'; }
# Per thread, for the profile: "tid ns name".
threads() { for t in /proc/"$1"/task/*; do echo "$(basename "$t") $(cut -d' ' -f1 "$t/schedstat") $(cat "$t/comm")"; done 2>/dev/null; }
results=()
threads "$APP" >"$E2E_WORK/raziz0"; threads "$PACAT" >"$E2E_WORK/pacat0"; s0=$(date +%s.%N)
for ((r = 1; r <= ROUNDS; r++)); do
  a0=$(run_ns "$APP"); p0=$(run_ns "$PACAT"); t0=$(date +%s.%N)
  sleep "$SECONDS_PER_ROUND"
  a1=$(run_ns "$APP"); p1=$(run_ns "$PACAT"); t1=$(date +%s.%N)
  line=$(awk -v a=$((a1 - a0)) -v p=$((p1 - p0)) -v t0="$t0" -v t1="$t1" 'BEGIN {
    s = t1 - t0; printf "%.3f %.3f %.2f", 100 * a / 1e9 / s, 100 * p / 1e9 / s, a / p }')
  results+=("$line")
  read -r ra pa ratio <<<"$line"
  printf 'round %d: raziz %s%%  pacat %s%%  ratio %s\n' "$r" "$ra" "$pa" "$ratio"
done
threads "$APP" >"$E2E_WORK/raziz1"; threads "$PACAT" >"$E2E_WORK/pacat1"; s1=$(date +%s.%N)
for who in raziz pacat; do
  join "$E2E_WORK/${who}0" "$E2E_WORK/${who}1" | awk -v w=$who -v s0="$s0" -v s1="$s1" '
    { printf "  %s thread %-16s %.3f%%\n", w, $3, 100 * ($4 - $2) / 1e9 / (s1 - s0) }'
done
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
ra=$(printf '%s\n' "${results[@]}" | awk '{ print $1 }' | median)
pa=$(printf '%s\n' "${results[@]}" | awk '{ print $2 }' | median)
ratio=$(printf '%s\n' "${results[@]}" | awk '{ print $3 }' | median)
printf 'pacat started as: %s\n' "${PACAT_SCHED:-(plain)} pacat"
printf 'latency both asked for: %s ms; PulseAudio reports (buffer + sink, mean of 5): raziz %s ms, pacat %s ms\n' \
  "$ASK_MS" "$raziz_latency" "$pacat_latency"
printf 'CPU, median of %d rounds of %s s: raziz %s%% of one core, pacat %s%%, ratio %s (goal <= 1.2)\n' \
  "$ROUNDS" "$SECONDS_PER_ROUND" "$ra" "$pa" "$ratio"
printf 'load average: %s\n' "$(cut -d' ' -f1-3 /proc/loadavg)"
