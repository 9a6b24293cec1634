#!/usr/bin/python3
"""Ardemo as a user meets it: the real program under a private X server, driven
through the windowing system with the mouse and the keyboard."""
import datetime
import os
import subprocess
import sys
import time
import traceback

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from bureau import Bureau, Indisponible  # noqa: E402
import cups  # noqa: E402

# Colours of the default scheme, as red, green, blue.
FERIE = (255, 192, 255)
WEEKEND = (255, 192, 128)
GRIS = (192, 192, 192)
JOURS = (244, 240, 217)

# The sheet lies at (266, 0) of the main window, which lands at (0, 0).
FEUILLE = (266, 0)
GAUCHE_CELLULE = (6, 216, 424)
HAUT_CELLULE = (48, 264, 480, 696)

BOUTONS = {
    "annee": (50, 117),
    "fabriquer": (134, 158),
    "sauver": (134, 217),
    "copier": (134, 247),
    "apercu": (47, 455),
    "imprimer": (137, 455),
    "quitter": (224, 455),
    "de base": (207, 103),
    "speciales": (207, 127),
}


# The main window's controls in Tab order.
ORDRE_TAB = ["Jours fériés", "WeekEnd", "année", "de base", "spéciales", "Fabriquer", "Sélection", "Sauver",
             "Copier", "Largeur", "Hauteur", "Calendrier scolaire", "Aperçu", "Imprimer", "Quitter"]


