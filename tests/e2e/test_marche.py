#!/usr/bin/python3
"""A seeded random walk through the real program under a private X server:
clicks and keys in the program's own windows only (never on "Quitter"), every
dialog answered. It fails when the program crashes or stops answering, and then
prints the seed and the actions, so that the walk can be replayed:

    python3 tests/e2e/test_marche.py build/ardemo [--graine N] [--duree SECONDES] [--journal]

The program stops answering when it no longer serves the clipboard that it
owns (the walk copies the calendar image first): the X server asks the
program's event loop for every paste, so a loop that is stuck cannot answer.
"""
import os
import random
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from bureau import SAUTE, Bureau  # noqa: E402

# The "Quitter" button in the main window, in pixels, with a margin.
QUITTER = (178, 436, 270, 475)
COPIER = (134, 247)
# Dialogs that choose files: answered with Return (the name proposed in the
# program's folder) or Escape, never wandered through.
FICHIERS = ("Sauver l'image", "Sauver un Fichier", "Ouvrir un Fichier")
TOUCHES = ["Tab", "ISO_Left_Tab", "Return", "Escape", "space", "Up", "Down", "Left", "Right", "BackSpace",
           "Delete", "Home", "End", "Page_Up", "Page_Down", "0", "1", "2", "5", "9", "minus", "period",
           "comma", "a", "z", "F1"]
DELAI_REPONSE = 20


class Marche:
    def __init__(self, programme, graine, duree):
        self.b = Bureau(programme)
        self.graine = graine
        self.hasard = random.Random(graine)
        self.duree = duree
        self.journal = []
        self.relances = 0
        # No printer and no browser: the walk may press anything.
        self.b.env["CUPS_SERVER"] = os.path.join(self.b.dossier, "pas-de-cups.sock")
        faux = os.path.join(self.b.dossier, "outils")
        os.makedirs(faux)
        for outil in ("xdg-open", "x-www-browser", "sensible-browser"):
            chemin = os.path.join(faux, outil)
            with open(chemin, "w") as f:
                f.write("#!/bin/sh\nexit 0\n")
            os.chmod(chemin, 0o755)
        self.b.env["PATH"] = faux + os.pathsep + self.b.env.get("PATH", "")
        self.b.env["BROWSER"] = "true"

    def noter(self, texte):
        self.journal.append("%6.1f s  %s" % (time.time() - self.debut, texte))

    def fenetres(self):
        """Visible windows of the program, with their name and geometry."""
        sortie = self.b.xdo("search", "--onlyvisible", "--pid", self.b.proc.pid)
        res = []
        for w in sortie.split():
            try:
                x, y, l, h = self.b.geometrie(w)
            except (KeyError, ValueError):
                continue
            if l > 1 and h > 1:
                res.append((w, self.b.xdo("getwindowname", w), (x, y, l, h)))
        return res

    def repond(self):
        """The program serves the clipboard it owns within the delay."""
        try:
            r = subprocess.run(["xclip", "-o", "-selection", "clipboard", "-t", "TARGETS"], env=self.b.env,
                               capture_output=True, timeout=DELAI_REPONSE)
        except subprocess.TimeoutExpired:
            return False
        if r.returncode != 0:  # nobody owns it any more: take it again
            self.copier()
        return True

    def principale(self):
        """Top-left corner of the main window, None when it is not shown."""
        w = self.b.fenetres("Ardemo")
        return self.b.geometrie(w[0])[:2] if w else None

    def copier(self):
        if coin := self.principale():
            self.b.clic(coin[0] + COPIER[0], coin[1] + COPIER[1])
            self.noter("clic « Copier dans le Presse-Papier »")

    def demarrer(self):
        self.b.lancer()
        self.b.attendre(lambda: self.b.proc.poll() is not None or self.fenetres(), message="fenêtre")
        time.sleep(3)  # the first build
        self.copier()

    def interdit(self, x, y):
        coin = self.principale()
        return bool(coin) and QUITTER[0] <= x - coin[0] <= QUITTER[2] and QUITTER[1] <= y - coin[1] <= QUITTER[3]

    def action(self):
        fen = self.fenetres()
        if not fen:
            return
        # The newest window (a dialog) most of the time, else any of them.
        w, nom, (x, y, l, h) = fen[-1] if self.hasard.random() < 0.6 else self.hasard.choice(fen)
        fichiers = any(nom.startswith(f) for f in FICHIERS)
        if not fichiers and self.hasard.random() < 0.55:
            for _ in range(10):
                cx, cy = x + self.hasard.randrange(l), y + self.hasard.randrange(h)
                if not self.interdit(cx, cy) and cx < 1280 and cy < 1024:
                    self.b.clic(cx, cy, self.hasard.choice([1, 1, 1, 3]))
                    self.noter("clic (%d, %d) dans « %s »" % (cx, cy, nom))
                    return
            return
        touche = self.hasard.choice(["Return", "Escape"] if fichiers else TOUCHES)
        self.b.xdo("windowfocus", "--sync", w)
        self.b.touche(touche)
        self.noter("touche %s dans « %s »" % (touche, nom))

    def echec(self, raison):
        print("ÉCHEC : %s" % raison)
        print("graine %d ; pour rejouer : python3 %s PROGRAMME --graine %d --duree %d"
              % (self.graine, sys.argv[0], self.graine, self.duree))
        print("\n".join(self.journal[-200:]))
        return 1

    def executer(self):
        for outil in ("Xvfb", "xdotool", "xclip"):
            if not shutil.which(outil):
                print("SKIP : %s absent" % outil)
                return SAUTE
        print("graine %d, %d s" % (self.graine, self.duree), flush=True)
        self.debut = time.time()
        try:
            try:
                self.b.demarrer_x()
            except RuntimeError as e:
                print("SKIP : %s" % e)
                return SAUTE
            self.demarrer()
            actions = 0
            fin = time.time() + self.duree
            while time.time() < fin:
                self.action()
                actions += 1
                code = self.b.proc.poll()
                if code is not None:
                    if code != 0:
                        return self.echec("le programme s'arrête avec le code %d" % code)
                    # "Quitter" reached with the keyboard: an ordinary end.
                    self.noter("le programme s'est terminé normalement ; relancé")
                    self.relances += 1
                    self.demarrer()
                if (actions % 5 == 0 or time.time() >= fin) and not self.repond():
                    return self.echec("le programme ne répond plus depuis %d s" % DELAI_REPONSE)
            if "--journal" in sys.argv:
                print("\n".join(self.journal))
            print("%d actions en %.0f s, %d relances, graine %d" % (actions, time.time() - self.debut,
                                                                     self.relances, self.graine))
            return 0
        except Exception as e:  # noqa: BLE001
            return self.echec("exception : %r" % e)
        finally:
            self.b.fermer()


def option(nom, defaut):
    if nom in sys.argv:
        return int(sys.argv[sys.argv.index(nom) + 1])
    return defaut


if __name__ == "__main__":
    sys.exit(Marche(sys.argv[1], option("--graine", random.randrange(1 << 31)), option("--duree", 60)).executer())
