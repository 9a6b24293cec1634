#!/usr/bin/python3
"""Calendars made from the command line, each call timed as a whole process
(start, drawing, writing, end) with no display:
 - one PDF of 2027, side by side in the same loop with the pcal + ps2pdf
   pipeline when both are installed (goal: ratio <= 0.35);
 - one PNG, side by side with `ardemo --version`, which only loads the
   program and its libraries (goal: ratio <= 2.5);
 - an A4 landscape page with title, legend and holiday list, as PDF
   (goal: ratio to the pcal pipeline <= 0.35; without pcal, against the
   README's 147 ms) and as PNG at 150 dpi (goal: ratio to --version <= 3);
 - twelve years as twelve calls (goal < 1.5 s);
 - peak memory of one call (goal < 60 MB).
Wall-clock medians, and the processor time (user + system, children
included), which a busy machine disturbs less.
Usage: /usr/bin/python3 bench/ligne_de_commande.py [build/ardemo] [runs]"""
import os
import resource
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

programme = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build/ardemo")
essais = int(sys.argv[2]) if len(sys.argv) > 2 else 15
env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}


def mesure(commande, sortie=None):
    """Wall and processor time of one command, in milliseconds."""
    avant = resource.getrusage(resource.RUSAGE_CHILDREN)
    t = time.perf_counter()
    subprocess.run(commande, check=True, env=env, shell=isinstance(commande, str), stdout=sortie)
    mur = (time.perf_counter() - t) * 1000
    apres = resource.getrusage(resource.RUSAGE_CHILDREN)
    cpu = (apres.ru_utime - avant.ru_utime + apres.ru_stime - avant.ru_stime) * 1000
    return mur, cpu, apres.ru_maxrss


def ligne(nom, mesures, objectif=""):
    mur = statistics.median(m[0] for m in mesures)
    cpu = statistics.median(m[1] for m in mesures)
    print(f"{nom} : médiane {mur:.0f} ms ({cpu:.0f} ms de processeur){objectif}")
    return mur, cpu


with tempfile.TemporaryDirectory(prefix="ardemo-bench.") as dossier:
    os.chdir(dossier)
    pcal = shutil.which("pcal") and shutil.which("ps2pdf")
    if not pcal:
        print("pcal ou ps2pdf absent : la comparaison est sautée (apt-get install pcal ghostscript)")
    pipeline = "pcal -w -o x.ps 2027 && ps2pdf x.ps y.pdf"
    ardemo_pdf = [programme, "--annee", "2027", "--sortie", "x.pdf"]
    mesure(ardemo_pdf)  # caches warm for both
    if pcal:
        mesure(pipeline)
    page = [programme, "--annee", "2027", "--paysage", "--liste-feries"]
    pdf, pc, png, version, page_pdf, page_png = [], [], [], [], [], []
    for _ in range(essais):
        pdf.append(mesure(ardemo_pdf))
        if pcal:
            pc.append(mesure(pipeline))
        png.append(mesure([programme, "--annee", "2027", "--sortie", "x.png"]))
        version.append(mesure([programme, "--version"], sortie=subprocess.DEVNULL))
        page_pdf.append(mesure(page + ["--sortie", "page.pdf"]))
        page_png.append(mesure(page + ["--dpi", "150", "--sortie", "page.png"]))
    a = ligne(f"ardemo --annee 2027 --sortie x.pdf ({essais} lancements)", pdf)
    if pcal:
        b = ligne("pcal -w -o x.ps 2027 && ps2pdf x.ps x.pdf", pc)
        print(f"rapport Ardemo / pcal : {a[0] / b[0]:.2f} (processeur : {a[1] / b[1]:.2f} ; objectif <= 0.35)")
    c = ligne("ardemo --annee 2027 --sortie x.png", png)
    v = ligne("ardemo --version", version)
    print(f"rapport PNG / --version : {c[0] / v[0]:.2f} (processeur : {c[1] / v[1]:.2f} ; objectif <= 2.5)")
    pp = ligne("page A4 paysage, titre, légende, fériés : --sortie page.pdf", page_pdf)
    reference = b[0] if pcal else 147.0  # the pipeline as the README records it
    print(f"rapport page PDF / pcal : {pp[0] / reference:.2f}"
          f"{'' if pcal else ' (pcal absent : 147 ms du README)'} ; objectif <= 0.35")
    pn = ligne("la même page, --dpi 150 --sortie page.png", page_png)
    print(f"rapport page PNG / --version : {pn[0] / v[0]:.2f} (processeur : {pn[1] / v[1]:.2f} ; objectif <= 3)")

    douze = []
    for _ in range(3):
        t, c = 0.0, 0.0
        for an in range(2027, 2039):
            m = mesure([programme, "--annee", str(an), "--sortie", f"calendrier-{an}.pdf"])
            t, c = t + m[0], c + m[1]
        douze.append((t, c))
    ligne("douze années en douze appels (PDF), 3 boucles", douze, " (objectif < 1500 ms)")

    if os.path.exists("/usr/bin/time"):
        r = subprocess.run(["/usr/bin/time", "-v", *ardemo_pdf], env=env, capture_output=True, text=True)
        ko = next(int(l.split(":")[1]) for l in r.stderr.splitlines() if "Maximum resident set size" in l)
        print(f"mémoire de pointe d'un appel : {ko / 1024:.0f} Mo (objectif < 60 Mo)")
    else:
        print("/usr/bin/time absent : mémoire de pointe non mesurée (apt-get install time)")
