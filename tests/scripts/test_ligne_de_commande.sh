#!/bin/sh
# Calendars made from the command line with no display at all: the four file
# types read back by other programs (poppler, Pillow, an XML parser), the .Cal
# year and colours, the settings file read but never written, and the refusals.
set -eu
programme=$(readlink -f "$1/ardemo")
d=$(mktemp -d /tmp/ardemo-ldc.XXXXXX)
trap 'rm -rf "$d"' EXIT
cd "$d"
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
echec() { echo "ÉCHEC : $*"; exit 1; }
ok=0
passe() { ok=$((ok + 1)); }

# The settings file of another program folder: its colours and width are used,
# the file is left exactly as it was. Border 255 is pure red.
printf '[Couleurs]\r\nBordure= 255\r\n[Taille]\r\nLargeur=150\r\n' > autre.ini
cp autre.ini autre.avant
: > vide.ini # the default colours, whatever the build folder's settings

# 2027 at 200 mm in the four types, in one call, with nothing on stdout.
sortie=$("$programme" --ini vide.ini --annee 2027 --largeur 200 --sortie c.pdf --sortie c.png --sortie c.bmp --sortie c.svg)
[ -z "$sortie" ] || echec "texte sur la sortie standard : $sortie"
pdfinfo c.pdf > info.txt
grep -q "^Pages: *1$" info.txt || echec "PDF : une page attendue"
largeur=$(awk '/^Page size:/ { printf "%d", $3 * 25.4 / 72 }' info.txt)
[ "$largeur" -ge 200 ] && [ "$largeur" -le 215 ] || echec "PDF : page de $largeur mm pour 200 mm"
pdftotext c.pdf texte.txt
for mois in janvier février mars avril mai juin juillet août septembre octobre novembre décembre; do
  grep -q "^$mois 2027$" texte.txt || echec "PDF : « $mois 2027 » absent du texte"
done
grep -q "^Lun Mar Mer Jeu Ven Sam Dim$" texte.txt || echec "PDF : noms des jours absents"
[ "$(pdfimages -list c.pdf | wc -l)" -eq 2 ] || echec "PDF : contient une image"
passe

# The two display boxes unticked: each changes the picture, and not alike.
"$programme" --ini vide.ini --annee 2027 --sans-weekend --sortie sw.png
"$programme" --ini vide.ini --annee 2027 --sans-feries --sortie sf.png
# A region's extra days (Alsace-Moselle: 26 March 2027) change the picture; its name without accents.
"$programme" --ini vide.ini --annee 2027 --region ALSACE-MOSELLE --sortie am.png
"$programme" --ini vide.ini --annee 2027 --region "la reunion" --sortie lr.png
for paire in "c.png sw.png" "c.png sf.png" "sw.png sf.png" "c.png am.png" "c.png lr.png" "am.png lr.png"; do
  [ "$(compare -metric AE $paire null: 2>&1)" != "0" ] || echec "--sans-weekend / --sans-feries : $paire identiques"
done
# A display named that does not exist, and another platform asked for: still no display used.
DISPLAY=:9999 QT_QPA_PLATFORM=xcb "$programme" --sortie xcb.png 2>&1 || echec "un écran est cherché"
/usr/bin/python3 - <<'EOF' || echec "PNG, BMP ou SVG"
from PIL import Image, ImageChops
import xml.etree.ElementTree as ET
png, bmp = Image.open("c.png"), Image.open("c.bmp")
assert png.format == "PNG" and png.size == (628, 866), png.size
assert ImageChops.difference(png.convert("RGB"), bmp.convert("RGB")).getbbox() is None, "PNG != BMP"
svg = ET.parse("c.svg").getroot()
assert svg.get("width") == "200mm", svg.get("width")
assert svg.get("viewBox") == "0 0 628 866", svg.get("viewBox")
textes = [t.text.strip() for t in svg.iter("{http://www.w3.org/2000/svg}text") if t.text]
assert "décembre 2027" in textes, textes[:5]
EOF
passe

# A .Cal of 2031 (cell 10 of March in green 0x00FF00): its year wins over the
# current one, --annee wins over its year. Colours from --ini, which stays unchanged.
/usr/bin/python3 - <<'EOF'
lignes = []
for m in range(1, 13):
    v = ["0"] * 42
    if m == 3:
        v[10] = str(0x00FF00)
    lignes.append(",".join([str(m)] + v))
