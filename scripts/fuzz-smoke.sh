#!/usr/bin/env bash
# Builds the fuzz targets with clang, AddressSanitizer and UndefinedBehaviorSanitizer, and runs
# each for a few seconds (FUZZ_SECONDS, default 5) from its seed corpus. Fails on any finding.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/fuzz-common.sh
seconds=${FUZZ_SECONDS:-5}

fuzz_build "${fuzz_targets[@]}"
for target in "${fuzz_targets[@]}"; do
  fuzz_run "$target" "$seconds"
done
