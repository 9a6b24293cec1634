#!/usr/bin/python3
"""Ardemo as a user meets it: the real program under a private X server, driven with the mouse and the keyboard.
Options: --openbox (under a window manager), --impression (the start, then printing through a private CUPS server,
without then with printers, then a queue that refuses jobs and a stopped scheduler)."""
import datetime, glob, io, os, pwd, shutil, subprocess, sys, time  # noqa: E401
from pathlib import Path

from PIL import Image, ImageChops, ImageOps

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from bureau import Bureau, Indisponible, arreter, attendre  # noqa: E402

FERIE, GRIS, VERT = (255, 192, 255), (192, 192, 192), (0, 255, 0)
FEUILLE = (266, 0, 266 + 628, 866)  # the sheet in the main window, which lands at (0, 0)
BOUTONS = dict(annee=(50, 117), fabriquer=(134, 158), sauver=(134, 217), copier=(134, 247), apercu=(47, 455),
               imprimer=(137, 455), quitter=(224, 455), base=(207, 103), speciales=(207, 127))
ORDRE_TAB = ("Jours fériés|WeekEnd|année|de base|spéciales|Fabriquer|Sélection|Sauver|Copier|Largeur|Hauteur|"
             "Calendrier scolaire|Aperçu|Imprimer|Quitter|feuille").split("|")
# The printer window's arrows: their place, and the top-left corner (mm, measured) of the 90 mm picture on the A4 page
FLECHES = {0: ((96, 284), (0.0, 0.0)), 4: ((138, 328), (59.0, 83.7)), 8: ((182, 372), (116.7, 166.1))}
# cups-pdf writes to the job owner's ~/PDF, the home of the account as the system knows it.
SORTIE_PDF = os.path.join(pwd.getpwuid(os.getuid()).pw_dir, "PDF")
CUPSD_CONF = """LogLevel warn\nListen {d}/cups.sock\nBrowsing No\nDefaultAuthType None\nWebInterface No
<Location />\n  Order allow,deny\n  Allow all\n</Location>\n<Location /admin>\n  Order allow,deny\n  Allow all
</Location>\n<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n"""
FILES_CONF = """ServerRoot {d}/etc\nRequestRoot {d}/spool\nTempDir {d}/spool/tmp\nStateDir {d}/state
CacheDir {d}/cache\nErrorLog {d}/log/error_log\nAccessLog {d}/log/access_log\nPageLog {d}/log/page_log
User lp\nGroup lp\nSystemGroup root\nPrintcap {d}/printcap\n"""


