#!/usr/bin/env bash
# How long the README's first command takes on a fresh Debian machine: a minimal root made by debootstrap
# from this machine's own Debian source, a clean clone of this repository in it, no display, so scripts/run
# ends in the demonstration. Prints the time from `scripts/run` to the demonstration's window, and what apt
# downloaded and installed for it. Needs root (debootstrap, chroot, mounts); touches nothing outside ROOT.
#   bench/install/fresh_run.sh [ROOT]   (default: a new folder under /var/tmp, removed afterwards)
set -euo pipefail
repo=$(cd "$(dirname "$0")/../.." && pwd)
[ "$(id -u)" -eq 0 ] || { echo "fresh_run: needs root (debootstrap, chroot)"; exit 2; }
command -v debootstrap >/dev/null || { echo "fresh_run: needs debootstrap"; exit 2; }

# The first Debian source this machine's apt uses, in either format.
mirror=$(awk '/^URIs:/ { print $2; exit }' /etc/apt/sources.list.d/*.sources 2>/dev/null || true)
[ -n "$mirror" ] || mirror=$(awk '$1 == "deb" { print $2; exit }' /etc/apt/sources.list 2>/dev/null || true)
[ -n "$mirror" ] || { echo "fresh_run: no Debian source found in /etc/apt"; exit 2; }
suite=$(. /etc/os-release && echo "$VERSION_CODENAME")

own_root=0
if [ $# -ge 1 ]; then root=$1; mkdir -p "$root"; else root=$(mktemp -d /var/tmp/raziz-fresh.XXXXXX); own_root=1; fi
mounted=()
cleanup() {
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount -l "${mounted[i]}" 2>/dev/null || true; done
  [ $own_root -eq 1 ] && rm -rf --one-file-system "$root"
  return 0
}
trap cleanup EXIT

echo "fresh_run: debootstrap --variant=minbase $suite into $root"
debootstrap --variant=minbase "$suite" "$root" "$mirror" >"$root.debootstrap.log" 2>&1 ||
  { tail -20 "$root.debootstrap.log"; exit 1; }
rm -f "$root.debootstrap.log"
for fs in proc sys dev dev/pts dev/shm; do
  mount --bind "/$fs" "$root/$fs"
  mounted+=("$root/$fs")
done
cp /etc/resolv.conf "$root/etc/resolv.conf"
# git comes with the clone, not with the machine: the clone is made here and copied in.
git clone -q "$repo" "$root/root/raziz"

before=$(chroot "$root" dpkg-query -W -f '${Installed-Size}\n' | awk '{ s += $1 } END { print s }')
packages_before=$(chroot "$root" dpkg-query -W -f '.\n' | wc -l)
log=$root/root/run.log
start=$(date +%s.%N)
# The demonstration prints its first step once the window is seen painted: that is the time taken.
chroot "$root" env -i HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
  LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive PYTHONUNBUFFERED=1 bash -c 'cd /root/raziz && scripts/run' >"$log" 2>&1 &
runner=$!
reached=""
while kill -0 "$runner" 2>/dev/null; do
  if grep -q "start-up until the window is seen painted" "$log" 2>/dev/null; then
    reached=$(date +%s.%N)
    break
  fi
  sleep 0.2
done
wait "$runner" || true
[ -n "$reached" ] || { echo "fresh_run: the demonstration's window was never reached:"; tail -30 "$log"; exit 1; }

after=$(chroot "$root" dpkg-query -W -f '${Installed-Size}\n' | awk '{ s += $1 } END { print s }')
packages_after=$(chroot "$root" dpkg-query -W -f '.\n' | wc -l)
downloaded=$(du -sk "$root/var/cache/apt/archives" | cut -f1)
awk -v a="$start" -v b="$reached" 'BEGIN { printf "fresh_run: scripts/run reached the demonstration window in %.0f s\n", b - a }'
echo "fresh_run: installed $((packages_after - packages_before)) packages, $(((after - before) / 1024)) MB;" \
  "downloaded $((downloaded / 1024)) MB"
tail -n 12 "$log"
