#!/bin/sh
# Suggestions in other languages: typing errors (bench/suggest_typos.py) on
# words of each language's translated manual pages, answered by hunspell -a,
# nuspell (bench_nuspell_suggest) and spellcheck -a with the same Hunspell
# dictionary. The same words for every checker: only misspellings that
# hunspell rejects and whose intended word it accepts. Prints one table row
# per checker and language: the intended word first, among the first five,
# taken as correct, no suggestion, each word's round trip through the pipe
# (pipe_timer: median, 99th percentile, worst, in µs) and the processor time
# a word takes (the run's user and system time less that of a run without
# words, by the word: unlike the round trip, the machine's other work does
# not add to it).
#
# Usage: bench/suggest-languages.sh BUILD [COUNT [SEED]]
#   COUNT words per language (default 500), SEED of the error model (1).
#   LANGS="de fr" picks languages (default: de fr pl ru es it nl cs);
#   ONLY=spellcheck runs only ours; KEEP=FOLDER keeps the sets and answers.
set -eu

[ $# -ge 1 ] || { sed -n 's/^# \{0,1\}//; 11,15p' "$0" >&2; exit 2; }
build=$(cd "$1" && pwd)
count=${2:-500}
seed=${3:-1}
here=$(cd "$(dirname "$0")" && pwd)
langs=${LANGS:-de fr pl ru es it nl cs}
timer=$build/bench/quality/pipe_timer
nuspell=$build/bench/bench_nuspell_suggest
tool=$build/tools/spellcheck
[ -x "$timer" ] && [ -x "$tool" ] || { echo "suggest-languages.sh: build pipe_timer and spellcheck" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
HOME=$work
LC_ALL=C.UTF-8
export HOME LC_ALL

dictionary() {
  case $1 in
    de) echo de_DE ;; fr) echo fr_FR ;; pl) echo pl_PL ;; ru) echo ru_RU ;;
    es) echo es_ES ;; it) echo it_IT ;; nl) echo nl_NL ;; cs) echo cs_CZ ;;
  esac
}

# accepted FILE DICT: one line per word, 1 when hunspell takes it, else 0.
accepted() {
  sed 's/^/^/' "$1" | hunspell -i utf-8 -a -d "$2" | awk '
    NR == 1 { next }
    $0 == "" { print ok; ok = ""; next }
    { ok = ($0 ~ /^[*+-]/) ? 1 : 0 }'
}

# score NAME LANG ANSWERS CPU-µs-A-WORD: one row.
score() {
  times=$(cut -f1 "$3" | sort -n | awk '{ t[NR] = $1 } END {
    printf "%.0f | %.0f | %.0f", t[int((NR + 1) / 2)], t[int(NR * 0.99 + 0.999)], t[NR] }')
  awk -F'\t' -v name="$1" -v lang="$2" -v times="$times" -v cpu="$4" '
    FILENAME == ARGV[1] { intended[FNR] = $2; next }
    {
      n++
      answer = ""
      for (i = 2; i <= NF; i++) if ($i ~ /^[&#]/) { answer = $i; break }
      if (answer == "") { correct++; next }
      if (answer ~ /^#/) { none++; next }
      list = answer; sub(/^[^:]*: /, "", list)
      count = split(list, s, ", ")
      for (r = 1; r <= count && r <= 5; r++) if (s[r] == intended[n]) { if (r == 1) top1++; top5++; break }
    }
    END {
      printf "| %s | %s | %d | %.1f | %.1f | %.1f | %.1f | %s | %.0f |\n", lang, name, n,
        100 * top1 / n, 100 * top5 / n, 100 * correct / n, 100 * none / n, times, cpu
    }' "$work/pairs" "$3"
}

echo "| lang | checker | words | top1% | top5% | correct% | nosugg% | median µs | p99 µs | worst µs | cpu µs/word |"
echo "| --- | --- | ---: | ---: | ---: | ---: | ---: | ---: | ---: | ---: | ---: |"
for lang in $langs; do
  dict=$(dictionary "$lang")
  python3 "$here/suggest_typos.py" "$lang" $((count * 3)) "$seed" >"$work/raw"
  cut -f1 "$work/raw" >"$work/raw.typed"
  cut -f2 "$work/raw" >"$work/raw.intended"
  accepted "$work/raw.typed" "$dict" >"$work/raw.typed.ok"
  accepted "$work/raw.intended" "$dict" >"$work/raw.intended.ok"
  paste "$work/raw" "$work/raw.typed.ok" "$work/raw.intended.ok" |
    awk -F'\t' -v n="$count" '$3 == 0 && $4 == 1 && kept < n { print $1 "\t" $2; kept++ }' >"$work/pairs"
  cut -f1 "$work/pairs" >"$work/typed"
  [ -z "${KEEP:-}" ] || { mkdir -p "$KEEP"; cp "$work/pairs" "$KEEP/$lang.tsv"; }
  run() {
    name=$1
    shift
    : >"$work/none"
    /usr/bin/time -f "%U %S" -o "$work/cpu0" "$timer" "$work/none" "$@" >/dev/null
    /usr/bin/time -f "%U %S" -o "$work/cpu" "$timer" "$work/typed" "$@" >"$work/answers"
    cpu=$(cat "$work/cpu0" "$work/cpu" | awk -v n="$(wc -l <"$work/typed")" '
      { t[NR] = $1 + $2 } END { printf "%.0f", (t[2] - t[1]) * 1e6 / n }')
    score "$name" "$lang" "$work/answers" "$cpu"
    [ -z "${KEEP:-}" ] || paste "$work/pairs" "$work/answers" >"$KEEP/$lang.$name.tsv"
  }
  if [ "${ONLY:-}" != spellcheck ]; then
    run hunspell hunspell -i utf-8 -a -d "$dict"
    [ ! -x "$nuspell" ] || run nuspell "$nuspell" "/usr/share/hunspell/$dict.aff"
  fi
  run spellcheck "$tool" -d "$dict" -a
done
