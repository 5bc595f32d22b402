#!/usr/bin/env bash
# Opt-in long fuzzing: builds the fuzz preset and runs each target for SECONDS (default 600, ten minutes).
# The working corpora in build/fuzz/fuzz/work/ are kept, so each long run starts where the last one ended.
set -euo pipefail
cd "$(dirname "$0")/../.."
tools/install-deps native fuzz
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
tests/fuzz/run.sh "${1:-600}" build/fuzz
