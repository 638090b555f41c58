#!/usr/bin/env bash
# Builds the fuzz targets with clang, AddressSanitizer and UndefinedBehaviorSanitizer, and runs
# each for a few seconds (FUZZ_SECONDS, default 5) from its seed corpus. Fails on any finding.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-5}
targets=(convert vyn_document word_stream bilevel page_picture page_text flate fax jpeg pdf_document type1 image pdf_content zor)

cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DBRINDLE_FUZZ=ON -DBRINDLE_TESTS=OFF -DBRINDLE_BENCH=OFF >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target "${targets[@]/#/fuzz_}"

for target in "${targets[@]}"; do
  corpus=$(mktemp -d)
  cp -r "fuzz/corpus/$target/." "$corpus/"
  echo "fuzz_$target: ${seconds}s"
  if ! build-fuzz/bin/"fuzz_$target" "$corpus" -max_total_time="$seconds" -rss_limit_mb=2048 \
      -artifact_prefix="build-fuzz/$target-" >"build-fuzz/$target.log" 2>&1; then
    tail -n 40 "build-fuzz/$target.log"
    echo "fuzz_$target found a fault; the input is build-fuzz/$target-*" >&2
    rm -rf "$corpus"
    exit 1
  fi
  grep -E '^Done [0-9]+ runs' "build-fuzz/$target.log" || true
  rm -rf "$corpus"
done
