#!/bin/sh
# cmake --install into a private prefix: program, command, menu entry opening .Cal files, their type, icons,
# manual, manifest (for removal).
set -eu
p=$(mktemp -d /tmp/ardemo-install.XXXXXX)
trap 'rm -rf "$p"' EXIT
cmake --install "$1" --prefix "$p" >/dev/null
echec() { echo "ÉCHEC : $*"; exit 1; }
[ -x "$p/bin/ardemo" ] && [ "$(readlink "$p/bin/ardemo")" = "$p/opt/ardemo/ardemo" ] || echec "programme et commande"
for t in 32 48 256; do # the width and height in the PNG header
  [ "$(od -An -tx1 -j16 -N8 "$p/share/icons/hicolor/${t}x$t/apps/ardemo.png" | tr -d ' \n')" = "$(printf '%08x%08x' $t $t)" ] || echec "icône $t"
done
for l in "Exec=$p/opt/ardemo/ardemo %f" "Categories=Office;Calendar;" "Name=Ardemo" 'Comment\[fr\]=.*' \
         "MimeType=application/x-ardemo-cal;"; do
  grep -qx "$l" "$p/share/applications/ardemo.desktop" || echec "$l"
done
# The .Cal type, and the desktop's databases brought up to date (their tools are in scripts/preparer.sh).
grep -q 'application/x-ardemo-cal:\*\.cal' "$p/share/mime/globs2" || echec "type des fichiers .Cal"
grep -qx 'application/x-ardemo-cal=ardemo.desktop;' "$p/share/applications/mimeinfo.cache" || echec "mimeinfo.cache"
grep -qxF "$p/bin/ardemo" "$1/install_manifest.txt" || echec "manifeste sans la commande"
grep -q '^\.TH ARDEMO 1 ' "$p/share/man/man1/ardemo.1" || echec "page de manuel"
echo "1 passed, 0 failed"
