#!/usr/bin/python3
"""A seeded random walk through the real program under a private X server: clicks
and keys in the program's own windows only (never on "Quitter"), file dialogs
answered with Return or Escape. It fails when the program crashes or stops
answering, and prints the seed and the actions, to replay the walk:

    python3 tests/e2e/test_marche.py build/ardemo [--graine N] [--duree SECONDES] [--journal]

The walk copies the calendar first: a program whose event loop is stuck can no
longer serve the clipboard it owns, which xclip asks for every few actions."""
import os
import random
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from bureau import SAUTE, Bureau, Indisponible  # noqa: E402

QUITTER, COPIER = (178, 436, 270, 475), (134, 247)  # in the main window, "Quitter" with a margin
FICHIERS = ("Sauver l'image", "Sauver un Fichier", "Ouvrir un Fichier")
TOUCHES = ("Tab ISO_Left_Tab Return Escape space Up Down Left Right BackSpace Delete Home End Page_Up Page_Down "
           "0 1 2 5 9 minus period comma a z F1").split()
DELAI_REPONSE = 20


def option(nom, defaut):
    return int(sys.argv[sys.argv.index(nom) + 1]) if nom in sys.argv else defaut


def marche(b, hasard, duree, journal):
    """The walk; the reason of its failure, or None."""
    debut = time.time()
    noter = lambda texte: journal.append("%6.1f s  %s" % (time.time() - debut, texte))  # noqa: E731

    def copier():
        if w := b.fenetres("Ardemo"):
            x, y, _, _ = b.geometrie(w[0])
            b.clic(x + COPIER[0], y + COPIER[1])
            noter("clic « Copier dans le Presse-Papier »")

    def demarrer():
        b.lancer()
        time.sleep(3)  # the first build
        copier()

    def action():
        fen = [(w, b.xdo("getwindowname", w), b.geometrie(w))
               for w in b.xdo("search", "--onlyvisible", "--pid", b.proc.pid).split()]
        fen = [f for f in fen if f[2][2] > 1 and f[2][3] > 1]
        if not fen:
            return
        # The newest window (a dialog) most of the time, else any of them.
        w, nom, (x, y, l, h) = fen[-1] if hasard.random() < 0.6 else hasard.choice(fen)
        fichiers = nom.startswith(FICHIERS)
        if not fichiers and hasard.random() < 0.55:
            cx, cy = x + hasard.randrange(l), y + hasard.randrange(h)
            px, py, _, _ = b.geometrie(b.fenetres("Ardemo")[0])
            quitter = QUITTER[0] <= cx - px <= QUITTER[2] and QUITTER[1] <= cy - py <= QUITTER[3]
            if cx < 1280 and cy < 1024 and not quitter:
                b.clic(cx, cy, hasard.choice([1, 1, 1, 3]))
                noter("clic (%d, %d) dans « %s »" % (cx, cy, nom))
        else:
            touche = hasard.choice(["Return", "Escape"] if fichiers else TOUCHES)
            b.xdo("windowfocus", "--sync", w)
            b.touche(touche)
            noter("touche %s dans « %s »" % (touche, nom))

    demarrer()
    actions = relances = 0
    while time.time() < debut + duree:
        try:
            action()
        except (KeyError, IndexError):  # a window closed meanwhile
            pass
        actions += 1
        if (code := b.proc.poll()) is not None:
            if code != 0:
                return "le programme s'arrête avec le code %d" % code
            noter("le programme s'est terminé normalement (« Quitter » au clavier) ; relancé")
            relances += 1
            demarrer()
        if actions % 5 == 0 or time.time() >= debut + duree:
            try:
                r = subprocess.run(["xclip", "-o", "-selection", "clipboard", "-t", "TARGETS"], env=b.env,
                                   capture_output=True, timeout=DELAI_REPONSE)
            except subprocess.TimeoutExpired:
                return "le programme ne répond plus depuis %d s" % DELAI_REPONSE
            if r.returncode != 0:  # nobody owns the clipboard any more: take it again
                copier()
    print("%d actions en %.0f s, %d relances" % (actions, time.time() - debut, relances))


def main():
    graine, duree, journal = option("--graine", random.randrange(1 << 31)), option("--duree", 60), []
    b = Bureau(sys.argv[1])
    # No printer and no browser: the walk may press anything.
    b.env["CUPS_SERVER"] = os.path.join(b.dossier, "pas-de-cups.sock")
    outils = os.path.join(b.dossier, "outils")
    os.makedirs(outils)
    for outil in ("xdg-open", "x-www-browser", "sensible-browser"):
        with open(os.path.join(outils, outil), "w") as f:
            f.write("#!/bin/sh\nexit 0\n")
        os.chmod(f.name, 0o755)
    b.env.update(PATH=outils + os.pathsep + b.env.get("PATH", ""), BROWSER="true")
    print("graine %d, %d s" % (graine, duree), flush=True)
    try:
        b.demarrer_x()
        raison = marche(b, random.Random(graine), duree, journal)
    except Indisponible as e:
        print("skipped: %s" % e)
        return SAUTE
    except Exception as e:  # noqa: BLE001
        raison = "exception : %r" % e
    finally:
        b.fermer()
    if raison or "--journal" in sys.argv:
        print("\n".join(journal[-200:]))
    if raison:
        print("ÉCHEC : %s\ngraine %d ; pour rejouer : python3 %s PROGRAMME --graine %d --duree %d"
              % (raison, graine, sys.argv[0], graine, duree))
        return 1
    print("graine %d" % graine)
    return 0

if __name__ == "__main__":
    sys.exit(main())
