# The checks of scripts/e2e-packages. Source from bash in the repository's root.
#   check NAME CMD...            runs CMD, counts it as passed or failed, shows its output on failure
#   left_out WHAT                counts nothing, says why
#   program_cell NAME DESKTOP PROGRAM CELL   the end-to-end scenario's start-up, lamps and one band on PROGRAM
#   summary                      "N passed, N failed"; non-zero if any failed

PACKAGES_PASSED=0
PACKAGES_FAILED=0
DEB_INSTALLED_HERE=0

check() {
  local name=$1 out; shift
  if out=$("$@" 2>&1); then
    PACKAGES_PASSED=$((PACKAGES_PASSED + 1))
    echo "ok    $name"
    [ -z "$out" ] || sed 's/^/      /' <<<"$out"
  else
    PACKAGES_FAILED=$((PACKAGES_FAILED + 1))
    echo "FAIL  $name"
    sed 's/^/      /' <<<"$out"
  fi
}
left_out() { echo "--    left out: $1"; }
summary() {
  echo "$PACKAGES_PASSED passed, $PACKAGES_FAILED failed"
  [ "$PACKAGES_FAILED" -eq 0 ]
}

# "PATH TYPE LINK" for every file and link below a folder, directories left out.
tree_of() { (cd "$1" && find . ! -type d -printf '%P %y %l\n' | sort); }

