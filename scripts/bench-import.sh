#!/usr/bin/env bash
# Benchmark of one import (not a test): time split of badging, lookup, extraction and display in
# both modes under wine64, then mode 2 on a 1 GiB package against `pt dump badging` alone on the
# same file, with this process's peak memory against the package size.
#   scripts/bench-import.sh [win64 build dir]   (default build/win64; needs extract_bench_import)
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=${1:-$here/../build/win64}
source "$here/wine-env.sh"
fennlow_wine_prefix
fennlow_display

work=$(mktemp -d /tmp/fennlow-bench-XXXXXX)
trap 'rm -rf "$work"' EXIT
run=$work/run
mkdir -p "$run"
cp "$build"/bin/{pt.exe,uz.exe,zlibwapi.dll,extract_bench_import.exe} "$run"/
cp "$build"/fixtures/png_densities.apk "$work"/small.apk

# A real package whose icon sits behind a 1 GiB stored filler entry.
python3 - "$work/small.apk" "$work/big.apk" <<'PY'
import sys, zipfile
src, dst = sys.argv[1:3]
chunk = bytes(range(256)) * 4096  # 1 MiB, not all zeros
with zipfile.ZipFile(src) as z, zipfile.ZipFile(dst, 'w', allowZip64=True) as out:
    with out.open(zipfile.ZipInfo('assets/filler.bin'), 'w', force_zip64=True) as f:
        for _ in range(1024):
            f.write(chunk)
    for info in z.infolist():
        out.writestr(info, z.read(info))
PY

bench() {  # apk mode repeats -> the bench's report lines
  "$FENNLOW_WINE" "$run/extract_bench_import.exe" "Z:${1//\//\\}" "$2" "$3" | tr -d '\r'
}
field() { awk -v k="$1" '$1 == k { print $2 }'; }

echo "== small package ($(stat -c %s "$work/small.apk") bytes), median of 5"
for mode in 1 2; do
  echo "-- mode $mode"
  bench "$work/small.apk" $mode 5
done

size=$(stat -c %s "$work/big.apk")
echo "== 1 GiB package ($size bytes), median of 3"
for mode in 2 1; do
  echo "-- mode $mode"
  report=$(bench "$work/big.apk" $mode 3)
  echo "$report"
  badging=$(field badging_ms <<<"$report")
  total=$(field total_ms <<<"$report")
  peak=$(field peak_working_set_mib <<<"$report")
  awk -v t="$total" -v b="$badging" -v p="$peak" -v s="$size" -v m="$mode" 'BEGIN {
    printf "mode %d: import / badging alone = %.2f (target <= 2); peak working set / package = %.4f (%.1f MiB of %.1f MiB)\n",
           m, t / b, p * 1048576 / s, p, s / 1048576 }'
done
# The same from outside: the whole wine process's peak RSS for badging alone and for the import.
echo "== whole-process view (/usr/bin/time), 1 GiB package"
if [ -x /usr/bin/time ]; then
  for what in "pt" "import"; do
    if [ $what = pt ]; then
      cmd=("$FENNLOW_WINE" "$run/pt.exe" dump badging "Z:${work//\//\\}\\big.apk")
    else
      cmd=("$FENNLOW_WINE" "$run/extract_bench_import.exe" "Z:${work//\//\\}\\big.apk" 2 1)
    fi
    /usr/bin/time -f "$what: %e s elapsed, %M KiB max RSS" "${cmd[@]}" >/dev/null 2>"$work/time.txt" || true
    tail -1 "$work/time.txt"
  done
fi
