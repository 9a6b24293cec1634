#!/usr/bin/python3
"""Ardemo as a user meets it: the real program under a private X server, driven
through the windowing system with the mouse and the keyboard."""
import datetime
import glob
import io
import os
import subprocess
import sys
import time
import traceback

from PIL import Image, ImageChops, ImageOps

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from bureau import SAUTE, Bureau, Indisponible  # noqa: E402
import cups  # noqa: E402

# Colours of the default scheme, as red, green, blue.
FERIE, WEEKEND, GRIS, JOURS = (255, 192, 255), (255, 192, 128), (192, 192, 192), (244, 240, 217)
# The sheet lies at (266, 0) of the main window, which lands at (0, 0).
FEUILLE = (266, 0, 266 + 628, 866)
BOUTONS = {"annee": (50, 117), "fabriquer": (134, 158), "sauver": (134, 217), "copier": (134, 247),
           "apercu": (47, 455), "imprimer": (137, 455), "quitter": (224, 455), "de base": (207, 103),
           "speciales": (207, 127)}
# The main window's controls in Tab order.
ORDRE_TAB = ["Jours fériés", "WeekEnd", "année", "de base", "spéciales", "Fabriquer", "Sélection", "Sauver",
             "Copier", "Largeur", "Hauteur", "Calendrier scolaire", "Aperçu", "Imprimer", "Quitter"]
# Where the 90 mm picture lands on A4 printable to its edges, mm from the top-left
# corner, for the arrows 0, 4 and 8 of the printer's window (measured once).
PLACES_PDF = {0: (0.0, 0.0), 4: (59.0, 83.7), 8: (116.7, 166.1)}
FLECHES = {0: (96, 284), 4: (138, 328), 8: (182, 372)}


