#!/usr/bin/python3
"""The Debian package as a system administrator meets it: built by CPack, checked by lintian and
the desktop validators, installed with dpkg into a private root, started from there under a
private X server, purged again. Usage: test_paquet.py BUILD_FOLDER."""
import glob, os, shutil, subprocess, sys  # noqa: E401

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from bureau import Bureau, Indisponible, attendre  # noqa: E402

OUTILS = ("cpack", "dpkg", "dpkg-deb", "lintian", "desktop-file-validate", "appstreamcli", "update-mime-database",
          "update-desktop-database", "xdg-mime")


class Paquet(Bureau):
    def reussie(self, *commande):
        return self.sortie(*commande, echec=AssertionError)

    def construire(self):
        if (manque := [o for o in OUTILS if not shutil.which(o)]) or os.geteuid():
            raise Indisponible("outils absents : %s" % manque if manque else "dpkg --root ne s'emploie qu'en root")
        self.reussie("cpack", "-G", "DEB", "--config", os.path.join(sys.argv[1], "CPackConfig.cmake"), "-B",
                     self.dossier)
        self.deb = os.path.join(self.dossier, "ardemo_6.2-1_%s.deb" % self.sortie("dpkg", "--print-architecture"))
        assert os.path.isfile(self.deb), os.listdir(self.dossier)
        depend = self.sortie("dpkg-deb", "-f", self.deb, "Depends")
        assert "libqt6widgets6" in depend and "fonts-liberation2" in depend, depend
        rapport = self.sortie("lintian", self.deb)
        assert "\nE:" not in "\n" + rapport, rapport
        # Only the warnings the README lists and explains.
        avertis = {l.split()[2] for l in rapport.splitlines() if l.startswith("W:") and len(l.split()) > 2}
        assert avertis <= {"initial-upload-closes-no-bugs"}, rapport

    def installer(self):
        base = os.path.join(self.racine, "var/lib/dpkg")
        self.reussie("mkdir", "-p", base + "/info", base + "/updates")
        self.reussie("touch", base + "/status", base + "/available")
        self.reussie(*self.dpkg, "-i", self.deb)
        self.reussie("desktop-file-validate", self.racine + "/usr/share/applications/ardemo.desktop")
        for meta in glob.glob(self.racine + "/usr/share/metainfo/*.metainfo.xml") or ["(absent)"]:
            self.reussie("appstreamcli", "validate", "--no-net", meta)
        assert os.path.isfile(self.racine + "/usr/share/icons/hicolor/48x48/apps/ardemo.png")
        assert "CC-BY-4.0" in open(self.racine + "/usr/share/doc/ardemo/copyright").read()

    def type_cal(self):  # the package's type and menu entry in a private XDG_DATA_HOME, their databases built as
        # dpkg's triggers build them: a .Cal file, named in any case, is of that type, opened by Ardemo
        donnees = os.path.join(self.dossier, "donnees")
        for dossier, fichier, outil in (("mime/packages", "ardemo.xml", "update-mime-database"),
                                        ("applications", "ardemo.desktop", "update-desktop-database")):
            os.makedirs(d := os.path.join(donnees, dossier))
            shutil.copy(os.path.join(self.racine, "usr/share", dossier, fichier), d)
            self.reussie(outil, d.removesuffix("/packages"))
        env = {k: v for k, v in self.env.items() if k not in ("XDG_CURRENT_DESKTOP", "XDG_DATA_DIRS")}
        xdg = lambda *a: subprocess.run(["xdg-mime", "query", *a], env=dict(env, XDG_DATA_HOME=donnees),  # noqa: E731
                                        capture_output=True, text=True).stdout.strip()
        for cal in (os.path.join(self.dossier, "vacances.Cal"), os.path.join(self.dossier, "VACANCES.CAL")):
            open(cal, "w").write("1" + ",0" * 42 + "\r\n")
            assert xdg("filetype", cal) == "application/x-ardemo-cal", (cal, xdg("filetype", cal))
        assert xdg("default", "application/x-ardemo-cal") == "ardemo.desktop"

    def reglages(self):
        # Its folder read-only (0555, as /usr/bin is for a user, respected even by root): settings in ~/.config/ardemo/.
        os.chmod(usr_bin := os.path.dirname(self.programme), 0o555)
        self.lancer(None)
        self.clic(207, 103)  # "de base"
        self.fenetre("Choix des couleurs", (219, 206))  # "Valider"
        config = os.path.join(self.env["HOME"], ".config", "ardemo")
        attendre(lambda: os.path.isfile(os.path.join(config, "Pelvado.ini")), 10, "Pelvado.ini écrit")
        assert os.stat(config).st_mode & 0o777 == 0o700, oct(os.stat(config).st_mode)
        assert os.listdir(usr_bin) == ["ardemo"], os.listdir(usr_bin)

    def purger(self):
        self.reussie(*self.dpkg, "--purge", "ardemo")
        restes = [os.path.join(d, f) for d, _, fs in os.walk(self.racine) for f in fs
                  if not os.path.relpath(d, self.racine).startswith("var")]
        assert not restes, restes


if __name__ == "__main__":
    p = Paquet("")
    p.racine = os.path.join(p.dossier, "racine")
    p.programme, p.dpkg = p.racine + "/usr/bin/ardemo", ["dpkg", "--root=" + p.racine, "--force-depends",
                                                          "--force-script-chrootless"]
    sys.exit(p.executer([p.construire, p.installer, p.type_cal, p.reglages, p.purger]))
