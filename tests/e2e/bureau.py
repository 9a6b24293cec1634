"""A private X server, the real program started in a fresh folder, and the
user's hands: xdotool for the mouse and the keyboard, screenshots read with PIL.

Bureau(programme) is a bare X server: nothing decorates, places or focuses the
windows, the test gives the keyboard focus itself. Bureau(programme,
gestionnaire="openbox") adds a real window manager on the same private display,
started after the server and stopped before it: dialogs are decorated, placed
and focused by it. Only the main window is left undecorated at the top-left
corner, so that the scenarios' screen coordinates hold in both setups."""
import io
import os
import shutil
import signal
import subprocess
import tempfile
import time

from PIL import Image


def arreter(proc, delai=5):
    """Ends a process this harness started: politely, then by force."""
    if proc and proc.poll() is None:
        proc.terminate()
        try:
            proc.wait(delai)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()


class Indisponible(Exception):
    """A component of the desktop (the window manager) cannot start here."""


# The main window, matched by its title: no frame, at the top-left corner.
REGLE_FENETRE_PRINCIPALE = """<applications>
  <application title="Ardemo - Version 6.2" type="normal">
    <decor>no</decor>
    <position force="yes"><x>0</x><y>0</y></position>
  </application>
"""


class Bureau:
    def __init__(self, programme, gestionnaire=None):
        self.programme = os.path.abspath(programme)
        self.dossier = tempfile.mkdtemp(prefix="ardemo-e2e-")
        self.gestionnaire = gestionnaire
        self.xvfb = None
        self.wm = None
        self.proc = None
        self.env = dict(os.environ)
        for v in ("QT_QPA_PLATFORM", "QT_SCALE_FACTOR", "QT_FONT_DPI", "QT_ENABLE_HIGHDPI_SCALING"):
            self.env.pop(v, None)
        self.env["HOME"] = os.path.join(self.dossier, "maison")
        os.makedirs(self.env["HOME"])
        rt = os.path.join(self.dossier, "rt")
        os.makedirs(rt, mode=0o700)
        self.env["XDG_RUNTIME_DIR"] = rt

    # -- the X server --------------------------------------------------------
    def demarrer_x(self):
        # Xvfb picks a free display and writes its number once it accepts clients.
        lecture, ecriture = os.pipe()
        self.xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(ecriture), "-screen", "0", "1280x1024x24",
                                      "-nolisten", "tcp"], pass_fds=(ecriture,),
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(ecriture)
        numero = b""
        with os.fdopen(lecture, "rb") as f:
            while not numero.endswith(b"\n"):
                octet = f.read(1)
                if not octet:
                    break
                numero += octet
        if not numero.strip().isdigit():
            raise RuntimeError("Xvfb ne démarre pas")
        self.env["DISPLAY"] = ":" + numero.strip().decode()
        if self.gestionnaire:
            self.demarrer_gestionnaire()

    def demarrer_gestionnaire(self):
        """Openbox on the private display, with the system's configuration and
        the rule of the main window; Indisponible when it does not come up."""
        if self.gestionnaire != "openbox":
            raise Indisponible("gestionnaire de fenêtres inconnu : %s" % self.gestionnaire)
        if not shutil.which("openbox") or not shutil.which("xprop"):
            raise Indisponible("openbox ou xprop absent")
        try:
            with open("/etc/xdg/openbox/rc.xml", encoding="utf-8") as f:
                rc = f.read()
        except OSError as e:
            raise Indisponible("configuration d'openbox illisible : %s" % e)
        rc = rc.replace("<applications>", REGLE_FENETRE_PRINCIPALE, 1)
        rc = rc.replace("<keepBorder>yes</keepBorder>", "<keepBorder>no</keepBorder>", 1)
        chemin = os.path.join(self.dossier, "openbox-rc.xml")
        with open(chemin, "w", encoding="utf-8") as f:
            f.write(rc)
        journal = open(os.path.join(self.dossier, "openbox.log"), "wb")
        self.wm = subprocess.Popen(["openbox", "--config-file", chemin, "--sm-disable"], env=self.env,
                                   stdout=journal, stderr=journal)
        pret = lambda: "window id" in subprocess.run(  # noqa: E731
            ["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=self.env, capture_output=True, text=True).stdout
        fin = time.time() + 15
        while time.time() < fin and self.wm.poll() is None and not pret():
            time.sleep(0.1)
        if self.wm.poll() is not None or not pret():
            self.arreter_gestionnaire()
            raise Indisponible("openbox ne démarre pas")

    def arreter_gestionnaire(self):
        arreter(self.wm)
        self.wm = None

    # -- the program ---------------------------------------------------------
    def lancer(self, sous_dossier="programme"):
        dossier = os.path.join(self.dossier, sous_dossier)
        os.makedirs(dossier, exist_ok=True)
        exe = os.path.join(dossier, "ardemo")
        if not os.path.exists(exe):
            shutil.copy2(self.programme, exe)
        self.dossier_programme = dossier
        journal = open(os.path.join(self.dossier, "ardemo-%s.log" % sous_dossier), "ab")
        self.proc = subprocess.Popen([exe], cwd=dossier, env=self.env, stdout=journal, stderr=journal)
        try:
            fenetre = self.attendre_fenetre("Ardemo")
        except AssertionError:
            journal.flush()
            with open(journal.name, "rb") as f:
                print("programme (code %s) : %s" % (self.proc.poll(), f.read().decode(errors="replace")[-2000:]))
            raise
        if self.gestionnaire:
            self.attendre_active(fenetre, "Ardemo")
        else:
            # No window manager here: give the window the keyboard focus ourselves.
            self.xdo("windowfocus", "--sync", fenetre)
        return dossier

    def quitter(self):
        arreter(self.proc)
        self.proc = None

    def fermer(self):
        self.quitter()
        self.arreter_gestionnaire()
        if self.xvfb:
            self.xvfb.send_signal(signal.SIGTERM)
            self.xvfb.wait()
        shutil.rmtree(self.dossier, ignore_errors=True)

    # -- hands ---------------------------------------------------------------
    def xdo(self, *args):
        return subprocess.run(["xdotool"] + [str(a) for a in args], env=self.env, check=False,
                              capture_output=True, text=True).stdout.strip()

    def fenetres(self, nom):
        out = self.xdo("search", "--onlyvisible", "--name", nom)
        return [w for w in out.split() if w]

    def attendre_fenetre(self, nom, delai=20):
        self.attendre(lambda: self.fenetres(nom), delai, "pas de fenêtre « %s »" % nom)
        return self.fenetres(nom)[0]

    def attendre_disparition(self, nom, delai=10):
        self.attendre(lambda: not self.fenetres(nom), delai, "la fenêtre « %s » reste ouverte" % nom)

    def geometrie(self, fenetre):
        """Client area of a window on the screen: x, y, width, height. Under a
        window manager xwininfo gives the true place inside the frame."""
        if shutil.which("xwininfo"):
            out = subprocess.run(["xwininfo", "-id", str(fenetre)], env=self.env, capture_output=True,
                                 text=True).stdout
            v = {}
            for ligne in out.splitlines():
                cle, _, valeur = ligne.strip().partition(":")
                v[cle] = valeur.strip()
            try:
                return (int(v["Absolute upper-left X"]), int(v["Absolute upper-left Y"]), int(v["Width"]),
                        int(v["Height"]))
            except (KeyError, ValueError):
                pass
        out = self.xdo("getwindowgeometry", "--shell", fenetre)
        g = dict(l.split("=", 1) for l in out.splitlines() if "=" in l)
        return int(g["X"]), int(g["Y"]), int(g["WIDTH"]), int(g["HEIGHT"])

    def dans(self, nom, x, y):
        """Screen point of (x, y) inside the named window's client area, wherever
        the program or the window manager placed it."""
        x0, y0, _, _ = self.geometrie(self.attendre_fenetre(nom))
        return x0 + x, y0 + y

    def clic(self, x, y, bouton=1):
        # Not --sync: it waits for a motion that never comes when the pointer
        # is already there.
        self.xdo("mousemove", x, y)
        time.sleep(0.1)
        self.xdo("click", bouton)
        time.sleep(0.15)

    def taper(self, texte):
        self.xdo("type", "--delay", 30, texte)

    def touche(self, *touches):
        self.xdo("key", *touches)
        time.sleep(0.1)

    def focus(self, nom):
        """The window that should now have the keyboard: under a window manager,
        wait for the manager to give it; on the bare server, give it ourselves."""
        fenetre = self.attendre_fenetre(nom)
        if self.gestionnaire:
            self.attendre_active(fenetre, nom)
        else:
            self.xdo("windowfocus", "--sync", fenetre)
        time.sleep(0.1)
        return fenetre

    def attendre_active(self, fenetre, nom, delai=10):
        self.attendre(lambda: self.xdo("getactivewindow") == fenetre, delai, "la fenêtre « %s » n'a pas le clavier" % nom)

    def capture(self):
        png = subprocess.run(["import", "-window", "root", "png:-"], env=self.env, check=True,
                             capture_output=True).stdout
        return Image.open(io.BytesIO(png)).convert("RGB")

    def attendre(self, condition, delai=15, message="condition"):
        fin = time.time() + delai
        while time.time() < fin:
            if condition():
                return
            time.sleep(0.2)
        raise AssertionError("délai dépassé : " + message)


# Exit code of a run whose steps could not all run here (CTest shows it as skipped).
SAUTE = 77
