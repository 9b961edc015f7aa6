#!/usr/bin/env bash
# Builds the APK reader's libFuzzer targets with clang (AddressSanitizer; the reader itself is
# instrumented for coverage) in their own build directory and runs each for a bounded time,
# seeded from the fixture packages.
#
#   scripts/fuzz.sh [SECONDS] [BUILD_DIR]     (defaults: 20 s each, build/fuzz)
#
# Seeds: AndroidManifest.xml and resources.arsc extracted from the fixture packages in
# $FENNLOW_FIXTURES (default build/native/fixtures, when built) and from framework-res.apk;
# the small packages themselves seed the ZIP target. Exits non-zero when a target finds a crash,
# a leak, a timeout or an out-of-memory; the reproducer is left in BUILD_DIR/artifacts.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
seconds=${1:-20}
dir=${2:-build/fuzz}
fixtures=${FENNLOW_FIXTURES:-build/native/fixtures}
framework=/usr/share/android-framework-res/framework-res.apk

cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_C_FLAGS="-fsanitize=address,fuzzer-no-link" -DCMAKE_CXX_FLAGS="-fsanitize=address,fuzzer-no-link" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address" \
  -DFENNLOW_FUZZ=ON -DFENNLOW_TESTS=OFF >"$dir.configure.log" 2>&1 || { cat "$dir.configure.log"; exit 1; }
cmake --build "$dir" -j2 --target fuzz_zip fuzz_axml fuzz_arsc fuzz_seed_extract

fuzz=$dir/badging/fuzz
seeds=$dir/seeds
rm -rf "$seeds"
mkdir -p "$seeds/zip" "$seeds/axml" "$seeds/arsc" "$dir/corpus/zip" "$dir/corpus/axml" "$dir/corpus/arsc" "$dir/artifacts"
n=0
for apk in "$fixtures"/*.apk "$framework"; do
  [ -f "$apk" ] || continue
  n=$((n + 1))
  "$fuzz/fuzz_seed_extract" "$apk" "$seeds" "seed$n" 2>/dev/null || true
  if [ "$(stat -c %s "$apk")" -le 262144 ]; then cp "$apk" "$seeds/zip/seed$n.apk"; fi
done
mv "$seeds"/*.xml "$seeds/axml/" 2>/dev/null || true
mv "$seeds"/*.arsc "$seeds/arsc/" 2>/dev/null || true
echo "fuzz: seeds from $n packages: $(ls "$seeds/zip" | wc -l) zip, $(ls "$seeds/axml" | wc -l) xml, $(ls "$seeds/arsc" | wc -l) arsc"

status=0
for target in zip axml arsc; do
  echo "fuzz: fuzz_$target for ${seconds}s"
  # -timeout: one input may take 10 s at most (a hang); -rss_limit_mb bounds memory.
  if ! "$fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=1048576 \
      -print_final_stats=1 -artifact_prefix="$dir/artifacts/$target-" \
      "$dir/corpus/$target" "$seeds/$target" >"$dir/fuzz_$target.log" 2>&1; then
    echo "fuzz: fuzz_$target FAILED (see $dir/fuzz_$target.log)"
    tail -40 "$dir/fuzz_$target.log"
    status=1
  fi
  grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb' "$dir/fuzz_$target.log" | sed "s/^/fuzz: $target /" || true
done
exit $status
