#!/bin/sh
# Suggestion quality of checkers that speak the ispell "-a" pipe: each word
# of a set of "misspelling<TAB>intended" pairs goes in as a "^word" line, and
# the answers (& with suggestions, # without, * + - for a word taken as
# correct) are scored: how often the intended word is first, in the first 5
# or 10 suggestions, and how fast each word is answered.
#
# Usage: bench/quality/compare.sh [-b BUILD] [-k KEEP] SET [COMMAND...]
#   SET      a TSV file of pairs (handwritten.tsv, or one made by make_set.sh)
#   COMMAND  further checkers, each one argument, e.g.
#            "build/tools/spellcheck -a"; aspell -a and hunspell -a -d en_US
#            always run, when installed
#   -b BUILD the build folder, for BUILD/bench/quality/pipe_timer (default
#            build); without it, only whole-run times are given
#   -k KEEP  keep each checker's answers in the folder KEEP
#
# POSIX shell and awk; GNU date for sub-second whole-run times.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
build=$here/../../build
keep=
while getopts b:k: option; do
  case $option in
    b) build=$OPTARG ;;
    k) keep=$OPTARG ;;
    *) exit 2 ;;
  esac
done
shift $((OPTIND - 1))
[ $# -ge 1 ] || { sed -n 's/^# \{0,1\}//; 8,17p' "$0" >&2; exit 2; }
set_file=$1
shift
[ -r "$set_file" ] || { echo "compare.sh: cannot read $set_file" >&2; exit 2; }
timer=$build/bench/quality/pipe_timer
[ -x "$timer" ] || timer=

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# No personal dictionaries, and one character set for every checker.
HOME=$work
LC_ALL=C.UTF-8
export HOME LC_ALL
[ -z "$keep" ] || mkdir -p "$keep"

# The same words for every checker: pairs with both sides non-empty.
awk -F'\t' 'NF >= 2 && $1 != "" && $2 != "" { print $1 "\t" $2 }' "$set_file" >"$work/pairs"
cut -f1 "$work/pairs" >"$work/misspelt"
cut -f2 "$work/pairs" >"$work/intended"
words=$(wc -l <"$work/pairs" | tr -d ' ')
[ "$words" -gt 0 ] || { echo "compare.sh: no pairs in $set_file" >&2; exit 2; }

now() { date +%s%N 2>/dev/null | awk '/^[0-9]+$/ { print; next } { print $0 * 1e9 }'; }

# answers WORDS COMMAND: one line per word, "MICROSECONDS<TAB>ANSWER...",
# with "-" for the time when there is no pipe timer.
answers() {
  list=$1
  shift
  if [ -n "$timer" ]; then
    "$timer" "$list" "$@"
  else
    sed 's/^/^/' "$list" | "$@" | awk '
      NR == 1 { next }  # the banner
      $0 == "" { print "-" line; line = ""; next }
      { line = line "\t" $0 }'
  fi
}

# score NAME ANSWERS INTENDED-ANSWERS SECONDS: one row of the table.
score() {
  awk -F'\t' -v name="$1" -v run_ns="$4" -v words="$words" '
    FILENAME == ARGV[1] { intended[FNR] = $2; next }
    FILENAME == ARGV[2] {  # the intended words themselves: all taken as correct?
      known = 1
      for (i = 2; i <= NF; i++) if ($i !~ /^[*+-]/) known = 0
      in_dict += known
      next
    }
    {
      n++
      if ($1 != "-") time[++timed] = $1
      answer = ""
      for (i = 2; i <= NF; i++) if ($i ~ /^[&?#]/) { answer = $i; break }
      if (answer == "") { accepted++; next }
      if (answer ~ /^#/) { none++; next }
      list = answer
      sub(/^[^:]*: /, "", list)
      count = split(list, suggestion, ", ")
      total_length += count
      flagged_with_list++
      for (r = 1; r <= count; r++) {
        if (suggestion[r] != intended[n]) continue
        if (r == 1) top1++
        if (r <= 5) top5++
        if (r <= 10) top10++
        break
      }
    }
    END {
      if (n != words) printf "%s: %d answers for %d words\n", name, n, words > "/dev/stderr"
      median = p99 = "-"
      if (timed > 0) {
        # insertion sort is enough for a few thousand words
        for (i = 2; i <= timed; i++) {
          v = time[i]; j = i - 1
          while (j > 0 && time[j] + 0 > v + 0) { time[j + 1] = time[j]; j-- }
          time[j + 1] = v
        }
        median = sprintf("%.0f", time[int((timed + 1) / 2)])
        k = int(timed * 0.99 + 0.999); if (k < 1) k = 1
        p99 = sprintf("%.0f", time[k])
      }
      printf "%6d %6.1f %6.1f %6.1f %8.1f %7.1f %6.2f %7s %7s %7.0f %8.1f  %s\n",
        n, 100 * top1 / n, 100 * top5 / n, 100 * top10 / n,
        100 * accepted / n, 100 * none / n,
        flagged_with_list ? total_length / (flagged_with_list + none) : 0,
        median, p99, run_ns / 1000 / n, 100 * in_dict / n, name
    }' "$work/pairs" "$3" "$2"
}

if [ -n "$timer" ]; then
  timing="median and p99: each word's round trip through $timer, after start-up"
else
  timing="no per-word times: no pipe_timer in $build/bench/quality"
fi
echo "set: $set_file ($words pairs); $timing"
printf "%6s %6s %6s %6s %8s %7s %6s %7s %7s %7s %8s  %s\n" words top1% top5% top10% \
  correct% nosugg% mean median p99 run/w in-dict% checker
printf "%6s %6s %6s %6s %8s %7s %6s %7s %7s %7s %8s\n" "" "" "" "" "" "" len µs µs µs ""

run() {
  name=$1
  shift
  command -v "$1" >/dev/null 2>&1 || { echo "compare.sh: $1 is not there; skipped" >&2; return 0; }
  start=$(now)
  answers "$work/misspelt" "$@" >"$work/answers"
  end=$(now)
  answers "$work/intended" "$@" >"$work/known"
  score "$name" "$work/answers" "$work/known" $((end - start))
  if [ -n "$keep" ]; then
    file=$keep/$(printf '%s' "$name" | tr -c 'A-Za-z0-9._-' '_').tsv
    paste "$work/pairs" "$work/answers" >"$file"
  fi
}

run "aspell -a" aspell -a
run "hunspell -a -d en_US" hunspell -a -d en_US
for command in "$@"; do
  # shellcheck disable=SC2086 # a command line, split into its words
  run "$command" $command
done
echo "top-k: the intended word among the first k suggestions; correct: the misspelling taken as a"
echo "word (a miss); mean len: suggestions per flagged word; run/w: the whole run (with start-up)"
echo "divided by the words; in-dict: intended words that the checker takes as correct."
