#!/bin/sh
# Pages made by the command line, read back by poppler (pdfinfo, pdftotext), rsvg-convert and file.
set -eu
programme=$(readlink -f "$1/ardemo")
corpus=$(readlink -f "$(dirname "$0")/../fuzz/corpus")
d=$(mktemp -d /tmp/ardemo-page.XXXXXX) && trap 'rm -rf "$d"' EXIT && cd "$d"
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
echec() { echo "ÉCHEC : $*"; exit 1; }
: > vide.ini
a() { "$programme" --ini vide.ini "$@"; }

# Paper and orientation as pdfinfo reads them (whole points: 210 x 297 mm is 595 x 842, Letter 8.5 x 11 in 612 x 792).
while read -r options taille; do
  a --annee 2027 $options --sortie p.pdf && pdfinfo p.pdf | grep -q "^Page size: *$taille" || echec "$options : $(pdfinfo p.pdf | grep size)"
done <<'TABLE'
--papier=A4 595 x 842 pts (A4)
--paysage 842 x 595 pts (A4)
--papier=a3 842 x 1191 pts (A3)
--papier=A5 420 x 595 pts (A5)
--papier=lettre 612 x 792 pts (letter)
TABLE

# A school year, zone B imported and labelled by its events' names, the holidays listed, the weeks numbered.
zoneb="$corpus/fuzz_ics/zone-b-2025-2026.ics"
a --annee 2025-2026 --importer "$zoneb" --couleur '#00A000' --paysage --liste-feries --semaines --sortie ecole.pdf \
  --sortie ecole.png --sortie ecole.svg 2> erreur.txt
[ ! -s erreur.txt ] || echec "message sans --details : $(cat erreur.txt)"
pdftotext -layout ecole.pdf ecole.txt
for t in "Année scolaire 2025-2026" "Week-ends" "Jours fériés" "Vacances Zone B" "11 novembre 2025 : Armistice 11 Novembre 1918" \
  "6 avril 2026 : Lundi de Pâques" "septembre 2025" "août 2026"; do grep -q "$t" ecole.txt || echec "« $t » absent du PDF"; done
# ISO weeks: 1 September 2025 opens week 36; 28 December 2025 closes week 52, 29 December opens week 1.
grep -Eq '(^| )36 +1 +2 +3 +4 +5 +6 +7' ecole.txt && grep -Eq '(^| )1 +29 +30 +31' ecole.txt || echec "numéros de semaine"
file ecole.png | grep -q "PNG image data, 1754 x 1240" || echec "PNG à 150 dpi : $(file ecole.png)"
rsvg-convert ecole.svg > /dev/null && grep -q 'width="297mm" height="210mm"' ecole.svg || echec "SVG"

# A term: September to December only, and the summary asked for on the error output.
a --annee 2025-2026 --importer "$zoneb" --etiquette "Vacances zone B" --mois 9-12 --titre "Premier trimestre" --details \
  --sortie trimestre.pdf 2> erreur.txt
pdftotext trimestre.pdf - > trimestre.txt
grep -q "Premier trimestre" trimestre.txt && grep -q "Vacances zone B" trimestre.txt && grep -q "décembre 2025" trimestre.txt \
  && ! grep -q "janvier 2026" trimestre.txt || echec "trimestre : $(cat trimestre.txt | head -5)"
grep -q "zone-b-2025-2026.ics : 64 jours de 2025-2026 dans 4 événements : Vacances de la Toussaint - Zone B, " erreur.txt \
  || echec "--details : $(cat erreur.txt)"

# Refused: a page in BMP, months across the sheet's end, an unknown paper or grid.
while read -r attendu options; do
  [ "$(a $options 2> erreur.txt || echo "code $?")" = "code 2" ] && grep -q "$attendu" erreur.txt || echec "$options : $(cat erreur.txt)"
done <<'TABLE'
.bmp --paysage --sortie x.bmp
suivent --annee 2027 --mois 12-1 --sortie x.pdf
B5 --papier B5 --sortie x.pdf
5x5 --disposition 5x5 --sortie x.pdf
TABLE
echo "pages : tout est bon"