open("verts.Cal", "w", newline="").write("\r\n".join(lignes + ['"2031"']) + "\r\n")
EOF
"$programme" --couleurs verts.Cal --sortie cal.pdf --sortie cal.png --ini autre.ini
"$programme" --annee 2031 --sortie sans.png --ini autre.ini
"$programme" --couleurs verts.Cal --annee 2029 --sortie force.pdf
# An iCalendar file of 2031 (3 to 5 March, exclusive end) over the .Cal, in blue.
printf 'BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nUID:a\r\nDTSTART;VALUE=DATE:20310303\r\nDTEND;VALUE=DATE:20310306\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n' > mars.ics
"$programme" --couleurs verts.Cal --importer mars.ics --couleur 16711680 --sortie ics.png --ini autre.ini
pdftotext cal.pdf - | grep -q "^mars 2031$" || echec ".Cal : l'année 2031 n'est pas prise"
pdftotext force.pdf - | grep -q "^mars 2029$" || echec ".Cal : --annee ne l'emporte pas"
largeur=$(pdfinfo cal.pdf | awk '/^Page size:/ { printf "%d", $3 * 25.4 / 72 }')
[ "$largeur" -ge 150 ] && [ "$largeur" -le 165 ] || echec "--ini : largeur $largeur mm pour 150 mm"
cmp -s autre.ini autre.avant || echec "--ini : fichier de réglages modifié"
/usr/bin/python3 - <<'EOF' || echec "couleurs du .Cal ou de --ini absentes de l'image"
from PIL import Image
cal, sans = Image.open("cal.png").convert("RGB"), Image.open("sans.png").convert("RGB")
compte = lambda im, c: sum(1 for p in im.getdata() if p == c)
assert compte(cal, (0, 255, 0)) >= 5 and compte(sans, (0, 255, 0)) == 0
assert compte(cal, (255, 0, 0)) > 1000 and compte(sans, (255, 0, 0)) > 1000
ics = Image.open("ics.png").convert("RGB")
assert compte(ics, (0, 0, 255)) > 3 * compte(cal, (0, 255, 0)) // 2 > 0, "jours de l'.ics"
EOF
passe

# --version, and the refusals: exit 2, one line naming the problem, no file.
[ "$("$programme" --version)" = "Ardemo 6.2" ] || echec "--version"
"$programme" --help | grep -q -- "--annee AAAA" || echec "--help"
mkdir vide && cd vide
printf 'pas un fichier de couleurs\r\n' > faux.Cal
refus() {
  attendu=$1; shift
  if "$@" > sortie.txt 2> erreur.txt; then echec "accepté : $*"; else rc=$?; fi
  [ "$rc" -eq 2 ] || echec "code $rc pour : $*"
  [ "$(wc -l < erreur.txt)" -eq 1 ] && grep -q "^ardemo : .*$attendu" erreur.txt || echec "message pour $* : $(cat erreur.txt)"
  [ ! -s sortie.txt ] || echec "sortie standard pour : $*"
  [ "$(ls)" = "$(printf 'erreur.txt\nfaux.Cal\nsortie.txt')" ] || echec "fichier laissé par : $* : $(ls)"
}
refus "--inconnue" "$programme" --inconnue --sortie x.pdf
refus "1582" "$programme" --annee 1582 --sortie x.pdf
refus "20x7" "$programme" --annee 20x7 --sortie x.pdf
refus "201" "$programme" --largeur 201 --sortie x.pdf
refus "x.gif" "$programme" --sortie x.gif
refus "--annee" "$programme" --sortie x.pdf --annee
refus "absent.Cal" "$programme" --couleurs absent.Cal --sortie x.pdf
refus "faux.Cal" "$programme" --couleurs faux.Cal --sortie x.pdf
refus "faux.Cal" "$programme" --importer faux.Cal --sortie x.pdf
refus "--couleur" "$programme" --couleur 255 --sortie x.pdf
refus "16777216" "$programme" --importer faux.Cal --couleur 16777216 --sortie x.pdf
refus "Corse" "$programme" --region Corse --sortie x.pdf
refus "absent.ini" "$programme" --ini absent.ini --sortie x.pdf
refus "sous/x.pdf" "$programme" --sortie sous/x.pdf
refus "sous/x.png" "$programme" --sortie bon.pdf --sortie sous/x.png
passe
echo "$ok passed, 0 failed"