def cellule(mois, k, dx=4, dy=4):  # a point of the background of cell k of a month, on the screen
    col, rang = (mois - 1) % 3, (mois - 1) // 3
    return FEUILLE[0] + (6, 216, 424)[col] + 28 * (k % 7) + dx, (48, 264, 480, 696)[rang] + 28 * (k // 7) + dy


def pret(img):  # the green light: the build is over and the commands are enabled
    return img.getpixel((131, 124))[1] > 180 and img.getpixel((131, 124))[0] < 150


def janvier(img, annee):  # that year's January on the sheet: 1 January a holiday, the cell before it grey
    k = datetime.date(annee - 1, 12, 31).isoweekday()
    return img.getpixel(cellule(1, k - 1)) == GRIS and img.getpixel(cellule(1, k)) == FERIE


class Suite(Bureau):
    def annee(self, annee, delai=10):
        attendre(lambda: pret(img := self.capture()) and janvier(img, annee), delai, "le calendrier %d" % annee)

    def serveur_cups(self):  # a private one (the system's is never touched) with the cups-pdf printer "PDF"
        if not shutil.which("cupsd") or not os.path.exists("/usr/lib/cups/backend/cups-pdf"):
            raise Indisponible("cupsd ou cups-pdf absent (paquets cups, printer-driver-cups-pdf)")
        d = os.path.join(self.dossier, "cups")
        os.chmod(self.dossier, 0o755)  # the filters run as the lp account
        for s in ("etc", "spool/tmp", "state", "cache", "log"):
            os.makedirs(os.path.join(d, s))
        Path(d, "etc/cupsd.conf").write_text(CUPSD_CONF.format(d=d))
        Path(d, "etc/cups-files.conf").write_text(FILES_CONF.format(d=d))
        cupsd = self.cupsd = self.demon("cupsd", "-f", "-c", d + "/etc/cupsd.conf", "-s", d + "/etc/cups-files.conf")
        self.env["CUPS_SERVER"] = os.path.join(d, "cups.sock")
        if not attendre(lambda: os.path.exists(self.env["CUPS_SERVER"]), 10) or cupsd.poll() is not None:
            raise Indisponible("cupsd ne démarre pas (code %s)" % cupsd.poll())

    def imprimantes(self):  # two printers writing PDF files, "PDF" and "PDF2", in the list in that order
        for nom in ("PDF", "PDF2"):
            self.sortie("lpadmin", "-p", nom, "-v", "cups-pdf:/", "-E", "-m", "lsb/usr/cups-pdf/CUPS-PDF_opt.ppd",
                        echec=Indisponible)

    def demarrage(self):
        self.lancer()
        self.annee(datetime.date.today().year, 20)

    def annee_2027(self):
        self.clic(*BOUTONS["annee"])
        self.taper("2027", "Tab")
        self.clic(*BOUTONS["fabriquer"])
        self.annee(2027)

    def bulle_semaine(self):
        x, y = cellule(1, 7, 14, 14)  # Monday 4 January 2027
        zone = (x - 60, y - 60, x + 300, y + 120)
        self.xdo("mousemove", "--sync", 600, 950, "sleep", 0.5)
        avant = self.capture().crop(zone)
        self.xdo("mousemove", "--sync", x + 3, y, "mousemove", "--sync", x, y, "sleep", 1.8)
        apres = self.capture().crop(zone)
        self.xdo("mousemove", "--sync", 600, 950)
        # What appeared near the pointer, inside its border, enlarged, in black and white, with a margin, for the OCR.
        assert (boite := ImageChops.difference(avant, apres).getbbox()), "pas de bulle"
        bulle = ImageOps.scale(ImageOps.crop(apres.crop(boite), 2).convert("L"), 5, Image.BICUBIC)
        ImageOps.expand(bulle.point(lambda v: v >= 140 and 255), 30, 255).save(chemin := self.dossier + "/bulle.png")
        texte = self.sortie("tesseract", chemin, "-", "--psm", "7")
        assert texte.replace(" ", "") == "Semaine1", "bulle lue : %r" % texte

    def copier(self):  # the clipboard, read by xclip, holds the sheet on the screen
        self.clic(*BOUTONS["copier"])
        attendre(lambda: pret(self.capture()), 10, "fin de la copie")
        png = subprocess.run(["xclip", "-selection", "clipboard", "-t", "image/png", "-o"], env=self.env,
                             capture_output=True, timeout=10).stdout
        assert png and Image.open(io.BytesIO(png)).convert("RGB").tobytes() == self.capture().crop(FEUILLE).tobytes()

    def couleurs_persistantes(self):
        self.clic(*BOUTONS["base"])
        self.fenetre("Choix des couleurs", (104, 116),  # the "WeekEnd" sample, then "Valider"
                     lambda: self.fenetre("Modifier une couleur", "alt+h", lambda: self.taper("#00ff00", "Return")),
                     (219, 206))
        # Cell 12, a Saturday, is always in January; a second start of the program shows the colour the first wrote.
        vert = lambda: pret(img := self.capture()) and img.getpixel(cellule(1, 12)) == VERT  # noqa: E731
        attendre(vert, 10, "week-end en vert")
        self.clic(*BOUTONS["quitter"])
        self.attendre_fin()
        self.lancer()
        attendre(vert, 20, "week-end en vert au second lancement")

    def cal_autre_annee(self):  # a file of colours saved for 2030, 1 January (cell 1) in blue digits, opened
        lignes = ["%d,0,%d," % (m, 16711680 * (m == 1)) + ",".join(["0"] * 40) for m in range(1, 13)]
        Path(self.dossier_programme, "annee2030.Cal").write_bytes("\r\n".join(lignes + ['"2030"', ""]).encode())
        self.clic(*BOUTONS["speciales"])
        self.clic(*self.dans("Couleurs spéciales", 125, 435))  # "Ouvrir un Fichier Couleurs..."
        self.fenetre("Ouvrir", lambda: self.taper("annee2030.Cal", "Return"))
        (fx, fy), (x, y) = self.dans("Couleurs spéciales", 14, 465), cellule(1, 1)  # "Fermer cette fenêtre"
        attendre(lambda: janvier(img := self.capture(), 2030) and (0, 0, 255) in img.crop((x, y, x + 20, y + 20))
                 .getdata() and img.getpixel((fx, fy))[0] > 150 and img.getpixel((fx, fy))[1] < 100,  # bright: built
                 15, "le calendrier 2030, son 1er janvier en bleu")
        self.clic(fx, fy)
        self.attendre_disparition("Couleurs spéciales")
        self.annee(2030)

    def sans_imprimante(self):  # CUPS runs, with no printer: the list's place says so; "Valider" does nothing
        self.clic(*BOUTONS["imprimer"])
        x0, y0, _, _ = self.geometrie(self.focus("Choix de l'imprimante"))
        # The list's place in black on white, enlarged, for the OCR.
        liste = ImageOps.invert(self.capture().crop((x0 + 8, y0 + 20, x0 + 310, y0 + 110)).convert("L"))
        chemin = self.dossier + "/liste.png"
        ImageOps.scale(liste.point(lambda v: v >= 128 and 255), 3, Image.BICUBIC).save(chemin)
        assert "Aucune imprimante" in (texte := self.sortie("tesseract", chemin, "-", "--psm", "6")), texte
        self.clic(x0 + 260, y0 + 499)
        time.sleep(1)
        assert self.fenetres("Choix de l'imprimante"), "« Valider » ferme la fenêtre sans imprimante"
        self.fenetre("Choix de l'imprimante", "Escape")

    def imprimer(self, fleche, *actions):  # the page printed, its picture's top-left corner where that arrow puts it
        pdfs = lambda: {f: os.path.getmtime(f) for f in glob.glob(os.path.join(SORTIE_PDF, "*.pdf"))}  # noqa: E731
        point, (x_att, y_att) = FLECHES[fleche]
        avant = pdfs()
        self.clic(*BOUTONS["imprimer"])
        self.fenetre("Choix de l'imprimante", *(actions or ((160, 41), point, (260, 499))))  # "PDF", "Valider"
        nouveaux = lambda: [f for f, t in pdfs().items() if t > avant.get(f, 0)]  # noqa: E731
        attendre(nouveaux, 60, "le fichier PDF de l'imprimante")
        time.sleep(1)  # let cups-pdf finish writing
        shutil.move(nouveaux()[0], pdf := os.path.join(self.dossier, "page%d.pdf" % fleche))
        assert "595 x 842 pts" in self.sortie("pdfinfo", pdf)
        self.sortie("pdftoppm", "-r", "150", "-png", "-singlefile", pdf, base := pdf[:-4], echec=AssertionError)
        page = ImageChops.invert(Image.open(base + ".png").convert("RGB"))
        g, h, d, b = (v * 25.4 / 150 for v in page.point(lambda v: v > 10 and 255).getbbox())
        assert abs(g - x_att) <= 0.5 and abs(h - y_att) <= 0.5 and abs(d - g - 90) <= 0.5 and \
            abs(b - h - 127.2) <= 0.6, (fleche, g, h, d - g, b - h)

    def impression(self):
        for fleche in FLECHES:
            self.imprimer(fleche)

    def message(self, *mots):  # the print's message box, read by OCR (its words, blanks joined), closed by Return
        x0, y0, largeur, hauteur = self.geometrie(self.focus("^Imprimer$"))
        boite = self.capture().crop((x0, y0, x0 + largeur, y0 + hauteur)).convert("L")
        ImageOps.scale(boite, 3, Image.BICUBIC).point(lambda v: v >= 128 and 255).save(chemin := self.dossier + "/m.png")
        texte = " ".join(self.sortie("tesseract", chemin, "-", "--psm", "6").split())
        assert all(m in texte for m in mots), (mots, texte)
        self.fenetre("^Imprimer$", "Return")

    def rien_imprime(self, pendant):  # nothing reaches cups-pdf, the calendar stays on the screen
        avant = set(glob.glob(os.path.join(SORTIE_PDF, "*.pdf")))
        pendant()
        time.sleep(2)
        assert set(glob.glob(os.path.join(SORTIE_PDF, "*.pdf"))) == avant
        self.annee(datetime.date.today().year)

    def file_qui_refuse(self):  # a third queue, "Refus", rejecting jobs with a reason: said with CUPS's words, by mouse
        self.sortie("lpadmin", "-p", "Refus", "-v", "cups-pdf:/", "-E", "-m", "lsb/usr/cups-pdf/CUPS-PDF_opt.ppd")
        self.sortie("cupsreject", "-r", "Bac de papier vide", "Refus")
        self.rien_imprime(lambda: (self.clic(*BOUTONS["imprimer"]), self.fenetre("Choix de l'imprimante", (160, 109),
                                   (260, 499)), self.message("Refus", "refuse les travaux", "not accepting jobs",
                                                             "Bac de papier vide")))

    def ordonnanceur_arrete(self):  # the scheduler stopped between the choice of "PDF" and "Valider", by keyboard
        self.rien_imprime(lambda: (self.clic(*BOUTONS["imprimer"]), self.fenetre("Choix de l'imprimante", "Down Up",
                                   lambda: arreter(self.cupsd), "shift+Tab shift+Tab space"), self.message("PDF", "pond pas")))

    def impression_au_clavier(self):  # the keyboard starts on "PDF": Down and Up move the choice, Escape cancels
        # (a page printed would be taken below for the keyboard's); Tab goes as the window reads (the other printer,
        # the nine arrows, the two bars, the quality chosen), Space works the centre arrow, Left then Space the
        # quality (-3, medium, kept in Pelvado.ini), Space on "Valider" prints.
        self.clic(*BOUTONS["imprimer"])
        self.fenetre("Choix de l'imprimante", "Down", "Escape")
        self.imprimer(4, "Down Up", "Tab " * 6 + "space", "Tab " * 7 + "Left space", "Tab Tab space")
        ini = Path(self.dossier_programme, "Pelvado.ini").read_bytes()
        assert b"[Impression]\r\nQualit\xe9=-3\r\n" in ini, ini

    def clavier_seul(self):  # a fresh start; under a window manager, it alone gives each window the keyboard
        arreter(self.proc)
        os.makedirs(outils := os.path.join(self.dossier, "outils"))  # a desktop without any browser
        os.symlink("/bin/false", os.path.join(outils, "xdg-open"))
        self.env["PATH"] = outils + os.pathsep + self.env["PATH"]
        dossier, self.place = self.lancer("clavier"), ORDRE_TAB.index("Fabriquer")
        bmp = os.path.join(dossier, "au clavier.bmp")
        self.xdo("mousemove", 1200, 1000)
        self.annee(datetime.date.today().year, 20)

        def aller(controle, *touches):  # by Tab or shift+Tab from the control that has the keyboard
            pas, self.place = ORDRE_TAB.index(controle) - self.place, ORDRE_TAB.index(controle)
            self.touche(*(["Tab"] * pas if pas > 0 else ["shift+Tab"] * -pas), *touches)

        def fenetre(controle, nom, *actions, ouvrir="space"):  # opened and closed by keys, the keyboard comes back
            aller(controle, *ouvrir.split())
            self.fenetre(nom, *actions)
            self.focus("Ardemo")

        aller("année")
        self.taper("1200")  # out of range: leaving the box shows the warning, Enter closes it
        fenetre("de base", "Contrôle de l'année", "Return", ouvrir="")
        aller("année")
        self.taper("2027", "Return")  # Enter builds, the keyboard kept in the box
        self.annee(2027)
        aller("Largeur")
        self.taper("150")
        aller("Hauteur")  # Tab leaves the width box, which stores it
        attendre(lambda: os.path.exists(os.path.join(dossier, "Pelvado.ini")), 5, "Pelvado.ini")
        aller("Aperçu")  # the accepted width showed the preview: Space on "Aperçu" closes it (and opens it below)
        self.fenetre("Aperçu", lambda: self.touche("space"))
        # The link with no browser (the opener fails): the address is shown, Escape closes it, then the window.
        fenetre("Calendrier scolaire", "Carte et Calendrier scolaire", "space", lambda: self.fenetre(
            "Dates officielles", "Escape"), lambda: self.focus("Carte et Calendrier scolaire"), "Escape")
        for ligne in ("Aperçu|Aperçu|space", "Imprimer|Choix de l'imprimante|Escape",
                      "de base|Choix des couleurs|Escape", "spéciales|Couleurs spéciales|Escape",
                      "Sélection|Sélection d'une zone|Escape"):
            fenetre(*ligne.split("|"))
        fenetre("Sauver", "Sauver l'image", lambda: self.taper("au clavier", "Return"))
        attendre(lambda: os.path.exists(bmp), 10, "le fichier .bmp")
        fichier, ecran = Image.open(bmp), self.capture().crop(FEUILLE)  # the .bmp equals the screen
        assert (fichier.format, fichier.size, fichier.tobytes()) == ("BMP", ecran.size, ecran.tobytes()), "≠ écran"
        aller("Quitter", "space")
        self.attendre_fin()
        assert sorted(os.listdir(dossier)) == ["Pelvado.ini", "ardemo", "au clavier.bmp"], os.listdir(dossier)
        ini = Path(dossier, "Pelvado.ini").read_bytes()  # the width, and where and as what the image was saved
        assert ini == b"[Taille]\r\nLargeur=150\r\n[Choix]\r\nDossierImages=%s\r\nTypeImage=bmp\r\n" % dossier.encode(), ini

    def options_de_lancement(self):  # without --sortie: the window with the year, the region and the .Cal named
        arreter(self.proc)
        lignes = ["%d," % m + ",".join(str(65280 * (m == 6 and k == 14)) for k in range(42)) for m in range(1, 13)]
        Path(self.dossier, "juin.Cal").write_bytes("\r\n".join(lignes + ['"2030"', ""]).encode())
        self.lancer("options", "--annee", "2030", "--region", "guyane", os.path.join(self.dossier, "juin.Cal"))
        self.attendre_fenetre("Couleurs spéciales")  # the .Cal opened there, the panel hidden meanwhile
        # 10 June 2030, the abolition of slavery in Guyane: a holiday, in green digits.
        attendre(lambda: janvier(img := self.capture(), 2030) and img.getpixel(cellule(6, 14)) == FERIE and VERT in
                 img.crop((*cellule(6, 14, 6, 6), *cellule(6, 14, 22, 22))).getdata(), 20, "le 10 juin 2030 en vert")

    def deux_copies(self):  # two copies on one Pelvado.ini: A types 150, then B 120; a click in A keeps B's 120
        arreter(self.proc)
        dossier = self.lancer("deux")
        self.annee(datetime.date.today().year, 20)
        a = self.fenetres("Ardemo")[0]
        with open(os.path.join(self.dossier, "ardemo-deux-b.log"), "ab") as j:
            self.demons.append(subprocess.Popen([os.path.join(dossier, "ardemo")], cwd=dossier, env=self.env,
                                                stdout=j, stderr=j))
        attendre(lambda: len(self.fenetres("Ardemo")) == 2, 20, "la seconde copie")
        b = next(f for f in self.fenetres("Ardemo") if f != a)
        self.devant(b)
        self.annee(datetime.date.today().year, 20)
        ini = Path(dossier, "Pelvado.ini")
        for fenetre, largeur in ((a, "150"), (b, "120")):  # the keyboard starts on "Fabriquer"
            self.devant(fenetre)
            self.touche(*["Tab"] * (ORDRE_TAB.index("Largeur") - ORDRE_TAB.index("Fabriquer")))
            self.taper(largeur, "Tab")  # leaving the width box stores it
            attendre(lambda: ini.exists() and b"Largeur=" + largeur.encode() in ini.read_bytes(), 5, largeur + " écrit")
        self.devant(a)
        self.clic(*BOUTONS["copier"])
        attendre(lambda: pret(self.capture()), 10, "fin de la copie")
        assert b"Largeur=120\r\n" in ini.read_bytes(), ini.read_bytes()
        arreter(self.demons[-1])  # the second copy; the first stops at the next step or at the end

    def devant(self, fenetre):  # that window above the others, with the keyboard
        if self.gestionnaire:
            self.xdo("windowactivate", "--sync", fenetre)
        else:
            self.xdo("windowraise", fenetre, "windowfocus", "--sync", fenetre)
        time.sleep(0.3)

    def feuille_au_clavier(self):  # the days by keyboard, as a screen reader hears them; Space colours in special mode
        arreter(self.proc)
        self.bus_accessibilite()
        dossier = self.lancer("feuille", "--annee", "2021")  # 1 January 2021: a Friday, the block's cell 4
        self.annee(2021, 20)
        def jour(nom, mois, k):  # its name heard, the focus mark drawn on its cell
            attendre(lambda: self.nom_focalise() == nom, 10, "« %s » annoncé (%r)" % (nom, self.nom_focalise()))
            assert (0, 0, 220) in self.capture().crop((*cellule(mois, k, 2, 2), *cellule(mois, k, 26, 26))).getdata()
        self.touche(*["Tab"] * (ORDRE_TAB.index("feuille") - ORDRE_TAB.index("Fabriquer")))
        jour("vendredi 1 janvier 2021, Jour de l'An, semaine 53", 1, 4)  # as the focus comes in
        self.touche("Right", "Right")
        jour("dimanche 3 janvier 2021, Semaine  53", 1, 6)
        self.touche("End", "Right")
        jour("lundi 1 février 2021, Semaine  5", 2, 7)
        tour = len(ORDRE_TAB) - ORDRE_TAB.index("feuille") + ORDRE_TAB.index("spéciales")  # on round to it
        self.touche(*["Tab"] * tour, "space")
        self.focus("Couleurs spéciales")
        self.touche("space")  # "Choisir la couleur des chiffres"
        self.fenetre("Choisir une couleur", "alt+h", lambda: self.taper("#ff0000", "Return"))
        self.xdo("windowactivate", "--sync", self.attendre_fenetre("Ardemo - Version"))  # back to the sheet
        self.touche("space")
        attendre(lambda: (255, 0, 0) in self.capture().crop((*cellule(2, 7, 6, 6), *cellule(2, 7, 22, 22))).getdata(),
                 10, "1er février en rouge")
        self.clic(*self.dans("Couleurs spéciales", 125, 405))  # "Sauver ces couleurs..."
        self.fenetre("Sauver un Fichier", lambda: self.taper("clavier.Cal", "Return"))
        lignes = Path(dossier, "clavier.Cal").read_text().splitlines()
        assert lignes[1].split(",")[1 + 7] == "255" and lignes[-1] == '"2021"', lignes[1]
        self.clic(*self.dans("Couleurs spéciales", 125, 465))  # "Fermer cette fenêtre"
        self.attendre_disparition("Couleurs spéciales")


if __name__ == "__main__":
    s = Suite(sys.argv[1], "openbox" if "--openbox" in sys.argv else None)
    sys.exit(s.executer([s.serveur_cups, s.demarrage, s.sans_imprimante, s.imprimantes, s.impression,
                         s.impression_au_clavier, s.file_qui_refuse, s.ordonnanceur_arrete] if "--impression" in sys.argv else [s.demarrage,
             s.annee_2027, s.bulle_semaine, s.copier, s.couleurs_persistantes, s.cal_autre_annee, s.clavier_seul,
             s.options_de_lancement, s.deux_copies] + [s.feuille_au_clavier] * ("--openbox" in sys.argv)))
