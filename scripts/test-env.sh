#!/bin/sh
# Runs one test in a clean, screen-independent environment.
unset QT_SCALE_FACTOR QT_FONT_DPI QT_ENABLE_HIGHDPI_SCALING QT_SCREEN_SCALE_FACTORS
export QT_QPA_PLATFORM="${ARDEMO_TEST_PLATFORM:-offscreen}"
XDG_RUNTIME_DIR=$(mktemp -d /tmp/ardemo-rt.XXXXXX)
chmod 0700 "$XDG_RUNTIME_DIR"
export XDG_RUNTIME_DIR
"$@"
rc=$?
rm -rf "$XDG_RUNTIME_DIR"
exit $rc
