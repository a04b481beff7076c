#!/usr/bin/env bash
# Times `spellcheck list` on a tree of files with --jobs 1 against the
# default (one thread a core): the median of several runs (hyperfine), after
# checking that both write the same output. Also prints the peak memory of
# each.
#
# Usage: bench/tree-jobs.sh [BUILD_FOLDER] [SOURCE_FOLDER] [FILES]
#   BUILD_FOLDER   where the tool was built (default: build)
#   SOURCE_FOLDER  the tree copied (default: /usr/share/doc)
#   FILES          how many of its files, the first in sorted order (default: 5000)
#   RUNS           (environment) runs of each command (default: 5)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build}
source=${2:-/usr/share/doc}
count=${3:-5000}
runs=${RUNS:-5}
tool=$build/tools/spellcheck
[[ -x $tool ]] || { echo "tree-jobs.sh: no tool at $tool; build first" >&2; exit 2; }
command -v hyperfine >/dev/null || { echo "tree-jobs.sh: hyperfine is not installed" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The user's own dictionaries and config play no part.
export HOME=$work SPELLCHECK_CUSTOM=$work/cust.dic LC_ALL=C.UTF-8
unset SPELLCHECK_MAIN

# A copy of the first FILES files (links followed), so that every run reads
# the same tree, warm in the page cache.
{ (cd "$source" && find -L . -type f 2>/dev/null) || true; } | LC_ALL=C sort |
  awk -v count="$count" 'NR <= count' >"$work/files"
mkdir "$work/tree"
tar -C "$source" --dereference -cf - -T "$work/files" | tar -C "$work/tree" -xf -
files=$(find "$work/tree" -type f | wc -l)
size=$(du -sh "$work/tree" | cut -f1)
echo "tree: $files files, $size, from $source; $(nproc) cores"

list=("$tool" list --no-config --where)
status=0
"${list[@]}" --jobs 1 "$work/tree" >"$work/one.out" 2>"$work/one.err" || status=$?
"${list[@]}" "$work/tree" >"$work/all.out" 2>"$work/all.err" || true
cmp -s "$work/one.out" "$work/all.out" && cmp -s "$work/one.err" "$work/all.err" ||
  { echo "tree-jobs.sh: --jobs 1 and the default wrote different output" >&2; exit 1; }
echo "findings: $(wc -l <"$work/one.out") lines (exit status $status); the same with every --jobs"

for jobs in 1 0; do
  label=$([[ $jobs == 1 ]] && echo "--jobs 1" || echo "default")
  arguments=("${list[@]}")
  [[ $jobs == 1 ]] && arguments+=(--jobs 1)
  peak=$({ /usr/bin/time -f '%M' "${arguments[@]}" "$work/tree" 2>&1 >/dev/null || true; } |
    tail -n 1)
  echo "peak memory, $label: $((peak / 1024)) MiB"
done

hyperfine --style basic --ignore-failure --warmup 1 --runs "$runs" \
  --export-json "$work/times.json" \
  -n "jobs 1" "${list[*]} --jobs 1 $work/tree" \
  -n "jobs default" "${list[*]} $work/tree" >/dev/null
python3 - "$work/times.json" <<'PYTHON'
import json, sys
results = json.load(open(sys.argv[1]))["results"]
one, default = results[0]["median"], results[1]["median"]
for result in results:
    print(f"{result['command']}: median {result['median']:.2f} s "
          f"(min {result['min']:.2f}, max {result['max']:.2f})")
print(f"speed-up: {one / default:.2f}x")
PYTHON