def cellule(mois, k, dx=4, dy=4):
    """A point of the background of cell k of a month, in screen pixels."""
    col, rang = (mois - 1) % 3, (mois - 1) // 3
    x = FEUILLE[0] + GAUCHE_CELLULE[col] + 28 * (k % 7)
    y = FEUILLE[1] + HAUT_CELLULE[rang] + 28 * (k // 7)
    return x + dx, y + dy


def case_du_premier_janvier(annee):
    """Cell of 1 January: the weekday of 31 December before it, Monday = 1."""
    return datetime.date(annee - 1, 12, 31).isoweekday()


def pret(img):
    """The green light is lit: the build is over and the commands are enabled."""
    r, g, _ = img.getpixel((131, 124))
    return g > 180 and r < 150


def janvier_conforme(img, annee, panneau=True):
    """January of that year on the sheet (and, with the command panel shown, the green light)."""
    k = case_du_premier_janvier(annee)
    attendu = {k - 1: GRIS, k: FERIE}
    return (pret(img) or not panneau) and all(img.getpixel(cellule(1, c)) == coul for c, coul in attendu.items())


class Suite:
    def __init__(self, programme, gestionnaire=None):
        self.b = Bureau(programme, gestionnaire)
        self.resultats = []

    def etape(self, nom, fonction):
        debut = time.time()
        try:
            fonction()
            self.resultats.append((nom, "passed", ""))
            print("PASS  %s (%.1f s)" % (nom, time.time() - debut), flush=True)
        except Ignore as e:
            self.resultats.append((nom, "skipped", str(e)))
            print("SKIP  %s : %s" % (nom, e), flush=True)
        except Exception as e:  # noqa: BLE001
            self.resultats.append((nom, "failed", str(e)))
            print("FAIL  %s : %s" % (nom, e), flush=True)
            traceback.print_exc()
            self.b.capture().save(os.path.join(self.b.dossier, "..", "ardemo-e2e-echec.png"))

    # -- steps ---------------------------------------------------------------
    def demarrage(self):
        self.b.lancer()
        assert not os.path.exists(os.path.join(self.b.dossier_programme, "Pelvado.ini"))
        annee = datetime.date.today().year
        self.b.attendre(lambda: janvier_conforme(self.b.capture(), annee), 20,
                        "le calendrier de l'année en cours")

    def annee_2027(self):
        b = self.b
        b.clic(*BOUTONS["annee"])
        b.touche("ctrl+a")
        b.taper("2027")
        b.touche("Tab")
        b.clic(*BOUTONS["fabriquer"])
        b.attendre(lambda: janvier_conforme(b.capture(), 2027), 10, "le calendrier 2027")
        img = b.capture()
        # 1 January 2027 is a Friday (cell 4): holiday; Saturday 2, weekend;
        # Monday 4, an ordinary day; 28 December 2026 in cell 0, grey.
        assert img.getpixel(cellule(1, 4)) == FERIE
        assert img.getpixel(cellule(1, 5)) == WEEKEND
        assert img.getpixel(cellule(1, 7)) == JOURS
        assert img.getpixel(cellule(1, 0)) == GRIS
        # 14 July 2027 (Wednesday, cell 16 of July): holiday.
        assert img.getpixel(cellule(7, 16)) == FERIE

    def bulle_semaine(self):
        b = self.b
        x, y = cellule(1, 7, 14, 14)  # Monday 4 January 2027
        b.xdo("mousemove", "--sync", 600, 950)
        time.sleep(0.5)
        avant = b.capture()
        b.xdo("mousemove", "--sync", x + 3, y)
        b.xdo("mousemove", "--sync", x, y)
        time.sleep(1.8)
        apres = b.capture()
        b.xdo("mousemove", "--sync", 600, 950)
        # The tooltip is what appeared near the pointer.
        from PIL import ImageChops
        zone = (x - 60, y - 60, x + 300, y + 120)
        boite = ImageChops.difference(avant.crop(zone), apres.crop(zone)).getbbox()
        assert boite, "pas de bulle"
        bulle = apres.crop(zone).crop(boite)
        chemin = os.path.join(b.dossier, "bulle.png")
        # Inside its border, enlarged, in black and white, with a margin: what OCR reads best.
        from PIL import Image, ImageOps
        bulle = bulle.convert("L").crop((2, 2, bulle.width - 2, bulle.height - 2))
        bulle = bulle.resize((bulle.width * 5, bulle.height * 5), Image.BICUBIC)
        bulle = ImageOps.expand(bulle.point(lambda v: 0 if v < 140 else 255), border=30, fill=255)
        bulle.save(chemin)
        texte = subprocess.run(["tesseract", chemin, "-", "--psm", "7"], capture_output=True,
                               text=True).stdout.strip()
        assert texte.replace(" ", "") == "Semaine1", "bulle lue : %r" % texte

    def sauver_fichier(self):
        b = self.b
        b.clic(*BOUTONS["sauver"])
        b.focus("Sauver l'image")
        b.touche("ctrl+a")
        b.taper("mon calendrier")
        b.touche("Return")
        b.attendre_disparition("Sauver l'image")
        chemin = os.path.join(b.dossier_programme, "mon calendrier.bmp")
        b.attendre(lambda: os.path.exists(chemin), 10, "le fichier .bmp")
        with open(chemin, "rb") as f:
            tete = f.read(54)
        assert tete[:2] == b"BM" and int.from_bytes(tete[10:14], "little") == 54
        assert int.from_bytes(tete[14:18], "little") == 40 and int.from_bytes(tete[28:30], "little") == 24
        from PIL import Image
        fichier = Image.open(chemin).convert("RGB")
        assert fichier.size == (628, 866), fichier.size
        # The file is the sheet as the screen shows it, pixel for pixel.
        ecran = b.capture().crop((FEUILLE[0], FEUILLE[1], FEUILLE[0] + 628, FEUILLE[1] + 866))
        assert list(fichier.getdata()) == list(ecran.getdata()), "le fichier diffère de l'écran"
        self.image_fichier = fichier

    def presse_papier(self):
        b = self.b
        b.clic(*BOUTONS["copier"])
        b.attendre(lambda: pret(b.capture()), 10, "fin de la copie")
        import io
        from PIL import Image
        png = subprocess.run(["xclip", "-selection", "clipboard", "-t", "image/png", "-o"], env=b.env,
                             capture_output=True, timeout=10).stdout
        assert png, "presse-papier vide"
        copie = Image.open(io.BytesIO(png)).convert("RGB")
        assert copie.size == (628, 866), copie.size
        assert list(copie.getdata()) == list(self.image_fichier.getdata()), "le presse-papier diffère du fichier"

    def apercu(self):
        b = self.b
        b.clic(*BOUTONS["apercu"])
        fenetre = b.attendre_fenetre("Aperçu")
        x, y, l, h = b.geometrie(fenetre)
        # 90 mm: 5103 x 7221 twips, a picture of 340 x 481 pixels inside the window.
        assert l >= 340 and h >= 481, (l, h)
        b.clic(*BOUTONS["apercu"])
        b.attendre_disparition("Aperçu")

    def couleurs_persistantes(self):
        b = self.b
        b.clic(*BOUTONS["de base"])
        b.attendre_fenetre("Choix des couleurs")
        b.clic(*b.dans("Choix des couleurs", 104, 116))  # the "WeekEnd" sample
        b.focus("Modifier une couleur")
        b.touche("alt+h", "ctrl+a")
        b.taper("#00ff00")
        b.touche("Return")
        b.attendre_disparition("Modifier une couleur")
        b.clic(*b.dans("Choix des couleurs", 219, 206))  # "Valider"
        b.attendre_disparition("Choix des couleurs")
        # Cell 12, the Saturday of the second row, is always a day of January.
        vert = (0, 255, 0)
        b.attendre(lambda: pret(b.capture()) and b.capture().getpixel(cellule(1, 12)) == vert, 10,
                   "week-end en vert")
        ini = open(os.path.join(b.dossier_programme, "Pelvado.ini"), "rb").read()
        assert b"CoulWeekEnd= 65280\r\n" in ini, ini
        # A second start of the program shows the colour written by the first.
        b.clic(*BOUTONS["quitter"])
        b.attendre(lambda: b.proc.poll() is not None, 10, "fin du programme")
        b.lancer()
        b.attendre(lambda: pret(b.capture()) and b.capture().getpixel(cellule(1, 12)) == vert, 20,
                   "week-end en vert au second lancement")

    def fichier_cal_autre_annee(self):
        b = self.b
        # A colouring saved for 2030: 1 January 2030 (cell 1) in blue digits.
        lignes = []
        for m in range(1, 13):
            champs = [0] * 42
            if m == 1:
                champs[1] = 16711680
            lignes.append(",".join(str(v) for v in [m] + champs))
        lignes.append('"2030"')
        with open(os.path.join(b.dossier_programme, "annee2030.Cal"), "wb") as f:
            f.write(("\r\n".join(lignes) + "\r\n").encode())
        b.clic(*BOUTONS["speciales"])
        b.attendre_fenetre("Couleurs spéciales")
        b.clic(*b.dans("Couleurs spéciales", 125, 409))  # "Ouvrir un Fichier Couleurs..."
        b.focus("Ouvrir")
        b.taper("annee2030.Cal")
        b.touche("Return")
        # January 2030 starts on a Tuesday: 31 December 2029 in cell 0, 1 January in cell 1.
        # The window's buttons come back (out of their washed-out look) once the build is over.
        fermer = b.dans("Couleurs spéciales", 14, 439)  # "Fermer cette fenêtre"

        def fini():
            img = b.capture()
            r, g, _ = img.getpixel(fermer)
            return janvier_conforme(img, 2030, panneau=False) and r > 150 and g < 100
        b.attendre(fini, 15, "le calendrier 2030")
        img = b.capture()
        bleu = [img.getpixel((x, y)) for x in range(cellule(1, 1)[0], cellule(1, 1)[0] + 20)
                for y in range(cellule(1, 1)[1], cellule(1, 1)[1] + 20)]
        assert (0, 0, 255) in bleu, "chiffres du 1er janvier 2030 en bleu"
        b.clic(*fermer)
        b.attendre_disparition("Couleurs spéciales")
        b.attendre(lambda: janvier_conforme(b.capture(), 2030), 10, "le panneau revenu")

    def impression(self):
        b = self.b
        if not self.cups:
            raise Ignore("pas de serveur CUPS : " + self.raison_cups)
        import glob
        import math
        from PIL import Image, ImageChops
        sortie = cups.dossier_pdf()
        for fleche, (fx, fy) in ((0, (96, 284)), (4, (138, 328)), (8, (182, 372))):
            avant = {f: os.path.getmtime(f) for f in glob.glob(os.path.join(sortie, "*.pdf"))}
            b.clic(*BOUTONS["imprimer"])
            dialogue = b.attendre_fenetre("Choix de l'imprimante")
            x0, y0, _, _ = b.geometrie(dialogue)
            b.clic(x0 + 160, y0 + 41)  # the first printer: "PDF"
            b.clic(x0 + fx, y0 + fy)  # the arrow
            b.clic(x0 + 260, y0 + 499)  # "Valider"
            b.attendre_disparition("Choix de l'imprimante")

            def nouveau():
                for f in glob.glob(os.path.join(sortie, "*.pdf")):
                    if f not in avant or os.path.getmtime(f) > avant[f]:
                        return f
                return None
            b.attendre(lambda: nouveau() is not None, 60, "le fichier PDF de l'imprimante")
            pdf = nouveau()
            time.sleep(1)  # let cups-pdf finish writing
            self.pdfs.append(pdf)
            info = subprocess.run(["pdfinfo", pdf], capture_output=True, text=True).stdout
            assert "595 x 842 pts" in info, info
            base = os.path.join(b.dossier, "page%d" % fleche)
            subprocess.run(["pdftoppm", "-r", "150", "-png", "-singlefile", pdf, base], check=True,
                           stderr=subprocess.DEVNULL)
            page = Image.open(base + ".png").convert("RGB")
            fond = Image.new("RGB", page.size, (255, 255, 255))
            boite = ImageChops.difference(page, fond).point(lambda v: 255 if v > 10 else 0).getbbox()
            assert boite, "page blanche : " + pdf
            mm = 25.4 / 150
            gauche, haut, droite, bas = (v * mm for v in boite)
            # The place the page layout gives, for A4 printable to its edges.
            P, Q, L = 11900, 16840, 5103
            W, H, sl, sh = 344, 486, 9450, 13020
            T = (bas - haut) / 25.4 * 1440
            w = L * W / P + 2
            h = sh * w / sl + 2
            max_h = max(5, math.floor(W - w - 5 + 0.5))
            max_v = max(5, math.floor(H - h - 5 + 0.5))
            col = [5, (W - w) / 2 + 1, W - w - 5][fleche % 3]
            rang = [5, (H - h) / 2, H - h - 7][fleche // 3]
            vx = min(max(math.floor(col), 5), max_h)
            vy = min(max(math.floor(rang), 5), max_v)
            x_att = (vx - 5) * (P - L) / max_h / 1440 * 25.4
            y_att = (vy - 5) * (Q - T) / (max_v - 1) / 1440 * 25.4
            assert abs(gauche - x_att) <= 0.5 and abs(haut - y_att) <= 0.5, (fleche, gauche, haut, x_att, y_att)
            assert abs((droite - gauche) - 90) <= 0.5, droite - gauche
            assert abs((bas - haut) - 127.2) <= 0.6, bas - haut

    def clavier_seul(self):
        """A fresh start, then the keyboard alone: the mouse is never used. Under
        a window manager, the manager alone gives each window the keyboard."""
        b = self.b
        b.quitter()
        dossier = b.lancer("clavier")
        b.xdo("mousemove", 1200, 1000)  # out of the way, once, before the walk
        annee = datetime.date.today().year
        b.attendre(lambda: janvier_conforme(b.capture(), annee), 20, "le calendrier de l'année en cours")
        ini = os.path.join(dossier, "Pelvado.ini")
        self.place = ORDRE_TAB.index("Fabriquer")  # where the keyboard starts

        def aller(controle):
            cible = ORDRE_TAB.index(controle)
            pas = cible - self.place
            if pas:
                b.xdo("key", "--delay", 60, *(["Tab"] * pas if pas > 0 else ["shift+Tab"] * -pas))
                time.sleep(0.2)
            self.place = cible

        def fenetre(nom, fermer):
            """Opens a window with Space on the focused button, closes it with
            the given keys, and finds the keyboard back in the main window."""
            b.touche("space")
            b.focus(nom)
            b.touche(*fermer)
            b.attendre_disparition(nom)
            b.focus("Ardemo")  # under a window manager: given back by it

        # A year out of range: Tab shows the warning, Enter closes it.
        aller("année")
        b.touche("ctrl+a")
        b.taper("1200")
        aller("de base")
        b.focus("Contrôle de l'année")
        b.touche("Return")
        b.attendre_disparition("Contrôle de l'année")
        b.focus("Ardemo")
        # A year typed, then built.
        aller("année")
        b.touche("ctrl+a")
        b.taper("2027")
        aller("Fabriquer")
        b.touche("space")
        b.attendre(lambda: janvier_conforme(b.capture(), 2027), 10, "le calendrier 2027")
        assert not os.path.exists(ini)
        # The width, then Tab to the height: stored on leaving the box.
        aller("Largeur")
        b.taper("150")
        aller("Hauteur")
        b.attendre(lambda: os.path.exists(ini), 5, "Pelvado.ini")
        with open(ini, "rb") as f:
            assert f.read() == b"[Taille]\r\nLargeur=150\r\n"
        # The accepted width showed the preview: Space on "Aperçu" closes it,
        # a second Space opens it with the keyboard on its own button.
        aller("Aperçu")
        b.attendre_fenetre("Aperçu")
        b.touche("space")
        b.attendre_disparition("Aperçu")
        fenetre("Aperçu", ["space"])
        aller("Calendrier scolaire")
        fenetre("Calendrier scolaire", ["Escape"])
        aller("Imprimer")
        fenetre("Choix de l'imprimante", ["space"])  # "Annuler l'impression", the first button
        aller("de base")
        fenetre("Choix des couleurs", ["Escape"])
        aller("spéciales")
        # "Fermer cette fenêtre", the button before the last ("Importer un calendrier (.ics)...").
        fenetre("Couleurs spéciales", ["shift+Tab", "shift+Tab", "space"])
        aller("Sélection")
        fenetre("Sélection d'une zone", ["Escape"])
        # The image saved through the file dialog.
        aller("Sauver")
        b.touche("space")
        b.focus("Sauver l'image")
        b.touche("ctrl+a")
        b.taper("au clavier")
        b.touche("Return")
        b.attendre_disparition("Sauver l'image")
        chemin = os.path.join(dossier, "au clavier.bmp")
        b.attendre(lambda: os.path.exists(chemin), 10, "le fichier .bmp")
        from PIL import Image
        b.focus("Ardemo")
        ecran = b.capture().crop((FEUILLE[0], FEUILLE[1], FEUILLE[0] + 628, FEUILLE[1] + 866))
        assert list(Image.open(chemin).convert("RGB").getdata()) == list(ecran.getdata()), "fichier et écran"
        # Nothing else was written on the way; "Quitter" ends the program.
        aller("Quitter")
        b.touche("space")
        b.attendre(lambda: b.proc.poll() is not None, 10, "fin du programme")
        assert b.proc.returncode == 0, b.proc.returncode
        assert sorted(os.listdir(dossier)) == ["Pelvado.ini", "ardemo", "au clavier.bmp"], os.listdir(dossier)
        with open(ini, "rb") as f:
            assert f.read() == b"[Taille]\r\nLargeur=150\r\n"

    def executer(self, impression):
        """The user's scenario; with `impression`, printing alone (it needs a
        CUPS server of its own, and is reported as skipped when none starts)."""
        try:
            self.b.demarrer_x()
        except Indisponible as e:
            self.b.fermer()
            print("skipped: tout le scénario (%s)" % e)
            return SAUTE
        self.pdfs = []
        serveur = cups.ServeurCups()
        self.cups = impression and serveur.demarrer()
        self.raison_cups = serveur.raison or ""
        if self.cups:
            self.b.env["CUPS_SERVER"] = serveur.socket
        try:
            self.etape("démarrage : calendrier de l'année en cours", self.demarrage)
            if impression:
                self.etape("impression sur l'imprimante PDF de CUPS, flèches 0, 4 et 8", self.impression)
            else:
                self.etape("année 2027 et « Fabriquer le Calendrier »", self.annee_2027)
                self.etape("bulle « Semaine  1 » du 4 janvier 2027", self.bulle_semaine)
                self.etape("« Sauver dans un fichier image... » par le dialogue", self.sauver_fichier)
                self.etape("« Copier dans le Presse-Papier », lu par xclip", self.presse_papier)
                self.etape("l'aperçu s'ouvre et se ferme", self.apercu)
                self.etape("couleurs gardées d'un lancement à l'autre", self.couleurs_persistantes)
                self.etape("fichier .Cal d'une autre année", self.fichier_cal_autre_annee)
                self.etape("au clavier seul : année, largeur, chaque fenêtre, image, Quitter", self.clavier_seul)
        finally:
            self.b.fermer()
            serveur.arreter()
            for pdf in self.pdfs:
                os.remove(pdf)
        compte = {s: sum(1 for r in self.resultats if r[1] == s) for s in ("passed", "failed", "skipped")}
        for nom, statut, raison in self.resultats:
            if statut == "skipped":
                print("skipped: %s (%s)" % (nom, raison))
        print("%d passed, %d failed, %d skipped" % (compte["passed"], compte["failed"], compte["skipped"]))
        if compte["failed"]:
            return 1
        return SAUTE if compte["skipped"] else 0


# Exit code of a run whose steps could not all run here (CTest shows it as skipped).
SAUTE = 77


class Ignore(Exception):
    """A step that this environment cannot run, with the reason."""


if __name__ == "__main__":
    options = sys.argv[2:]
    sys.exit(Suite(sys.argv[1], "openbox" if "--openbox" in options else None).executer(
        impression="--impression" in options))
