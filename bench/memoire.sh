#!/bin/sh
# Resident memory of the running program after start-up (first calendar built),
# under a private X server. Usage: sh bench/memoire.sh [build/ardemo]
set -eu
programme=$(readlink -f "${1:-build/ardemo}")
dossier=$(mktemp -d /tmp/ardemo-memoire.XXXXXX)
ecran=:$(( 180 + $$ % 50 ))
Xvfb "$ecran" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $pid $xvfb 2>/dev/null; rm -rf "$dossier"' EXIT
sleep 1
cp "$programme" "$dossier/ardemo"
cd "$dossier"
DISPLAY=$ecran ./ardemo >/dev/null 2>&1 &
pid=$!
sleep 4
rss=$(awk '/VmRSS/ {print $2}' /proc/$pid/status)
hwm=$(awk '/VmHWM/ {print $2}' /proc/$pid/status)
echo "Mémoire résidente après le démarrage : $((rss / 1024)) Mo (pointe $((hwm / 1024)) Mo ; objectif <= 32 Mo)"
