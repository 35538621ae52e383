# Running raziz.exe under wine inside the end-to-end harness (source tests/e2e/lib.sh first).
#
#   start_wine              a fresh 64-bit prefix in the work folder (wineboot --init), its X11 driver
#                           drawing the window frames itself (Managed=N) with the marlett font for the
#                           caption buttons, sound through wine's PulseAudio driver; wineserver -k for
#                           this prefix when the test ends
#   register_url_handler FILE   every web address the system is asked to open is appended to FILE
#   start_exe NAME EXE      starts EXE under wine; its wine process in $SPAWNED
#   wine_windows            the X ids of the visible top-level windows of raziz.exe, one per line
#   window_frame WID        prints "X Y W H" of a top-level window's outer frame on the screen
#   frame_client_origin WID [MENU]   prints "X Y" of the window's client area (MENU 1: below a menu bar)
#   close_box_of WID        prints "X Y" of the close box that wine draws in the title bar
#   raise_window WID        brings the window to the front (no window manager looks after wine's frames)
#   open_drop_down          the X id of the visible drop-down menu of raziz.exe, if one is open

# On Windows the audio threads run at raised priority (RtAudio asks for it). wine maps thread priorities to
# nice values only where RLIMIT_NICE allows, which it does not here (and it cannot be raised); so wine as a
# whole (its server, started by wineboot, and the program) runs at this nice value instead, to keep its
# sound going while screenshots and input tools keep the machine busy.
WINE_NICE=-10

start_wine() {
  export WINEPREFIX=$E2E_WORK/wine WINEARCH=win64 WINEDEBUG=-all
  # No prompts for the .NET and HTML engines, which the program does not use.
  export WINEDLLOVERRIDES="mscoree,mshtml="
  trap 'stop_wine; e2e_end' EXIT
  nice -n "$WINE_NICE" wineboot --init >"$E2E_WORK/wineboot.log" 2>&1 || { e2e_log "wineboot failed"; return 1; }
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 &&
    wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /d pulse /f >/dev/null 2>&1 ||
    { e2e_log "the wine registry could not be set"; return 1; }
  cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" ||
    { e2e_log "no marlett font (package fonts-wine)"; return 1; }
  e2e_log "wine prefix $WINEPREFIX ($(wine --version))"
}

stop_wine() {
  [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ] && wineserver -k 2>/dev/null
  return 0
}

register_url_handler() {
  local log=$1 dos
  : >"$log"
  dos="Z:$(tr / '\\' <<<"$log")"
  local scheme
  for scheme in http https; do
    wine reg add "HKCR\\$scheme\\shell\\open\\command" /ve /d "C:\\windows\\system32\\cmd.exe /c echo %1>>$dos" \
      /f >/dev/null 2>&1 || return 1
  done
}

start_exe() {
  local name=$1 exe=$2
  # From another folder, as a user starting it from a shortcut would: the program finds its images itself.
  spawn "$name" bash -c 'cd "$1" && exec nice -n "$2" wine "$3"' _ "$E2E_WORK" "$WINE_NICE" "$exe"
}

wine_windows() {
  local wid
  # Titled and larger than wine's 1 x 1 IME windows; an open drop-down menu has no title.
  for wid in $(xdotool search --onlyvisible --class 'raziz.exe' 2>/dev/null); do
    xwininfo -id "$wid" 2>/dev/null |
      awk '/^xwininfo: Window id:/ { titled = ($0 !~ /\(has no name\)/) } /^ *Width:/ { wide = ($NF > 1) }
           END { exit !(titled && wide) }' && echo "$wid"
  done
  return 0
}

window_frame() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
    /^ *Width:/ {w=$NF} /^ *Height:/ {h=$NF} END {print x, y, w, h}'
}

# wine's frame of a fixed-size window with a title bar, by its default metrics: a 3-pixel border and a
# 19-pixel caption, then a 19-pixel menu bar. The checks confirm them (the strips' face where the client
# area should begin, the icon where the title bar should show it).
WINE_BORDER=3
WINE_CAPTION=19
WINE_MENU=19

frame_client_origin() {
  local x y w h
  read -r x y w h < <(window_frame "$1")
  echo $((x + WINE_BORDER)) $((y + WINE_BORDER + WINE_CAPTION + ${2:-0} * WINE_MENU))
}

close_box_of() {
  local x y w h
  read -r x y w h < <(window_frame "$1")
  echo $((x + w - WINE_BORDER - 10)) $((y + WINE_BORDER + WINE_CAPTION / 2))
}

raise_window() { xdotool windowraise "$1"; }

open_drop_down() {
  local wid
  for wid in $(xdotool search --onlyvisible --class 'raziz.exe' 2>/dev/null); do
    xwininfo -id "$wid" 2>/dev/null |
      awk '/^xwininfo: Window id:/ { untitled = ($0 ~ /\(has no name\)/) } /^ *Width:/ { wide = ($NF > 1) }
           END { exit !(untitled && wide) }' && { echo "$wid"; return 0; }
  done
  return 1
}
