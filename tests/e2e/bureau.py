"""A private X server, the real program started in a fresh folder, and the
user's hands: xdotool for the mouse and the keyboard, screenshots read with PIL."""
import os
import shutil
import signal
import subprocess
import tempfile
import time

from PIL import Image


class Bureau:
    def __init__(self, programme):
        self.programme = os.path.abspath(programme)
        self.dossier = tempfile.mkdtemp(prefix="ardemo-e2e-")
        self.xvfb = None
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
        if numero.strip().isdigit():
            self.env["DISPLAY"] = ":" + numero.strip().decode()
            return
        raise RuntimeError("Xvfb ne démarre pas")

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
        # No window manager here: give the window the keyboard focus ourselves.
        self.xdo("windowfocus", "--sync", fenetre)
        return dossier

    def quitter(self):
        if self.proc and self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(5)
            except subprocess.TimeoutExpired:
                self.proc.kill()
        self.proc = None

    def fermer(self):
        self.quitter()
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
        fin = time.time() + delai
        while time.time() < fin:
            w = self.fenetres(nom)
            if w:
                return w[0]
            time.sleep(0.1)
        raise AssertionError("pas de fenêtre « %s »" % nom)

    def attendre_disparition(self, nom, delai=10):
        fin = time.time() + delai
        while time.time() < fin:
            if not self.fenetres(nom):
                return
            time.sleep(0.1)
        raise AssertionError("la fenêtre « %s » reste ouverte" % nom)

    def geometrie(self, fenetre):
        out = self.xdo("getwindowgeometry", "--shell", fenetre)
        g = dict(l.split("=", 1) for l in out.splitlines() if "=" in l)
        return int(g["X"]), int(g["Y"]), int(g["WIDTH"]), int(g["HEIGHT"])

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
        fenetre = self.attendre_fenetre(nom)
        self.xdo("windowfocus", "--sync", fenetre)
        time.sleep(0.1)
        return fenetre

    def capture(self):
        png = subprocess.run(["import", "-window", "root", "png:-"], env=self.env, check=True,
                             capture_output=True).stdout
        import io
        return Image.open(io.BytesIO(png)).convert("RGB")

    def attendre(self, condition, delai=15, message="condition"):
        fin = time.time() + delai
        while time.time() < fin:
            if condition():
                return
            time.sleep(0.2)
        raise AssertionError("délai dépassé : " + message)
