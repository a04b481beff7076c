#!/usr/bin/env bash
# Whole runs of the tool, start to exit, with compiled dictionaries and
# without, beside aspell and hunspell in the same run: hyperfine's median of
# each command.
#
#   a. one misspelled English word through `spellcheck -a` / `aspell -a -l en`
#   b. one misspelled German word: `spellcheck -a -d de_DE` / `hunspell -d de_DE -a`
#   c. `spellcheck suggest WORD` / `spellcheck check WORD`
#   d. 3,000 misspelled English words through `-a` / `aspell -a -l en`
#
# "compiled": SPELLCHECK_CACHE is a scratch folder, filled by one untimed run
# before the timed ones (the build's own compiled/ folder counts too); "not
# compiled": SPELLCHECK_CACHE set to nothing, so no compiled file is read or
# written. The misspellings come from our own seeded error models:
# bench/quality/MakeMisspellings.cpp for English, bench/suggest_typos.py (the
# German manual pages) for German.
#
# Usage: bench/instant-start.sh [BUILD]    (default: build)
#   RUNS_SCALE=N multiplies the number of timed runs (default 1; about 1 minute).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$(realpath "${1:-$here/../build}")
tool=$build/tools/spellcheck
[[ -x $tool ]] || { echo "instant-start.sh: no tool at $tool; build first" >&2; exit 2; }
for program in hyperfine aspell hunspell g++ python3; do
  command -v $program >/dev/null || { echo "instant-start.sh: $program is not installed" >&2; exit 2; }
done
[[ -r /usr/share/hunspell/de_DE.dic ]] ||
  { echo "instant-start.sh: no de_DE Hunspell dictionary (hunspell-de-de)" >&2; exit 2; }
scale=${RUNS_SCALE:-1}

# shellcheck source=bench/support/isolate.sh
. "$here/support/isolate.sh"
unset XDG_CACHE_HOME
work=$home/work
cache=$home/cache
mkdir -p "$work" "$cache"

# --- The misspellings -------------------------------------------------------

generator=$build/bench/quality/make_misspellings
if [[ ! -x $generator ]]; then
  generator=$work/make_misspellings
  g++ -O2 -std=c++20 "$here/quality/MakeMisspellings.cpp" -o "$generator"
fi
words=$build/share/spellcheck/english.levels
[[ -r $words ]] || words=$here/../data/american-english
"$generator" --dict "$here/../data/american-english" --seed 11 --count 3000 --max-level 50 \
  "$words" 2>/dev/null | cut -f1 >"$work/many.txt"
# The single words: the first of each set that the other checker rejects too,
# with at least 7 letters, so that the suggestions have work to do.
awk 'length($0) >= 7 && $0 ~ /^[a-z]+$/' "$work/many.txt" | aspell list -l en | awk 'NR == 1' >"$work/en.txt"
python3 "$here/suggest_typos.py" de 200 11 | cut -f1 |
  awk 'length($0) >= 7' | hunspell -d de_DE -l | awk 'NR == 1' >"$work/de.txt"
[[ -s $work/en.txt && -s $work/de.txt ]] || { echo "instant-start.sh: no misspelling made" >&2; exit 2; }
en_word=$(cat "$work/en.txt")
de_word=$(cat "$work/de.txt")

# --- Timing -----------------------------------------------------------------

declare -A median
# measure KEY RUNS COMMAND: the median in ms of RUNS timed runs of COMMAND (sh),
# after one untimed run that must end with status 0 or 1 (it also fills the
# cache folder).
measure() {
  local key=$1 runs=$(($2 * scale)) command=$3 status=0
  sh -c "$command" >"$work/$key.out" 2>"$work/$key.err" || status=$?
  if ((status > 1)); then
    echo "instant-start.sh: '$command' failed ($status):" >&2
    head -5 "$work/$key.err" >&2
    exit 2
  fi
  # Run as `sh -c COMMAND` without hyperfine's shell, whose start-up time it
  # would estimate and subtract: on shared cores that estimate swings by
  # milliseconds. Every time includes one start of sh (measured apart).
  hyperfine -N --ignore-failure --warmup 1 --runs "$runs" --style none \
    --export-json "$work/$key.json" "sh -c '$command'" >"$work/$key.log" 2>&1 ||
    { cat "$work/$key.log" >&2; exit 2; }
  median[$key]=$(python3 -c 'import json, sys; print(json.load(open(sys.argv[1]))["results"][0]["median"] * 1000)' "$work/$key.json")
}

on="SPELLCHECK_CACHE=$cache"
off="SPELLCHECK_CACHE="
sc=$tool

