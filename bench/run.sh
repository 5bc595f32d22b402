#!/usr/bin/env bash
# Benchmark of Texsift and Texsift-compact against ripgrep, grep and cat on a
# generated game tree. Prints a Markdown table of wall time, peak memory and
# ratio to ripgrep, and keeps it in bench/out/SIZE.run/table.md.
#
# Usage: bench/run.sh [small|medium|large]       (default: small)
# Environment:
#   TEXSIFT_BUILD_DIR  build directory of the release preset (build/release)
#   BENCH_TIMEOUT      seconds after which a command is stopped (600)
set -euo pipefail

size=${1:-small}
case $size in
  small | medium | large) ;;
  *) echo "usage: bench/run.sh [small|medium|large]" >&2; exit 2 ;;
esac

cd "$(dirname "$0")/.."
build=${TEXSIFT_BUILD_DIR:-build/release}
limit=${BENCH_TIMEOUT:-600}
tree=bench/out/$size
work=bench/out/$size.run   # names, file lists and outputs of the last run
fast=10                    # commands faster than this many seconds run 3 times

say() { echo "$@" >&2; }

need_tools() {
  if [ ! -x /usr/bin/time ]; then
    say "installing GNU time"
    apt-get install -y time > /dev/null
  fi
  for tool in rg grep cmake timeout; do
    command -v "$tool" > /dev/null || { say "run.sh: $tool is missing"; exit 1; }
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
  cmake --build "$build" -j 2 --target texsift texsift_compact texsift_bench_tree \
    texsift_bench_baseline >&2
}

# Generates the tree beside its final place and moves it there when done, so
# that an interrupted generation never passes for a tree.
generate_tree() {
  if [ -d "$tree" ]; then
    say "using the existing tree $tree (delete it to generate it anew)"
    return
  fi
  rm -rf "$tree.partial"
  "$build/texsift_bench_tree" "$size" "$tree.partial" >&2
  mv "$tree.partial" "$tree"
}

# One catalogue name per line: each texture's path below gamedata/textures
# with backslashes and without its extension, leaving out what the catalogue
# leaves out (ui\ folders, _bump, $ and # in the path, files other than
# .dds and .tga).
make_names() {
  # shellcheck disable=SC1003
  (cd "$tree/gamedata/textures" && find . -type f) | sed 's|^\./||' | tr / '\\' |
    awk 'index($0, "ui\\") == 0 && index($0, "$") == 0 && index($0, "#") == 0 &&
         index($0, "_bump") == 0 && (index($0, ".dds") || index($0, ".tga")) {
           print substr($0, 1, length($0) - 4) }' | sort > "$work/names"
}

# The files Texsift reads, zero-separated: program files (.dll, .exe without
# qz, also as folder names) and names holding an excluded part are left out.
make_searchable_list() {
  find "$tree" -type f | awk -F/ '
    function program(name) {
      return (index(name, ".dll") || index(name, ".exe")) && !index(name, "qz")
    }
    BEGIN {
      count = split(".ai .anm .bak .bat .bin .bpl .cform .cmd .dds .drv .efd .env_mod " \
                    ".game .gct .geom .graph .h .hom .ini .inf .log .manifest .net .ogg " \
                    ".ogm .omf .ppe .ps_static .snd_env .snd_static .rar .sav .script " \
                    ".sfap0 .scc .som .tga .thm .txt .wallmarks .xml .qz .zip " \
                    "external.ltx textures.ltx ~", excluded, " ")
    }
    {
      for (i = 1; i <= NF; i++) if (program($i)) next
      for (i = 1; i <= count; i++) if (index($NF, excluded[i])) next
      print
    }' | tr '\n' '\0' > "$work/searchable"
}

mib_of() { awk '{ printf "%.1f", $1 / 1048576 }'; }

bytes_of_list() { xargs -0 -r stat -c %s < "$1" | awk '{ s += $1 } END { print s + 0 }'; }

warm_cache() {
  say "warming the page cache"
  find "$tree" -type f -print0 | xargs -0 cat > /dev/null
}

# Table rows, filled by measure and skip: key, label, wall seconds, peak MiB.
keys=() labels=() walls=() peaks=()

record() { keys+=("$1"); labels+=("$2"); walls+=("$3"); peaks+=("$4"); }

skip() { record "$1" "$2" "n/a" "n/a"; }

