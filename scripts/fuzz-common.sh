#!/usr/bin/env bash
# What the fuzz scripts share: the clang build of the targets with AddressSanitizer and
# UndefinedBehaviorSanitizer, and one target's run from its seed corpus with the same options.
# Sourced from the root of the tree.

fuzz_targets=(convert vyn_document word_stream bilevel page_picture page_text flate fax jpeg pdf_document pdf_object pdf_xref pdf_navigation pdf_function pdf_shading pdf_crypt type1 image pdf_content pdf_font zor pdf_page jbig2 jpx)

# Leaks of fontconfig's and Qt's own caches are theirs; a report is then a leak of ours.
export LSAN_OPTIONS="suppressions=$PWD/fuzz/lsan.supp:print_suppressions=0"

fuzz_build() {  # TARGET...
  cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DBRINDLE_FUZZ=ON -DBRINDLE_TESTS=OFF -DBRINDLE_BENCH=OFF >/dev/null
  cmake --build build-fuzz -j"$(nproc)" --target "${@/#/fuzz_}"
}

fuzz_run() {  # TARGET SECONDS: fails with the finding's last lines when the target finds one
  local target=$1 seconds=$2 corpus
  corpus=$(mktemp -d)
  cp -r "fuzz/corpus/$target/." "$corpus/"
  echo "fuzz_$target: ${seconds}s"
  if ! build-fuzz/bin/"fuzz_$target" "$corpus" -max_total_time="$seconds" -rss_limit_mb=2048 \
      -artifact_prefix="build-fuzz/$target-" >"build-fuzz/$target.log" 2>&1; then
    tail -n 40 "build-fuzz/$target.log"
    echo "fuzz_$target found a fault; the input is build-fuzz/$target-*" >&2
    rm -rf "$corpus"
    return 1
  fi
  grep -E '^Done [0-9]+ runs' "build-fuzz/$target.log" || true
  rm -rf "$corpus"
}
