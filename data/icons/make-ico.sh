#!/usr/bin/env bash
# Makes a Windows icon file from one of the dialogs' drawings at the given sizes in pixels (by default
# those of a caption and About icon: 16, 20, 24, 32, 40, 48, 64 and 80). The build runs it for each icon
# of Icons.cmake:
#   data/icons/make-ico.sh data/icons/plugin.svg OUT.ico [SIZE...]
# It needs rsvg-convert (Debian's librsvg2-bin) and icotool (icoutils).
set -euo pipefail
svg=$1
out=$2
shift 2
sizes=("$@")
((${#sizes[@]})) || sizes=(16 20 24 32 40 48 64 80)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
pngs=()
for size in "${sizes[@]}"; do
  rsvg-convert -w "$size" -h "$size" -o "$work/$size.png" "$svg"
  pngs+=("$work/$size.png")
done
icotool -c -o "$out" "${pngs[@]}"
