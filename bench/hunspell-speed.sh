#!/usr/bin/env bash
# Checking speed and memory with Hunspell dictionaries: `spellcheck list -d TAG`
# beside nuspell (bench/nuspell_check.cpp on libnuspell-dev) and `hunspell -l`,
# for de_DE, fr_FR and pl_PL. Each language's text is its translated manual
# pages (bench/man-text.sh: no paragraph twice) cut into words, one a line,
# the same file for all three. Times are medians of RUNS runs (hyperfine),
# load included; peak memory is /usr/bin/time's maximum resident set.
#
#   bench/hunspell-speed.sh BUILD_DIR [WORDS] [RUNS]
#       WORDS: words of text per language (default 150000), RUNS: default 5
#   OUT (default bench/out/hunspell-speed) holds the texts, the nuspell
#   program and hyperfine's results.
#
# Needs scripts/install-deps --bench (hunspell, libnuspell-dev, hyperfine, time).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:?usage: bench/hunspell-speed.sh BUILD_DIR [WORDS] [RUNS]}
limit=${2:-150000}
runs=${3:-5}
tool=$build/tools/spellcheck
out=${OUT:-bench/out/hunspell-speed}
[[ -x $tool ]] || { echo "hunspell-speed.sh: no $tool (build first)" >&2; exit 2; }
mkdir -p "$out"
: >"$out/empty"
tool=$(realpath "$tool")
. bench/support/isolate.sh

# shellcheck disable=SC2046 # pkg-config's flags are words
g++ -O2 -std=c++17 bench/nuspell_check.cpp $(pkg-config --cflags --libs nuspell) \
  -o "$out/nuspell_check"

# The median of a hyperfine export, in seconds.
median() { python3 -c 'import json,sys; print(json.load(open(sys.argv[1]))["results"][0]["median"])' "$1"; }
# The peak resident set of one run, in MB.
peak() { /usr/bin/time -f %M -o "$out/rss" "$@" >/dev/null 2>&1 || true; tail -1 "$out/rss" | awk '{ printf "%.1f", $1 / 1024 }'; }

echo "## Checking speed with Hunspell dictionaries ($(date -u +%F), $(nproc) cores shared, medians of $runs runs, load included)"
echo
echo "| tag | words | checker | time (s) | load alone (s) | words/s | words/s after the load | peak RSS (MB) | misspelled |"
echo "|---|---:|---|---:|---:|---:|---:|---:|---:|"
for entry in de:de_DE fr:fr_FR pl:pl_PL; do
  dir=${entry%%:*} tag=${entry#*:}
  text=$out/$dir.txt words=$out/$dir.words
  [[ -s $text ]] || bench/man-text.sh "$dir" "$limit" >"$text"
  python3 bench/hunspell_words.py stream <"$text" >"$words"
  count=$(wc -l <"$words")
  declare -A commands=(
    [spellcheck]="$tool list --config $engine_config --no-custom --mode text -d $tag @WORDS@"
    [nuspell]="$out/nuspell_check /usr/share/hunspell/$tag <@WORDS@"
    [hunspell]="hunspell -d $tag -i utf-8 -l <@WORDS@"
  )
  for checker in spellcheck nuspell hunspell; do
    command=${commands[$checker]//@WORDS@/$words}
    hyperfine --style none --warmup 1 --runs "$runs" -i --export-json "$out/$tag.$checker.json" \
      "$command" >/dev/null 2>&1
    seconds=$(median "$out/$tag.$checker.json")
    # The same with no words: the load and the process alone.
    hyperfine --style none --warmup 1 --runs "$runs" -i --export-json "$out/$tag.$checker.load.json" \
      "${commands[$checker]//@WORDS@/$out/empty}" >/dev/null 2>&1
    load=$(median "$out/$tag.$checker.load.json")
    misspelled=$(bash -c "$command" 2>/dev/null | wc -l || true)
    memory=$(peak bash -c "exec $command")
    printf '| %s | %d | %s | %.3f | %.3f | %.0f | %.0f | %s | %d |\n' "$tag" "$count" "$checker" \
      "$seconds" "$load" "$(echo "$count / $seconds" | bc -l)" \
      "$(echo "$count / ($seconds - $load)" | bc -l)" "$memory" "$misspelled"
  done
done
