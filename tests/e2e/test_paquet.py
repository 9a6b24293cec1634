#!/usr/bin/python3
"""The Debian package as a system administrator meets it: built by CPack, checked by
lintian and the desktop validators, installed with dpkg into a private root,
started from there under a private X server, purged again.

Usage: test_paquet.py BUILD_FOLDER. Exit 77 (skipped) with the reason when a tool
is missing or dpkg cannot run here."""
import glob, os, shutil, subprocess, sys, tempfile  # noqa: E401

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from bureau import SAUTE, Bureau, Indisponible, attendre  # noqa: E402

OUTILS = ("cpack", "dpkg", "dpkg-deb", "lintian", "desktop-file-validate", "appstreamcli", "Xvfb", "xdotool")


def lancer(*commande):
    r = subprocess.run(commande, capture_output=True, text=True)
    assert r.returncode == 0, "%s : code %d\n%s%s" % (" ".join(commande), r.returncode, r.stdout, r.stderr)
    return r.stdout


def paquet(construction, dossier):
    lancer("cpack", "-G", "DEB", "--config", os.path.join(construction, "CPackConfig.cmake"), "-B", dossier)
    deb = os.path.join(dossier, "ardemo_6.2-1_%s.deb" % lancer("dpkg", "--print-architecture").strip())
    assert os.path.isfile(deb), glob.glob(os.path.join(dossier, "*.deb"))
    depend = lancer("dpkg-deb", "-f", deb, "Depends")
    assert "libqt6widgets6" in depend and "fonts-liberation2" in depend, depend
    rapport = subprocess.run(["lintian", deb], capture_output=True, text=True).stdout
    assert not [l for l in rapport.splitlines() if l.startswith("E:")], rapport  # the README lists the warnings
    racine = os.path.join(dossier, "racine")
    for d in ("info", "updates"):
        os.makedirs(os.path.join(racine, "var/lib/dpkg", d))
    for f in ("status", "available"):
        open(os.path.join(racine, "var/lib/dpkg", f), "w").close()
    dpkg = ["dpkg", "--root=" + racine, "--force-depends", "--force-script-chrootless"]
    lancer(*dpkg, "-i", deb)
    lancer("desktop-file-validate", os.path.join(racine, "usr/share/applications/ardemo.desktop"))
    for meta in glob.glob(os.path.join(racine, "usr/share/metainfo/*.metainfo.xml")) or ["(absent)"]:
        lancer("appstreamcli", "validate", "--no-net", meta)
    assert os.path.isfile(os.path.join(racine, "usr/share/icons/hicolor/48x48/apps/ardemo.png"))
    assert "CC-BY-4.0" in open(os.path.join(racine, "usr/share/doc/ardemo/copyright")).read()

    # Started from there, its folder read-only as /usr/bin is for a user (0555: refused
    # even to root, whose privilege the program ignores): the settings go to ~/.config/ardemo/.
    programme = os.path.join(racine, "usr/bin/ardemo")
    os.chmod(os.path.dirname(programme), 0o555)
    b = Bureau(programme)
    try:
        b.demarrer_x()
        b.lancer(None)
        b.clic(207, 103)  # "de base"
        b.attendre_fenetre("Choix des couleurs")
        b.clic(219, 239)  # "Valider"
        b.attendre_disparition("Choix des couleurs")
        config = os.path.join(b.env["HOME"], ".config", "ardemo")
        attendre(lambda: os.path.isfile(os.path.join(config, "Pelvado.ini")), 10, "Pelvado.ini écrit")
        assert b"[Couleurs]\r\n" in open(os.path.join(config, "Pelvado.ini"), "rb").read()
        assert os.stat(config).st_mode & 0o777 == 0o700, oct(os.stat(config).st_mode)
        assert os.listdir(os.path.dirname(programme)) == ["ardemo"], os.listdir(os.path.dirname(programme))
    finally:
        b.fermer()
        os.chmod(os.path.dirname(programme), 0o755)
    lancer(*dpkg, "--purge", "ardemo")
    restes = [os.path.join(d, f) for d, _, fs in os.walk(racine) for f in fs
              if not os.path.relpath(d, racine).startswith("var")]
    assert not restes, restes


if __name__ == "__main__":
    manque = [o for o in OUTILS if not shutil.which(o)]
    raison = "outils absents : " + " ".join(manque) if manque else None if os.geteuid() == 0 else \
        "dpkg n'installe dans une racine privée qu'en root"
    dossier = tempfile.mkdtemp(prefix="ardemo-paquet-")
    try:
        if raison:
            raise Indisponible(raison)
        paquet(os.path.abspath(sys.argv[1]), dossier)
        print("1 passed, 0 failed")
    except Indisponible as e:
        print("skipped: %s" % e)
        sys.exit(SAUTE)
    finally:
        shutil.rmtree(dossier, ignore_errors=True)