# measure KEY LABEL COMMAND...: runs COMMAND under /usr/bin/time and timeout,
# its output into $work/KEY.out; three times when it is fast, keeping the
# best wall time and the highest peak memory. ripgrep and grep exit with 1
# when nothing matched, which counts as success for them.
measure() {
  local key=$1 label=$2
  shift 2
  local runs=1 best="" peak=0 run status wall kib
  say "measuring: $label"
  for ((run = 0; run < runs; run++)); do
    status=0
    /usr/bin/time -f '%e %M' -o "$work/$key.time" timeout "$limit" "$@" \
      > "$work/$key.out" 2> "$work/$key.err" || status=$?
    if [ "$status" = 124 ]; then
      record "$key" "$label" "timeout (> $limit s)" "n/a"
      return
    fi
    if [ "$status" != 0 ] && ! { [ "$status" = 1 ] && [[ $key == rg* || $key == grep* ]]; }; then
      record "$key" "$label" "failed (status $status, see $work/$key.err)" "n/a"
      return
    fi
    read -r wall kib < <(tail -n 1 "$work/$key.time")
    if [ -z "$best" ] || awk -v a="$wall" -v b="$best" 'BEGIN { exit !(a < b) }'; then
      best=$wall
    fi
    if [ "$kib" -gt "$peak" ]; then peak=$kib; fi
    if [ "$run" = 0 ] && awk -v a="$wall" -v b="$fast" 'BEGIN { exit !(a < b) }'; then
      runs=3
    fi
  done
  record "$key" "$label" "$best" "$(awk -v k="$peak" 'BEGIN { printf "%.1f", k / 1024 }')"
}

# The single-quoted scripts below get their arguments as $1, $2...
# shellcheck disable=SC2016
measure_all() {
  local names=$work/names list=$work/searchable
  local rg_options=(--no-config -uuu -a -F -f "$names" -b -o)
  measure texsift1 "Texsift algorithm #1: \`Texsift TREE/ 0\`" "$build/Texsift" "$tree/" 0
  measure texsift2 "Texsift algorithm #2: \`Texsift TREE/ 1\`" "$build/Texsift" "$tree/" 1
  if [ -x "$build/Texsift-compact" ]; then
    measure compact "Texsift-compact: \`Texsift-compact TREE/\`" "$build/Texsift-compact" "$tree/"
  else
    skip compact "Texsift-compact (not built yet)"
  fi
  # Hook for the per-name baseline, one find_name per name per file: its
  # program, the target texsift_bench_baseline, is built above once it exists.
  # It runs on the small tree only.
  if [ -x "$build/texsift_bench_baseline" ] && [ "$size" = small ]; then
    measure baseline "per-name baseline: \`texsift_bench_baseline TREE/\`" \
      "$build/texsift_bench_baseline" "$tree/"
  else
    skip baseline "per-name baseline (small tree only, when built)"
  fi
  measure rg "ripgrep: \`rg -uuu -a -F -f names -b -o TREE\`" rg "${rg_options[@]}" "$tree"
  measure rg_searchable "ripgrep on the files Texsift reads" \
    bash -c 'xargs -0 rg "${@:2}" < "$1"' - "$list" "${rg_options[@]}"
  measure grep "grep: \`grep -F -f names -b -o -r -a TREE\`" grep -F -f "$names" -b -o -r -a "$tree"
  measure cat_searchable "cat of the files Texsift reads" bash -c 'xargs -0 cat < "$1" > /dev/null' - "$list"
  measure cat_all "cat of all files: \`find TREE -type f -print0 \| xargs -0 cat\`" \
    bash -c 'find "$1" -type f -print0 | xargs -0 cat > /dev/null' - "$tree"
}

ratio() {
  awk -v a="$1" -v b="$2" 'BEGIN {
    if (a ~ /^[0-9.]+$/ && b ~ /^[0-9.]+$/ && b > 0) printf "%.2f", a / b; else print "n/a" }'
}

print_table() {
  local rg_wall=n/a i
  for i in "${!keys[@]}"; do
    if [ "${keys[$i]}" = rg ]; then rg_wall=${walls[$i]}; fi
  done
  local all_bytes searchable_bytes
  all_bytes=$(find "$tree" -type f -printf '%s\n' | awk '{ s += $1 } END { print s }')
  searchable_bytes=$(bytes_of_list "$work/searchable")
  echo "Tree $tree: $(find "$tree" -type f | wc -l) files, $(mib_of <<< "$all_bytes") MiB;" \
    "Texsift reads $(tr -cd '\0' < "$work/searchable" | wc -c) files," \
    "$(mib_of <<< "$searchable_bytes") MiB; $(wc -l < "$work/names") catalogue names."
  echo "Machine: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ //'), $(nproc) cores;" \
    "$(rg --version 2> /dev/null | head -n 1), $(grep --version | head -n 1);" \
    "$(date -u +%Y-%m-%d)."
  echo
  echo "| command | wall s | peak MiB | ratio to rg |"
  echo "|---|---:|---:|---:|"
  for i in "${!labels[@]}"; do
    echo "| ${labels[$i]} | ${walls[$i]} | ${peaks[$i]} | $(ratio "${walls[$i]}" "$rg_wall") |"
  done
}

main() {
  need_tools
  build_programs
  generate_tree
  mkdir -p "$work"
  make_names
  make_searchable_list
  warm_cache
  measure_all
  print_table | tee "$work/table.md"
}

main
