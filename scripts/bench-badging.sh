#!/usr/bin/env bash
# Badging benchmark, pt against Debian's aapt in the same run: median wall time and peak RSS on
# every well-formed fixture and on a generated ~240 MB package (about 10,000 resource files across
# densities, qualifiers and 43 locales, plus big stored and deflated assets). Not part of CI.
#   bash scripts/bench-badging.sh [runs]     (build dir: $FENNLOW_BENCH_BUILD, default build/bench)
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
runs=${1:-7}
build=${FENNLOW_BENCH_BUILD:-build/bench}
py=$(command -v /usr/bin/python3 || command -v python3)  # a version-manager shim costs a second per start

[ -x /usr/bin/time ] && command -v aapt >/dev/null || bash scripts/setup.sh
cmake --preset native -B "$build" >/dev/null
cmake --build "$build" --target pt fixture_apks -j2 >/dev/null
pt=$(find "$build/badging" -maxdepth 1 -name pt -type f -perm -u+x | head -n1)
[ -n "$pt" ] || { echo "bench-badging: no pt binary under $build/badging" >&2; exit 1; }

big=$build/bench/big.apk
if [ ! -f "$big" ] || [ tests/badging/bench_make_apk.py -nt "$big" ]; then
  echo "bench-badging: generating $big (about a minute)"
  mkdir -p "$(dirname "$big")"
  "$py" tests/badging/bench_make_apk.py --out "$big"
fi

"$py" tests/badging/bench_badging.py --pt "$pt" --runs "$runs" \
  --fixtures "$build/fixtures" --table tests/fixtures/fixtures.json \
  "$big" /usr/share/android-framework-res/framework-res.apk
