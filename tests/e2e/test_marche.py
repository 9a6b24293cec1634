#!/usr/bin/python3
"""A seeded random walk of clicks and keys in the real program's own windows (never on "Quitter"; file
dialogs answered with Return or Escape). It fails, printing the seed and the actions, when the program
crashes or stops answering: it copies the calendar first, and a stuck event loop no longer serves the
clipboard it owns. Options: --graine N, --duree SECONDES, --journal (every action printed)."""
import os, random, subprocess, sys, time  # noqa: E401

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from bureau import Bureau  # noqa: E402

QUITTER, COPIER = (178, 436, 270, 475), (134, 247)  # the main window is at (0, 0); "Quitter" with a margin
FICHIERS = ("Sauver l'image", "Sauver un Fichier", "Ouvrir un Fichier")
TOUCHES = ("Tab ISO_Left_Tab Return Escape space Up Down Left Right BackSpace Delete Home End Page_Up Page_Down "
           "0 1 2 5 9 minus period comma a z F1").split()
DELAI_REPONSE = 20


def marche(b, hasard, duree, noter):
    def copier(lancer=False):
        if lancer:
            b.lancer()
            time.sleep(3)  # the first build
        b.clic(*COPIER)
        noter("clic « Copier dans le Presse-Papier »")

    def action():  # in the newest window (a dialog) most of the time, else in any of them
        fen = [(w, g) for w in b.xdo("search", "--onlyvisible", "--pid", b.proc.pid).split()
               if min((g := b.geometrie(w))[2:]) > 1]
        w, (x, y, l, h) = fen[-1] if hasard.random() < 0.6 else hasard.choice(fen)
        fichiers = (nom := b.xdo("getwindowname", w)).startswith(FICHIERS)
        if not fichiers and hasard.random() < 0.55:
            cx, cy = x + hasard.randrange(l), y + hasard.randrange(h)
            if cx < 1280 and cy < 1024 and not (QUITTER[0] <= cx <= QUITTER[2] and QUITTER[1] <= cy <= QUITTER[3]):
                b.clic(cx, cy, hasard.choice([1, 1, 1, 3]))
                noter("clic (%d, %d) dans « %s »" % (cx, cy, nom))
        else:
            b.xdo("windowfocus", "--sync", w)
            b.touche(touche := hasard.choice(["Return", "Escape"] if fichiers else TOUCHES))
            noter("touche %s dans « %s »" % (touche, nom))

    copier(lancer=True)
    fin, actions = time.time() + duree, 0
    while time.time() < fin:
        try:
            action()
        except (KeyError, IndexError):  # no window, or one closed meanwhile
            pass
        actions += 1
        if (code := b.proc.poll()) is not None:
            assert code == 0, "le programme s'arrête avec le code %d" % code
            noter("le programme s'est terminé normalement (« Quitter » au clavier) ; relancé")
            copier(lancer=True)
        if actions % 5 == 0 or time.time() >= fin:
            try:
                r = subprocess.run(["xclip", "-o", "-selection", "clipboard", "-t", "TARGETS"], env=b.env,
                                   capture_output=True, timeout=DELAI_REPONSE)
            except subprocess.TimeoutExpired:
                raise AssertionError("le programme ne répond plus depuis %d s" % DELAI_REPONSE)
            if r.returncode != 0 and b.fenetres("Ardemo"):  # nobody owns the clipboard any more: take it again
                copier()
    noter("%d actions" % actions)


if __name__ == "__main__":
    option = lambda nom, defaut: int(sys.argv[sys.argv.index(nom) + 1]) if nom in sys.argv else defaut  # noqa: E731
    graine, duree = option("--graine", random.randrange(1 << 31)), option("--duree", 60)
    b, journal, debut = Bureau(sys.argv[1]), [], time.time()
    print("graine %d, %d s ; pour rejouer : python3 %s PROGRAMME --graine %d --duree %d"
          % (graine, duree, sys.argv[0], graine, duree), flush=True)
    os.makedirs(outils := os.path.join(b.dossier, "outils"))  # no printer, and a browser that does nothing
    for outil in ("xdg-open", "x-www-browser", "sensible-browser"):
        os.symlink("/bin/true", os.path.join(outils, outil))
    b.env.update(PATH=outils + os.pathsep + b.env["PATH"], BROWSER="true",
                 CUPS_SERVER=os.path.join(b.dossier, "pas-de-cups.sock"))

    def marche_au_hasard():
        try:
            marche(b, random.Random(graine), duree, lambda t: journal.append("%6.1f s  %s" % (time.time() - debut, t)))
        finally:  # every action asked for, or the end of a failed walk, or the count of actions
            print(*journal[0 if "--journal" in sys.argv else -200 if sys.exc_info()[0] else -1:], sep="\n")
    sys.exit(b.executer([marche_au_hasard]))
