# For the live benchmarks: a private X display with a window manager, a private PulseAudio server with a
# 48 kHz float null sink, recording of what reaches it, synthetic input and screenshots.
# Source it from bash; nothing here depends on the program under test.
#
#   e2e_begin NAME          private work folder (isolated HOME and XDG folders); stops everything on exit
#   start_display [WxH]     Xvfb on a free display number + openbox; exports DISPLAY
#   start_sound             pulseaudio with sink "e2e" (48000 Hz, float32le, stereo); exports PULSE_SERVER
#   start_a11y              session bus + accessibility bus; exports DBUS_SESSION_BUS_ADDRESS
#   spawn NAME CMD...       starts CMD in the background, log in $E2E_WORK/NAME.log; PID in $SPAWNED
#   stop_pid PID            TERM, then KILL after 3 s; its children too
#   wait_for SECS CMD...    runs CMD every 20 ms until it succeeds; fails after SECS
#   record_start FILE / record_stop     raw float32le stereo 48 kHz of the sink's monitor
#   record_ms FILE          how many milliseconds have been written so far
#   sound ARGS...           the analysis tool (raziz-e2e-sound: tones, expect, clicks, length)
#   click_at X Y [BUTTON]   move_to X Y   drag X1 Y1 X2 Y2   type_text TEXT   press_key KEY...
#   screenshot FILE         the whole screen as PNG
#   pixel_at FILE X Y       prints "R G B" (0..255) of one pixel of a screenshot
#   window_geometry WID     prints "X Y W H" of a window's inside (what the program draws in)
#   register_browser FILE   makes a recorder the desktop's handler for web addresses: each address opened
#                           is appended to FILE, one per line
#   check NAME CMD...       runs CMD, counts it as passed or failed, shows its output on failure
#   e2e_summary             prints "N passed, N failed" and returns non-zero if any failed
#
# E2E_BUILD names the build folder (default: build/ of this checkout).

E2E_REPO=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
E2E_BUILD=${E2E_BUILD:-$E2E_REPO/build}
E2E_PIDS=()
E2E_PASSED=0
E2E_FAILED=0
SPAWNED=

e2e_log() { printf '[%s] %s\n' "$(date +%H:%M:%S.%3N)" "$*" >&2; }

e2e_begin() {
  E2E_NAME=${1:-e2e}
  E2E_WORK=$(mktemp -d "/tmp/raziz-$E2E_NAME.XXXXXX")
  # The programs under test must not see the real user's settings, sessions or handlers.
  export HOME=$E2E_WORK/home XDG_CONFIG_HOME=$E2E_WORK/home/.config XDG_DATA_HOME=$E2E_WORK/home/.local/share
  export XDG_CACHE_HOME=$E2E_WORK/home/.cache XDG_RUNTIME_DIR=$E2E_WORK/run
  mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"
  unset DISPLAY WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS PULSE_SERVER
  # The first GTK program on a fresh display otherwise probes OpenGL (tens of MB, tens of ms).
  export GDK_GL=disable GDK_BACKEND=x11 NO_AT_BRIDGE=1
  trap e2e_end EXIT
  trap 'exit 130' INT TERM
}

