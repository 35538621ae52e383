#!/usr/bin/env bash
# scripts/sound-servers on machines of each kind, each a dpkg database of its own holding the given packages:
# a machine on PipeWire is never offered PulseAudio (pipewire-audio and pipewire-alsa conflict with it),
# one on PulseAudio never PipeWire's pulse server, and a machine with neither gets both.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
servers=$here/../../scripts/sound-servers
admin=$(mktemp -d)
trap 'rm -rf "$admin"' EXIT
mkdir -p "$admin/info" "$admin/updates"

# machine: "PACKAGE[=STATUS] ..." (STATUS defaults to installed)
pretend() {
  local entry name status
  : >"$admin/status"
  for entry in $1; do
    name=${entry%%=*}
    status="install ok installed"
    [ "$entry" = "${entry#*=}" ] || status=${entry#*=}
    printf 'Package: %s\nStatus: %s\nVersion: 1\nArchitecture: all\nMaintainer: x <x@example.org>\nDescription: x\n\n' \
      "$name" "$status" >>"$admin/status"
  done
}

passed=0 failed=0
both="pulseaudio pipewire pipewire-pulse wireplumber"
pipewire="pipewire pipewire-pulse wireplumber"
#     machine                                         option  expected
cases=(
  "|                                                  |       |$both"
  "|                                                  |--one  |pulseaudio"
  "|pulseaudio                                        |       |pulseaudio"
  "|pulseaudio                                        |--one  |pulseaudio"
  "|pipewire pipewire-audio pipewire-pulse pipewire-alsa|     |$pipewire"
  "|pipewire pipewire-audio pipewire-pulse pipewire-alsa|--one|$pipewire"
  "|pipewire-alsa                                     |       |$pipewire"
  "|pipewire pipewire-pulse                           |--one  |$pipewire"
  "|pulseaudio pipewire pipewire-pulse wireplumber    |       |$both"
  "|pulseaudio=deinstall~ok~config-files              |       |$both"
  "|pipewire-pulse=deinstall~ok~config-files pulseaudio|      |pulseaudio"
)
for row in "${cases[@]}"; do
  IFS='|' read -r _ machine option expected <<<"$row"
  machine=$(xargs <<<"$machine") option=$(xargs <<<"$option")
  pretend "$machine"
  # "~" stands for a blank inside a status in the table.
  sed -i 's/~/ /g' "$admin/status"
  got=$(DPKG_ADMINDIR=$admin "$servers" $option)
  if [ "$got" = "$expected" ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAIL  machine [$machine] $option: got [$got], wanted [$expected]"
  fi
done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
