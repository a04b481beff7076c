#!/bin/sh
# Makes a set of generated "misspelling<TAB>intended" pairs for compare.sh
# from the bundled dictionary's words up to SCOWL size 50 (english.levels,
# so commoner words come more often; data/american-english when there are
# no levels) with make_misspellings, and prints the set's file name.
#
# Usage: bench/quality/make_set.sh [BUILD] [SEED] [COUNT]
#   BUILD  the build folder (default build); the set goes to
#          BUILD/bench/quality/generated-SEED.tsv
#   SEED   (default 1)    COUNT  pairs (default 2500)
set -eu

here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../../build}
seed=${2:-1}
count=${3:-2500}
generator=$build/bench/quality/make_misspellings
[ -x "$generator" ] || { echo "make_set.sh: no $generator; build bench_make_misspellings" >&2; exit 2; }
words=$build/share/spellcheck/english.levels
[ -r "$words" ] || words=$here/../../data/american-english
out=$build/bench/quality/generated-$seed.tsv
"$generator" --dict "$here/../../data/american-english" --seed "$seed" --count "$count" \
  --max-level 50 "$words" >"$out"
echo "$out"
