#!/bin/sh
# cmake --install into a private prefix: the program folder, the command, the
# menu entry and the icons, and the manifest that the README uses to remove them.
set -eu
construction="$1"
prefixe=$(mktemp -d /tmp/ardemo-install.XXXXXX)
trap 'rm -rf "$prefixe"' EXIT
cmake --install "$construction" --prefix "$prefixe" >/dev/null
echec() { echo "ÉCHEC : $*"; exit 1; }
[ -x "$prefixe/opt/ardemo/ardemo" ] || echec "programme absent"
[ -L "$prefixe/bin/ardemo" ] || echec "commande absente"
[ "$(readlink "$prefixe/bin/ardemo")" = "$prefixe/opt/ardemo/ardemo" ] || echec "lien faux"
for taille in 32 48 256; do
  f="$prefixe/share/icons/hicolor/${taille}x${taille}/apps/ardemo.png"
  [ -f "$f" ] || echec "icône $taille absente"
  od -An -tx1 -j16 -N8 "$f" | tr -d ' \n' | grep -q "$(printf '%08x%08x' $taille $taille)" || echec "icône $taille : mauvaise taille"
done
bureau="$prefixe/share/applications/ardemo.desktop"
grep -qx "Exec=$prefixe/opt/ardemo/ardemo" "$bureau" || echec "Exec"
grep -qx "Categories=Office;Calendar;" "$bureau" || echec "Categories"
grep -q "^Name=Ardemo$" "$bureau" && grep -q "^Comment\[fr\]=" "$bureau" || echec "Name/Comment"
grep -qx "$prefixe/bin/ardemo" "$construction/install_manifest.txt" || echec "manifeste sans la commande"
grep -q '^\.TH ARDEMO 1 ' "$prefixe/share/man/man1/ardemo.1" || echec "page de manuel absente"
[ -w "$prefixe/opt/ardemo" ] || echec "dossier du programme non modifiable"
echo "1 passed, 0 failed"
