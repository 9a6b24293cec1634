#!/bin/sh
# Calendars made with no display: refusals, files read back by other programs, .Cal and .ics, --ini never written.
set -eu
programme=$(readlink -f "$1/ardemo")
corpus=$(readlink -f "$(dirname "$0")/../fuzz/corpus")
d=$(mktemp -d /tmp/ardemo-ldc.XXXXXX) && trap 'rm -rf "$d"' EXIT && cd "$d"
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
echec() { echo "ÉCHEC : $*"; exit 1; }

# The refusals: exit 2 and nothing on stdout, one line naming the problem on stderr, no file made.
printf 'pas un fichier de couleurs\r\n' > faux.Cal
printf '[Taille]\r\nLargeur=200\r\n' > grand.ini && truncate -s 4194305 grand.ini
mkdir dossier.png && : > dossier.png/seule.png && chmod 444 dossier.png/seule.png # why a file cannot be written
n=$(ls | wc -l)
while read -r attendu options; do
  [ "$("$programme" $options 2> erreur.txt || echo "code $?")" = "code 2" ] && grep -q "^ardemo : .*$attendu" erreur.txt \
    && [ "$(wc -l < erreur.txt)" -eq 1 ] && [ "$(ls | wc -l)" -eq $((n + 1)) ] || echec "$options : $(cat erreur.txt)"
done <<'TABLE'
--inconnue.».(voir --inconnue --sortie x.pdf
«.--anee.»,.vouliez-vous.dire.--annee.?$ --anee 2027 --sortie x.pdf
dire.--sortie.?$ -sorties x.pdf
trop.gros --ini grand.ini --sortie x.pdf
deux.fois --sortie x.pdf --annee 2027 --sortie ./x.pdf
lu.et.écrit --importer x.pdf --sortie x.pdf
lu.et.écrit --ini s.svg --sortie a.png --annee 2027 --sortie s.svg
1582 --annee 1582 --sortie x.pdf
2026-2028 --annee 2026-2028 --sortie x.pdf
201 --largeur 201 --sortie x.pdf
x.gif --sortie x.gif
absent.Cal --couleurs absent.Cal --sortie x.pdf
faux.Cal --couleurs faux.Cal --sortie x.pdf
faux.Cal --importer faux.Cal --sortie x.pdf
--couleur --couleur 255 --sortie x.pdf
16777216 --importer faux.Cal --couleur 16777216 --sortie x.pdf
Corse.».inconnue.(régions.:.Métropole,.*,.Canton.du.Jura,.*.Québec) --region Corse --sortie x.pdf
absent.ini --ini absent.ini --sortie x.pdf
sous/x.png.».:.dossier.inexistant$ --sortie bon.pdf --sortie sous/x.png
seule.png.».:.permission.refusée$ --sortie dossier.png/seule.png
dossier.png.».:.un.dossier.porte.ce.nom$ --sortie dossier.png
aucun.écran --annee 2030
dernier.--sortie --sortie x.pdf --annee 2027
dernier.--sortie --sortie x.pdf --sans-weekend
dernier.--sortie --sortie x.pdf --sans-feries
.pdf.».refusé --sortie .pdf
/.pdf.».refusé --sortie ./.pdf
TABLE

# File names as bytes (not UTF-8; 255 bytes long); the event of 9995; all the files of a call or none (a pipe).
printf 'BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nDTSTART;VALUE=DATE:99950601\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n' \
  > "$(printf '\377\376.ics')"
long=$(/usr/bin/python3 -c "print('x' + 'é' * 125 + '.png')") && mkfifo tube.png
"$programme" --annee 9995 --importer "$(printf '\377\376.ics')" --sortie "$(printf 'b\351.png')" --sortie "$long" 2> erreur.txt \
  && [ ! -s erreur.txt ] && [ -f "$(printf 'b\351.png')" ] && [ -f "$long" ] || echec "noms, an 9995 : $(cat erreur.txt)"
! "$programme" --sortie seul.png --sortie tube.png 2> /dev/null && [ ! -e seul.png ] || echec "une partie des fichiers écrite"

# Settings of another folder (red border, 150 mm); a .Cal of 2031, cell 10 of March green; 3 to 5 March 2031.
printf '[Couleurs]\r\nBordure= 255\r\n[Taille]\r\nLargeur=150\r\n' | tee autre.ini > autre.avant
awk 'BEGIN { for (m = 1; m <= 12; m++) { l = m; for (k = 0; k < 42; k++) l = l "," (m == 3 && k == 10 ? 65280 : 0)
  printf "%s\r\n", l }; printf "\"2031\"\r\n" }' > verts.Cal
