#!/usr/bin/env bash
# Builds the fuzz targets with clang (AddressSanitizer and UndefinedBehaviorSanitizer on)
# and runs each for a bounded time: fuzz/run.sh [seconds per target, default 60].
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
secondes=${1:-60}
"$top/scripts/install-deps.sh"
build=$top/build-fuzz
CC=clang CXX=clang++ cmake -S "$top" -B "$build" -DDZ_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)"
for cible in dates annuaire; do
  travail=$build/corpus-$cible
  mkdir -p "$travail" "$build/crashes-$cible"
  echo "== fuzz_$cible, ${secondes} s"
  "$build/fuzz/fuzz_$cible" -max_total_time="$secondes" -print_final_stats=1 \
    -artifact_prefix="$build/crashes-$cible/" "$travail" "$top/fuzz/corpus/$cible"
done
