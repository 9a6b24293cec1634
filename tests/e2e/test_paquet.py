#!/usr/bin/python3
"""The Debian package as a system administrator meets it: built by CPack,
checked by lintian and the desktop validators, installed with dpkg into a
private root, started from there under a private X server, removed again.

Usage: test_paquet.py BUILD_FOLDER. Exit 77 (skipped) with the reason when a
tool is missing or dpkg cannot run here."""
import glob
import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from bureau import SAUTE, Bureau  # noqa: E402

OUTILS = ("cpack", "dpkg", "dpkg-deb", "lintian", "desktop-file-validate", "appstreamcli", "Xvfb", "xdotool")


def lancer(*commande, **options):
    r = subprocess.run(commande, capture_output=True, text=True, **options)
    if r.returncode != 0:
        raise AssertionError("%s : code %d\n%s%s" % (" ".join(commande), r.returncode, r.stdout, r.stderr))
    return r.stdout


def main(construction):
    manque = [o for o in OUTILS if not shutil.which(o)]
    if manque:
        print("skipped: outils absents : %s" % " ".join(manque))
        return SAUTE
    if os.geteuid() != 0:
        print("skipped: dpkg n'installe dans une racine privée qu'en root")
        return SAUTE
    dossier = tempfile.mkdtemp(prefix="ardemo-paquet-")
    bureau = None
    try:
        # The package, named after the version and the machine's architecture.
        lancer("cpack", "-G", "DEB", "--config", os.path.join(construction, "CPackConfig.cmake"),
               "-B", os.path.join(dossier, "cpack"))
        arch = lancer("dpkg", "--print-architecture").strip()
        deb = os.path.join(dossier, "cpack", "ardemo_6.2-1_%s.deb" % arch)
        assert os.path.isfile(deb), glob.glob(os.path.join(dossier, "cpack", "*.deb"))
        depend = lancer("dpkg-deb", "-f", deb, "Depends")
        assert "libqt6widgets6" in depend and "fonts-liberation2" in depend, depend

        # lintian: no error (the warnings accepted are listed in the README).
        rapport = subprocess.run(["lintian", deb], capture_output=True, text=True).stdout
        erreurs = [l for l in rapport.splitlines() if l.startswith("E:")]
        assert not erreurs, rapport

        # Installed into a root of its own.
        racine = os.path.join(dossier, "racine")
        admin = os.path.join(racine, "var", "lib", "dpkg")
        for d in ("info", "updates"):
            os.makedirs(os.path.join(admin, d))
        for f in ("status", "available"):
            open(os.path.join(admin, f), "w").close()
        dpkg = ["dpkg", "--root=" + racine, "--force-depends", "--force-script-chrootless"]
        lancer(*dpkg, "-i", deb)
        programme = os.path.join(racine, "usr", "bin", "ardemo")
        assert os.access(programme, os.X_OK), programme
        lancer("desktop-file-validate", os.path.join(racine, "usr/share/applications/ardemo.desktop"))
        for meta in glob.glob(os.path.join(racine, "usr/share/metainfo/*.metainfo.xml")) or ["(absent)"]:
            lancer("appstreamcli", "validate", "--no-net", meta)
        for f in ("usr/share/doc/ardemo/copyright", "usr/share/icons/hicolor/48x48/apps/ardemo.png"):
            assert os.path.isfile(os.path.join(racine, f)), f
        assert "CC-BY-4.0" in open(os.path.join(racine, "usr/share/doc/ardemo/copyright")).read()

        # Started from there, its folder read-only as /usr/bin is for a user
        # (0555: refused even to root, whose privilege the program ignores):
        # the settings go to ~/.config/ardemo/, nothing beside the program.
        bin_ = os.path.dirname(programme)
        os.chmod(bin_, 0o555)
        bureau = Bureau(programme)
        bureau.demarrer_x()
        bureau.proc = subprocess.Popen([programme], cwd=bureau.env["HOME"], env=bureau.env,
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        fenetre = bureau.attendre_fenetre("Ardemo")
        bureau.xdo("windowfocus", "--sync", fenetre)
        bureau.clic(207, 103)  # "de base"
        bureau.attendre_fenetre("Choix des couleurs")
        bureau.clic(219, 239)  # "Valider"
        bureau.attendre_disparition("Choix des couleurs")
        config = os.path.join(bureau.env["HOME"], ".config", "ardemo")
        bureau.attendre(lambda: os.path.isfile(os.path.join(config, "Pelvado.ini")), 10, "Pelvado.ini écrit")
        assert b"[Couleurs]\r\n" in open(os.path.join(config, "Pelvado.ini"), "rb").read()
        assert os.stat(config).st_mode & 0o777 == 0o700, oct(os.stat(config).st_mode)
        assert os.listdir(bin_) == ["ardemo"], os.listdir(bin_)
        bureau.quitter()
        os.chmod(bin_, 0o755)

        # Removed cleanly: no file of the package is left.
        lancer(*dpkg, "--purge", "ardemo")
        restes = [os.path.relpath(os.path.join(d, f), racine) for d, _, fs in os.walk(racine) for f in fs
                  if not os.path.relpath(d, racine).startswith("var")]
        assert not restes, restes
        print("1 passed, 0 failed")
        return 0
    finally:
        if bureau:
            bureau.fermer()
        shutil.rmtree(dossier, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main(os.path.abspath(sys.argv[1])))
