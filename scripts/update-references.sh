#!/usr/bin/env bash
# Draws the reference pages of the image tests again, after a deliberate change to how pages
# look (faces, placement, the samples): builds the tests, runs them with
# BRINDLE_UPDATE_REFERENCE=1 and lists the references that changed. Look at each before
# committing it.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --build build -j"$(nproc)" --target engine_sample_tests reader_image_tests make_samples
export QT_QPA_PLATFORM=offscreen BRINDLE_UPDATE_REFERENCE=1
build/bin/engine_sample_tests --gtest_filter='*MatchesItsReference*'
build/bin/reader_image_tests --gtest_filter='*MatchesItsReference*'
git status --short tests/fixtures/reference
