#!/bin/sh
# Installs what is missing (Debian 12), then configures build/ and builds the program
# alone (the tests and benchmarks: `cmake --build build`). Quick when nothing changed.
set -e
cd "$(dirname "$0")/.."
PAQUETS="g++ cmake ninja-build qt6-base-dev qt6-translations-l10n libgl-dev
 fonts-liberation fonts-liberation2 xvfb xauth xdotool xclip poppler-utils
 cups printer-driver-cups-pdf python3 python3-pil imagemagick tesseract-ocr locales
 clang libclang-rt-14-dev pkg-config libical-dev libcups2-dev openbox x11-utils at-spi2-core python3-pyatspi dbus
 python3-holidays librsvg2-bin file dpkg-dev lintian appstream desktop-file-utils
 shared-mime-info xdg-utils libfile-mimeinfo-perl pcal ghostscript time"
manque=""
for p in $PAQUETS; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || manque="$manque $p"
done
if [ -n "$manque" ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends $manque
fi
# ARDEMO_CMAKE_ARGS: more options for the build folder (CI: -DARDEMO_WERROR=ON).
if [ ! -f build/build.ninja ] || [ -n "${ARDEMO_CMAKE_ARGS:-}" ]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo ${ARDEMO_CMAKE_ARGS:-}
fi
cmake --build build --target ardemo
