#!/usr/bin/env bash
# Benchmark of Texsift and Texsift-compact against grep, ripgrep, ugrep and cat
# on generated game trees of each size. Builds the programs, finds or makes the
# trees, then leaves the timing and the tables to bench/measure.py.
#
# Usage: bench/run.sh [small|medium|large|xl|all] ...   (default: small)
# "all" is small, medium and large; xl, a whole game's size (about 5 GiB of
# disk and a few minutes to generate), runs only when named.
# Environment:
#   TEXSIFT_BUILD_DIR   build directory of the release preset (build/release)
#   BENCH_RUNS          timed runs of each command, at least 5 for a table
#                       that is published (5)
#   BENCH_TIMEOUT       seconds after which one run is stopped (600)
#   BENCH_TREES         folder of ready trees, used as BENCH_TREES/SIZE when
#                       that exists; only read, never written
#   BENCH_SKIP_COMPACT  1: leave Texsift-compact out
#   BENCH_SKIP_GROWTH   1: leave out the table of 1x, 4x and 16x the names
#   BENCH_SKIP_COLD     1: leave out the cold-cache table
# Tables go to stdout and to bench/out/SIZE.run/table.md; progress to stderr.
set -euo pipefail

cd "$(dirname "$0")/.."
build=${TEXSIFT_BUILD_DIR:-build/release}
runs=${BENCH_RUNS:-5}
limit=${BENCH_TIMEOUT:-600}

say() { echo "run.sh: $*" >&2; }

usage() {
  echo "usage: bench/run.sh [small|medium|large|xl|all] ..." >&2
  exit 2
}

# The sizes named on the command line, in the order small, medium, large, xl.
parse_sizes() {
  local wanted=" ${*:-small} " size
  [[ $wanted == *" all "* ]] && wanted+="small medium large "
  for size in $wanted; do
    case $size in small | medium | large | xl | all) ;; *) usage ;; esac
  done
  sizes=()
  for size in small medium large xl; do
    [[ $wanted == *" $size "* ]] && sizes+=("$size")
  done
  return 0
}

check_settings() {
  [[ $runs =~ ^[0-9]+$ && $runs -ge 1 ]] || { say "BENCH_RUNS must be a positive number"; exit 2; }
  [[ $limit =~ ^[0-9]+$ && $limit -ge 1 ]] || { say "BENCH_TIMEOUT must be a positive number of seconds"; exit 2; }
  if [ "$runs" -lt 5 ]; then
    say "BENCH_RUNS=$runs: fewer than 5 runs, fine for a try but not for a published table"
  fi
}

need_tools() {
  if [ ! -x /usr/bin/time ] || ! command -v ugrep > /dev/null || ! command -v rg > /dev/null; then
    say "installing the bench tools"
    tools/install-deps bench >&2
  fi
  local tool
  for tool in cmake timeout grep rg ugrep cat cp python3; do
    command -v "$tool" > /dev/null || { say "$tool is missing"; exit 1; }
  done
}

# Configures the release preset when it is not yet, and builds the programs.
build_programs() {
  if [ ! -f "$build/build.ninja" ]; then
    if [ "$build" = build/release ]; then
      cmake --preset release >&2
    else
      cmake --preset release -B "$build" >&2
    fi
  fi
  cmake --build "$build" -j 2 --target texsift texsift_compact texsift_bench_tree >&2
}

# The tree of SIZE: BENCH_TREES/SIZE when it exists, else bench/out/SIZE,
# generated beside its place and moved there when done, so that an
# interrupted generation never passes for a tree.
tree_of() {
  local size=$1 tree=bench/out/$1
  if [ -n "${BENCH_TREES:-}" ] && [ -d "$BENCH_TREES/$size" ]; then
    say "using the ready tree $BENCH_TREES/$size"
    tree=$BENCH_TREES/$size
  elif [ -d "$tree" ]; then
    say "using the existing tree $tree (delete it to generate it anew)"
  else
    say "generating $tree"
    rm -rf "$tree.partial"
    mkdir -p bench/out
    "$build/texsift_bench_tree" "$size" "$tree.partial" >&2
    mv "$tree.partial" "$tree"
  fi
  trees+=("$size=$tree")
}

main() {
  parse_sizes "$@"
  check_settings
  need_tools
  build_programs
  trees=()
  local size
  for size in "${sizes[@]}"; do tree_of "$size"; done
  local options=(--build "$build" --runs "$runs" --timeout "$limit" --out bench/out)
  [ "${BENCH_SKIP_COMPACT:-0}" = 1 ] && options+=(--skip-compact)
  [ "${BENCH_SKIP_GROWTH:-0}" = 1 ] && options+=(--skip-growth)
  [ "${BENCH_SKIP_COLD:-0}" = 1 ] && options+=(--skip-cold)
  python3 bench/measure.py "${options[@]}" "${trees[@]}"
}

main "$@"
