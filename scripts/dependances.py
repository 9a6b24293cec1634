#!/usr/bin/python3
"""Checks the include graph of the program's sources: no circle between units
(a unit is a .h with its .cpp); every file, of the plain C++ core or of a ui/
folder, includes only its own folder and the folders below it (so nothing
outside app/ includes app/); the core includes no ui/ folder. Prints what it
finds; exit 1 on any fault."""
import pathlib, re, sys

racine = pathlib.Path(__file__).resolve().parent.parent
# From the lowest to the highest: a folder may include its own and lower ones.
ORDRE = ["commun", "calendar", "colour", "special", "output", "app"]
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)\.h"', re.M)

unites = {}
for f in sorted(p for d in ORDRE for p in (racine / d).rglob("*") if p.suffix in (".h", ".cpp")):
    nom = f.relative_to(racine).with_suffix("").as_posix()
    unites.setdefault(nom, set()).update(
        i for i in INCLUDE.findall(f.read_text(encoding="utf-8")) if i != nom and (racine / (i + ".h")).exists())

fautes = []
rang = {d: n for n, d in enumerate(ORDRE)}
for u, cibles in unites.items():
    for c in cibles:
        if rang[c.split("/")[0]] > rang[u.split("/")[0]]:
            fautes.append(f"{u} inclut {c}.h (dossier plus haut)")
        if "/ui/" in c and "/ui/" not in u and u != "app/main":  # main() starts the windows
            fautes.append(f"{u} inclut {c}.h (le cœur inclut une fenêtre)")

# Strongly connected components (Tarjan): any with two units or more is a circle.
index, bas, pile, sur, n = {}, {}, [], set(), [0]
def visiter(u):
    index[u] = bas[u] = n[0]; n[0] += 1; pile.append(u); sur.add(u)
    for c in unites.get(u, ()):
        if c not in index:
            visiter(c); bas[u] = min(bas[u], bas[c])
        elif c in sur:
            bas[u] = min(bas[u], index[c])
    if bas[u] == index[u]:
        comp = []
        while True:
            w = pile.pop(); sur.discard(w); comp.append(w)
            if w == u: break
        if len(comp) > 1:
            fautes.append("cercle : " + " -> ".join(sorted(comp)))
sys.setrecursionlimit(10000)
for u in unites:
    if u not in index:
        visiter(u)

print("\n".join(fautes) or f"{len(unites)} unités, aucun cercle, aucun include vers un dossier plus haut")
sys.exit(1 if fautes else 0)
