#!/bin/sh
# Calendars made from the command line with no display at all: the files read back
# by other programs, the .Cal year and colours, --ini read but never written, refusals.
set -eu
programme=$(readlink -f "$1/ardemo")
d=$(mktemp -d /tmp/ardemo-ldc.XXXXXX)
trap 'rm -rf "$d"' EXIT
cd "$d"
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
echec() { echo "ÉCHEC : $*"; exit 1; }
a() { "$programme" --ini vide.ini "$@"; } # the default colours, whatever the build folder holds
: > vide.ini
# Another folder's settings (pure red border, 150 mm), left exactly as they were.
printf '[Couleurs]\r\nBordure= 255\r\n[Taille]\r\nLargeur=150\r\n' > autre.ini
cp autre.ini autre.avant
# A .Cal of 2031, cell 10 of March green; an .ics of 3 to 5 March 2031 (exclusive end).
for m in $(seq 12); do l=$m; for k in $(seq 0 41); do [ "$m.$k" = 3.10 ] && l="$l,65280" || l="$l,0"; done
  printf '%s\r\n' "$l"; done > verts.Cal
printf '"2031"\r\n' >> verts.Cal
printf 'BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nUID:a\r\nDTSTART;VALUE=DATE:20310303\r\nDTEND;VALUE=DATE:20310306\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n' > mars.ics

[ -z "$(a --annee 2027 --largeur 200 --sortie c.pdf --sortie c.png --sortie c.bmp --sortie c.svg)" ] || echec "texte sur la sortie standard"
a --annee 2027 --sans-weekend --sortie sw.png
a --annee 2027 --sans-feries --sortie sf.png
a --annee 2027 --region ALSACE-MOSELLE --sortie am.png # 26 March 2027, a name without accents
a --annee 2027 --region "la reunion" --sortie lr.png
a --couleurs verts.Cal --annee 2029 --sortie force.pdf
"$programme" --ini autre.ini --couleurs verts.Cal --sortie cal.pdf --sortie cal.png
"$programme" --ini autre.ini --annee 2031 --sortie sans.png
"$programme" --ini autre.ini --couleurs verts.Cal --importer mars.ics --couleur 16711680 --sortie ics.png
DISPLAY=:9999 QT_QPA_PLATFORM=xcb "$programme" --sortie xcb.png || echec "un écran est cherché"
cmp -s autre.ini autre.avant || echec "--ini : fichier de réglages modifié"
"$programme" --version | grep -qx "Ardemo 6.2" && "$programme" --help | grep -q -- "--annee AAAA" || echec "--version, --help"
/usr/bin/python3 - <<'PY' || echec "fichiers produits"
import re, subprocess, xml.etree.ElementTree as ET
from PIL import Image, ImageChops
lire = lambda *c: subprocess.run(c, capture_output=True, text=True, check=True).stdout
mm = lambda pdf: float(re.search(r"Page size:\s+([\d.]+)", lire("pdfinfo", pdf))[1]) * 25.4 / 72
rgb = lambda f: Image.open(f).convert("RGB")
compte = lambda f, c: list(rgb(f).getdata()).count(c)
texte = lire("pdftotext", "c.pdf", "-").splitlines()
svg = ET.parse("c.svg").getroot()
mois = "janvier février mars avril mai juin juillet août septembre octobre novembre décembre".split()
verifs = {
    "PDF : une page": re.search(r"^Pages:\s+1$", lire("pdfinfo", "c.pdf"), re.M),
    "PDF : 200 mm": 200 <= mm("c.pdf") < 216,
    "PDF : mois en texte": all(m + " 2027" in texte for m in mois),
    "PDF : jours en texte": "Lun Mar Mer Jeu Ven Sam Dim" in texte,
    "PDF : sans image": len(lire("pdfimages", "-list", "c.pdf").splitlines()) == 2,
    "PNG : taille": Image.open("c.png").format == "PNG" and Image.open("c.png").size == (628, 866),
    "PNG = BMP": ImageChops.difference(rgb("c.png"), rgb("c.bmp")).getbbox() is None,
    "SVG : largeur": (svg.get("width"), svg.get("viewBox")) == ("200mm", "0 0 628 866"),
    "SVG : texte": "décembre 2027" in [t.text.strip() for t in svg.iter("{http://www.w3.org/2000/svg}text") if t.text],
    ".Cal : son année": "mars 2031" in lire("pdftotext", "cal.pdf", "-").splitlines(),
    ".Cal : --annee l'emporte": "mars 2029" in lire("pdftotext", "force.pdf", "-").splitlines(),
    "--ini : 150 mm": 150 <= mm("cal.pdf") < 166,
    ".Cal : vert": compte("cal.png", (0, 255, 0)) >= 5 and compte("sans.png", (0, 255, 0)) == 0,
    "--ini : bordure rouge": compte("cal.png", (255, 0, 0)) > 1000 and compte("sans.png", (255, 0, 0)) > 1000,
    "--importer : bleu": compte("ics.png", (0, 0, 255)) > 3 * compte("cal.png", (0, 255, 0)) // 2 > 0,
}
for a, b in map(str.split, ("c sw", "c sf", "sw sf", "c am", "c lr", "am lr")):
    verifs["%s.png != %s.png" % (a, b)] = ImageChops.difference(rgb(a + ".png"), rgb(b + ".png")).getbbox()
echecs = [nom for nom, ok in verifs.items() if not ok]
for nom in echecs:
    print("ÉCHEC : " + nom)
exit(1 if echecs else 0)
PY

# The refusals: exit 2, one line naming the problem on stderr, nothing else, no file.
mkdir refus && cd refus
printf 'pas un fichier de couleurs\r\n' > faux.Cal
while read -r attendu options; do
  # shellcheck disable=SC2086
  if "$programme" $options > sortie.txt 2> erreur.txt; then rc=0; else rc=$?; fi
  [ "$rc" -eq 2 ] || echec "code $rc pour : $options"
  [ "$(wc -l < erreur.txt)" -eq 1 ] && grep -q "^ardemo : .*$attendu" erreur.txt || echec "message pour $options : $(cat erreur.txt)"
  [ ! -s sortie.txt ] && [ "$(ls | tr '\n' ' ')" = "erreur.txt faux.Cal sortie.txt " ] || echec "sortie ou fichier : $options"
done <<'TABLE'
--inconnue --inconnue --sortie x.pdf
1582 --annee 1582 --sortie x.pdf
20x7 --annee 20x7 --sortie x.pdf
201 --largeur 201 --sortie x.pdf
x.gif --sortie x.gif
--annee --sortie x.pdf --annee
absent.Cal --couleurs absent.Cal --sortie x.pdf
faux.Cal --couleurs faux.Cal --sortie x.pdf
faux.Cal --importer faux.Cal --sortie x.pdf
--couleur --couleur 255 --sortie x.pdf
16777216 --importer faux.Cal --couleur 16777216 --sortie x.pdf
Corse --region Corse --sortie x.pdf
absent.ini --ini absent.ini --sortie x.pdf
sous/x.pdf --sortie sous/x.pdf
sous/x.png --sortie bon.pdf --sortie sous/x.png
TABLE
echo "1 passed, 0 failed"
