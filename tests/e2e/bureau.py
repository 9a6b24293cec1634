"""A private X server (bare, the test giving the keyboard focus, or with openbox,
which decorates, places and focuses the windows except the main one, kept bare at
(0, 0) so that the coordinates hold in both), the real program started in a fresh
folder, and the user's hands: xdotool, and screenshots read with PIL."""
import io, os, shutil, subprocess, tempfile, time  # noqa: E401

from PIL import Image

SAUTE = 77  # exit code of a run whose steps could not all run here (CTest: skipped)
REGLE_FENETRE_PRINCIPALE = """<applications><application title="Ardemo - Version 6.2" type="normal">
  <decor>no</decor><position force="yes"><x>0</x><y>0</y></position></application>"""


class Indisponible(Exception):
    """A component of the desktop (X server, window manager) cannot start here."""


def arreter(proc):
    if proc and proc.poll() is None:
        proc.terminate()
        try:
            proc.wait(5)
        except subprocess.TimeoutExpired:
            proc.kill()


def attendre(condition, delai=15, message=None):
    """Polls the condition; past the delay, fails with the message (or returns False)."""
    fin = time.time() + delai
    while time.time() < fin:
        if condition():
            return True
        time.sleep(0.2)
    if message:
        raise AssertionError("délai dépassé : " + message)
    return False


class Bureau:
    def __init__(self, programme, gestionnaire=None):
        self.programme, self.gestionnaire = os.path.abspath(programme), gestionnaire
        self.dossier = tempfile.mkdtemp(prefix="ardemo-e2e-")
        self.xvfb = self.wm = self.proc = None
        caches = ("QT_QPA_PLATFORM", "QT_SCALE_FACTOR", "QT_FONT_DPI", "QT_ENABLE_HIGHDPI_SCALING")
        self.env = {k: v for k, v in os.environ.items() if k not in caches}
        self.env["HOME"], self.env["XDG_RUNTIME_DIR"] = (os.path.join(self.dossier, d) for d in ("maison", "rt"))
        os.makedirs(self.env["HOME"])
        os.makedirs(self.env["XDG_RUNTIME_DIR"], mode=0o700)

    def demarrer_x(self):
        if not shutil.which("Xvfb") or not shutil.which("xdotool"):  # Xvfb writes the display it chose
            raise Indisponible("Xvfb ou xdotool absent")
        lecture, ecriture = os.pipe()
        self.xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(ecriture), "-screen", "0", "1280x1024x24",
                                      "-nolisten", "tcp"], pass_fds=(ecriture,),
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(ecriture)
        with os.fdopen(lecture) as f:
            numero = f.readline().strip()
        if not numero.isdigit():
            raise Indisponible("Xvfb ne démarre pas")
        self.env["DISPLAY"] = ":" + numero
        if self.gestionnaire:
            self.demarrer_openbox()

    def demarrer_openbox(self):
        try:
            rc = open("/etc/xdg/openbox/rc.xml", encoding="utf-8").read()
        except OSError as e:
            raise Indisponible("openbox absent : %s" % e)
        chemin = os.path.join(self.dossier, "openbox-rc.xml")
        with open(chemin, "w", encoding="utf-8") as f:
            f.write(rc.replace("<applications>", REGLE_FENETRE_PRINCIPALE, 1)
                    .replace("<keepBorder>yes</keepBorder>", "<keepBorder>no</keepBorder>", 1))
        self.wm = subprocess.Popen(["openbox", "--config-file", chemin, "--sm-disable"], env=self.env,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if not attendre(lambda: self.wm.poll() is None and "window id" in subprocess.run(
                ["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=self.env, capture_output=True, text=True).stdout):
            raise Indisponible("openbox ne démarre pas")

    def lancer(self, sous_dossier="programme"):
        """The program copied into that folder (None: where it lies, from ~), started, focused."""
        dossier = self.dossier_programme = os.path.join(self.dossier, sous_dossier or "maison")
        exe = os.path.join(dossier, "ardemo") if sous_dossier else self.programme
        os.makedirs(dossier, exist_ok=True)
        if not os.path.exists(exe):
            shutil.copy2(self.programme, exe)
        journal = os.path.join(self.dossier, "ardemo-%s.log" % sous_dossier)
        with open(journal, "ab") as j:
            self.proc = subprocess.Popen([exe], cwd=dossier, env=self.env, stdout=j, stderr=j)
        try:
            self.focus("Ardemo", 20)
        except AssertionError:
            print("programme (code %s) : %s" % (self.proc.poll(), open(journal, errors="replace").read()[-2000:]))
            raise
        return dossier

    def fermer(self):
        for p in (self.proc, self.wm, self.xvfb):
            arreter(p)
        shutil.rmtree(self.dossier, ignore_errors=True)

    def xdo(self, *args):
        return subprocess.run(["xdotool"] + [str(a) for a in args], env=self.env, capture_output=True,
                              text=True).stdout.strip()

    def fenetres(self, nom):
        return self.xdo("search", "--onlyvisible", "--name", nom).split()

    def attendre_fenetre(self, nom, delai=20):
        attendre(lambda: self.fenetres(nom), delai, "pas de fenêtre « %s »" % nom)
        return self.fenetres(nom)[0]

    def attendre_disparition(self, nom):
        attendre(lambda: not self.fenetres(nom), 10, "« %s » reste ouverte" % nom)

    def focus(self, nom, delai=20):
        """The window that should now have the keyboard: given by the manager, or by the test."""
        fenetre = self.attendre_fenetre(nom, delai)
        if self.gestionnaire:
            attendre(lambda: self.xdo("getactivewindow") == fenetre, 10, "« %s » n'a pas le clavier" % nom)
        else:
            self.xdo("windowfocus", "--sync", fenetre)
        time.sleep(0.1)
        return fenetre

    def geometrie(self, fenetre):  # the client area on the screen, inside the frame if any
        out = subprocess.run(["xwininfo", "-id", str(fenetre)], env=self.env, capture_output=True, text=True).stdout
        v = dict(l.strip().split(":", 1) for l in out.splitlines() if ":" in l)
        return tuple(int(v[c]) for c in ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height"))

    def dans(self, nom, x, y):  # the screen point of (x, y) in that window
        x0, y0, _, _ = self.geometrie(self.attendre_fenetre(nom))
        return x0 + x, y0 + y

    def clic(self, x, y, bouton=1):  # not --sync, which waits forever when the pointer is already there
        self.xdo("mousemove", x, y, "sleep", 0.1, "click", bouton, "sleep", 0.15)

    def taper(self, texte, *avant):
        """The keys given, then ctrl+a and the text, which replaces the box's own."""
        self.touche(*avant, "ctrl+a")
        self.xdo("type", "--delay", 30, texte)

    def touche(self, *touches):
        self.xdo("key", "--delay", 60, *touches)
        time.sleep(0.1)

    def capture(self):
        png = subprocess.run(["import", "-window", "root", "png:-"], env=self.env, check=True,
                             capture_output=True).stdout
        return Image.open(io.BytesIO(png)).convert("RGB")
