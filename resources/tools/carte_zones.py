#!/usr/bin/python3
"""Dessine la carte des zones de vacances scolaires (resources/carte_zones.jpg).

Usage : /usr/bin/python3 resources/tools/carte_zones.py [dossier_donnees] [-o sortie.jpg]

dossier_donnees contient france.departments.svg, departements_zones.csv et
ATTRIBUTION.txt ; par défaut ../shared/data/carte-zones à côté du dépôt.
Seul Pillow (python3-pil) et les polices Liberation sont nécessaires ; aucun
accès réseau, et le résultat est identique d'une exécution à l'autre.

Les départements sont remplis à une résolution SUR fois plus grande dans une
image d'étiquettes (un numéro par département) ; les couleurs de zone, les
limites de départements et les limites d'académies s'en déduisent, puis
l'image est réduite à la taille finale avant d'y écrire les textes.
"""

import argparse
import csv
import os
import re
import sys
import unicodedata
import xml.etree.ElementTree as ET

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

LARGEUR, HAUTEUR = 521, 592
SUR = 4

FOND = (255, 255, 255)
TEXTE = (30, 30, 30)
TEXTE_DOUX = (90, 90, 90)
LIMITE_ACADEMIE = (45, 45, 50)

# Couleurs des zones : teintes bien séparées, lisibles aussi par les
# daltoniens (orange, bleu ciel, vert bleuté, mauve).
COULEURS = {
    "A": (242, 178, 64),
    "B": (116, 182, 230),
    "C": (74, 176, 140),
    "Corse": (214, 150, 196),
}
# Réglages des noms d'académies posés sur la carte (pixels de la carte finale)
# (décalage du nom par rapport au centre de l'académie ; au-delà de quelques
# pixels, un trait relie le nom à son académie)
DECALAGES = {
    "Paris": (0, -19),
    "Versailles": (-42, 6),
    "Créteil": (24, 30),
    "Limoges": (-6, 0),
    "Clermont-Ferrand": (7, 4),
}
COUPURES = {"Clermont-Ferrand": "Clermont-\nFerrand", "Orléans-Tours": "Orléans-\nTours",
            "Aix-Marseille": "Aix-\nMarseille", "Nancy-Metz": "Nancy-\nMetz"}
NOMS_ZONES = {"A": "Zone A", "B": "Zone B", "C": "Zone C", "Corse": "Corse"}

POLICES = ["/usr/share/fonts/truetype/liberation2", "/usr/share/fonts/truetype/liberation"]


def police(nom, taille):
    for dossier in POLICES:
        chemin = os.path.join(dossier, nom)
        if os.path.exists(chemin):
            return ImageFont.truetype(chemin, taille)
    sys.exit("police introuvable : %s (paquet fonts-liberation2)" % nom)


# ------------------------------------------------------------------ données

JETON = re.compile(r"[MmLlHhVvZz]|[-+]?(?:\d+\.?\d*|\.\d+)(?:[eE][-+]?\d+)?")


def sous_chemins(d):
    """Découpe l'attribut d d'un chemin SVG en polygones (listes de points).

    Seuls les segments de droite sont acceptés (M, L, H, V, Z, absolus ou
    relatifs) : c'est tout ce qu'utilise le fond de carte.
    """
    jetons = JETON.findall(d)
    polygones, courant = [], None
    x = y = x0 = y0 = 0.0
    cmd, i = None, 0

    def nombre():
        nonlocal i
        if i >= len(jetons) or jetons[i][0] in "MmLlHhVvZz":
            raise ValueError("nombre attendu dans le chemin")
        i += 1
        return float(jetons[i - 1])

    while i < len(jetons):
        j = jetons[i]
        if j[0] in "MmLlHhVvZz":
            cmd = j
            i += 1
            if cmd in "Zz":
                if courant:
                    polygones.append(courant)
                courant = None
                x, y = x0, y0
            continue
        if cmd is None:
            raise ValueError("chemin sans commande initiale")
        if cmd in "Mm":
            dx, dy = nombre(), nombre()
            x, y = (x + dx, y + dy) if cmd == "m" else (dx, dy)
            if courant:
                polygones.append(courant)
            courant = [(x, y)]
            x0, y0 = x, y
            cmd = "l" if cmd == "m" else "L"  # paires suivantes : segments
            continue
        if courant is None:
            courant = [(x, y)]
            x0, y0 = x, y
        if cmd in "Ll":
            dx, dy = nombre(), nombre()
            x, y = (x + dx, y + dy) if cmd == "l" else (dx, dy)
        elif cmd in "Hh":
            v = nombre()
            x = x + v if cmd == "h" else v
        elif cmd in "Vv":
            v = nombre()
            y = y + v if cmd == "v" else v
        else:
            raise ValueError("commande de chemin non prise en charge : " + cmd)
        courant.append((x, y))
    if courant:
        polygones.append(courant)
    return [p for p in polygones if len(p) >= 3]


