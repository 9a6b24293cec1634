#!/usr/bin/python3
"""Ardemo as a user meets it: the real program under a private X server, driven
with the mouse and the keyboard. Options: --openbox (under a window manager),
--impression (the start, then printing through a private CUPS server alone)."""
import datetime, glob, io, os, pwd, shutil, subprocess, sys, time, traceback  # noqa: E401

from PIL import Image, ImageChops, ImageOps

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from bureau import SAUTE, Bureau, Indisponible, arreter, attendre  # noqa: E402

FERIE, WEEKEND, GRIS, JOURS, VERT = (255, 192, 255), (255, 192, 128), (192, 192, 192), (244, 240, 217), (0, 255, 0)
FEUILLE = (266, 0, 266 + 628, 866)  # the sheet in the main window, which lands at (0, 0)
BOUTONS = dict(annee=(50, 117), fabriquer=(134, 158), sauver=(134, 217), copier=(134, 247), apercu=(47, 455),
               imprimer=(137, 455), quitter=(224, 455), base=(207, 103), speciales=(207, 127))
ORDRE_TAB = ("Jours fériés|WeekEnd|année|de base|spéciales|Fabriquer|Sélection|Sauver|Copier|Largeur|Hauteur|"
             "Calendrier scolaire|Aperçu|Imprimer|Quitter").split("|")
# Arrow of the printer's window: its place on screen, and the top-left corner of the
# 90 mm picture on the A4 page printable to its edges, in mm (measured once).
FLECHES = {0: ((96, 284), (0.0, 0.0)), 4: ((138, 328), (59.0, 83.7)), 8: ((182, 372), (116.7, 166.1))}
# cups-pdf writes to the job owner's ~/PDF, the home of the account as the system knows it.
SORTIE_PDF = os.path.join(pwd.getpwuid(os.getuid()).pw_dir, "PDF")
CUPSD_CONF = """LogLevel warn\nListen {d}/cups.sock\nBrowsing No\nDefaultAuthType None\nWebInterface No
<Location />\n  Order allow,deny\n  Allow all\n</Location>\n<Location /admin>\n  Order allow,deny\n  Allow all
</Location>\n<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n"""
FILES_CONF = """ServerRoot {d}/etc\nRequestRoot {d}/spool\nTempDir {d}/spool/tmp\nStateDir {d}/state
CacheDir {d}/cache\nErrorLog {d}/log/error_log\nAccessLog {d}/log/access_log\nPageLog {d}/log/page_log
User lp\nGroup lp\nSystemGroup root\nPrintcap {d}/printcap\n"""