def cellule(mois, k, dx=4, dy=4):
    """A point of the background of cell k of a month, in screen pixels."""
    col, rang = (mois - 1) % 3, (mois - 1) // 3
    return FEUILLE[0] + (6, 216, 424)[col] + 28 * (k % 7) + dx, (48, 264, 480, 696)[rang] + 28 * (k // 7) + dy


def pret(img):
    """The green light is lit: the build is over and the commands are enabled."""
    r, g, _ = img.getpixel((131, 124))
    return g > 180 and r < 150


def janvier_conforme(img, annee, panneau=True):
    """January of that year on the sheet (1 January a holiday, the cell before it
    grey) and, with the command panel shown, the green light."""
    k = datetime.date(annee - 1, 12, 31).isoweekday()
    return (pret(img) or not panneau) and img.getpixel(cellule(1, k - 1)) == GRIS \
        and img.getpixel(cellule(1, k)) == FERIE


def pixels(img):
    return list(img.convert("RGB").getdata())


class Ignore(Exception):
    """A step that this environment cannot run, with the reason."""


class Suite:
    def __init__(self, programme, gestionnaire=None):
        self.b = Bureau(programme, gestionnaire)
        self.resultats = []

    def etape(self, nom, fonction):
        debut = time.time()
        try:
            fonction()
            statut, raison = "passed", ""
        except Ignore as e:
            statut, raison = "skipped", str(e)
        except Exception as e:  # noqa: BLE001
            statut, raison = "failed", str(e)
            traceback.print_exc()
            self.b.capture().save(os.path.join(self.b.dossier, "..", "ardemo-e2e-echec.png"))
        self.resultats.append((nom, statut, raison))
        print("%s  %s (%.1f s) %s" % (statut.upper(), nom, time.time() - debut, raison), flush=True)

    # -- shared steps --------------------------------------------------------
    def attendre_annee(self, annee, delai=10, panneau=True):
        self.b.attendre(lambda: janvier_conforme(self.b.capture(), annee, panneau), delai, "le calendrier %d" % annee)

    def dialogue_fichier(self, titre, nom):
        """The file dialog has the keyboard: a name typed, Return, and the dialog gone."""
        self.b.focus(titre)
        self.b.touche("ctrl+a")
        self.b.taper(nom)
        self.b.touche("Return")
        self.b.attendre_disparition(titre)

    def image_sauvee(self, dossier, nom):
        """Saves through the dialog (the button already pressed); the .bmp equals the screen."""
        self.dialogue_fichier("Sauver l'image", nom)
        chemin = os.path.join(dossier, nom + ".bmp")
        self.b.attendre(lambda: os.path.exists(chemin), 10, "le fichier .bmp")
        with open(chemin, "rb") as f:
            tete = f.read(54)
        assert tete[:2] == b"BM" and int.from_bytes(tete[10:14], "little") == 54
        assert int.from_bytes(tete[14:18], "little") == 40 and int.from_bytes(tete[28:30], "little") == 24
        fichier = Image.open(chemin)
        assert fichier.size == (628, 866), fichier.size
        self.b.focus("Ardemo")
        assert pixels(fichier) == pixels(self.b.capture().crop(FEUILLE)), "le fichier diffère de l'écran"
        return pixels(fichier)

    def quitter_par_le_bouton(self):
        self.b.attendre(lambda: self.b.proc.poll() is not None, 10, "fin du programme")
        assert self.b.proc.returncode == 0, self.b.proc.returncode

    # -- the scenario ----------------------------------------------------------
    def demarrage(self):
        self.b.lancer()
        assert not os.path.exists(os.path.join(self.b.dossier_programme, "Pelvado.ini"))
        self.attendre_annee(datetime.date.today().year, 20)

    def annee_2027(self):
        b = self.b
        b.clic(*BOUTONS["annee"])
        b.touche("ctrl+a")
        b.taper("2027")
        b.touche("Tab")
        b.clic(*BOUTONS["fabriquer"])
        self.attendre_annee(2027)
        img = b.capture()
        # Friday 1 January 2027 (cell 4), Saturday 2, Monday 4, 28 December 2026 in cell 0,
        # Wednesday 14 July (cell 16 of July).
        for (mois, k), couleur in {(1, 4): FERIE, (1, 5): WEEKEND, (1, 7): JOURS, (1, 0): GRIS,
                                   (7, 16): FERIE}.items():
            assert img.getpixel(cellule(mois, k)) == couleur, (mois, k)

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
        # The tooltip is what appeared near the pointer; inside its border,
        # enlarged, in black and white, with a margin: what OCR reads best.
        zone = (x - 60, y - 60, x + 300, y + 120)
        boite = ImageChops.difference(avant.crop(zone), apres.crop(zone)).getbbox()
        assert boite, "pas de bulle"
        bulle = apres.crop(zone).crop(boite).convert("L")
        bulle = bulle.crop((2, 2, bulle.width - 2, bulle.height - 2))
        bulle = bulle.resize((bulle.width * 5, bulle.height * 5), Image.BICUBIC)
        chemin = os.path.join(b.dossier, "bulle.png")
        ImageOps.expand(bulle.point(lambda v: 0 if v < 140 else 255), border=30, fill=255).save(chemin)
        texte = subprocess.run(["tesseract", chemin, "-", "--psm", "7"], capture_output=True, text=True).stdout
        assert texte.replace(" ", "").strip() == "Semaine1", "bulle lue : %r" % texte

    def sauver_fichier(self):
        self.b.clic(*BOUTONS["sauver"])
        self.image_fichier = self.image_sauvee(self.b.dossier_programme, "mon calendrier")

    def presse_papier(self):
        b = self.b
        b.clic(*BOUTONS["copier"])
        b.attendre(lambda: pret(b.capture()), 10, "fin de la copie")
        png = subprocess.run(["xclip", "-selection", "clipboard", "-t", "image/png", "-o"], env=b.env,
                             capture_output=True, timeout=10).stdout
        assert png, "presse-papier vide"
        copie = Image.open(io.BytesIO(png))
        assert copie.size == (628, 866), copie.size
        assert pixels(copie) == self.image_fichier, "le presse-papier diffère du fichier"

    def apercu(self):
        b = self.b
        b.clic(*BOUTONS["apercu"])
        _, _, l, h = b.geometrie(b.attendre_fenetre("Aperçu"))
        # 90 mm: 5103 x 7221 twips, a picture of 340 x 481 pixels inside the window.
        assert l >= 340 and h >= 481, (l, h)
        b.clic(*BOUTONS["apercu"])
        b.attendre_disparition("Aperçu")

    def couleurs_persistantes(self):
        b = self.b
        b.clic(*BOUTONS["de base"])
        b.clic(*b.dans("Choix des couleurs", 104, 116))  # the "WeekEnd" sample
        b.focus("Modifier une couleur")
        b.touche("alt+h", "ctrl+a")
        b.taper("#00ff00")
        b.touche("Return")
        b.attendre_disparition("Modifier une couleur")
        b.clic(*b.dans("Choix des couleurs", 219, 206))  # "Valider"
        b.attendre_disparition("Choix des couleurs")
        # Cell 12, the Saturday of the second row, is always a day of January;
        # a second start of the program shows the colour written by the first.
        vert = lambda: pret(b.capture()) and b.capture().getpixel(cellule(1, 12)) == (0, 255, 0)  # noqa: E731
        b.attendre(vert, 10, "week-end en vert")
        ini = open(os.path.join(b.dossier_programme, "Pelvado.ini"), "rb").read()
        assert b"CoulWeekEnd= 65280\r\n" in ini, ini
        b.clic(*BOUTONS["quitter"])
        self.quitter_par_le_bouton()
        b.lancer()
        b.attendre(vert, 20, "week-end en vert au second lancement")

    def fichier_cal_autre_annee(self):
        b = self.b
        # A colouring saved for 2030: 1 January 2030 (cell 1; 31 December 2029 in cell 0) in blue digits.
        lignes = [",".join(map(str, [m] + [16711680 if (m, k) == (1, 1) else 0 for k in range(42)]))
                  for m in range(1, 13)]
        with open(os.path.join(b.dossier_programme, "annee2030.Cal"), "wb") as f:
            f.write(("\r\n".join(lignes + ['"2030"']) + "\r\n").encode())
        b.clic(*BOUTONS["speciales"])
        b.clic(*b.dans("Couleurs spéciales", 125, 409))  # "Ouvrir un Fichier Couleurs..."
        b.focus("Ouvrir")
        b.taper("annee2030.Cal")
        b.touche("Return")
        # The window's buttons come back (out of their washed-out look) once the build is over.
        fermer = b.dans("Couleurs spéciales", 14, 439)  # "Fermer cette fenêtre"

        def fini():
            img = b.capture()
            r, g, _ = img.getpixel(fermer)
            return janvier_conforme(img, 2030, panneau=False) and r > 150 and g < 100
        b.attendre(fini, 15, "le calendrier 2030")
        x, y = cellule(1, 1)
        img = b.capture()
        assert (0, 0, 255) in img.crop((x, y, x + 20, y + 20)).getdata(), "chiffres du 1er janvier 2030 en bleu"
        b.clic(*fermer)
        b.attendre_disparition("Couleurs spéciales")
        self.attendre_annee(2030)

    def impression(self):
        b = self.b
        if not self.cups:
            raise Ignore("pas de serveur CUPS : " + self.raison_cups)
        sortie = cups.dossier_pdf()
        for fleche, (fx, fy) in FLECHES.items():
            avant = {f: os.path.getmtime(f) for f in glob.glob(os.path.join(sortie, "*.pdf"))}
            b.clic(*BOUTONS["imprimer"])
            x0, y0, _, _ = b.geometrie(b.attendre_fenetre("Choix de l'imprimante"))
            for x, y in ((160, 41), (fx, fy), (260, 499)):  # the first printer "PDF", the arrow, "Valider"
                b.clic(x0 + x, y0 + y)
            b.attendre_disparition("Choix de l'imprimante")
            nouveaux = lambda: [f for f in glob.glob(os.path.join(sortie, "*.pdf"))  # noqa: E731
                                if f not in avant or os.path.getmtime(f) > avant[f]]
            b.attendre(nouveaux, 60, "le fichier PDF de l'imprimante")
            pdf = nouveaux()[0]
            time.sleep(1)  # let cups-pdf finish writing
            self.pdfs.append(pdf)
            info = subprocess.run(["pdfinfo", pdf], capture_output=True, text=True).stdout
            assert "595 x 842 pts" in info, info
            base = os.path.join(b.dossier, "page%d" % fleche)
            subprocess.run(["pdftoppm", "-r", "150", "-png", "-singlefile", pdf, base], check=True,
                           stderr=subprocess.DEVNULL)
            page = Image.open(base + ".png").convert("RGB")
            boite = ImageChops.difference(page, Image.new("RGB", page.size, (255, 255, 255))) \
                .point(lambda v: 255 if v > 10 else 0).getbbox()
            assert boite, "page blanche : " + pdf
            gauche, haut, droite, bas = (v * 25.4 / 150 for v in boite)
            x_att, y_att = PLACES_PDF[fleche]
            assert abs(gauche - x_att) <= 0.5 and abs(haut - y_att) <= 0.5, (fleche, gauche, haut)
            assert abs((droite - gauche) - 90) <= 0.5, droite - gauche
            assert abs((bas - haut) - 127.2) <= 0.6, bas - haut

    def clavier_seul(self):
        """A fresh start, then the keyboard alone: the mouse is never used. Under
        a window manager, the manager alone gives each window the keyboard."""
        b = self.b
        b.quitter()
        dossier = b.lancer("clavier")
        b.xdo("mousemove", 1200, 1000)  # out of the way, once, before the walk
        self.attendre_annee(datetime.date.today().year, 20)
        ini = os.path.join(dossier, "Pelvado.ini")
        self.place = ORDRE_TAB.index("Fabriquer")  # where the keyboard starts

        def aller(controle):
            pas = ORDRE_TAB.index(controle) - self.place
            if pas:
                b.xdo("key", "--delay", 60, *(["Tab"] * pas if pas > 0 else ["shift+Tab"] * -pas))
                time.sleep(0.2)
            self.place += pas

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
        self.attendre_annee(2027)
        assert not os.path.exists(ini)
        # The width, then Tab to the height: stored on leaving the box.
        aller("Largeur")
        b.taper("150")
        aller("Hauteur")
        b.attendre(lambda: os.path.exists(ini), 5, "Pelvado.ini")
        assert open(ini, "rb").read() == b"[Taille]\r\nLargeur=150\r\n"
        # The accepted width showed the preview: Space on "Aperçu" closes it,
        # a second Space opens it with the keyboard on its own button.
        aller("Aperçu")
        b.attendre_fenetre("Aperçu")
        b.touche("space")
        b.attendre_disparition("Aperçu")
        fenetre("Aperçu", ["space"])
        for controle, nom, touches in (
                ("Calendrier scolaire", "Calendrier scolaire", ["Escape"]),
                ("Imprimer", "Choix de l'imprimante", ["space"]),  # "Annuler l'impression", the first button
                ("de base", "Choix des couleurs", ["Escape"]),
                # "Fermer cette fenêtre", the button before the last ("Importer un calendrier (.ics)...").
                ("spéciales", "Couleurs spéciales", ["shift+Tab", "shift+Tab", "space"]),
                ("Sélection", "Sélection d'une zone", ["Escape"])):
            aller(controle)
            fenetre(nom, touches)
        # The image saved through the file dialog.
        aller("Sauver")
        b.touche("space")
        self.image_sauvee(dossier, "au clavier")
        # Nothing else was written on the way; "Quitter" ends the program.
        aller("Quitter")
        b.touche("space")
        self.quitter_par_le_bouton()
        assert sorted(os.listdir(dossier)) == ["Pelvado.ini", "ardemo", "au clavier.bmp"], os.listdir(dossier)
        assert open(ini, "rb").read() == b"[Taille]\r\nLargeur=150\r\n"

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
        etapes = [("démarrage : calendrier de l'année en cours", self.demarrage)]
        if impression:
            etapes.append(("impression sur l'imprimante PDF de CUPS, flèches 0, 4 et 8", self.impression))
        else:
            etapes += [("année 2027 et « Fabriquer le Calendrier »", self.annee_2027),
                       ("bulle « Semaine  1 » du 4 janvier 2027", self.bulle_semaine),
                       ("« Sauver dans un fichier image... » par le dialogue", self.sauver_fichier),
                       ("« Copier dans le Presse-Papier », lu par xclip", self.presse_papier),
                       ("l'aperçu s'ouvre et se ferme", self.apercu),
                       ("couleurs gardées d'un lancement à l'autre", self.couleurs_persistantes),
                       ("fichier .Cal d'une autre année", self.fichier_cal_autre_annee),
                       ("au clavier seul : année, largeur, chaque fenêtre, image, Quitter", self.clavier_seul)]
        try:
            for nom, fonction in etapes:
                self.etape(nom, fonction)
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
        return 1 if compte["failed"] else SAUTE if compte["skipped"] else 0


if __name__ == "__main__":
    options = sys.argv[2:]
    sys.exit(Suite(sys.argv[1], "openbox" if "--openbox" in options else None).executer(
        impression="--impression" in options))
