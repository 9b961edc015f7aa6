#!/usr/bin/env bash
# Sets up the machine, builds every configuration and runs every test: native, then Windows x86_64
# under wine64 (with its own Xvfb), then checks that the Windows i686 build compiles and links.
#   bash scripts/test.sh                 everything
#   bash scripts/test.sh win64 -R Regex  one configuration, extra arguments go to ctest
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
which=${1:-all}; [ $# -gt 0 ] && shift

bash scripts/setup.sh
source scripts/wine-env.sh
trap fennlow_stop EXIT

step() { printf '\n=== %s\n' "$*"; }
build() { cmake --preset "$1" >/dev/null && cmake --build --preset "$1"; }

if [[ $which == all || $which == native ]]; then
  step "native: build and test"
  build native
  ctest --preset native "$@"
  if [[ $# -eq 0 ]]; then
    step "native: fuzz the APK reader (bounded)"
    bash scripts/fuzz.sh "${FENNLOW_FUZZ_SECONDS:-15}"
  fi
fi
if [[ $which == all || $which == win64 ]]; then
  step "win64: build and test under wine64"
  build win64
  fennlow_wine_prefix
  fennlow_display
  # One wineserver for the whole run, so each test process starts fast. Its service processes are
  # started here with no output attached: started by a test, they would hold that test's output
  # pipe open and CTest would wait for them until its timeout.
  "$FENNLOW_WINESERVER" -p
  "$FENNLOW_WINE" cmd.exe /c exit >/dev/null 2>&1 </dev/null || true
  ctest --preset win64 "$@"
fi
if [[ $which == all || $which == win32 ]]; then
  step "win32: build (i686 cannot run on this machine)"
  build win32
fi
step "all done"