printf 'BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nUID:a\r\nDTSTART;VALUE=DATE:20310303\r\nDTEND;VALUE=DATE:20310306\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n' > mars.ics
touch .autre.ini.ardemo-tmp-Ab12Cd # left by a killed write of the window: not the command line's to remove
a() { : > vide.ini && "$programme" --ini vide.ini "$@"; } # the default colours, whatever the build folder holds
[ -z "$(a --annee 2027 --largeur 200 --sortie c.pdf --sortie c.png --sortie c.bmp --sortie c.svg)" ] || echec "texte sur la sortie standard"
# Alsace-Moselle: 26 March 2027; La Réunion: a name without accents. Each option between two outputs for the second only.
for o in --sans-weekend --sans-feries --region=ALSACE-MOSELLE "--region=la reunion"; do
  a --annee 2027 --sortie "w$o.bmp" "$o" --sortie "v$o.bmp"; done
n() { md5sum "$@" | cut -c1-32 | sort -u | wc -l; }
[ "$(n c.bmp v-*.bmp) $(n c.bmp w-*.bmp)" = "5 1" ] || echec "week-ends, fériés ou région sans effet"
# The forms people type name the same region; the neighbours' sheets differ from France's and from each other.
while read -r nom formes; do
  a --annee 2027 --region "$(echo "$nom" | tr _ ' ')" --sortie "r-$nom.bmp"
  for f in $formes; do a --annee 2027 --region "$(echo "$f" | tr _ ' ')" --sortie f.bmp && cmp -s f.bmp "r-$nom.bmp" || echec "--region $f"; done
done <<'FORMES'
La_Réunion Réunion reunion la_reunion LA_RÉUNION
Alsace-Moselle alsace moselle ALSACE
Guadeloupe guadeloupe
Canton_de_Genève geneve GENÈVE canton_de_geneve
Canton_de_Vaud vaud canton_de_Vaud
Québec quebec QUÉBEC
Belgique belgique
Métropole france
FORMES
[ "$(n r-*.bmp)" -eq 8 ] || echec "régions voisines sans effet"
a --couleurs verts.Cal --annee 2029 --sortie force.pdf
a --couleurs verts.Cal --annee 2030-2031 --sortie avec.png --annee 2031-2032 --sortie hors.png # March 2031 on its date
"$programme" --ini autre.ini --couleurs verts.Cal --sortie cal.pdf --sortie cal.png
"$programme" --ini autre.ini --annee 2031 --sortie sans.png
sed 's/DTSTART;VALUE=DATE:20310303/DTSTART;VALUE=DATE:20310306/; /DTEND/d' mars.ics > six.ics # 6 March, green in the .Cal
"$programme" --ini autre.ini --couleurs verts.Cal --importer six.ics --couleur 0 --importer mars.ics --couleur 16711680 \
  --sortie ics.png
DISPLAY=:9999 QT_QPA_PLATFORM=xcb "$programme" --sortie xcb.png || echec "un écran est cherché"
cmp -s autre.ini autre.avant && [ -f .autre.ini.ardemo-tmp-Ab12Cd ] || echec "--ini : dossier de réglages modifié"
a --annee 2027 --sortie an1.pdf --annee 2028 --sans-feries --sortie an2.pdf --sortie an2.png # each its options
# School years: typed, or a .Cal's; the zone B holidays of 2025-2026 over both of its years.
a --annee 2026-2027 --sortie s.pdf && a --couleurs "$corpus/fuzz_cal/scolaire.Cal" --sortie scal.pdf
a --annee 2025-2026 --importer "$corpus/fuzz_ics/zone-b-2025-2026.ics" --couleur '#0000FF' --sortie zone-b.png
rsvg-convert -w 628 -h 866 c.svg -o svg.png
"$programme" --version | grep -qx "Ardemo 6.2" && "$programme" --help | grep -q -- "--annee AAAA" || echec "--version, --help"
# Every example of --help, the manual page and the README, run one by one as written, on the files they name:
# each succeeds, or (the window's) is refused only for want of a screen, its options accepted.
sources=$(readlink -f "$(dirname "$0")/../..") && mkdir ex && ln -s "$(dirname "$programme")" ex/build
for c in vacances anniversaires; do cp "$corpus/fuzz_cal/complet.Cal" ex/$c.Cal; done && for z in a b; do cp "$corpus/fuzz_ics/zone-b-2025-2026.ics" ex/zone-$z.ics; done
"$programme" --help | /usr/bin/python3 -c '
import re, sys
aide, man, lisez = " ".join(sys.stdin.read().split()), open(sys.argv[1]).read(), open(sys.argv[2]).read()
exemples = ["ardemo " + e for e in re.findall(r"\((--[^()]*--sortie[^()]*)\)", aide)]
exemples += [re.sub(r"\\\(aq", "\x27", b.replace("\\-", "-")).strip() for b in re.findall(r"^\.RS\n(.*?)^\.RE", man, re.M | re.S)]
exemples += [l.split("  #")[0] for l in lisez.splitlines() if l.startswith("./build/ardemo ")]
print("\0".join(exemples), end="")' "$sources/resources/ardemo.1" "$sources/README.md" | (cd ex && PATH="$(dirname "$programme"):$PATH" \
  xargs -0 -n1 sh -c 'sortie=$(sh -ec "$0" 2>&1); [ $? = 0 ] || { [ "${0#*--sortie}" = "$0" ] && echo "$sortie" | grep -q "aucun écran"; } \
  || { echo "ÉCHEC : exemple « $0 » : $sortie"; exit 255; }; echo >> ../exemples.txt')