def lire_svg(chemin):
    racine = ET.parse(chemin).getroot()
    boite = [float(v) for v in racine.get("viewBox").replace(",", " ").split()]
    departements = {}
    for element in racine.iter():
        if element.tag.rsplit("}", 1)[-1] == "path" and element.get("id"):
            departements[element.get("id")] = sous_chemins(element.get("d", ""))
    return boite, departements


def lire_csv(chemin):
    with open(chemin, encoding="utf-8", newline="") as f:
        lignes = list(csv.DictReader(f))
    return {l["code"]: (l["nom"], l["academie"], l["zone"]) for l in lignes}


def cle_tri(texte):
    sans_accents = unicodedata.normalize("NFD", texte).encode("ascii", "ignore").decode()
    return (sans_accents.lower(), texte)


# ------------------------------------------------------------------- carte

def etiquettes(departements, codes, boite, echelle, taille):
    """Image « L » où chaque pixel porte le numéro (1..) de son département, 0 = mer.

    Règle pair-impair : un sous-chemin contenu dans un autre (enclave d'un
    département voisin) est un trou.
    """
    image = Image.new("L", taille, 0)
    vx, vy = boite[0], boite[1]
    for numero, code in enumerate(codes, start=1):
        masque = Image.new("1", taille, 0)
        for polygone in departements[code]:
            calque = Image.new("1", taille, 0)
            points = [((px - vx) * echelle, (py - vy) * echelle) for px, py in polygone]
            ImageDraw.Draw(calque).polygon(points, fill=1)
            masque = ImageChops.logical_xor(masque, calque)
        image.paste(numero, mask=masque)
    return image


def bords(etiq, fenetre):
    """Masque des pixels dont le voisinage (fenetre x fenetre) change d'étiquette."""
    haut = etiq.filter(ImageFilter.MaxFilter(fenetre))
    bas = etiq.filter(ImageFilter.MinFilter(fenetre))
    return ImageChops.difference(haut, bas).point(lambda v: 255 if v else 0)


