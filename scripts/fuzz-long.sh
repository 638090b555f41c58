#!/usr/bin/env bash
# Runs one fuzz target for MINUTES minutes with the smoke run's build and options:
#   scripts/fuzz-long.sh pdf_document 10
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/fuzz-common.sh
if [ $# -ne 2 ] || ! [[ $2 =~ ^[0-9]+$ ]] || [[ " ${fuzz_targets[*]} " != *" $1 "* ]]; then
  echo "usage: scripts/fuzz-long.sh TARGET MINUTES (TARGET one of: ${fuzz_targets[*]})" >&2
  exit 2
fi
fuzz_build "$1"
fuzz_run "$1" $(($2 * 60))