# Every process we started, newest first, with whatever it started in turn.
e2e_end() {
  local i
  for ((i = ${#E2E_PIDS[@]} - 1; i >= 0; i--)); do
    stop_pid "${E2E_PIDS[i]}"
  done
  E2E_PIDS=()
  [ -n "${E2E_KEEP_WORK:-}" ] || rm -rf "$E2E_WORK"
}

spawn() {
  local name=$1; shift
  "$@" >"$E2E_WORK/$name.log" 2>&1 &
  SPAWNED=$!
  E2E_PIDS+=("$SPAWNED")
}

descendants() {
  local child
  for child in $(ps -o pid= --ppid "$1" 2>/dev/null); do
    descendants "$child"
    echo "$child"
  done
}

stop_pid() {
  local pid=$1 kids
  kill -0 "$pid" 2>/dev/null || return 0
  kids=$(descendants "$pid")
  kill -TERM "$pid" $kids 2>/dev/null
  wait_for 3 bash -c "! kill -0 $pid 2>/dev/null" || kill -KILL "$pid" $kids 2>/dev/null
  wait "$pid" 2>/dev/null
  return 0
}

wait_for() {
  local secs=$1; shift
  local deadline=$((${EPOCHREALTIME/./} + ${secs%.*} * 1000000))
  until "$@" >/dev/null 2>&1; do
    [ "${EPOCHREALTIME/./}" -lt "$deadline" ] || return 1
    sleep 0.02
  done
}

start_display() {
  local size=${1:-1280x1024}
  spawn xvfb Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset 3>"$E2E_WORK/display"
  # Xvfb picks a free display number and writes it once it accepts connections.
  wait_for 10 test -s "$E2E_WORK/display" || { e2e_log "Xvfb did not start"; return 1; }
  export DISPLAY=:$(head -n 1 "$E2E_WORK/display")
  spawn openbox openbox --sm-disable
  wait_for 10 bash -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' \
    || { e2e_log "openbox did not start"; return 1; }
  e2e_log "display $DISPLAY ($size) with openbox"
}

start_sound() {
  local dir=$E2E_WORK/pulse
  mkdir -p "$dir" "$XDG_CONFIG_HOME/pulse"
  cat >"$XDG_CONFIG_HOME/pulse/daemon.conf" <<EOF
default-sample-format = float32le
default-sample-rate = 48000
alternate-sample-rate = 48000
avoid-resampling = yes
flat-volumes = no
EOF
  echo "autospawn = no" >"$XDG_CONFIG_HOME/pulse/client.conf"
  cat >"$dir/e2e.pa" <<EOF
load-module module-null-sink sink_name=e2e rate=48000 format=float32le channels=2 sink_properties=device.description=e2e
load-module module-native-protocol-unix socket=$dir/native auth-anonymous=1
set-default-sink e2e
set-default-source e2e.monitor
EOF
  # We run as root in CI: a per-user daemon, not --system, with its own runtime folder and socket. All of
  # it runs at real-time priority (where allowed), below the program's audio threads: the machine may be
  # busy with builds, and what is judged is the program's sound, not a starved test server.
  spawn pulseaudio env PULSE_RUNTIME_PATH="$dir" pulseaudio -n -F "$dir/e2e.pa" --daemonize=no \
    --exit-idle-time=-1 --disallow-exit --use-pid-file=no --log-target=stderr --realtime=yes --high-priority=yes
  export PULSE_SERVER=unix:$dir/native
  wait_for 10 pactl info || { e2e_log "pulseaudio did not start"; return 1; }
  # The daemon sets its main thread, which takes in the clients' audio, back to normal scheduling.
  chrt -r -p 10 "$SPAWNED" >/dev/null 2>&1 || true
  # The first stream on a fresh null sink stalls for up to two seconds and then catches up with gaps:
  # let a short stream of silence take that, so that what is tested starts on a running sink.
  head -c 38400 /dev/zero | pacat --format=float32le --rate=48000 --channels=2 --latency-msec=20 --playback \
    || { e2e_log "the sink does not play"; return 1; }
  e2e_log "pulseaudio at $PULSE_SERVER, sink e2e (48000 Hz float32le)"
}

start_a11y() {
  spawn dbus dbus-daemon --session --nofork --nopidfile --address="unix:path=$E2E_WORK/bus" \
    --print-address=1
  export DBUS_SESSION_BUS_ADDRESS=unix:path=$E2E_WORK/bus
  wait_for 10 test -S "$E2E_WORK/bus" || { e2e_log "dbus-daemon did not start"; return 1; }
  spawn a11y /usr/libexec/at-spi-bus-launcher --launch-immediately
  wait_for 10 gdbus call --session --dest org.a11y.Bus --object-path /org/a11y/bus \
    --method org.a11y.Bus.GetAddress || { e2e_log "the accessibility bus did not start"; return 1; }
  unset NO_AT_BRIDGE
  e2e_log "session bus and accessibility bus up"
}

record_start() {
  E2E_RECORDING=$1
  : >"$E2E_RECORDING"
  spawn parec parec --device=e2e.monitor --format=float32le --rate=48000 --channels=2 --raw \
    --latency-msec=10 "$E2E_RECORDING"
  E2E_RECORDER=$SPAWNED
  # The monitor of a fresh sink, too, may hold back its first data for a couple of seconds.
  wait_for 10 bash -c "[ -s '$E2E_RECORDING' ]" || { e2e_log "parec records nothing"; return 1; }
}

record_stop() {
  [ -n "${E2E_RECORDER:-}" ] && stop_pid "$E2E_RECORDER"
  E2E_RECORDER=
}

sound() { "$E2E_BUILD/tests/e2e/raziz-e2e-sound" "$@"; }
record_ms() { sound length "$1"; }

# Waits until at least MS more milliseconds have been recorded than at the call.
record_wait_ms() {
  local file=$1 ms=$2 start
  start=$(record_ms "$file")
  wait_for "$((ms / 1000 + 5))" bash -c "[ \$('$E2E_BUILD/tests/e2e/raziz-e2e-sound' length '$file') -ge $((start + ms)) ]"
}

# No --sync: xdotool then waits some 15 s when the pointer is already where it is sent. The X server takes
# the motion and the button events in order, so the click lands at the new position all the same.
move_to() { xdotool mousemove "$1" "$2"; }
click_at() { xdotool mousemove "$1" "$2" click "${3:-1}"; }
drag() {
  xdotool mousemove "$1" "$2" mousedown 1
  xdotool mousemove "$(( ($1 + $3) / 2 ))" "$(( ($2 + $4) / 2 ))"
  xdotool mousemove "$3" "$4" mouseup 1
}
type_text() { xdotool type --delay 30 -- "$1"; }
press_key() { xdotool key --delay 30 "$@"; }

screenshot() { import -window root "png:$1"; }

pixel_at() {
  convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- | sed -n '2s/^[^(]*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3/p'
}

window_geometry() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
    /^ *Width:/ {w=$NF} /^ *Height:/ {h=$NF} END {print x, y, w, h}'
}

register_browser() {
  local log=$1
  : >"$log"
  mkdir -p "$XDG_DATA_HOME/applications"
  printf '#!/bin/sh\necho "$1" >>"%s"\n' "$log" >"$E2E_WORK/record-address"
  chmod +x "$E2E_WORK/record-address"
  printf '%s\n' "[Desktop Entry]" "Type=Application" "Name=Address recorder" \
    "Exec=$E2E_WORK/record-address %u" "MimeType=x-scheme-handler/http;x-scheme-handler/https;" \
    "NoDisplay=true" >"$XDG_DATA_HOME/applications/e2e-browser.desktop"
  printf '%s\n' "[Default Applications]" "x-scheme-handler/http=e2e-browser.desktop" \
    "x-scheme-handler/https=e2e-browser.desktop" >"$XDG_CONFIG_HOME/mimeapps.list"
}

# Runs in this shell, so that what the check sets (a started program's PID, say) stays set.
check() {
  local name=$1 out=$E2E_WORK/check.out start=${EPOCHREALTIME/./} took; shift
  if "$@" >"$out" 2>&1; then
    took=$(( (${EPOCHREALTIME/./} - start) / 100000 ))
    E2E_PASSED=$((E2E_PASSED + 1))
    echo "ok    $name ($((took / 10)).$((took % 10)) s)"
  else
    took=$(( (${EPOCHREALTIME/./} - start) / 100000 ))
    E2E_FAILED=$((E2E_FAILED + 1))
    echo "FAIL  $name ($((took / 10)).$((took % 10)) s)"
    sed 's/^/      /' "$out"
  fi
  return 0
}

e2e_summary() {
  echo "$E2E_PASSED passed, $E2E_FAILED failed"
  [ "$E2E_FAILED" -eq 0 ]
}
