"""A private X server (bare, the test giving the keyboard focus, or with openbox, which focuses every window but the
main one, kept bare at (0, 0) so that coordinates hold in both), the real program in a fresh folder, xdotool, PIL."""
import glob, io, os, shutil, subprocess, tempfile, time, traceback  # noqa: E401
from pathlib import Path

from PIL import Image

SAUTE = 77  # exit code of a run whose steps could not all run here (CTest: skipped)
REGLE_FENETRE_PRINCIPALE = """<applications><application title="Ardemo - Version 6.2" type="normal">
  <decor>no</decor><position force="yes"><x>0</x><y>0</y></position></application>"""


class Indisponible(Exception):
    """A component (X server, window manager, printer, packaging tool) cannot run here."""


def attendre(condition, delai=15, message=None):  # past the delay: fails with the message, or returns False
    fin = time.time() + delai
    while not (vrai := condition()) and time.time() < fin:
        time.sleep(0.2)
    assert vrai or not message, "délai dépassé : %s" % message
    return vrai


def arreter(proc):
    if proc and proc.poll() is None:
        proc.terminate()
        attendre(lambda: proc.poll() is not None, 5) or proc.kill()


class Bureau:
    def __init__(self, programme, gestionnaire=None):
        self.programme, self.gestionnaire = os.path.abspath(programme), gestionnaire
        self.dossier = tempfile.mkdtemp(prefix="ardemo-e2e-")
        self.proc, self.demons = None, []
        caches = ("QT_QPA_PLATFORM", "QT_SCALE_FACTOR", "QT_FONT_DPI", "QT_ENABLE_HIGHDPI_SCALING")
        self.env = {k: v for k, v in os.environ.items() if k not in caches}
        self.env.update(HOME=os.path.join(self.dossier, "maison"), XDG_RUNTIME_DIR=os.path.join(self.dossier, "rt"))
        os.makedirs(self.env["HOME"])
        os.makedirs(self.env["XDG_RUNTIME_DIR"], mode=0o700)

    def demon(self, *commande, **options):  # stopped at the end, the last started first
        self.demons.append(subprocess.Popen(commande, env=self.env, stdout=subprocess.DEVNULL,
                                            stderr=subprocess.DEVNULL, **options))
        return self.demons[-1]

    def sortie(self, *commande, echec=None):  # echec: the exception raised when the command fails
        r = subprocess.run([str(a) for a in commande], env=self.env, capture_output=True, text=True)
        if r.returncode and echec:
            raise echec("%s : code %d\n%s%s" % (" ".join(map(str, commande)), r.returncode, r.stdout, r.stderr))
        return r.stdout.strip()

    def demarrer_x(self):
        if not shutil.which("Xvfb") or not shutil.which("xdotool"):
            raise Indisponible("Xvfb ou xdotool absent")
        lecture, ecriture = os.pipe()  # where Xvfb writes the display it chose
        self.demon("Xvfb", "-displayfd", str(ecriture), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
                   pass_fds=(ecriture,))
        os.close(ecriture)
        self.env["DISPLAY"] = ":" + os.fdopen(lecture).readline().strip()
        if not self.env["DISPLAY"][1:].isdigit():
            raise Indisponible("Xvfb ne démarre pas")
        if self.gestionnaire:
            if not shutil.which("openbox") or not os.path.exists(rc := "/etc/xdg/openbox/rc.xml"):
                raise Indisponible("openbox absent")
            texte = Path(rc).read_text().replace("<applications>", REGLE_FENETRE_PRINCIPALE, 1)
            Path(self.dossier, "openbox-rc.xml").write_text(texte.replace("<keepBorder>yes", "<keepBorder>no", 1))
            wm = self.demon("openbox", "--config-file", os.path.join(self.dossier, "openbox-rc.xml"), "--sm-disable")
            if not attendre(lambda: wm.poll() is None and "window id" in self.sortie("xprop", "-root",
                                                                                      "_NET_SUPPORTING_WM_CHECK")):
                raise Indisponible("openbox ne démarre pas")

    def bus_accessibilite(self):  # a private session bus and accessibility bus, read as a screen reader reads them
        if not shutil.which("dbus-daemon") or not os.path.exists(lanceur := "/usr/libexec/at-spi-bus-launcher"):
            raise Indisponible("dbus-daemon ou at-spi2-core absent")
        lecture, ecriture = os.pipe()
        self.demon("dbus-daemon", "--session", "--nofork", "--print-address=%d" % ecriture, pass_fds=(ecriture,))
        os.close(ecriture)
        self.env["DBUS_SESSION_BUS_ADDRESS"] = os.fdopen(lecture).readline().strip()
        self.demon(lanceur, "--launch-immediately")
        self.env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"

    def nom_focalise(self, role="table"):  # over AT-SPI: the focused child of the program's object of that role
        return self.sortie("/usr/bin/python3", "-c", """if 1:
            import pyatspi
            def chercher(o, p=0):
                if o.getRoleName() == %r:
                    return next((c.name for c in o if c.getState().contains(pyatspi.STATE_FOCUSED)), "")
                return next((n for c in o if p < 8 for n in [chercher(c, p + 1)] if n is not None), None)
            print(next((n for a in pyatspi.Registry.getDesktop(0) for n in [chercher(a)] if n is not None), ""))
            """ % role)

    def executer(self, etapes):  # the steps in order, each starting where the one before ended
        nom = "bureau"
        try:
            self.demarrer_x()
            for fonction in etapes:
                debut, nom = time.time(), fonction.__name__.replace("_", " ")
                fonction()
                print("PASSED  %s (%.1f s)" % (nom, time.time() - debut), flush=True)
        except Indisponible as e:
            print("skipped: %s" % e)
            return SAUTE
        except Exception:  # noqa: BLE001
            traceback.print_exc()
            for journal in glob.glob(os.path.join(self.dossier, "ardemo-*.log")):
                print("%s (code %s) : %s" % (journal, self.proc.poll(), open(journal, errors="replace").read()[-2000:]))
            print("FAILED  %s" % nom)
            self.capture().save(os.path.join(self.dossier, "..", "ardemo-e2e-echec.png"))
            return 1
        finally:
            self.fermer()
        print("%d passed, 0 failed" % len(etapes))
        return 0

    def lancer(self, sous_dossier="programme", *arguments):  # copied into that folder (None: where it lies, from ~)
        dossier = self.dossier_programme = os.path.join(self.dossier, sous_dossier or "maison")
        exe = os.path.join(dossier, "ardemo") if sous_dossier else self.programme
        os.makedirs(dossier, exist_ok=True)
        os.path.exists(exe) or shutil.copy2(self.programme, exe)
        with open(os.path.join(self.dossier, "ardemo-%s.log" % sous_dossier), "ab") as j:
            self.proc = subprocess.Popen([exe, *arguments], cwd=dossier, env=self.env, stdout=j, stderr=j)
        self.focus("Ardemo")
        return dossier

    def attendre_fin(self):
        attendre(lambda: self.proc.poll() == 0, 10, "fin du programme par « Quitter », code 0")

    def fermer(self):
        for p in [self.proc] + self.demons[::-1]:
            arreter(p)
        shutil.rmtree(self.dossier, ignore_errors=True)

    def xdo(self, *args):
        return self.sortie("xdotool", *args)

    def fenetres(self, nom):
        return self.xdo("search", "--onlyvisible", "--name", nom).split()

    def attendre_fenetre(self, nom):
        attendre(lambda: self.fenetres(nom), 20, "pas de fenêtre « %s »" % nom)
        return self.fenetres(nom)[0]

    def attendre_disparition(self, nom):
        attendre(lambda: not self.fenetres(nom), 10, "« %s » reste ouverte" % nom)

    def focus(self, nom):  # the window that should now have the keyboard: given by the manager, or by the test
        fenetre = self.attendre_fenetre(nom)
        if self.gestionnaire:
            attendre(lambda: self.xdo("getactivewindow") == fenetre, 10, "« %s » n'a pas le clavier" % nom)
        else:
            self.xdo("windowfocus", "--sync", fenetre)
        time.sleep(0.1)
        return fenetre

    def fenetre(self, nom, *actions):  # in it: points clicked, keys (which want the keyboard), calls; it closes
        clavier = any(isinstance(a, str) for a in actions)
        x0, y0, _, _ = self.geometrie(self.focus(nom) if clavier else self.attendre_fenetre(nom))
        for a in actions:
            if isinstance(a, tuple):
                self.clic(x0 + a[0], y0 + a[1])
            else:
                self.touche(*a.split()) if isinstance(a, str) else a()
        self.attendre_disparition(nom)

    def geometrie(self, fenetre):  # the client area on the screen, inside the frame if any
        v = dict(l.strip().split(":", 1) for l in self.sortie("xwininfo", "-id", fenetre).splitlines() if ":" in l)
        return tuple(int(v[c]) for c in ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height"))

    def dans(self, nom, x, y):  # the screen point of (x, y) in that window
        x0, y0, _, _ = self.geometrie(self.attendre_fenetre(nom))
        return x0 + x, y0 + y

    def clic(self, x, y, bouton=1):  # not --sync, which waits forever when the pointer is already there
        self.xdo("mousemove", x, y, "sleep", 0.1, "click", bouton, "sleep", 0.15)

    def taper(self, texte, *apres):  # the text replaces the box's own
        self.touche("ctrl+a")
        self.xdo("type", "--delay", 30, texte)
        if apres:
            self.touche(*apres)

    def touche(self, *touches):
        self.xdo("key", "--delay", 60, *touches)
        time.sleep(0.1)

    def capture(self):
        png = subprocess.run(["import", "-window", "root", "png:-"], env=self.env, check=True, capture_output=True)
        return Image.open(io.BytesIO(png.stdout)).convert("RGB")
