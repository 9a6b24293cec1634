#!/usr/bin/python3
"""Dessine les petites images du programme (feux, icône, flèches de position).

Usage : /usr/bin/python3 resources/tools/icones.py [dossier_de_sortie]
(par défaut le dossier resources/ du dépôt). Seul Pillow (python3-pil) est
nécessaire ; le résultat est identique d'une exécution à l'autre.

Chaque image est tracée à une résolution SUR fois plus grande puis réduite
par moyenne de zones : les bords sont lissés sans flou de rééchantillonnage.
Les coordonnées des formes sont exprimées en pixels de l'image finale.
"""

import math
import os
import sys

from PIL import Image, ImageDraw, ImageFilter

SUR = 16  # facteur de sur-échantillonnage


class Toile:
    """Image RGBA transparente tracée en sur-échantillonnage."""

    def __init__(self, largeur, hauteur=None, sur=SUR):
        hauteur = largeur if hauteur is None else hauteur
        self.taille = (largeur, hauteur)
        self.sur = sur
        self.image = Image.new("RGBA", (largeur * sur, hauteur * sur), (0, 0, 0, 0))

    def s(self, v):
        return round(v * self.sur)

    def boite(self, x0, y0, x1, y1):
        # x1, y1 exclus, comme des bords de pixels
        return [self.s(x0), self.s(y0), self.s(x1) - 1, self.s(y1) - 1]

    def calque(self):
        return Image.new("L", self.image.size, 0)

    def peindre(self, masque, couleur):
        """Pose une couleur unie (ou une image RGBA) à travers un masque."""
        if isinstance(couleur, Image.Image):
            source = couleur
        else:
            source = Image.new("RGBA", self.image.size, couleur)
        # le masque module l'opacité propre de la couleur
        alpha = source.getchannel("A")
        alpha = Image.composite(alpha, Image.new("L", alpha.size, 0), masque)
        source = source.copy()
        source.putalpha(alpha)
        self.image.alpha_composite(source)

    def rect_arrondi(self, x0, y0, x1, y1, rayon, couleur):
        m = self.calque()
        ImageDraw.Draw(m).rounded_rectangle(self.boite(x0, y0, x1, y1),
                                            radius=self.s(rayon), fill=255)
        self.peindre(m, couleur)
        return m

    def disque(self, cx, cy, r, couleur):
        m = self.calque()
        ImageDraw.Draw(m).ellipse(self.boite(cx - r, cy - r, cx + r, cy + r), fill=255)
        self.peindre(m, couleur)
        return m

    def degrade_vertical(self, y0, y1, haut, bas):
        """Image RGBA pleine, dégradé linéaire de la couleur haut à la couleur bas."""
        w, h = self.image.size
        bande = Image.new("RGBA", (1, h))
        py0, py1 = y0 * self.sur, y1 * self.sur
        for y in range(h):
            t = min(1.0, max(0.0, (y + 0.5 - py0) / max(1.0, py1 - py0)))
            bande.putpixel((0, y), tuple(round(a + (b - a) * t) for a, b in zip(haut, bas)))
        return bande.resize((w, h), Image.NEAREST)

    def degrade_radial(self, cx, cy, r, centre, bord):
        """Image RGBA pleine : centre -> bord sur le rayon r, bord au-delà."""
        w, h = self.image.size
        # calculé sur une petite grille puis agrandi (le dégradé est doux)
        pas = max(1, self.sur // 4)
        pw, ph = (w + pas - 1) // pas, (h + pas - 1) // pas
        petit = Image.new("RGBA", (pw, ph))
        px = petit.load()
        for y in range(ph):
            for x in range(pw):
                d = math.hypot((x + 0.5) * pas / self.sur - cx, (y + 0.5) * pas / self.sur - cy) / r
                t = min(1.0, d)
                px[x, y] = tuple(round(a + (b - a) * t) for a, b in zip(centre, bord))
        return petit.resize((pw * pas, ph * pas), Image.BILINEAR).crop((0, 0, w, h))

    def finir(self):
        return self.image.resize(self.taille, Image.BOX)


# --------------------------------------------------------------------- feux

FEU_BOITIER = (38, 40, 44, 255)
FEU_BOITIER_HAUT = (78, 82, 90, 255)
FEU_CONTOUR = (12, 12, 14, 255)
FEU_LAMPES = {
    # (allumée centre, allumée bord, éteinte)
    "rouge": ((255, 170, 150, 255), (230, 20, 20, 255), (90, 26, 26, 255)),
    "orange": ((255, 230, 160, 255), (245, 150, 0, 255), (92, 66, 22, 255)),
    "vert": ((190, 255, 190, 255), (20, 200, 60, 255), (22, 78, 38, 255)),
}


def feu(allumee):
    """Feu tricolore 32 x 32, la lampe `allumee` ("rouge" ou "vert") allumée."""
    t = Toile(32)
    # boîtier : contour sombre puis corps légèrement dégradé
    t.rect_arrondi(7, 0, 25, 32, 5, FEU_CONTOUR)
    corps = t.calque()
    ImageDraw.Draw(corps).rounded_rectangle(t.boite(8, 1, 24, 31), radius=t.s(4), fill=255)
    t.peindre(corps, t.degrade_vertical(1, 31, FEU_BOITIER_HAUT, FEU_BOITIER))
    r = 4.6
    for cy, nom in ((6.6, "rouge"), (16.0, "orange"), (25.4, "vert")):
        centre, bord, eteinte = FEU_LAMPES[nom]
        t.disque(16, cy, r + 0.8, (10, 10, 12, 255))  # logement
        if nom == allumee:
            halo = t.calque()
            ImageDraw.Draw(halo).ellipse(t.boite(16 - r, cy - r, 16 + r, cy + r), fill=255)
            t.peindre(halo, t.degrade_radial(15.2, cy - 1.0, r * 1.25, centre, bord))
            t.disque(14.4, cy - 1.8, 1.2, (255, 255, 255, 200))  # reflet
        else:
            t.disque(16, cy, r, eteinte)
            t.disque(14.6, cy - 1.6, 0.9, (255, 255, 255, 40))
    return t.finir()


# -------------------------------------------------------------------- icône

ICONE_PAGE = (255, 255, 255, 255)
ICONE_OMBRE = (0, 0, 0, 70)
ICONE_CONTOUR = (120, 128, 140, 255)
ICONE_BANDEAU = ((226, 60, 52, 255), (188, 30, 30, 255))
ICONE_ANNEAU = (70, 74, 82, 255)
ICONE_ANNEAU_REFLET = (200, 205, 212, 255)
ICONE_CASE = (200, 210, 224, 255)
ICONE_CASE_WE = (170, 186, 208, 255)
ICONE_JOUR = (226, 60, 52, 255)
GRILLE = (7, 5)  # colonnes (lundi à dimanche), lignes
JOUR_MARQUE = (2, 3)  # ligne, colonne


def icone(n):
    """Page de calendrier n x n : bandeau à anneaux, grille de jours, un jour marqué."""
    u = n / 32.0  # unité : un pixel de l'icône 32 x 32
    t = Toile(n, sur=SUR if n <= 64 else 4)

    def px(v):
        # bords alignés sur la grille de pixels de l'image finale
        return float(round(v * u))

    x0, x1 = px(2), px(30)
    y0, y1 = px(4), px(31)
    bande = px(12)
    rayon = max(1.0, 3 * u)
    # ombre portée douce
    ombre = t.calque()
    ImageDraw.Draw(ombre).rounded_rectangle(t.boite(x0 + u * 0.6, y0 + u * 0.9, x1 + u * 0.6, y1 + u * 0.6),
                                            radius=t.s(rayon), fill=255)
    ombre = ombre.filter(ImageFilter.GaussianBlur(t.sur * u * 0.6))
    t.peindre(ombre, ICONE_OMBRE)
    # page : contour puis fond blanc
    t.rect_arrondi(x0, y0, x1, y1, rayon, ICONE_CONTOUR)
    e = max(1.0, float(round(0.75 * u)))  # épaisseur du contour
    page = t.calque()
    ImageDraw.Draw(page).rounded_rectangle(t.boite(x0 + e, y0 + e, x1 - e, y1 - e),
                                           radius=t.s(max(0.5, rayon - e)), fill=255)
    t.peindre(page, ICONE_PAGE)
    # bandeau coloré en haut de la page (coins hauts arrondis seulement)
    haut = t.calque()
    d = ImageDraw.Draw(haut)
    d.rounded_rectangle(t.boite(x0 + e, y0 + e, x1 - e, bande), radius=t.s(max(0.5, rayon - e)), fill=255)
    d.rectangle(t.boite(x0 + e, (y0 + bande) / 2, x1 - e, bande), fill=255)
    t.peindre(haut, t.degrade_vertical(y0, bande, *ICONE_BANDEAU))
    # anneaux de reliure : trou dans le bandeau et boucle qui dépasse
    for cx in (px(10.5), px(21.5)):
        trou_r = 1.3 * u
        t.disque(cx, px(8.5), trou_r, (90, 16, 16, 255))
        larg = max(1.0, px(2))
        haut_anneau = px(1)
        t.rect_arrondi(cx - larg / 2, haut_anneau, cx + larg / 2, px(8.5) + 0.3 * u, larg / 2, ICONE_ANNEAU)
        if n >= 48:
            t.rect_arrondi(cx - larg / 2 + larg * 0.2, haut_anneau + u * 0.5, cx - larg / 2 + larg * 0.45,
                           px(7.5), larg * 0.12, ICONE_ANNEAU_REFLET)
    # grille des jours : cases carrées au pas entier, grille centrée sur la page
    cols, lignes = GRILLE
    if n <= 32:
        pas, case = 3, 2
    else:
        pas = int((x1 - x0 - 2 * e - 2 * px(1.5)) // cols)
        case = pas - max(1, round(pas * 0.22))
    larg_grille = cols * pas - (pas - case)
    haut_grille = lignes * pas - (pas - case)
    gx0 = x0 + (x1 - x0 - larg_grille) // 2
    gy0 = bande + (y1 - e - bande - haut_grille) // 2
    r_case = case * 0.18 if n > 32 else 0.0
    for l in range(lignes):
        for c in range(cols):
            bx0, by0 = gx0 + c * pas, gy0 + l * pas
            boite = [bx0, by0, bx0 + case, by0 + case]
            couleur = ICONE_CASE_WE if c >= 5 else ICONE_CASE
            if (l, c) == JOUR_MARQUE:
                couleur = ICONE_JOUR
                if n <= 32:
                    boite = [bx0 - 1, by0 - 1, bx0 + case + 1, by0 + case + 1]
            t.rect_arrondi(*boite, r_case, couleur)
    return t.finir()


# ------------------------------------------------------------------ flèches

FLECHE_HAUT = (255, 240, 120, 255)
FLECHE_BAS = (250, 190, 0, 255)
FLECHE_CONTOUR = (150, 100, 0, 255)

# Ordre de lecture sur la grille 3 x 3 : (dx, dy) de la direction visée.
DIRECTIONS = [(-1, -1), (0, -1), (1, -1),
              (-1, 0), (0, 0), (1, 0),
              (-1, 1), (0, 1), (1, 1)]


def fleche(dx, dy):
    """Flèche jaune 37 x 37 vers (dx, dy) ; disque jaune pour (0, 0)."""
    t = Toile(37)
    c = 18.5
    epaisseur = 1.4  # contour sombre autour de la forme jaune
    forme, contour = t.calque(), t.calque()
    df, dc = ImageDraw.Draw(forme), ImageDraw.Draw(contour)
    if (dx, dy) == (0, 0):
        r = 8.5
        df.ellipse(t.boite(c - r, c - r, c + r, c + r), fill=255)
        r += epaisseur
        dc.ellipse(t.boite(c - r, c - r, c + r, c + r), fill=255)
    else:
        # flèche vers le haut centrée sur l'origine, puis tournée
        longueur = 15.0 if dx == 0 or dy == 0 else 16.5
        tete, demi_tete, demi_tige = 10.5, 10.0, 4.0
        haut = -longueur
        points = [(0, haut), (demi_tete, haut + tete), (demi_tige, haut + tete),
                  (demi_tige, longueur), (-demi_tige, longueur), (-demi_tige, haut + tete),
                  (-demi_tete, haut + tete)]
        angle = math.atan2(dx, -dy)  # 0 = vers le haut, sens horaire
        ca, sa = math.cos(angle), math.sin(angle)
        points = [((c + x * ca - y * sa) * t.sur, (c + x * sa + y * ca) * t.sur) for x, y in points]
        df.polygon(points, fill=255)
        # contour à coins arrondis : le polygone épaissi d'un trait rond
        e = epaisseur * t.sur
        dc.polygon(points, fill=255)
        dc.line(points + [points[0]], fill=255, width=round(2 * e), joint="curve")
        for x, y in points:
            dc.ellipse([x - e, y - e, x + e, y + e], fill=255)
    t.peindre(contour, FLECHE_CONTOUR)
    t.peindre(forme, t.degrade_vertical(3, 34, FLECHE_HAUT, FLECHE_BAS))
    return t.finir()


# -------------------------------------------------------------------- sortie

def main():
    ici = os.path.dirname(os.path.abspath(__file__))
    sortie = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(ici)
    images = {
        "feu_vert.png": feu("vert"),
        "feu_rouge.png": feu("rouge"),
        "ardemo.png": icone(32),
        "ardemo-48.png": icone(48),
        "ardemo-256.png": icone(256),
    }
    for i, (dx, dy) in enumerate(DIRECTIONS):
        images["fleche%d.png" % i] = fleche(dx, dy)
    for nom, image in images.items():
        chemin = os.path.join(sortie, nom)
        image.save(chemin, optimize=True)
        print(chemin)


if __name__ == "__main__":
    main()