def cellule(mois, k, dx=4, dy=4):
    """A point of the background of cell k of a month, in screen pixels."""
    col, rang = (mois - 1) % 3, (mois - 1) // 3
    return FEUILLE[0] + (6, 216, 424)[col] + 28 * (k % 7) + dx, (48, 264, 480, 696)[rang] + 28 * (k // 7) + dy


def pret(img):
    """The green light is lit: the build is over and the commands are enabled."""
    r, g, _ = img.getpixel((131, 124))
    return g > 180 and r < 150


def janvier(img, annee, panneau=True):
    """January of that year on the sheet (1 January a holiday, the cell before it
    grey) and, with the command panel shown, the green light."""
    k = datetime.date(annee - 1, 12, 31).isoweekday()
    return (pret(img) or not panneau) and img.getpixel(cellule(1, k - 1)) == GRIS \
        and img.getpixel(cellule(1, k)) == FERIE


def serveur_cups(b):
    """A private CUPS server (the system's is never touched) with the cups-pdf printer
    "PDF", in the test's folder: its process, or Indisponible with the reason."""
    if not shutil.which("cupsd") or not os.path.exists("/usr/lib/cups/backend/cups-pdf"):
        raise Indisponible("cupsd ou cups-pdf absent (paquets cups, printer-driver-cups-pdf)")
    d = os.path.join(b.dossier, "cups")
    os.chmod(b.dossier, 0o755)  # the filters run as the lp account
    for s in ("etc", "spool/tmp", "state", "cache", "log"):
        os.makedirs(os.path.join(d, s))
    for nom, texte in (("cupsd.conf", CUPSD_CONF), ("cups-files.conf", FILES_CONF)):
        with open(os.path.join(d, "etc", nom), "w") as f:
            f.write(texte.format(d=d))
    proc = subprocess.Popen(["cupsd", "-f", "-c", d + "/etc/cupsd.conf", "-s", d + "/etc/cups-files.conf"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    b.env["CUPS_SERVER"] = os.path.join(d, "cups.sock")
    if not attendre(lambda: os.path.exists(b.env["CUPS_SERVER"]), 10) or proc.poll() is not None:
        raise Indisponible("cupsd ne démarre pas (code %s)" % proc.poll())
    r = subprocess.run(["lpadmin", "-p", "PDF", "-v", "cups-pdf:/", "-E", "-m", "lsb/usr/cups-pdf/CUPS-PDF_opt.ppd"],
                       env=b.env, capture_output=True, text=True)
    if r.returncode:
        raise Indisponible("lpadmin : " + (r.stderr or r.stdout).strip())
    return proc


class Suite:
    def __init__(self, programme, gestionnaire):
        self.b = Bureau(programme, gestionnaire)

    def annee(self, annee, delai=10, panneau=True):
        attendre(lambda: janvier(self.b.capture(), annee, panneau), delai, "le calendrier %d" % annee)

    def dialogue(self, titre, texte, *avant):
        """The dialog has the keyboard: the text typed, Return, and the dialog gone."""
        self.b.focus(titre)
        self.b.taper(texte, *avant)
        self.b.touche("Return")
        self.b.attendre_disparition(titre)

    def image_sauvee(self, nom):
        """Saved through the dialog (the button already pressed): the .bmp equals the screen."""
        self.dialogue("Sauver l'image", nom)
        chemin = os.path.join(self.b.dossier_programme, nom + ".bmp")
        attendre(lambda: os.path.exists(chemin), 10, "le fichier .bmp")
        fichier = Image.open(chemin)
        assert (fichier.format, fichier.size) == ("BMP", (628, 866)), fichier.size
        self.b.focus("Ardemo")
        assert list(fichier.getdata()) == list(self.b.capture().crop(FEUILLE).getdata()), "fichier != écran"
        return list(fichier.getdata())

    def demarrage(self):
        self.b.lancer()
        self.annee(datetime.date.today().year, 20)
        assert not os.path.exists(os.path.join(self.b.dossier_programme, "Pelvado.ini"))

    def annee_2027(self):
        b = self.b
        b.clic(*BOUTONS["annee"])
        b.taper("2027")
        b.touche("Tab")
        b.clic(*BOUTONS["fabriquer"])
        self.annee(2027)
        img = b.capture()
        # Friday 1 January 2027 in cell 4, Saturday 2, Monday 4, 28 December 2026, 14 July.
        for (mois, k), couleur in {(1, 4): FERIE, (1, 5): WEEKEND, (1, 7): JOURS, (1, 0): GRIS,
                                   (7, 16): FERIE}.items():
            assert img.getpixel(cellule(mois, k)) == couleur, (mois, k)

    def bulle_semaine(self):
        b = self.b
        x, y = cellule(1, 7, 14, 14)  # Monday 4 January 2027
        b.xdo("mousemove", "--sync", 600, 950, "sleep", 0.5)
        avant = b.capture()
        b.xdo("mousemove", "--sync", x + 3, y, "mousemove", "--sync", x, y, "sleep", 1.8)
        apres = b.capture()
        b.xdo("mousemove", "--sync", 600, 950)
        # The tooltip is what appeared near the pointer: inside its border, enlarged,
        # in black and white, with a margin, for the OCR.
        zone = (x - 60, y - 60, x + 300, y + 120)
        boite = ImageChops.difference(avant.crop(zone), apres.crop(zone)).getbbox()
        assert boite, "pas de bulle"
        l, t, r, d = boite
        bulle = apres.crop(zone).crop((l + 2, t + 2, r - 2, d - 2)).convert("L")
        bulle = bulle.resize((bulle.width * 5, bulle.height * 5), Image.BICUBIC).point(lambda v: 0 if v < 140 else 255)
        chemin = os.path.join(b.dossier, "bulle.png")
        ImageOps.expand(bulle, border=30, fill=255).save(chemin)
        texte = subprocess.run(["tesseract", chemin, "-", "--psm", "7"], capture_output=True, text=True).stdout
        assert texte.replace(" ", "").strip() == "Semaine1", "bulle lue : %r" % texte

    def sauver_et_copier(self):
        b = self.b
        b.clic(*BOUTONS["sauver"])
        fichier = self.image_sauvee("mon calendrier")
        b.clic(*BOUTONS["copier"])
        attendre(lambda: pret(b.capture()), 10, "fin de la copie")
        png = subprocess.run(["xclip", "-selection", "clipboard", "-t", "image/png", "-o"], env=b.env,
                             capture_output=True, timeout=10).stdout
        assert png and list(Image.open(io.BytesIO(png)).convert("RGB").getdata()) == fichier, "presse-papier"

    def apercu(self):
        b = self.b
        b.clic(*BOUTONS["apercu"])  # 90 mm: a picture of 340 x 481 pixels
        _, _, l, h = b.geometrie(b.attendre_fenetre("Aperçu"))
        assert l >= 340 and h >= 481, (l, h)
        b.clic(*BOUTONS["apercu"])
        b.attendre_disparition("Aperçu")

    def couleurs_persistantes(self):
        b = self.b
        b.clic(*BOUTONS["base"])
        b.clic(*b.dans("Choix des couleurs", 104, 116))  # the "WeekEnd" sample
        self.dialogue("Modifier une couleur", "#00ff00", "alt+h")
        b.clic(*b.dans("Choix des couleurs", 219, 206))  # "Valider"
        b.attendre_disparition("Choix des couleurs")
        # Cell 12, the Saturday of the second row, is always in January; a second
        # start of the program shows the colour written by the first.
        vert = lambda: pret(b.capture()) and b.capture().getpixel(cellule(1, 12)) == VERT  # noqa: E731
        attendre(vert, 10, "week-end en vert")
        ini = open(os.path.join(b.dossier_programme, "Pelvado.ini"), "rb").read()
        assert b"CoulWeekEnd= 65280\r\n" in ini, ini
        b.clic(*BOUTONS["quitter"])
        attendre(lambda: b.proc.poll() == 0, 10, "fin du programme par « Quitter », code 0")
        b.lancer()
        attendre(vert, 20, "week-end en vert au second lancement")

    def cal_autre_annee(self):
        b = self.b
        # Colours saved for 2030: 1 January 2030 (cell 1) in blue digits.
        lignes = [",".join(["%d" % m] + ["16711680" if (m, k) == (1, 1) else "0" for k in range(42)])
                  for m in range(1, 13)]
        with open(os.path.join(b.dossier_programme, "annee2030.Cal"), "wb") as f:
            f.write("\r\n".join(lignes + ['"2030"', ""]).encode())
        b.clic(*BOUTONS["speciales"])
        b.clic(*b.dans("Couleurs spéciales", 125, 409))  # "Ouvrir un Fichier Couleurs..."
        self.dialogue("Ouvrir", "annee2030.Cal")
        fermer = b.dans("Couleurs spéciales", 14, 439)  # "Fermer cette fenêtre", bright again once built
        clair = lambda img: img.getpixel(fermer)[0] > 150 and img.getpixel(fermer)[1] < 100  # noqa: E731
        attendre(lambda: janvier(b.capture(), 2030, False) and clair(b.capture()), 15, "le calendrier 2030")
        x, y = cellule(1, 1)
        assert (0, 0, 255) in b.capture().crop((x, y, x + 20, y + 20)).getdata(), "1er janvier 2030 en bleu"
        b.clic(*fermer)
        b.attendre_disparition("Couleurs spéciales")
        self.annee(2030)

    def impression(self):
        b = self.b
        for fleche, ((fx, fy), (x_att, y_att)) in FLECHES.items():
            avant = {f: os.path.getmtime(f) for f in glob.glob(os.path.join(SORTIE_PDF, "*.pdf"))}
            b.clic(*BOUTONS["imprimer"])
            x0, y0, _, _ = b.geometrie(b.attendre_fenetre("Choix de l'imprimante"))
            for x, y in ((160, 41), (fx, fy), (260, 499)):  # the printer "PDF", the arrow, "Valider"
                b.clic(x0 + x, y0 + y)
            b.attendre_disparition("Choix de l'imprimante")
            nouveaux = lambda: [f for f in glob.glob(os.path.join(SORTIE_PDF, "*.pdf"))  # noqa: E731
                                if os.path.getmtime(f) > avant.get(f, 0)]
            attendre(nouveaux, 60, "le fichier PDF de l'imprimante")
            pdf = nouveaux()[0]
            self.pdfs.append(pdf)
            time.sleep(1)  # let cups-pdf finish writing
            assert "595 x 842 pts" in subprocess.run(["pdfinfo", pdf], capture_output=True, text=True).stdout
            base = os.path.join(b.dossier, "page%d" % fleche)
            subprocess.run(["pdftoppm", "-r", "150", "-png", "-singlefile", pdf, base], check=True,
                           stderr=subprocess.DEVNULL)
            page = Image.open(base + ".png").convert("RGB")
            boite = ImageChops.difference(page, Image.new("RGB", page.size, "white")).point(lambda v: v > 10 and 255)
            gauche, haut, droite, bas = (v * 25.4 / 150 for v in boite.getbbox())
            assert abs(gauche - x_att) <= 0.5 and abs(haut - y_att) <= 0.5, (fleche, gauche, haut)
            assert abs(droite - gauche - 90) <= 0.5 and abs(bas - haut - 127.2) <= 0.6, (droite - gauche, bas - haut)

    def clavier_seul(self):
        """A fresh start, then the keyboard alone (the mouse out of the way). Under
        a window manager, the manager alone gives each window the keyboard."""
        b = self.b
        arreter(b.proc)
        dossier = b.lancer("clavier")
        b.xdo("mousemove", 1200, 1000)
        self.annee(datetime.date.today().year, 20)
        ini = os.path.join(dossier, "Pelvado.ini")
        self.place = ORDRE_TAB.index("Fabriquer")  # where the keyboard starts

        def aller(controle, *touches):
            pas = ORDRE_TAB.index(controle) - self.place
            self.place += pas
            b.touche(*(["Tab"] * pas if pas > 0 else ["shift+Tab"] * -pas), *touches)
            time.sleep(0.1)

        def fenetre(nom, *fermer, ouvrir="space"):
            """A key opens a window, the keys close it, the keyboard comes back."""
            b.touche(ouvrir)
            b.focus(nom)
            b.touche(*fermer)
            b.attendre_disparition(nom)
            b.focus("Ardemo")

        aller("année")
        b.taper("1200")  # out of range: leaving the box shows the warning, Enter closes it
        fenetre("Contrôle de l'année", "Return", ouvrir="Tab")
        self.place += 1
        aller("année")
        b.taper("2027")
        aller("Fabriquer", "space")
        self.annee(2027)
        assert not os.path.exists(ini)
        aller("Largeur")
        b.taper("150")
        aller("Hauteur")  # Tab leaves the width box, which stores it
        attendre(lambda: os.path.exists(ini), 5, "Pelvado.ini")
        assert open(ini, "rb").read() == b"[Taille]\r\nLargeur=150\r\n"
        # The accepted width showed the preview: Space on "Aperçu" closes it, Space opens it again.
        aller("Aperçu")
        b.attendre_fenetre("Aperçu")
        b.touche("space")
        b.attendre_disparition("Aperçu")
        fenetre("Aperçu", "space")
        for controle, nom, touches in (
                ("Calendrier scolaire", "Calendrier scolaire", ["Escape"]),
                ("Imprimer", "Choix de l'imprimante", ["space"]),  # "Annuler l'impression", the first button
                ("de base", "Choix des couleurs", ["Escape"]),
                ("spéciales", "Couleurs spéciales", ["shift+Tab", "shift+Tab", "space"]),  # "Fermer cette fenêtre"
                ("Sélection", "Sélection d'une zone", ["Escape"])):
            aller(controle)
            fenetre(nom, *touches)
        aller("Sauver", "space")
        self.image_sauvee("au clavier")
        aller("Quitter", "space")
        attendre(lambda: b.proc.poll() == 0, 10, "fin du programme par « Quitter », code 0")
        assert sorted(os.listdir(dossier)) == ["Pelvado.ini", "ardemo", "au clavier.bmp"], os.listdir(dossier)
        assert open(ini, "rb").read() == b"[Taille]\r\nLargeur=150\r\n"

    def executer(self, impression):
        self.pdfs, nom, cupsd = [], "bureau", None
        try:
            self.b.demarrer_x()
            cupsd = impression and serveur_cups(self.b)
            etapes = [("démarrage : calendrier de l'année en cours", self.demarrage)]
            etapes += [("impression sur l'imprimante PDF, flèches 0, 4 et 8", self.impression)] if impression else [
                ("année 2027 et « Fabriquer le Calendrier »", self.annee_2027),
                ("bulle « Semaine  1 » du 4 janvier 2027", self.bulle_semaine),
                ("image sauvée par le dialogue, presse-papier lu par xclip", self.sauver_et_copier),
                ("l'aperçu s'ouvre et se ferme", self.apercu),
                ("couleurs gardées d'un lancement à l'autre", self.couleurs_persistantes),
                ("fichier .Cal d'une autre année", self.cal_autre_annee),
                ("au clavier seul : année, largeur, chaque fenêtre, image, Quitter", self.clavier_seul)]
            for nom, fonction in etapes:  # each step starts where the one before ended: the first failure ends
                debut = time.time()
                fonction()
                print("PASSED  %s (%.1f s)" % (nom, time.time() - debut), flush=True)
        except Indisponible as e:
            print("skipped: %s" % e)
            return SAUTE
        except Exception:  # noqa: BLE001
            traceback.print_exc()
            print("FAILED  %s" % nom)
            self.b.capture().save(os.path.join(self.b.dossier, "..", "ardemo-e2e-echec.png"))
            return 1
        finally:
            arreter(cupsd)
            self.b.fermer()
            for pdf in self.pdfs:
                os.remove(pdf)
        print("%d passed, 0 failed" % len(etapes))
        return 0


if __name__ == "__main__":
    sys.exit(Suite(sys.argv[1], "openbox" if "--openbox" in sys.argv else None).executer("--impression" in sys.argv))