def dessiner_carte(departements, zones, boite, echelle):
    """Carte seule, en couleurs, à la taille finale (fond transparent)."""
    codes = sorted(departements)
    largeur = round(boite[2] * echelle)
    hauteur = round(boite[3] * echelle)
    taille = (largeur * SUR, hauteur * SUR)
    etiq = etiquettes(departements, codes, boite, echelle * SUR, taille)

    # remplissage : palette numéro de département -> couleur de sa zone
    palette = [0, 0, 0]
    for code in codes:
        palette += COULEURS[zones[code][2]]
    couleurs = etiq.copy()
    couleurs.putpalette(palette + [0, 0, 0] * (256 - len(palette) // 3))
    carte = couleurs.convert("RGBA")
    carte.putalpha(etiq.point(lambda v: 255 if v else 0))

    # limites de départements : trait fin assombrissant la couleur de zone
    fin = bords(etiq, 3)
    sombre = Image.new("RGBA", taille, (40, 40, 40, 0))
    sombre.putalpha(ImageChops.multiply(fin, carte.getchannel("A")).point(lambda v: v * 45 // 100))
    carte.alpha_composite(sombre)

    # limites d'académies et contour du pays : trait plus épais et foncé
    academies = sorted({zones[c][1] for c in codes}, key=cle_tri)
    rang = {a: i + 1 for i, a in enumerate(academies)}
    table = [0] + [rang[zones[c][1]] for c in codes]
    table += [0] * (256 - len(table))
    etiq_acad = etiq.point(table)
    epais = bords(etiq_acad, 5)
    trait = Image.new("RGBA", taille, LIMITE_ACADEMIE + (255,))
    trait.putalpha(epais)
    carte.alpha_composite(trait)

    return carte.resize((largeur, hauteur), Image.LANCZOS)


def centres_academies(departements, zones, boite, echelle):
    """Centre de gravité de chaque académie, en pixels de la carte réduite."""
    sommes = {}
    for code, polygones in departements.items():
        for polygone in polygones:
            aire = cx = cy = 0.0
            for (x0, y0), (x1, y1) in zip(polygone, polygone[1:] + polygone[:1]):
                produit = x0 * y1 - x1 * y0
                aire += produit
                cx += (x0 + x1) * produit
                cy += (y0 + y1) * produit
            s = sommes.setdefault(zones[code][1], [0.0, 0.0, 0.0])
            # aire signée : les trous (sens inverse) se retranchent d'eux-mêmes
            s[0] += aire / 2
            s[1] += cx / 6
            s[2] += cy / 6
    return {a: ((sx / aire - boite[0]) * echelle, (sy / aire - boite[1]) * echelle)
            for a, (aire, sx, sy) in sommes.items()}


# ------------------------------------------------------------------ textes

def couper(texte, fonte, largeur):
    """Coupe un texte en lignes d'au plus `largeur` pixels (coupure aux blancs)."""
    lignes, ligne = [], ""
    for mot in texte.split(" "):
        essai = mot if not ligne else ligne + " " + mot
        if fonte.getlength(essai) <= largeur or not ligne:
            ligne = essai
        else:
            lignes.append(ligne)
            ligne = mot
    if ligne:
        lignes.append(ligne)
    for l in lignes:
        if fonte.getlength(l) > largeur:
            raise ValueError("mot trop long pour la largeur : " + l)
    return lignes


class Page:
    """Dessin de la page qui vérifie qu'aucun texte ne sort de l'image ni ne
    mord sur la carte quand il ne doit pas."""

    def __init__(self, image):
        self.image = image
        self.dessin = ImageDraw.Draw(image)
        self.terre = None  # masque de la carte posée, pour les textes hors carte

    def _verifier(self, boite, texte, hors_carte):
        x0, y0, x1, y1 = boite
        if x0 < 0 or y0 < 0 or x1 > self.image.width or y1 > self.image.height:
            sys.exit("texte coupé par le bord de l'image : " + texte)
        if hors_carte and self.terre is not None:
            zone = (max(0, x0 - 3), max(0, y0 - 3), x1 + 3, y1 + 3)
            if self.terre.crop(zone).getbbox() is not None:
                sys.exit("texte posé sur la carte : " + texte)

    def texte(self, xy, texte, fonte, couleur, hors_carte=False, **options):
        mesure = {k: v for k, v in options.items() if k != "stroke_fill"}
        boite = self.dessin.multiline_textbbox(xy, texte, font=fonte, **mesure)
        self._verifier(boite, texte, hors_carte)
        self.dessin.multiline_text(xy, texte, font=fonte, fill=couleur, **options)

    def paragraphe(self, x, y, texte, fonte, largeur, couleur, interligne, hors_carte=False):
        for ligne in couper(texte, fonte, largeur):
            self.texte((x, y), ligne, fonte, couleur, hors_carte)
            y += interligne
        return y


def attribution_courte(chemin):
    """Ligne de crédit du fond de carte, vérifiée contre ATTRIBUTION.txt."""
    with open(chemin, encoding="utf-8") as f:
        complet = " ".join(f.read().split())
    for attendu in ("Victor Cazanave", "MapSVG", "CC BY 4.0",
                    "https://creativecommons.org/licenses/by/4.0/"):
        if attendu not in complet:
            sys.exit("ATTRIBUTION.txt ne mentionne plus « %s » : revoir le crédit" % attendu)
    return ("Fond de carte : « France, departments » de Victor Cazanave, d'après MapSVG, "
            "licence CC BY 4.0 (creativecommons.org/licenses/by/4.0) ; "
            "modifié (couleurs des zones, limites d'académies, textes).")


def composer(dossier):
    boite, departements = lire_svg(os.path.join(dossier, "france.departments.svg"))
    zones = lire_csv(os.path.join(dossier, "departements_zones.csv"))
    manquants = sorted(set(departements) ^ set(zones))
    if manquants:
        sys.exit("départements sans zone ou sans contour : " + ", ".join(manquants))
    inconnues = sorted({z for _, _, z in zones.values()} - set(COULEURS))
    if inconnues:
        sys.exit("zone inconnue dans le CSV : " + ", ".join(inconnues))

    marge = 8
    f_titre = police("LiberationSans-Bold.ttf", 19)
    f_sous_titre = police("LiberationSans-Regular.ttf", 13)
    f_zone = police("LiberationSans-Bold.ttf", 12)
    f_texte = police("LiberationSans-Regular.ttf", 12)
    f_note = police("LiberationSans-Italic.ttf", 12)
    f_credit = police("LiberationSans-Regular.ttf", 10)
    interligne = 15

    image = Image.new("RGB", (LARGEUR, HAUTEUR), FOND)
    page = Page(image)
    dessin = page.dessin

    # --- bas de page : crédit du fond de carte
    credit = couper(attribution_courte(os.path.join(dossier, "ATTRIBUTION.txt")),
                    f_credit, LARGEUR - 2 * marge)
    y_credit = HAUTEUR - marge - 12 * len(credit) + 1
    for i, ligne in enumerate(credit):
        page.texte((marge, y_credit + 12 * i), ligne, f_credit, TEXTE_DOUX)

    # --- légende : une entrée par zone, académies par ordre alphabétique
    par_zone = {}
    for _, academie, zone in zones.values():
        par_zone.setdefault(zone, set()).add(academie)
    entrees = []
    for zone in ("A", "B", "C", "Corse"):
        noms = sorted(par_zone.get(zone, ()), key=cle_tri)
        if zone == "Corse":
            detail = "académie de %s (dates propres)" % ", ".join(noms)
        else:
            detail = ", ".join(noms)
        entrees.append((zone, detail))
    case = 13
    x_nom = marge + case + 6
    x_detail = x_nom + max(f_zone.getlength(NOMS_ZONES[z] + " :") for z, _ in entrees) + 5
    larg_detail = LARGEUR - marge - x_detail
    blocs = [(z, couper(d, f_texte, larg_detail)) for z, d in entrees]
    haut_legende = sum(len(l) for _, l in blocs) * interligne + (len(blocs) - 1) * 3
    y_legende = y_credit - 8 - haut_legende
    dessin.line([(marge, y_legende - 7), (LARGEUR - marge, y_legende - 7)], fill=(200, 200, 200))
    y = y_legende
    for zone, lignes in blocs:
        dessin.rectangle([marge, y + 1, marge + case - 1, y + case], fill=COULEURS[zone],
                         outline=LIMITE_ACADEMIE)
        page.texte((x_nom, y), NOMS_ZONES[zone] + " :", f_zone, TEXTE)
        for ligne in lignes:
            page.texte((x_detail, y), ligne, f_texte, TEXTE)
            y += interligne
        y += 3

    # --- carte : la plus grande possible au-dessus de la légende, calée à droite
    bas_carte = y_legende - 14
    haut_carte = 6
    echelle = min((bas_carte - haut_carte) / boite[3], (LARGEUR - 2 * marge) / boite[2])
    carte = dessiner_carte(departements, zones, boite, echelle)
    x_carte = LARGEUR - marge - carte.width
    image.paste(carte, (x_carte, haut_carte), carte)
    page.terre = Image.new("L", image.size, 0)
    page.terre.paste(carte.getchannel("A").point(lambda v: 255 if v > 8 else 0), (x_carte, haut_carte))

    # --- noms des académies sur la carte
    f_acad = police("LiberationSans-Bold.ttf", 11)
    for academie, (cx, cy) in sorted(centres_academies(departements, zones, boite, echelle).items()):
        dx, dy = DECALAGES.get(academie, (0, 0))
        texte = COUPURES.get(academie, academie)
        x, y = x_carte + cx, haut_carte + cy
        if abs(dx) + abs(dy) > 12:
            dessin.line([(x, y), (x + dx, y + dy)], fill=TEXTE, width=1)
            dessin.ellipse([x - 1.5, y - 1.5, x + 1.5, y + 1.5], fill=TEXTE)
        page.texte((x + dx, y + dy), texte, f_acad, TEXTE, anchor="mm", align="center",
                   spacing=0, stroke_width=2, stroke_fill=(255, 255, 255))

    # --- titre dans la Manche (coin haut gauche, vide)
    page.texte((marge, marge), "Zones de vacances", f_titre, TEXTE, hors_carte=True)
    page.texte((marge, marge + 22), "scolaires", f_titre, TEXTE, hors_carte=True)
    page.texte((marge, marge + 46), "par académie", f_sous_titre, TEXTE_DOUX, hors_carte=True)

    # --- note sur la Corse et l'outre-mer dans l'Atlantique (bas gauche, vide)
    note = ("La Corse et les académies d'outre-mer fixent elles-mêmes "
            "leurs dates de vacances scolaires.")
    x_note = marge
    larg_note = round(x_carte + 140 * echelle) - x_note
    y_note = round(haut_carte + 330 * echelle)
    page.paragraphe(x_note, y_note, note, f_note, larg_note, TEXTE, interligne, hors_carte=True)
    return image


def main():
    racine = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    arguments = argparse.ArgumentParser(description="Carte des zones de vacances scolaires")
    arguments.add_argument("donnees", nargs="?",
                           default=os.path.join(racine, "..", "shared", "data", "carte-zones"),
                           help="dossier des données (SVG, CSV, ATTRIBUTION.txt)")
    arguments.add_argument("-o", "--sortie", default=os.path.join(racine, "resources", "carte_zones.jpg"))
    options = arguments.parse_args()
    image = composer(os.path.normpath(options.donnees))
    image.save(options.sortie, "JPEG", quality=92, subsampling=0, optimize=True)
    print(options.sortie)


if __name__ == "__main__":
    main()
