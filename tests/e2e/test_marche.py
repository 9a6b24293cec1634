#!/usr/bin/python3
"""A seeded random walk of clicks and keys in the real program's own windows (never
on "Quitter"; file dialogs answered with Return or Escape). It fails, printing the
seed and the actions, when the program crashes or stops answering: it copies the
calendar first, and a stuck event loop no longer serves the clipboard it owns.

    python3 tests/e2e/test_marche.py build/ardemo [--graine N] [--duree SECONDES] [--journal]"""
import os, random, subprocess, sys, time  # noqa: E401

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from bureau import SAUTE, Bureau, Indisponible  # noqa: E402

QUITTER, COPIER = (178, 436, 270, 475), (134, 247)  # the main window is at (0, 0); "Quitter" with a margin
FICHIERS = ("Sauver l'image", "Sauver un Fichier", "Ouvrir un Fichier")
TOUCHES = ("Tab ISO_Left_Tab Return Escape space Up Down Left Right BackSpace Delete Home End Page_Up Page_Down "
           "0 1 2 5 9 minus period comma a z F1").split()
DELAI_REPONSE = 20


def marche(b, hasard, duree, noter):
    """The walk: the reason of its failure, or None."""
    def demarrer():
        b.lancer()
        time.sleep(3)  # the first build
        b.clic(*COPIER)
        noter("clic « Copier dans le Presse-Papier »")

    def action():
        fen = [(w, b.xdo("getwindowname", w), b.geometrie(w))
               for w in b.xdo("search", "--onlyvisible", "--pid", b.proc.pid).split()]
        fen = [f for f in fen if f[2][2] > 1 and f[2][3] > 1]
        # The newest window (a dialog) most of the time, else any of them.
        w, nom, (x, y, l, h) = fen[-1] if hasard.random() < 0.6 else hasard.choice(fen)
        fichiers = nom.startswith(FICHIERS)
        if not fichiers and hasard.random() < 0.55:
            cx, cy = x + hasard.randrange(l), y + hasard.randrange(h)
            if cx < 1280 and cy < 1024 and not (QUITTER[0] <= cx <= QUITTER[2] and QUITTER[1] <= cy <= QUITTER[3]):
                b.clic(cx, cy, hasard.choice([1, 1, 1, 3]))
                noter("clic (%d, %d) dans « %s »" % (cx, cy, nom))
        else:
            touche = hasard.choice(["Return", "Escape"] if fichiers else TOUCHES)
            b.xdo("windowfocus", "--sync", w)
            b.touche(touche)
            noter("touche %s dans « %s »" % (touche, nom))

    demarrer()
    fin, actions = time.time() + duree, 0
    while time.time() < fin:
        try:
            action()
        except (KeyError, IndexError):  # no window, or one closed meanwhile
            pass
        actions += 1
        if (code := b.proc.poll()) is not None:
            if code != 0:
                return "le programme s'arrête avec le code %d" % code
            noter("le programme s'est terminé normalement (« Quitter » au clavier) ; relancé")
            demarrer()
        if actions % 5 == 0 or time.time() >= fin:
            try:
                r = subprocess.run(["xclip", "-o", "-selection", "clipboard", "-t", "TARGETS"], env=b.env,
                                   capture_output=True, timeout=DELAI_REPONSE)
            except subprocess.TimeoutExpired:
                return "le programme ne répond plus depuis %d s" % DELAI_REPONSE
            if r.returncode != 0 and b.fenetres("Ardemo"):  # nobody owns the clipboard any more: take it again
                b.clic(*COPIER)
                noter("clic « Copier dans le Presse-Papier »")
    noter("%d actions" % actions)


def main():
    option = lambda nom, defaut: int(sys.argv[sys.argv.index(nom) + 1]) if nom in sys.argv else defaut  # noqa: E731
    graine, duree = option("--graine", random.randrange(1 << 31)), option("--duree", 60)
    journal, debut = [], time.time()
    b = Bureau(sys.argv[1])
    # No printer, and a browser that does nothing: the walk may press anything.
    outils = os.path.join(b.dossier, "outils")
    os.makedirs(outils)
    for outil in ("xdg-open", "x-www-browser", "sensible-browser"):
        os.symlink("/bin/true", os.path.join(outils, outil))
    b.env.update(PATH=outils + os.pathsep + b.env["PATH"], BROWSER="true",
                 CUPS_SERVER=os.path.join(b.dossier, "pas-de-cups.sock"))
    print("graine %d, %d s" % (graine, duree), flush=True)
    try:
        b.demarrer_x()
        raison = marche(b, random.Random(graine), duree,
                        lambda texte: journal.append("%6.1f s  %s" % (time.time() - debut, texte)))
    except Indisponible as e:
        print("skipped: %s" % e)
        return SAUTE
    except Exception as e:  # noqa: BLE001
        raison = "exception : %r" % e
    finally:
        b.fermer()
    print("\n".join(journal if "--journal" in sys.argv else journal[-200:] if raison else journal[-1:]))
    if raison:
        print("ÉCHEC : %s\ngraine %d ; pour rejouer : python3 %s PROGRAMME --graine %d --duree %d"
              % (raison, graine, sys.argv[0], graine, duree))
    return 1 if raison else 0


if __name__ == "__main__":
    sys.exit(main())
