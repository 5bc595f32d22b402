#!/usr/bin/env bash
# Runs every fuzz target for SECONDS each: run.sh SECONDS [BUILD_DIR]. Fails on any crash, leak, hang or mismatch.
# The committed seeds are read, never written: new inputs go to BUILD_DIR/fuzz/work/<target>,
# and an input that fails is kept in BUILD_DIR/fuzz/failures/.
set -euo pipefail
seconds=${1:?usage: run.sh SECONDS [BUILD_DIR]}
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${2:-$here/../../build/fuzz}" && pwd)
targets=(find_name_fuzz name_search_fuzz compact_find_name_fuzz compact_find_names_fuzz thumbnail_fuzz
  description_fuzz)
# Each target's own options. thumbnail_fuzz: files up to 64 KiB, and no single allocation past
# make_thumbnail's bound for them: 512 KiB for a 128-pixel thumbnail's sums, 4 bytes a pixel for a
# TGA's pixels, which the file must hold (a run-length packet of 2 bytes gives at most 128
# pixels), so at most 256 times 64 KiB = 16 MiB, whatever the header claims.
declare -A options=([thumbnail_fuzz]="-max_len=65536 -malloc_limit_mb=16")

mkdir -p "$build/fuzz/failures"
status=0
for target in "${targets[@]}"; do
  work="$build/fuzz/work/$target"
  log="$build/fuzz/$target.log"
  mkdir -p "$work"
  # shellcheck disable=SC2086 # the options are words
  if "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 ${options[$target]:-} \
      -artifact_prefix="$build/fuzz/failures/$target-" "$work" "$here/corpus/$target" \
      >"$log" 2>&1; then
    result=ok
  else
    result=FAILED
    status=1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  corpus=$(ls "$work" | wc -l)
  printf '%-26s %s: %s executions in %s s, %s inputs in the working corpus\n' \
    "$target" "$result" "${runs:-?}" "$seconds" "$corpus"
  if [[ $result == FAILED ]]; then
    grep -E 'MISMATCH|ERROR|SUMMARY|name:|content|catalogue name:|Test unit written' "$log" | head -40 >&2 || true
  fi
done
exit $status
