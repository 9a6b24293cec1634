#!/bin/sh
# Runs one test in a clean, screen-independent environment.
unset QT_SCALE_FACTOR QT_FONT_DPI QT_ENABLE_HIGHDPI_SCALING QT_SCREEN_SCALE_FACTORS
export QT_QPA_PLATFORM="${ARDEMO_TEST_PLATFORM:-offscreen}"
XDG_RUNTIME_DIR=$(mktemp -d /tmp/ardemo-rt.XXXXXX)
chmod 0700 "$XDG_RUNTIME_DIR"
export XDG_RUNTIME_DIR
# ARDEMO_TEST_LOCALE (e.g. fr_FR.UTF-8): the test runs under that locale, made
# in the private folder when the system does not have it.
if [ -n "${ARDEMO_TEST_LOCALE:-}" ]; then
  nom=$(echo "$ARDEMO_TEST_LOCALE" | sed 's/\.[Uu][Tt][Ff]-\?8$/.utf8/')
  if ! locale -a 2>/dev/null | grep -qx "$nom"; then
    LOCPATH="$XDG_RUNTIME_DIR/locales"
    mkdir -p "$LOCPATH"
    if ! localedef -i "${ARDEMO_TEST_LOCALE%%.*}" -f UTF-8 "$LOCPATH/$ARDEMO_TEST_LOCALE" >/dev/null 2>&1; then
      echo "SKIP: locale $ARDEMO_TEST_LOCALE missing and localedef could not make it (Debian package locales)"
      rm -rf "$XDG_RUNTIME_DIR"
      exit 77
    fi
    export LOCPATH
  fi
  export LC_ALL="$ARDEMO_TEST_LOCALE" LANG="$ARDEMO_TEST_LOCALE"
fi
"$@"
rc=$?
rm -rf "$XDG_RUNTIME_DIR"
exit $rc