[ "$(wc -l < exemples.txt)" -ge 10 ] || echec "exemples : $(wc -l < exemples.txt) seulement"

/usr/bin/python3 - <<'PY' || echec "fichiers produits"
import os, re, subprocess, xml.etree.ElementTree as ET
from PIL import Image, ImageChops, ImageStat
lire = lambda *c: subprocess.run(c, capture_output=True, text=True, check=True).stdout
mm = lambda pdf: float(re.search(r"Page size:\s+([\d.]+)", lire("pdfinfo", pdf))[1]) * 25.4 / 72
px = lambda f: list(Image.open(f).convert("RGB").getdata())
texte = lire("pdftotext", "c.pdf", "-").splitlines()
mois = "janvier février mars avril mai juin juillet août septembre octobre novembre décembre".split()
# The two-pixel sunken border of the 504 day cells, where the design puts them (28-pixel cells from each block's first).
bords = [(g + 28 * (k % 7) + i, h + 28 * (k // 7) + j) for g in (6, 216, 424) for h in (48, 264, 480, 696)
         for k in range(42) for i in range(28) for j in range(28) if min(i, j) < 2 or max(i, j) > 25]
svg, png = (Image.open(f).convert("RGB") for f in ("svg.png", "c.png"))
verifs = {
    "PDF : une page de 200 mm": re.search(r"^Pages:\s+1$", lire("pdfinfo", "c.pdf"), re.M) and 200 <= mm("c.pdf") < 216,
    "PDF : mois et jours en texte": all(m + " 2027" in texte for m in mois) and "Lun Mar Mer Jeu Ven Sam Dim" in texte,
    "PDF : sans image": len(lire("pdfimages", "-list", "c.pdf").splitlines()) == 2,
    "PNG = BMP": [Image.open("c.png").format, *Image.open("c.png").size] == ["PNG", 628, 866] and px("c.png") == px("c.bmp"),
    "SVG : taille": ET.parse("c.svg").getroot().attrib.items() >= {("width", "200mm"), ("height", "283mm"), ("viewBox", "0 0 2000 2830")},
    "SVG : texte": "décembre 2027" in map(str.strip, ET.parse("c.svg").getroot().itertext()),
    "SVG : petit, polices de repli": os.path.getsize("c.svg") < 150_000 and {e.get("font-family").split(", ")[-1]
        for e in ET.parse("c.svg").iter() if e.get("font-family")} == {"serif", "sans-serif"},
    "SVG : comme le PNG": sum(ImageStat.Stat(ImageChops.difference(svg.reduce(4), png.reduce(4))).mean) / 3 <= 5,
    "SVG : bords des cases comme le PNG": not [p for p in bords if max(abs(a - b) for a, b in zip(svg.getpixel(p), png.getpixel(p))) > 64],
    "--sortie : ses options": ["janvier 2027", "janvier 2028"] == [next(l for l in lire("pdftotext", f, "-")
        .splitlines() if l.startswith("janvier")) for f in ("an1.pdf", "an2.pdf")] and px("an2.png") != px("c.png"),
    ".Cal : son année": "mars 2031" in lire("pdftotext", "cal.pdf", "-").splitlines(),
    ".Cal : --annee l'emporte": "mars 2029" in lire("pdftotext", "force.pdf", "-").splitlines(),
    "année scolaire : septembre à août": [l for l in lire("pdftotext", "s.pdf", "-").splitlines() if re.fullmatch(
        r"\w+ 20\d\d", l)] == [m + " 202" + str(6 + (i >= 4)) for i, m in enumerate(mois[8:] + mois[:8])]
        and "Calendrier 2026-2027" in lire("pdfinfo", "s.pdf") and "janvier 2027" in lire("pdftotext", "scal.pdf", "-"),
    "année scolaire : zone B": px("zone-b.png").count((0, 0, 255)) > 64 * 30, # a 2025 sheet: 1149
    "--ini : 150 mm": 150 <= mm("cal.pdf") < 166,
    ".Cal : vert": px("cal.png").count((0, 255, 0)) >= 5 and px("sans.png").count((0, 255, 0)) == 0,
    ".Cal : mars 2031 en 2030-2031, pas en 2031-2032": px("avec.png").count((0, 255, 0)) >= 5
        and px("hors.png").count((0, 255, 0)) == 0,
    "--ini : bordure rouge": px("cal.png").count((255, 0, 0)) > 1000 and px("sans.png").count((255, 0, 0)) > 1000,
    "--importer : noir, puis bleu": px("ics.png").count((0, 0, 255)) > 2 * px("cal.png").count((0, 255, 0)) > 0
        and px("ics.png").count((0, 255, 0)) == 0,
}
exit("\n".join("ÉCHEC : " + nom for nom, ok in verifs.items() if not ok) or None)
PY
echo "1 passed, 0 failed"