deb_is_clean() {
  local deb=$1 tree=$2 report
  report=$(lintian --fail-on error --pedantic "$deb" 2>&1 | grep -v 'running with root privileges') ||
    { echo "$report"; return 1; }
  [ -z "$report" ] || echo "lintian, below errors: $(wc -l <<<"$report") tag(s): $(awk '{print $1, $3}' <<<"$report" | sort | uniq -c | xargs)"
  rm -rf "$tree" && mkdir -p "$tree" && dpkg-deb -x "$deb" "$tree" || return 1
  appstreamcli validate --no-net "$tree"/usr/share/metainfo/*.xml >/dev/null ||
    { appstreamcli validate --no-net "$tree"/usr/share/metainfo/*.xml; return 1; }
  desktop-file-validate "$tree"/usr/share/applications/*.desktop
}

trees_agree() {
  local deb=$1 tarball=$2 dir=$3
  rm -rf "$dir" && mkdir -p "$dir"/deb "$dir"/tar "$dir"/prefix "$dir"/destdir
  dpkg-deb -x "$deb" "$dir"/deb && tar -xzf "$tarball" -C "$dir"/tar || return 1
  cmake --install build-package --prefix "$dir"/prefix >/dev/null || return 1
  DESTDIR=$dir/destdir cmake --install build-package >/dev/null || return 1
  tree_of "$dir"/deb/usr >"$dir"/deb.list
  [ -s "$dir"/deb.list ] || { echo "the .deb holds nothing under /usr"; return 1; }
  local other list
  for other in "$dir"/tar/raziz-* "$dir"/prefix "$dir"/destdir/usr; do
    list=$dir/$(basename "$other").list
    tree_of "$other" >"$list"
    diff -u "$dir"/deb.list "$list" >&2 || { echo "$other differs from the .deb"; return 1; }
  done
}

# Prints why the .deb may not be installed here, if it may not.
deb_install_refused() {
  if [ "$(id -u)" -ne 0 ]; then
    echo "not root (dpkg -i changes the machine: CI runs this as root)"
  elif dpkg-query -W -f='${Status}' raziz 2>/dev/null | grep -q ' installed$'; then
    echo "a raziz package is installed already ($(dpkg-query -W -f='${Version}' raziz)); it is left alone"
  elif [ -e /usr/bin/raziz ] || [ -e /usr/lib/raziz ]; then
    echo "/usr/bin/raziz or /usr/lib/raziz exists outside any package; it is left alone"
  else
    return 1
  fi
}

# dpkg -i, waiting while another apt or dpkg holds the lock.
dpkg_waiting() {
  local tries=0 out
  until out=$(dpkg "$@" 2>&1); do
    grep -q 'lock' <<<"$out" && [ $tries -lt 120 ] || { echo "$out"; return 1; }
    tries=$((tries + 1))
    sleep 5
  done
}

# Each path the package holds, and whether it was on the machine: "PATH yes|no".
paths_present() {
  dpkg-deb -c "$1" | awk '{ p = $6; sub(/^\./, "", p); sub(/\/$/, "", p); if (p != "") print p }' |
    while read -r path; do
      if [ -e "$path" ] || [ -L "$path" ]; then echo "$path yes"; else echo "$path no"; fi
    done
}

deb_installs() {
  local deb=$1 before=$2 exec_line command
  paths_present "$deb" >"$before"
  DEB_INSTALLED_HERE=1
  dpkg_waiting -i "$deb" || return 1
  dpkg-query -W -f='${Status}\n' raziz | grep -q ' installed$' || { echo "dpkg says: $(dpkg-query -W raziz)"; return 1; }
  exec_line=$(sed -n 's/^Exec=//p' /usr/share/applications/com.riduvoaudio.raziz.desktop)
  command=$(command -v "${exec_line%% *}") || { echo "the menu entry's Exec=$exec_line is not on PATH"; return 1; }
  [ "$(readlink -f "$command")" = /usr/lib/raziz/raziz ] && [ -x /usr/lib/raziz/raziz ] ||
    { echo "Exec=$exec_line runs $command -> $(readlink -f "$command")"; return 1; }
  for image in verde.png rosso.png slider.png verde@2x.png rosso@2x.png slider@2x.png; do
    [ -f /usr/lib/raziz/$image ] || { echo "no /usr/lib/raziz/$image"; return 1; }
  done
}

deb_removes() {
  local before=$1 after bad
  dpkg_waiting -r raziz || return 1
  DEB_INSTALLED_HERE=0
  dpkg-query -W -f='${Status}\n' raziz 2>/dev/null | grep -q ' installed$' && { echo "raziz is still installed"; return 1; }
  after=$before.after
  awk '{ print $1 }' "$before" | while read -r path; do
    if [ -e "$path" ] || [ -L "$path" ]; then echo "$path yes"; else echo "$path no"; fi
  done >"$after"
  bad=$(diff "$before" "$after" | sed -n 's/^> //p')
  [ -z "$bad" ] || { echo "changed by installing and removing (path, now there?):"; echo "$bad"; return 1; }
  ! ls /var/lib/dpkg/info/raziz.* >/dev/null 2>&1 || { echo "dpkg still keeps: $(ls /var/lib/dpkg/info/raziz.*)"; return 1; }
}

package_cleanup() {
  [ "$DEB_INSTALLED_HERE" -eq 1 ] && dpkg_waiting -r raziz >/dev/null
  return 0
}

# PROGRAM started from another folder on a private desktop and sound server, through the end-to-end
# scenario's start-up, lamp and 1000 Hz band checks: its window shows the nine lamps green, and the pressed
# band is heard alone with its lamp red. DESKTOP is x11 for a Linux program, wine for raziz.exe.
program_cell() {
  local name=$1 desktop=$2 program=$3 cell=$4 sound=pulseaudio out rc
  command -v pulseaudio >/dev/null || sound=pipewire
  out=$(scripts/e2e --desktop "$desktop" --sound "$sound" --program "$program" --cell "$cell" \
                    --only silent_and_green band_3 2>&1)
  rc=$?
  if grep -q '^cell .* left out: ' <<<"$out"; then
    left_out "$name: $(sed -n 's/^cell .* left out: //p' <<<"$out")"
  elif [ $rc -eq 0 ] && grep -q '^ok ' <<<"$out" && ! grep -q '^-- ' <<<"$out"; then
    PACKAGES_PASSED=$((PACKAGES_PASSED + 1))
    echo "ok    $name"
  else
    PACKAGES_FAILED=$((PACKAGES_FAILED + 1))
    echo "FAIL  $name"
    sed 's/^/      /' <<<"$out"
  fi
}
