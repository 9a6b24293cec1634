#!/usr/bin/python3
"""From process start to the main window mapped, against a minimal Qt program showing an empty 917 x 869
window, measured the same way and side by side (goal: ratio <= 1.5). A private Xvfb; this script listens for
MapNotify on its root window (Xlib through ctypes), starts the program, and stops the clock at the first
top-level window mapped. Then the resident memory of the program after start-up, first calendar built.
Usage: /usr/bin/python3 bench/demarrage.py [build/ardemo] [build/bench/fenetre_vide] [runs]"""
import ctypes, ctypes.util, os, shutil, statistics, subprocess, sys, tempfile, time  # noqa: E401

programme = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build/ardemo")
vide = os.path.abspath(sys.argv[2] if len(sys.argv) > 2 else "build/bench/fenetre_vide")
essais = int(sys.argv[3]) if len(sys.argv) > 3 else 20
MAP_NOTIFY, SUBSTRUCTURE_NOTIFY = 19, 1 << 19

x = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11"))
x.XOpenDisplay.restype = ctypes.c_void_p
x.XOpenDisplay.argtypes = [ctypes.c_char_p]
x.XDefaultRootWindow.restype = ctypes.c_ulong
x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
x.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
x.XPending.argtypes = [ctypes.c_void_p]
x.XConnectionNumber.argtypes = [ctypes.c_void_p]
x.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]

with tempfile.TemporaryDirectory(prefix="ardemo-demarrage.") as dossier:
    lecture, ecriture = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(ecriture), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                            pass_fds=(ecriture,), stderr=subprocess.DEVNULL)
    os.close(ecriture)
    ecran = ":" + os.fdopen(lecture).readline().strip()
    env = dict(os.environ, DISPLAY=ecran, HOME=dossier, XDG_RUNTIME_DIR=dossier)
    env.pop("QT_QPA_PLATFORM", None)
    d = x.XOpenDisplay(ecran.encode())
    x.XSelectInput(d, x.XDefaultRootWindow(d), SUBSTRUCTURE_NOTIFY)
    x.XSync(d, 1)
    evenement = ctypes.create_string_buffer(192)  # XEvent

    def jusqu_a_la_carte(commande, memoire=False):
        """Milliseconds from the start of the process to its first window mapped (and its memory then)."""
        copie = os.path.join(dossier, "p", os.path.basename(commande))
        os.makedirs(os.path.dirname(copie), exist_ok=True)
        os.path.exists(copie) or shutil.copy2(commande, copie)
        debut = time.perf_counter()
        proc = subprocess.Popen([copie], cwd=os.path.dirname(copie), env=env, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)
        while True:
            x.XNextEvent(d, evenement)
            if int.from_bytes(evenement.raw[:4], "little") == MAP_NOTIFY:
                break
        ms = (time.perf_counter() - debut) * 1000
        ko = 0
        if memoire:
            time.sleep(3)  # the first calendar built
            ko = next(int(l.split()[1]) for l in open("/proc/%d/status" % proc.pid) if l.startswith("VmRSS"))
        proc.terminate()
        proc.wait()
        while x.XPending(d):
            x.XNextEvent(d, evenement)
        return ms, ko

    jusqu_a_la_carte(programme), jusqu_a_la_carte(vide)  # caches warm for both
    a, b = [], []
    for _ in range(essais):
        a.append(jusqu_a_la_carte(programme)[0])
        b.append(jusqu_a_la_carte(vide)[0])
    ma, mb = statistics.median(a), statistics.median(b)
    print(f"Ardemo, du lancement à la fenêtre affichée : médiane {ma:.1f} ms ({essais} lancements)")
    print(f"fenêtre Qt vide de 917 x 869 : médiane {mb:.1f} ms")
    print(f"rapport Ardemo / fenêtre vide : {ma / mb:.2f} (objectif <= 1.5)")
    _, ko = jusqu_a_la_carte(programme, memoire=True)
    _, ko_vide = jusqu_a_la_carte(vide, memoire=True)
    print(f"mémoire résidente après le démarrage, premier calendrier fait : {ko / 1024:.1f} Mo "
          f"(fenêtre vide : {ko_vide / 1024:.1f} Mo ; objectif <= 32 Mo)")
    xvfb.terminate()
