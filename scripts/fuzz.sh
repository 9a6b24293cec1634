#!/bin/sh
# Builds the fuzzing harnesses of tests/fuzz (clang, libFuzzer, AddressSanitizer
# and UBSan, the plain C++ core only) in build-fuzz/ and runs each one for
# SECONDES seconds, starting from its seed corpus tests/fuzz/corpus/<harness>/.
# Usage: sh scripts/fuzz.sh [SECONDES [harness...]]   (default 30 s, all of them)
# Fails on any finding; the input is then kept in build-fuzz/trouvailles/ and
# replays with: build-fuzz/fuzz/<harness> build-fuzz/trouvailles/<file>
set -eu
cd "$(dirname "$0")/.."
secondes=${1:-30}
[ $# -gt 0 ] && shift
[ -f build-fuzz/build.ninja ] || CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DARDEMO_FUZZ=ON >/dev/null
cmake --build build-fuzz
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:halt_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
mkdir -p build-fuzz/trouvailles
# Under a French locale (decimal comma), as on the program's users' desktops.
if ! locale -a 2>/dev/null | grep -qx fr_FR.utf8; then
  mkdir -p build-fuzz/locales
  [ -d build-fuzz/locales/fr_FR.UTF-8 ] || localedef -i fr_FR -f UTF-8 build-fuzz/locales/fr_FR.UTF-8 \
    >/dev/null 2>&1 || true
  export LOCPATH="$PWD/build-fuzz/locales"
fi
export LC_ALL=fr_FR.UTF-8
harnais=${*:-$(ls build-fuzz/fuzz)}
echec=0
for h in $harnais; do
  travail=$(mktemp -d /tmp/ardemo-fuzz-corpus.XXXXXX)
  journal="$travail.log"
  graines=tests/fuzz/corpus/$h
  [ -d "$graines" ] || graines=""
  # fuzz_ics: inputs up to 1 MB, room for the deep nestings, long lines and many parameters of hostile
  # calendars; and its property that any of them is answered within 10 s and 1 GB under the sanitizers.
  limites="-timeout=10 -rss_limit_mb=2048"
  [ "$h" = fuzz_ics ] && limites="-max_len=1048576 -timeout=10 -rss_limit_mb=1024"
  # New inputs go to the private folder: the seed corpus in the tree is read only.
  if build-fuzz/fuzz/"$h" -max_total_time="$secondes" $limites -print_final_stats=1 \
       -artifact_prefix=build-fuzz/trouvailles/"$h"- "$travail" $graines >"$journal" 2>&1; then
    n=$(sed -n 's/^stat::number_of_executed_units: *//p' "$journal")
    echo "$h : $n entrées en $secondes s, aucune trouvaille"
  else
    echo "$h : TROUVAILLE" >&2
    tail -n 60 "$journal" >&2
    echec=1
  fi
  rm -rf "$travail" "$journal"
done
exit $echec
