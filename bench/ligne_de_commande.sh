#!/bin/sh
# Calendars made from the command line, whole process timed (start, drawing,
# writing, end), without any display:
#  - one PDF of 2027, side by side in the same loop with the pcal + ps2pdf
#    pipeline when both are installed (goal: ratio <= 0.75);
#  - one PNG; twelve years as twelve calls (goal < 1.5 s);
#  - peak memory of one call (goal < 60 MB).
# Usage: sh bench/ligne_de_commande.sh [build/ardemo] [runs]
set -eu
programme=$(readlink -f "${1:-build/ardemo}")
essais=${2:-15}
dossier=$(mktemp -d /tmp/ardemo-bench.XXXXXX)
trap 'rm -rf "$dossier"' EXIT
cd "$dossier"
unset DISPLAY WAYLAND_DISPLAY

ms() { echo $(( $(date +%s%N) / 1000000 )); }
# Median of the numbers given one per line.
mediane() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

pcal_ok=0
if command -v pcal >/dev/null && command -v ps2pdf >/dev/null; then
  pcal_ok=1
else
  echo "pcal ou ps2pdf absent : la comparaison est sautée (apt-get install pcal ghostscript)"
fi

: > pdf.txt; : > pcal.txt; : > png.txt
"$programme" --annee 2027 --sortie chauffe.pdf # caches warm for both
[ $pcal_ok = 1 ] && pcal -w -o chauffe.ps 2027 && ps2pdf chauffe.ps chauffe2.pdf
i=0
while [ $i -lt "$essais" ]; do
  t=$(ms); "$programme" --annee 2027 --sortie x.pdf; echo $(( $(ms) - t )) >> pdf.txt
  if [ $pcal_ok = 1 ]; then
    t=$(ms); pcal -w -o x.ps 2027 && ps2pdf x.ps y.pdf; echo $(( $(ms) - t )) >> pcal.txt
  fi
  t=$(ms); "$programme" --annee 2027 --sortie x.png; echo $(( $(ms) - t )) >> png.txt
  i=$((i + 1))
done
pdf=$(mediane < pdf.txt)
echo "ardemo --annee 2027 --sortie x.pdf : médiane $pdf ms sur $essais lancements"
if [ $pcal_ok = 1 ]; then
  pcal=$(mediane < pcal.txt)
  echo "pcal -w -o x.ps 2027 && ps2pdf x.ps x.pdf : médiane $pcal ms"
  echo "rapport Ardemo / pcal : $(awk -v a="$pdf" -v b="$pcal" 'BEGIN { printf "%.2f", a / b }') (objectif <= 0.75)"
fi
echo "ardemo --annee 2027 --sortie x.png : médiane $(mediane < png.txt) ms"

: > douze.txt
for fois in 1 2 3; do
  t=$(ms)
  for an in 2027 2028 2029 2030 2031 2032 2033 2034 2035 2036 2037 2038; do
    "$programme" --annee $an --sortie "calendrier-$an.pdf"
  done
  echo $(( $(ms) - t )) >> douze.txt
done
echo "douze années en douze appels (PDF) : médiane $(mediane < douze.txt) ms sur 3 boucles (objectif < 1500 ms)"

if [ -x /usr/bin/time ]; then
  /usr/bin/time -v "$programme" --annee 2027 --sortie x.pdf 2> temps.txt
  ko=$(awk -F: '/Maximum resident set size/ { gsub(/ /, "", $2); print $2 }' temps.txt)
  echo "mémoire de pointe d'un appel : $(( ko / 1024 )) Mo (objectif < 60 Mo)"
else
  echo "/usr/bin/time absent : mémoire de pointe non mesurée (apt-get install time)"
fi
