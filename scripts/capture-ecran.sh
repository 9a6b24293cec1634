#!/bin/sh
# Screenshot of the main window for the README: the program started in a fresh
# folder under a private X server, the calendar of the given year built.
# Usage: sh scripts/capture-ecran.sh [year] [output.png]
set -eu
cd "$(dirname "$0")/.."
annee="${1:-2027}"
sortie="${2:-docs/ecran-principal.png}"
dossier=$(mktemp -d /tmp/ardemo-capture.XXXXXX)
ecran=:$(( 130 + $$ % 50 ))
Xvfb "$ecran" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $programme $xvfb 2>/dev/null; rm -rf "$dossier"' EXIT
sleep 1
cp build/ardemo "$dossier/"
(cd "$dossier" && DISPLAY=$ecran ./ardemo >/dev/null 2>&1) &
programme=$!
export DISPLAY=$ecran
for i in $(seq 50); do
  fenetre=$(xdotool search --onlyvisible --name Ardemo 2>/dev/null | head -1) && [ -n "$fenetre" ] && break
  sleep 0.2
done
xdotool windowfocus --sync "$fenetre"
sleep 2
# The year box, then "Fabriquer le Calendrier".
xdotool mousemove --sync 50 117 click 1
xdotool key ctrl+a
xdotool type --delay 30 "$annee"
xdotool key Tab
xdotool mousemove --sync 134 158 click 1
sleep 2.5
xdotool mousemove --sync 1200 1000
sleep 0.3
mkdir -p "$(dirname "$sortie")"
import -window root -crop 917x869+0+0 +repage "$sortie"
echo "$sortie"