measure shell 30 ":"
measure a_on 30 "$on $sc -a <$work/en.txt"
measure a_off 15 "$off $sc -a <$work/en.txt"
measure a_base 20 "aspell -a -l en <$work/en.txt"

measure b_on 30 "$on $sc -a -d de_DE <$work/de.txt"
measure b_off 15 "$off $sc -a -d de_DE <$work/de.txt"
measure b_base 15 "hunspell -d de_DE -a <$work/de.txt"

measure c_on 30 "$on $sc suggest $en_word"
measure c_off 15 "$off $sc suggest $en_word"
measure c_base_on 30 "$on $sc check $en_word"
measure c_base_off 15 "$off $sc check $en_word"

measure d_on 10 "$on $sc -a <$work/many.txt"
measure d_off 10 "$off $sc -a <$work/many.txt"
measure d_base 5 "aspell -a -l en <$work/many.txt"

# The compiled dictionaries must give the same answers.
for case in a b c d; do
  cmp -s "$work/${case}_on.out" "$work/${case}_off.out" ||
    echo "instant-start.sh: case $case answers differently compiled and not" >&2
done

# --- Report -----------------------------------------------------------------

ms() { printf '%.1f' "${median[$1]}"; }
ratio() { awk -v a="${median[$1]}" -v b="${median[$2]}" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }'; }
# verdict RATIO OP GOAL: whether the ratio meets its goal.
verdict() { awk -v r="$1" -v g="$3" -v op="$2" 'BEGIN { ok = (op == ">=" ? r >= g : r <= g); print (ok ? "met" : "MISSED") }'; }
main_of() {
  SPELLCHECK_CACHE=$cache "$tool" "$@" dicts 2>/dev/null | awk '$1 == "main:" { $1 = ""; print substr($0, 2) }'
}

echo "## Instant start: whole runs, compiled dictionaries and not ($(date -u +%F))"
echo
echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')," \
  "load average at the end $(cut -d' ' -f1-3 /proc/loadavg);" \
  "$(aspell --version | head -1); $(hunspell --version 2>/dev/null | head -1)."
echo "Medians of hyperfine runs (ms, start to exit), each run through \`sh -c\`, whose own start" \
  "($(ms shell) ms for \`sh -c :\`) is included in every time."
echo "Words: a, c: '$en_word'; b: '$de_word';" \
  "d: $(wc -l <"$work/many.txt") words of the seeded English error model."
echo "Dictionaries: en: $(main_of); de_DE: $(main_of -d de_DE)."
echo "Compiled files in the scratch cache folder after the runs: $(find "$cache" -type f | wc -l)" \
  "($(du -sk "$cache" | cut -f1) KiB)."
echo
echo "| case | spellcheck | compiled (ms) | not compiled (ms) | against | its time (ms) |"
echo "|---|---|---:|---:|---|---:|"
echo "| a | \`-a\`, 1 word | $(ms a_on) | $(ms a_off) | \`aspell -a -l en\` | $(ms a_base) |"
echo "| b | \`-a -d de_DE\`, 1 word | $(ms b_on) | $(ms b_off) | \`hunspell -d de_DE -a\` | $(ms b_base) |"
echo "| c | \`suggest WORD\` | $(ms c_on) | $(ms c_off) | \`spellcheck check WORD\` | $(ms c_base_on) compiled, $(ms c_base_off) not |"
echo "| d | \`-a\`, 3,000 words | $(ms d_on) | $(ms d_off) | \`aspell -a -l en\` | $(ms d_base) |"
echo
echo "| case | ratio | compiled | not compiled | goal | compiled meets it |"
echo "|---|---|---:|---:|---|---|"
r_on=$(ratio a_base a_on)
echo "| a | aspell / spellcheck | $r_on | $(ratio a_base a_off) | >= 1 (2 wanted) | $(verdict "$r_on" ">=" 1), 2x $(verdict "$r_on" ">=" 2) |"
r_on=$(ratio b_base b_on)
echo "| b | hunspell / spellcheck | $r_on | $(ratio b_base b_off) | >= 5 | $(verdict "$r_on" ">=" 5) |"
r_on=$(ratio c_on c_base_on)
echo "| c | suggest / check | $r_on | $(ratio c_off c_base_off) | <= 2 | $(verdict "$r_on" "<=" 2) |"
r_on=$(ratio d_base d_on)
echo "| d | aspell / spellcheck | $r_on | $(ratio d_base d_off) | >= 3 | $(verdict "$r_on" ">=" 3) |"
